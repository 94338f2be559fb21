#include "core/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, HangulIsTwoBytesPerSyllableAndRoundTrips) {
    const QString text = QStringLiteral("가A한글");
    const QByteArray narrow = codepage::toNarrow(text);
    EXPECT_EQ(narrow, QByteArray("\xB0\xA1"
                                 "A"
                                 "\xC7\xD1\xB1\xDB"));
    EXPECT_EQ(codepage::fromNarrow(narrow), text);
}

TEST(CodePage, CharactersTheCodePageLacksBecomeQuestionMarks) {
    struct Case {
        QString text;
        QByteArray narrow;
    };
    const Case cases[] = {
        {QStringLiteral("a\u0401b"), "a\xAC\xA7"
                                     "b"},                    // Cyrillic is in the code page
        {QStringLiteral("x\u0E01y"), "x?y"},                  // Thai is not
        {QString::fromUtf16(u"\U0001F600!"), "?!"},           // one '?' for a whole surrogate pair
        {QString(QChar(0xD800)) + QStringLiteral("z"), "?z"}, // a lone surrogate
        {QString(), QByteArray()},
        {QString(QChar(0)) + QStringLiteral("a"), QByteArray("\0a", 2)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(codepage::toNarrow(c.text), c.narrow) << c.text.toStdString();
    }
}

TEST(CodePage, InvalidBytesDecodeToQuestionMarks) {
    EXPECT_EQ(codepage::fromNarrow(QByteArray("a\xB0")), QStringLiteral("a?")); // truncated pair at the end
    EXPECT_EQ(codepage::fromNarrow(QByteArray("\xFF"
                                              "b")),
              QStringLiteral("?b")); // no such lead byte
}

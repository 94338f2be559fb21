#include "services/scrap/CommaItems.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* name;
    QString text;
    QStringList items;
};

QStringList splitUtf16(const QString& text) {
    CommaItems<char16_t> items(std::u16string_view(QStringView(text).utf16(), size_t(text.size())));
    QStringList out;
    std::u16string_view item;
    while (items.next(item)) {
        out << QString::fromUtf16(item.data(), qsizetype(item.size()));
    }
    return out;
}

QStringList splitNarrowed(const QString& text) {
    QByteArray bytes;
    appendNarrowed(bytes, text);
    CommaItems<char> items(std::string_view(bytes.constData(), size_t(bytes.size())));
    QStringList out;
    std::string_view item;
    while (items.next(item)) {
        out << QString::fromLatin1(item.data(), qsizetype(item.size()));
    }
    return out;
}

QStringList narrowedItems(const QStringList& items) {
    QStringList out;
    for (const QString& item : items) {
        QByteArray bytes;
        appendNarrowed(bytes, item);
        out << QString::fromLatin1(bytes);
    }
    return out;
}

const SplitCase splitCases[] = {
    {"empty text", QString(), {}},
    {"only blanks", QStringLiteral(" \t\r\n "), {}},
    {"plain", QStringLiteral("a,b,c"), {"a", "b", "c"}},
    {"leading comma", QStringLiteral(",a"), {"", "a"}},
    {"lone comma", QStringLiteral(","), {"", ""}},
    {"two commas", QStringLiteral("a,,b"), {"a", "", "b"}},
    {"trailing comma", QStringLiteral("a,"), {"a", ""}},
    {"comma then blanks at the end", QStringLiteral("a, "), {"a"}},
    {"blanks around items", QStringLiteral("  a , b  "), {"a", "b"}},
    {"blank ends an item", QStringLiteral("a b"), {"a", "b"}},
    {"control characters end items",
     QStringLiteral("a\tb\nc\x01"
                    "d"),
     {"a", "b", "c", "d"}},
    {"quoted comma", QStringLiteral("\"a,b\",c"), {"a,b", "c"}},
    {"quoted blanks kept", QStringLiteral("\" a b \""), {" a b "}},
    {"doubled quote", QStringLiteral("\"say \"\"hi\"\"\",x"), {"say \"hi\"", "x"}},
    {"quote at the end of a quoted item", QStringLiteral("\"a\"\"\""), {"a\""}},
    {"empty quoted item", QStringLiteral("\"\",a"), {"", "a"}},
    {"text right after the closing quote", QStringLiteral("\"ab\"cd"), {"ab", "cd"}},
    {"unclosed quote runs to the end", QStringLiteral("\"ab,cd"), {"ab,cd"}},
    {"quote inside an item is plain", QStringLiteral("a\"b,c"), {"a\"b", "c"}},
    {"NUL is an ordinary character", QString::fromUtf16(u"x\0y,z", 5), {QString::fromUtf16(u"x\0y", 3), "z"}},
    {"non-ASCII", QStringLiteral("가나,다"), {"가나", "다"}},
    {"lone surrogate", QString::fromUtf16(u"\xD800,a", 3), {QString::fromUtf16(u"\xD800", 1), "a"}},
};

TEST(CommaItems, SplitsAsTheMoviesWriteLists) {
    for (const SplitCase& c : splitCases) {
        EXPECT_EQ(splitUtf16(c.text), c.items) << c.name;
    }
}

// The pixel text is kept narrowed; it must split into the same items, each narrowed.
TEST(CommaItems, NarrowedTextSplitsTheSame) {
    for (const SplitCase& c : splitCases) {
        EXPECT_EQ(splitNarrowed(c.text), narrowedItems(c.items)) << c.name;
    }
}

} // namespace

namespace {

// Long enough for the sixteen-at-a-time path and its tail; the units around each boundary of the mapping.
TEST(CommaItems, NarrowingKeepsLatin1AndMarksTheRest) {
    const char16_t units[] = {0x0000, 0x0001, 0x002C, 0x0041, 0x007F, 0x0080, 0x00FF, 0x0100,
                              0x01FF, 0x7FFF, 0x8000, 0xAC00, 0xD800, 0xDFFF, 0xFFFF, 0x0022};
    QString text;
    QByteArray expected("prefix");
    for (int copy = 0; copy < 3; ++copy) {
        for (char16_t u : units) {
            text += QChar(u);
            expected += u < 256 ? char(u) : '?';
        }
    }
    text += QStringLiteral("tail");
    expected += "tail";
    QByteArray buffer("prefix");
    appendNarrowed(buffer, text);
    EXPECT_EQ(buffer, expected);
}

} // namespace

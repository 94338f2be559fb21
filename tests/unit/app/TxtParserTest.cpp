#include "app/QORVTxtParserUnit.h"
#include "core/CodePage.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct Case {
    const char* name;
    QByteArray file;
    std::vector<std::pair<QString, QString>> expected; // key -> value; a value of "<absent>" means not stored
};

const QString kAbsent = QStringLiteral("<absent>");

QByteArray bytes(const char* text, size_t size) {
    return QByteArray(text, static_cast<qsizetype>(size));
}

} // namespace

TEST(QORVTxtParser, RecordsAreReadAsTheBookReaderReadsThem) {
    const std::vector<Case> cases = {
        {"one record per line",
         "&title=My Book&\r\n&width=1024&\r\n&height=768&\r\n",
         {{"title", "My Book"}, {"width", "1024"}, {"height", "768"}}},
        {"empty file", "", {{"title", ""}}},
        {"no closing ampersand at the end", "&title=A&\n&width=5", {{"title", "A"}, {"width", ""}}},
        {"two equals signs: key to the first, value from the last", "&a=b=c&", {{"a", "c"}, {"a=b", ""}}},
        {"first value of a duplicate key wins", "&k=1&\n&k=2&", {{"k", "1"}}},
        {"nothing trimmed", "&width =800&", {{"width", ""}, {"width ", "800"}}},
        {"CR LF inside a value arrives as LF; lone CR dropped", "&t=a\r\nb\rc&", {{"t", "a\nbc"}}},
        {"Ctrl-Z ends the text", "&a=1&\x1a&b=2&", {{"a", "1"}, {"b", ""}}},
        {"record closed only after Ctrl-Z is lost", "&a=1\x1a&", {{"a", ""}}},
        {"opening ampersand without equals is forgotten", "&junk&key=v&", {{"key", "v"}, {"junk", ""}}},
        {"first record may lack its opening ampersand", "title=X&\n&w=1&", {{"title", "X"}, {"w", "1"}}},
        {"single ampersands, file not starting with one: only the first record",
         "a=1&b=2&",
         {{"a", "1"}, {"b", ""}}},
        {"single ampersands, file starting with one: second value under the empty key",
         "&a=1&b=2&",
         {{"a", "1"}, {"", "2"}, {"b", ""}}},
        {"doubled ampersand between records", "&a=1&&b=2&", {{"a", "1"}, {"b", "2"}}},
        {"empty key and empty value", "&=v&&k=&", {{"", "v"}, {"k", ""}}},
        {"keys are case-sensitive", "&Title=X&", {{"title", ""}, {"Title", "X"}}},
        {"a zero byte ends a value early", bytes("&a=x\0y&", 7), {{"a", "x"}}},
        {"no URL decoding", "&title=A%26B&", {{"title", "A%26B"}}},
    };
    for (const Case& c : cases) {
        QORVTxtParser parser;
        parser.LoadBytes(c.file);
        for (const auto& [key, value] : c.expected) {
            EXPECT_EQ(parser.GetValue(key), value) << c.name << ": key '" << key.toStdString() << "'";
        }
    }
}

TEST(QORVTxtParser, ValuesAreDecodedFromCodePage949) {
    QORVTxtParser parser;
    parser.LoadBytes(QByteArray("&title=") + codepage::toNarrow(QStringLiteral("한글 책")) + "&");
    EXPECT_EQ(parser.GetValue("title"), QStringLiteral("한글 책"));
}

TEST(QORVTxtParser, LoadFileReportsUnreadableFilesAndKeepsEarlierValues) {
    QTemporaryDir tmp;
    QORVTxtParser parser;
    EXPECT_EQ(parser.LoadFile(tmp.path() + "/missing.txt"), -1);
    EXPECT_EQ(parser.LoadFile(tmp.path()), -1); // a folder is not a file

    QFile f1(tmp.path() + "/Page_var.txt");
    ASSERT_TRUE(f1.open(QIODevice::WriteOnly));
    f1.write("&title=First&\r\n");
    f1.close();
    EXPECT_EQ(parser.LoadFile(tmp.path() + "\\page_var.TXT"), 0); // backslashes, other case
    QFile f2(tmp.path() + "/second.txt");
    ASSERT_TRUE(f2.open(QIODevice::WriteOnly));
    f2.write("&title=Second&&extra=1&");
    f2.close();
    EXPECT_EQ(parser.LoadFile(tmp.path() + "/second.txt"), 0);
    EXPECT_EQ(parser.GetValue("title"), "First");
    EXPECT_EQ(parser.GetValue("extra"), "1");
}

TEST(QORVTxtParser, BinaryGarbageAndLargeFilesGiveADefinedResult) {
    QByteArray garbage;
    quint32 seed = 12345;
    for (int i = 0; i < 1 << 20; ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage.append(static_cast<char>(seed >> 24));
    }
    QORVTxtParser parser;
    parser.LoadBytes(garbage);
    parser.GetValue("title");

    QTemporaryDir tmp;
    QFile big(tmp.path() + "/big.txt");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    const QByteArray line("&k=v&\r\n");
    for (int i = 0; i < (100 << 20) / line.size(); ++i) {
        big.write(line);
    }
    big.write("&last=end&");
    big.close();
    QORVTxtParser bigParser;
    EXPECT_EQ(bigParser.LoadFile(big.fileName()), 0);
    EXPECT_EQ(bigParser.GetValue("last"), "end");
}

#include "services/notes/TextLists.h"

#include "unit/fakes/FakeFlashPlayer.h"
#include "unit/fakes/FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// An application folder with the executable in it and the given entries below it ("x/" is a folder).
class TextListsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        environment.exePath = tmp.filePath("QORVViewer");
        make({"QORVViewer", "readme.md", "notes/a.txt", "notes/b.TXT", "notes/c.doc", "notes/x.txt/",
              "notes/.hidden.txt", "notes/2012/d.txt", "notes/TxtList.txt", "notes/old_TxtList_2.txt",
              "notes/a.b.txt", "notes/한글.txt", "notes/txt", "empty/"});
    }
    void make(const QStringList& entries) {
        for (const QString& entry : entries) {
            if (entry.endsWith('/')) {
                ASSERT_TRUE(QDir(tmp.path()).mkpath(entry));
                continue;
            }
            ASSERT_TRUE(QDir(tmp.path()).mkpath(QFileInfo(entry).path()));
            QFile file(tmp.filePath(entry));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << entry.toStdString();
        }
    }
    QString path(const QString& relative) const { return tmp.filePath(relative); }

    QTemporaryDir tmp;
    FakeEnvironment environment;
    FakeFlashPlayer player;
    CapturingDebugOutput debug;
    TextLists lists{player, environment, debug};
};

} // namespace

TEST_F(TextListsTest, SearchListNamesTextFilesOfAFolder) {
    struct Case {
        QString parameters, result;
    };
    const Case cases[] = {
        {"notes",
         ".hidden.txt@@@a.b.txt@@@a.txt@@@b.TXT@@@old_TxtList_2.txt@@@TxtList.txt@@@x.txt@@@한글.txt@@@"},
        {"NOTES",
         ".hidden.txt@@@a.b.txt@@@a.txt@@@b.TXT@@@old_TxtList_2.txt@@@TxtList.txt@@@x.txt@@@한글.txt@@@"},
        {"notes\\2012", "d.txt@@@"},
        {"notes\\2012\\", "d.txt@@@"},
        {"empty", ""},
        {"missing", ""},
        {"", ""},
        {QString("no") + QChar(0) + "tes", ""},
        {"notes\\a.txt", ""},
    };
    for (const Case& c : cases) {
        player.calls.clear();
        lists.searchList(c.parameters);
        EXPECT_EQ(player.calls, QStringList{"SetVariable(resultList," + c.result + ")"})
            << c.parameters.toStdString();
    }
}

TEST(TextListsText, BaseNamesJoinedByCommas) {
    struct Case {
        QStringList entries;
        QString text;
    };
    const Case cases[] = {
        {{"a.txt", "b.TXT"}, "&name=a,b&"},
        {{}, "&name&"},
        {{"a.b.txt"}, "&name=a.b&"},
        {{"x.txt"}, "&name=x&"},
        {{".txt"}, "&name=&"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextLists::listText(c.entries), c.text) << c.entries.join('|').toStdString();
    }
}

TEST(TextListsFileName, ThreeBackslashesCollapseToOne) {
    struct Case {
        QString folder, name, fileName;
    };
    const Case cases[] = {
        {"notes", "_1.txt", "/app\\notes\\TxtList_1.txt"},
        {"notes\\\\", ".txt", "/app\\notes\\TxtList.txt"},
        {"\\\\notes", ".txt", "/app\\notes\\TxtList.txt"},
        {"notes\\\\\\", ".txt", "/app\\notes\\\\TxtList.txt"},
        {"notes", "\\\\\\x.txt", "/app\\notes\\TxtList\\x.txt"},
        {"", ".txt", "/app\\\\TxtList.txt"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextLists::listFileName("/app", c.folder, c.name), c.fileName)
            << c.folder.toStdString() << " " << c.name.toStdString();
    }
}

TEST_F(TextListsTest, TxtListSaveToFileWritesTheListFile) {
    make({"two/a.txt", "two/b.txt", "two/c.doc", "dotted/a.b.txt", "korean/한글.txt", "korean/가.txt"});
    QFile emoji(path("korean/") + QString::fromUtf8("\xF0\x9F\x98\x80.txt"));
    ASSERT_TRUE(emoji.open(QIODevice::WriteOnly));
    emoji.close();
    struct Case {
        QString parameters, file;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"two@@@_1.txt", "two/TxtList_1.txt", "&name=a,b&"},
        // The list file just written is not listed the second time round.
        {"two@@@_1.txt", "two/TxtList_1.txt", "&name=a,b&"},
        {"empty@@@.txt", "empty/TxtList.txt", "&name&"},
        {"notes@@@.txt", "notes/TxtList.txt", "&name=.hidden,a.b,a,b,x,\xC7\xD1\xB1\xDB&"},
        {"dotted@@@.txt", "dotted/TxtList.txt", "&name=a.b&"},
        {"korean@@@.txt", "korean/TxtList.txt", "&name=\xB0\xA1,\xC7\xD1\xB1\xDB,?&"},
        {"two\\\\@@@_2.txt", "two/TxtList_2.txt", "&name=a,b&"},
        {"notes\\2012@@@_x@@@y.txt", "notes/2012/TxtList_x@@@y.txt", "&name=d&"},
        // Without a separator the application folder is listed and the text names the file.
        {"_top.txt", "TxtList_top.txt", "&name&"},
    };
    for (const Case& c : cases) {
        lists.TxtListSaveToFile(c.parameters);
        EXPECT_EQ(readBytes(path(c.file)), c.bytes) << c.parameters.toStdString();
    }
    EXPECT_TRUE(player.calls.isEmpty());
    EXPECT_TRUE(debug.lines.isEmpty()) << debug.lines.join('\n').toStdString();
}

TEST_F(TextListsTest, UnwritableListFileLogsOneLineAndAnswersNothing) {
    const QStringList before = QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QString cases[] = {"missing@@@.txt", "notes@@@\\absent\\x.txt", "notes@@@" + QString(300, 'n'),
                             QString("notes@@@") + QChar(0)};
    for (const QString& parameters : cases) {
        debug.lines.clear();
        lists.TxtListSaveToFile(parameters);
        ASSERT_EQ(debug.lines.size(), 1) << parameters.toStdString();
        EXPECT_TRUE(debug.lines.first().startsWith("[TextLists::TxtListSaveToFile] cannot write "));
    }
    EXPECT_TRUE(player.calls.isEmpty());
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

TEST_F(TextListsTest, InputParameterSendsFirstArgument) {
    struct Case {
        QStringList arguments;
        QString value;
    };
    const Case cases[] = {
        {{}, ""},
        {{"12"}, "12"},
        {{"-p book.swf", "x"}, "-p book.swf"},
        {{"", "x"}, ""},
    };
    for (const Case& c : cases) {
        player.calls.clear();
        environment.args = c.arguments;
        lists.InputParameter();
        EXPECT_EQ(player.calls, QStringList{"SetVariable(변수명," + c.value + ")"});
    }
}

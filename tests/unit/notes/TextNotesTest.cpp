#include "services/notes/TextNotes.h"

#include "unit/fakes/FakeDialogs.h"
#include "unit/fakes/FakeDrives.h"
#include "unit/fakes/FakeFlashPlayer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

const QString kSaved = QStringLiteral("SetVariable(saveSuccess,success)");
const QString kFailed = QStringLiteral("SetVariable(saveSuccess,fail)");

// A native path as the movie writes it, after the dispatcher turned its slashes into backslashes.
QString contentForm(QString path) {
    return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

class TextNotesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tmp.isValid()); }
    QString path(const QString& relative) const { return tmp.filePath(relative); }

    QTemporaryDir tmp;
    FakeFlashPlayer player;
    FakeDialogs dialogs;
    FakeDrives drives;
    TextNotes notes{player, dialogs, drives};
};

} // namespace

TEST(TextNotesLocalTarget, FieldsBecomeNoteAndPath) {
    struct Case {
        QString parameters, note, path;
    };
    const Case cases[] = {
        {"memo@@@C:\\notes@@@a.txt", "memo", "C:\\notes\\a.txt"},
        {"memo@@@file:\\\\C:\\notes@@@a.txt", "memo", "C:\\notes\\a.txt"},
        // A third slash after the colon stays as the folder's leading backslash.
        {"memo@@@file:\\\\\\home\\r@@@a.txt", "memo", "\\home\\r\\a.txt"},
        {"memo@@@@@@a.txt", "memo", "\\a.txt"},
        {"memo@@@dir\\@@@a.txt", "memo", "dir\\\\a.txt"},
        {"memo@@@dir", "memo", "dir"},
        {"memo@@@dir@@@", "memo", "dir\\"},
        {"memo@@@dir@@@a.txt@@@ignored@@@too", "memo", "dir\\a.txt"},
        {"memo", "memo", ""},
        {"memo@@@", "memo", ""},
        {"", "", ""},
        // Only what the code page spells survives, in the note as in the path.
        {QString::fromUtf8("한글\xF0\x9F\x98\x80@@@d@@@f\xF0\x9F\x98\x80.txt"), "한글?", "d\\f?.txt"},
        {QString("a") + QChar(0xD800) + "@@@d@@@f", "a?", "d\\f"},
    };
    for (const Case& c : cases) {
        const TextNotes::LocalTarget target = TextNotes::localTarget(c.parameters);
        EXPECT_EQ(target.note, c.note) << c.parameters.toStdString();
        EXPECT_EQ(target.path, c.path) << c.parameters.toStdString();
    }
}

TEST_F(TextNotesTest, LocalSaveTextRepliesAndWrites) {
    ASSERT_TRUE(QDir(tmp.path()).mkpath("notes"));
    // A folder deeper than 1024 bytes still takes notes.
    QString deep = QStringLiteral("notes");
    for (int i = 0; i < 6; ++i) {
        deep += QLatin1Char('/') + QString(200, QLatin1Char('d' + i));
    }
    ASSERT_TRUE(QDir(tmp.path()).mkpath(deep));
    const QString t = contentForm(tmp.path());
    struct Case {
        QString parameters;
        QStringList dialogs;
        QString reply;
        QString file; // relative to the temporary folder; empty when nothing may be written
        QByteArray bytes;
    };
    const Case cases[] = {
        {"hello@@@" + t + "\\notes@@@a.txt", {}, kSaved, "notes/a.txt", "hello"},
        {"url@@@file:\\\\" + t + "\\notes@@@b.txt", {}, kSaved, "notes/b.txt", "url"},
        {"trailing@@@" + t + "\\notes\\@@@c.txt", {}, kSaved, "notes/c.txt", "trailing"},
        {"case@@@" + t + "\\NOTES@@@d.txt", {}, kSaved, "notes/d.txt", "case"},
        {"deep@@@" + t + "\\" + contentForm(deep) + "@@@e.txt", {}, kSaved, deep + "/e.txt", "deep"},
        {"no separator", {"showMessage(Flash M_ARGS 확인: no separator)"}, kFailed, "", ""},
        {"alone@@@", {"showMessage(Flash M_ARGS 확인: alone)"}, kFailed, "", ""},
        {"", {"showMessage(Flash M_ARGS 확인: )"}, kFailed, "", ""},
        {"missing@@@" + t + "\\absent@@@f.txt", {}, kFailed, "", ""},
        {"folder only@@@" + t + "\\notes@@@", {}, kFailed, "", ""},
        {"folder only@@@" + t + "\\notes", {}, kFailed, "", ""},
        {QString("nul@@@") + t + "\\notes@@@g" + QChar(0) + "h.txt", {}, kFailed, "", ""},
        {"long@@@" + t + "\\notes@@@" + QString(300, 'n'), {}, kFailed, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parameters.left(80).toStdString());
        player.calls.clear();
        dialogs.shown.clear();
        const QStringList before = entries(path("notes"));
        notes.LocalSaveText(c.parameters);
        EXPECT_EQ(player.calls, QStringList{c.reply});
        EXPECT_EQ(dialogs.shown, c.dialogs);
        if (c.file.isEmpty()) {
            EXPECT_EQ(entries(path("notes")), before);
        } else {
            EXPECT_EQ(readBytes(path(c.file)), c.bytes);
        }
    }
}

TEST_F(TextNotesTest, NoteBytesAreCodePageTextWithCrLf) {
    struct Case {
        QString note;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"가\n나\r다\r\n", "\xB0\xA1\r\n\xB3\xAA\r\xB4\xD9\r\r\n"},
        {"line\nline\n", "line\r\nline\r\n"},
        {QString::fromUtf8("a\xF0\x9F\x98\x80"
                           "b"),
         "a?b"},
        {"", ""},
        {QString("a") + QChar(0) + "b", QByteArray("a\0b", 3)},
        {"C:\\path\\kept", "C:\\path\\kept"},
    };
    for (const Case& c : cases) {
        notes.LocalSaveText(c.note + "@@@" + contentForm(tmp.path()) + "@@@note.txt");
        EXPECT_EQ(readBytes(path("note.txt")), c.bytes) << c.note.toStdString();
    }
    EXPECT_EQ(entries(tmp.path()), QStringList{"note.txt"}); // replaced each time, no leftovers
}

TEST_F(TextNotesTest, SaveTextFileGoesToFirstRemovableDrive) {
    ASSERT_TRUE(QDir(tmp.path()).mkpath("fixed"));
    ASSERT_TRUE(QDir(tmp.path()).mkpath("first"));
    ASSERT_TRUE(QDir(tmp.path()).mkpath("second"));
    drives.table = {{path("fixed/"), false}, {path("first/"), true}, {path("second/"), true}};

    notes.saveTextFile("memo@@@n.txt");

    EXPECT_EQ(player.calls, QStringList{kSaved});
    EXPECT_EQ(readBytes(path("first/TxtData/n.txt")), "memo");
    EXPECT_TRUE(entries(path("second")).isEmpty());
    EXPECT_TRUE(entries(path("fixed")).isEmpty());
}

TEST_F(TextNotesTest, WithoutRemovableDriveNothingIsWritten) {
    ASSERT_TRUE(QDir(tmp.path()).mkpath("fixed"));
    drives.table = {{path("fixed/"), false}};

    notes.saveTextFile("memo@@@n.txt");
    notes.loadTextFile();

    EXPECT_EQ(player.calls, (QStringList{kFailed, "SetVariable(loadSuccess,fail)"}));
    EXPECT_TRUE(entries(path("fixed")).isEmpty());
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(TextNotesTest, SaveTextFileRepliesAndWrites) {
    drives.table = {{path("stick/"), true}};
    ASSERT_TRUE(QDir(tmp.path()).mkpath("stick"));
    struct Case {
        QString parameters;
        QString reply;
        QString file; // below the notes folder; empty when nothing may be written
        QByteArray bytes;
    };
    const Case cases[] = {
        {"memo@@@n1.txt", kSaved, "n1.txt", "memo"},
        {"first\nsecond@@@n2", kSaved, "n2", "first\r\nsecond"},
        {"a@@@b@@@c.txt", kSaved, "b@@@c.txt", "a"},
        {"한@@@한글.txt", kSaved, "한글.txt", "\xC7\xD1"},
        {QString::fromUtf8("memo@@@\xF0\x9F\x98\x80.txt"), kSaved, "?.txt", "memo"},
        // Without a separator the parameter text is the file name and the note is empty.
        {"n3.txt", kSaved, "n3.txt", ""},
        {"memo@@@", kFailed, "", ""},
        {"", kFailed, "", ""},
        {"memo@@@absent\\n4.txt", kFailed, "", ""},
        {QString("memo@@@n") + QChar(0) + ".txt", kFailed, "", ""},
        {"memo@@@" + QString(300, 'n'), kFailed, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parameters.left(80).toStdString());
        player.calls.clear();
        const QStringList before = entries(path("stick/TxtData"));
        notes.saveTextFile(c.parameters);
        EXPECT_EQ(player.calls, QStringList{c.reply});
        if (c.file.isEmpty()) {
            EXPECT_EQ(entries(path("stick/TxtData")), before);
        } else {
            EXPECT_EQ(readBytes(path("stick/TxtData/") + c.file), c.bytes);
        }
    }
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(TextNotesTest, NotesFolderOfAnyCaseIsReused) {
    ASSERT_TRUE(QDir(tmp.path()).mkpath("stick/txtdata"));
    drives.table = {{path("stick/"), true}};

    notes.saveTextFile("memo@@@n.txt");
    notes.loadTextFile();

    EXPECT_EQ(entries(path("stick")), QStringList{"txtdata"});
    EXPECT_EQ(readBytes(path("stick/txtdata/n.txt")), "memo");
    EXPECT_EQ(player.calls, (QStringList{kSaved, "SetVariable(loadTxt," + path("stick/txtdata/") + ")",
                                         "SetVariable(loadSuccess,success)"}));
}

TEST_F(TextNotesTest, LoadTextFileNamesFolderWithoutMakingIt) {
    drives.table = {{path("a/"), false}, {path("b/"), true}};

    notes.loadTextFile();

    EXPECT_EQ(player.calls, (QStringList{"SetVariable(loadTxt," + path("b/TxtData/") + ")",
                                         "SetVariable(loadSuccess,success)"}));
    EXPECT_FALSE(QFileInfo::exists(path("b/TxtData")));
}

TEST_F(TextNotesTest, SavingAgainReplacesTheNote) {
    drives.table = {{path("stick/"), true}};
    ASSERT_TRUE(QDir(tmp.path()).mkpath("stick"));

    notes.saveTextFile("a much longer first note@@@n.txt");
    notes.saveTextFile("second@@@n.txt");

    EXPECT_EQ(readBytes(path("stick/TxtData/n.txt")), "second");
    EXPECT_EQ(entries(path("stick/TxtData")), QStringList{"n.txt"});
}

// A write that fails half-way (here: the process may not write files beyond 4 KB) leaves the old note
// whole and no temporary file behind.
TEST_F(TextNotesTest, FailedWriteKeepsOldNote) {
    drives.table = {{path("stick/"), true}};
    ASSERT_TRUE(QDir(tmp.path()).mkpath("stick/TxtData"));
    writeBytes(path("stick/TxtData/n.txt"), "old note");
    const QString bigNote(64 * 1024, QLatin1Char('x'));

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    notes.saveTextFile(bigNote + "@@@n.txt");
    notes.LocalSaveText(bigNote + "@@@" + contentForm(path("stick/TxtData")) + "@@@n.txt");
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(player.calls, (QStringList{kFailed, kFailed}));
    EXPECT_EQ(readBytes(path("stick/TxtData/n.txt")), "old note");
    EXPECT_EQ(entries(path("stick/TxtData")), QStringList{"n.txt"});
}

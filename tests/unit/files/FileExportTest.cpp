#include "services/files/FileExport.h"
#include "services/files/CopyProgress.h"
#include "services/files/FileTypeFilters.h"

#include "unit/fakes/FakeDialogs.h"
#include "unit/fakes/FakePlatform.h"
#include "unit/fakes/FakeShell.h"

#include "unit/files/QStringPrinting.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kSaved = QStringLiteral(" 파일이 저장되었습니다.");
const QString kFailed = QStringLiteral(" 파일 저장 실패\n경로를 확인해 주세요.");

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A book folder with the executable's name, some files, and an empty output folder.
class FileExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        app = dir.path() + QStringLiteral("/book/");
        out = dir.path() + QStringLiteral("/out/");
        QDir().mkpath(out);
        env.exePath = app + QStringLiteral("QORVViewer");
        write(QStringLiteral("docs/guide.PDF"), "guide");
        write(QStringLiteral("docs/a.hwp"), "hangul");
        write(QStringLiteral("data/a.pdf"), "data-a");
        write(QStringLiteral("a.pdf"), "a");
        write(QStringLiteral("b.pdf"), "b");
        write(QStringLiteral("c.pdf"), "c");
        write(QStringLiteral("QORVViewer_Page_img/contents/sub/p1.jpg"), "page1");
        QFile(dir.path() + QStringLiteral("/secret.txt")).open(QIODevice::WriteOnly);
    }

    void write(const QString& relative, const QByteArray& data) {
        const QString path = app + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }

    FileExport exporter(CopyProgress* progress = nullptr) {
        return FileExport(env, dialogs, shell, fileSave, &imgSave, progress);
    }

    QTemporaryDir dir;
    QString app;
    QString out;
    FakeEnvironment env;
    FakeDialogs dialogs;
    FakeShell shell;
    SaveDialogState fileSave = FileExport::initialFileSaveDialog();
    SaveDialogState imgSave = FileExport::initialImgSaveDialog();
};

TEST_F(FileExportTest, DialogsStartWithTheirDesignFilters) {
    EXPECT_EQ(fileSave.objectName, QStringLiteral("fileSaveDialog"));
    EXPECT_EQ(fileSave.filter, QStringLiteral("PDF 파일|*.pdf"));
    EXPECT_EQ(imgSave.objectName, QStringLiteral("imgSaveDialog"));
    EXPECT_EQ(imgSave.filter, QStringLiteral("ImageFile|*.jpg,*.bmp"));
}

TEST_F(FileExportTest, CopyfileSavesAndReportsByFileName) {
    dialogs.saveAnswers.push_back(out + QStringLiteral("mine.pdf"));
    exporter().copyfile(QStringLiteral("docs\\guide.PDF"));
    EXPECT_EQ(dialogs.shown,
              QStringList({QStringLiteral("saveFile(fileSaveDialog|PDF 파일|*.pdf|guide.PDF)"),
                           QStringLiteral("showMessage(guide.PDF") + kSaved + QLatin1Char(')')}));
    EXPECT_EQ(readAll(out + QStringLiteral("mine.pdf")), QByteArray("guide"));
}

TEST_F(FileExportTest, CopyfileCancelledShowsNothingAndCopiesNothing) {
    exporter().copyfile(QStringLiteral("docs\\guide.PDF"));
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(QDir(out).isEmpty());
}

// Every way a copy can fail ends in the failure message and leaves no file behind.
TEST_F(FileExportTest, CopyfileFailuresReportAndLeaveNothing) {
    QDir().mkpath(out + QStringLiteral("folder.pdf"));
    QDir().mkpath(out + QStringLiteral("locked"));
    QFile::setPermissions(out + QStringLiteral("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool root = QFileInfo(out + QStringLiteral("locked")).isWritable();
    struct Case {
        const char* name;
        QString parameters;
        QString target;
        QString shownName;
    } cases[] = {
        {"missing source", QStringLiteral("docs\\none.pdf"), out + QStringLiteral("x.pdf"),
         QStringLiteral("none.pdf")},
        {"source is a folder", QStringLiteral("docs"), out + QStringLiteral("x.pdf"), QStringLiteral("docs")},
        {"empty parameters", QString(), out + QStringLiteral("x.pdf"), QString()},
        {"leaves the book", QStringLiteral("..\\secret.txt"), out + QStringLiteral("x.pdf"),
         QStringLiteral("secret.txt")},
        {"nul byte", QStringLiteral("a.pdf") + QChar(u'\0') + QStringLiteral(".x"),
         out + QStringLiteral("x.pdf"), QStringLiteral("a.pdf") + QChar(u'\0') + QStringLiteral(".x")},
        {"target is a folder", QStringLiteral("a.pdf"), out + QStringLiteral("folder.pdf"),
         QStringLiteral("a.pdf")},
        {"target name too long", QStringLiteral("a.pdf"), out + QString(300, QLatin1Char('n')),
         QStringLiteral("a.pdf")},
        {"target folder missing", QStringLiteral("a.pdf"), out + QStringLiteral("no/x.pdf"),
         QStringLiteral("a.pdf")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.shown.clear();
        dialogs.saveAnswers.push_back(c.target);
        exporter().copyfile(c.parameters);
        ASSERT_EQ(dialogs.shown.size(), 2);
        EXPECT_EQ(dialogs.shown.at(1),
                  QStringLiteral("showMessage(") + c.shownName + kFailed + QLatin1Char(')'));
    }
    if (!root) {
        dialogs.shown.clear();
        dialogs.saveAnswers.push_back(out + QStringLiteral("locked/x.pdf"));
        exporter().copyfile(QStringLiteral("a.pdf"));
        EXPECT_EQ(dialogs.shown.at(1), QStringLiteral("showMessage(a.pdf") + kFailed + QLatin1Char(')'));
    }
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_TRUE(QDir(out + QStringLiteral("locked")).isEmpty());
}

TEST_F(FileExportTest, CopyfileReplacesAnExistingFileAndKeepsReadOnly) {
    QFile::setPermissions(app + QStringLiteral("a.pdf"), QFileDevice::ReadOwner);
    {
        QFile old(out + QStringLiteral("a.pdf"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old contents, longer than the new");
    }
    dialogs.saveAnswers.push_back(out + QStringLiteral("a.pdf"));
    exporter().copyfile(QStringLiteral("a.pdf"));
    EXPECT_EQ(readAll(out + QStringLiteral("a.pdf")), QByteArray("a"));
    EXPECT_FALSE(QFile::permissions(out + QStringLiteral("a.pdf")) & QFileDevice::WriteOwner);
}

// The file-type filter follows the lower-cased extension; the document copy leaves the filter alone
// for types of its short table it does not know.
TEST_F(FileExportTest, FilterTables) {
    struct Case {
        const char* path;
        const char* full;
        const char* shortFilter; // nullptr: unchanged
    } cases[] = {
        {"a.hwp", "한글 문서 파일|*.hwp", "한글 파일|*.hwp"},
        {"a.doc", "마이크로소프트 워드 파일|*.doc;*.docx;", "마이크로소프트 워드 파일|*.doc;*.docx"},
        {"a.DOCX", "마이크로소프트 워드 파일|*.doc;*.docx;", "마이크로소프트 워드 파일|*.doc;*.docx"},
        {"a.xls", "마이크로소프트 엑셀 파일|*.xls;*.xlsx;", "마이크로소프트 엑셀 파일|*.xls;*.xlsx"},
        {"a.xlsx", "마이크로소프트 엑셀 파일|*.xls;*.xlsx;", "마이크로소프트 엑셀 파일|*.xls;*.xlsx"},
        {"a.ppt", "마이크로소프트 파워포인트 파일|*.ppt;*.pptx;",
         "마이크로소프트 파워포인트 파일|*.ppt;*.pptx"},
        {"a.pptx", "마이크로소프트 파워포인트 파일|*.ppt;*.pptx;",
         "마이크로소프트 파워포인트 파일|*.ppt;*.pptx"},
        {"a.jpg", "이미지파일|*.jpg;*.bmp;*.png;", nullptr},
        {"a.bmp", "이미지파일|*.jpg;*.bmp;*.png;", nullptr},
        {"a.png", "이미지파일|*.jpg;*.bmp;*.png;", nullptr},
        {"a.swf", "플래시 파일|*.swf", nullptr},
        {"docs\\guide.PDF", "PDF 파일|*.pdf", nullptr},
        {"a.wmv", "동영상 파일|*.wmv", "동영상 파일|*.wmv"},
        {"a.zip", "모든 파일|*.*", nullptr},
        {"noext", "모든 파일|*.*", nullptr},
        {"dir.pdf\\noext", "모든 파일|*.*", nullptr},
        {"a.pdf.", "모든 파일|*.*", nullptr},
        {"", "모든 파일|*.*", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(filetypes::fullFilter(path), QString::fromUtf8(c.full));
        const auto shortOne = filetypes::shortFilter(path);
        EXPECT_EQ(shortOne.has_value(), c.shortFilter != nullptr);
        if (c.shortFilter) {
            EXPECT_EQ(*shortOne, QString::fromUtf8(c.shortFilter));
        }
    }
}

TEST_F(FileExportTest, FileNamePartAndExtension) {
    struct Case {
        const char* path;
        const char* name;
        const char* extension;
    } cases[] = {
        {"docs\\guide.PDF", "guide.PDF", ".PDF"},
        {"C:guide.pdf", "guide.pdf", ".pdf"},
        {"a.b\\c", "c", ""},
        {"docs\\", "", ""},
        {"x.tar.gz", "x.tar.gz", ".gz"},
        {"popup/a.pdf", "a.pdf", ".pdf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(filetypes::fileNamePart(QString::fromUtf8(c.path)), QString::fromUtf8(c.name));
        EXPECT_EQ(filetypes::extension(QString::fromUtf8(c.path)), QString::fromUtf8(c.extension));
    }
}

TEST_F(FileExportTest, DoccopyKeepsTheLastFilterForTypesItDoesNotKnow) {
    dialogs.saveAnswers.push_back(out + QStringLiteral("a.hwp"));
    exporter().copyfile(QStringLiteral("docs\\a.hwp"));
    dialogs.saveAnswers.push_back(out + QStringLiteral("a.pdf"));
    exporter().doccopy(QStringLiteral("a.pdf"));
    EXPECT_EQ(dialogs.shown.at(2), QStringLiteral("saveFile(fileSaveDialog|한글 문서 파일|*.hwp|a.pdf)"));
    EXPECT_EQ(dialogs.shown.size(), 3); // the document copy shows no message
    EXPECT_EQ(readAll(out + QStringLiteral("a.pdf")), QByteArray("a"));

    dialogs.saveAnswers.push_back(out + QStringLiteral("b.hwp"));
    exporter().doccopy(QStringLiteral("docs\\a.hwp"));
    EXPECT_EQ(dialogs.shown.at(3), QStringLiteral("saveFile(fileSaveDialog|한글 파일|*.hwp|a.hwp)"));
}

TEST_F(FileExportTest, DoccopyFailsSilently) {
    dialogs.saveAnswers.push_back(out + QStringLiteral("x.pdf"));
    exporter().doccopy(QStringLiteral("missing.pdf"));
    EXPECT_EQ(dialogs.shown.size(), 1);
    EXPECT_TRUE(QDir(out).isEmpty());
}

TEST_F(FileExportTest, ImgcopyTakesThePageImageFolderAndPresetsTheWholePath) {
    dialogs.saveAnswers.push_back(out + QStringLiteral("p.jpg"));
    exporter().imgcopy(QStringLiteral("sub\\p1.jpg"));
    EXPECT_EQ(dialogs.shown,
              QStringList(QStringLiteral("saveFile(imgSaveDialog|ImageFile|*.jpg,*.bmp|sub\\p1.jpg)")));
    EXPECT_EQ(readAll(out + QStringLiteral("p.jpg")), QByteArray("page1"));

    exporter().imgcopy(QStringLiteral("sub\\p1.jpg")); // cancelled
    dialogs.saveAnswers.push_back(out + QStringLiteral("q.jpg"));
    exporter().imgcopy(QStringLiteral("missing.jpg")); // silent failure
    EXPECT_EQ(dialogs.shown.size(), 3);
    EXPECT_FALSE(QFileInfo::exists(out + QStringLiteral("q.jpg")));
}

TEST_F(FileExportTest, ImgcopyWithoutAnImageDialogDoesNothing) {
    FileExport popup(env, dialogs, shell, fileSave, nullptr);
    popup.imgcopy(QStringLiteral("sub\\p1.jpg"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(FileExportTest, CopyfileModalOpenJoinsFolderAndName) {
    dialogs.runOrSaveAnswers.push_back(Dialogs::RunOrSave::Open);
    exporter().copyfileModal(QStringLiteral("data\\@@@a.pdf"));
    EXPECT_EQ(dialogs.shown, QStringList(QStringLiteral("runOrSave()")));
    EXPECT_EQ(shell.calls, QStringList(QStringLiteral("open(open|%1data/a.pdf||)").arg(app)));
}

TEST_F(FileExportTest, CopyfileModalSaveMakesTheCopyWritable) {
    QFile::setPermissions(app + QStringLiteral("data/a.pdf"), QFileDevice::ReadOwner);
    dialogs.runOrSaveAnswers.push_back(Dialogs::RunOrSave::Save);
    dialogs.saveAnswers.push_back(out + QStringLiteral("a.pdf"));
    exporter().copyfileModal(QStringLiteral("data\\@@@a.pdf"));
    EXPECT_EQ(dialogs.shown, QStringList({QStringLiteral("runOrSave()"),
                                          QStringLiteral("saveFile(fileSaveDialog|PDF 파일|*.pdf|a.pdf)"),
                                          QStringLiteral("showMessage(a.pdf") + kSaved + QLatin1Char(')')}));
    EXPECT_EQ(readAll(out + QStringLiteral("a.pdf")), QByteArray("data-a"));
    EXPECT_TRUE(QFile::permissions(out + QStringLiteral("a.pdf")) & QFileDevice::WriteOwner);
    EXPECT_TRUE(shell.calls.isEmpty());
}

TEST_F(FileExportTest, CopyfileModalCases) {
    struct Case {
        const char* name;
        QString parameters;
        Dialogs::RunOrSave answer;
        std::optional<QString> target;
        QStringList shown;
        QStringList shellCalls;
    } cases[] = {
        {"cancel",
         QStringLiteral("data\\@@@a.pdf"),
         Dialogs::RunOrSave::Cancel,
         std::nullopt,
         {QStringLiteral("runOrSave()")},
         {}},
        {"save cancelled",
         QStringLiteral("data\\@@@a.pdf"),
         Dialogs::RunOrSave::Save,
         std::nullopt,
         {QStringLiteral("runOrSave()"), QStringLiteral("saveFile(fileSaveDialog|PDF 파일|*.pdf|a.pdf)")},
         {}},
        {"save of a missing file",
         QStringLiteral("data@@@zz.hwp"),
         Dialogs::RunOrSave::Save,
         out + QStringLiteral("zz.hwp"),
         {QStringLiteral("runOrSave()"),
          QStringLiteral("saveFile(fileSaveDialog|한글 문서 파일|*.hwp|zz.hwp)"),
          QStringLiteral("showMessage(zz.hwp") + kFailed + QLatin1Char(')')},
         {}},
        {"no separator: the whole text is the name",
         QStringLiteral("a.pdf"),
         Dialogs::RunOrSave::Save,
         out + QStringLiteral("a.pdf"),
         {QStringLiteral("runOrSave()"), QStringLiteral("saveFile(fileSaveDialog|PDF 파일|*.pdf|a.pdf)"),
          QStringLiteral("showMessage(a.pdf") + kSaved + QLatin1Char(')')},
         {}},
        {"no separator, open",
         QStringLiteral("a.pdf"),
         Dialogs::RunOrSave::Open,
         std::nullopt,
         {QStringLiteral("runOrSave()")},
         {QStringLiteral("open(open|%1a.pdf||)").arg(app)}},
        {"later separators stay in the name",
         QStringLiteral("data@@@a@@@b.pdf"),
         Dialogs::RunOrSave::Save,
         out + QStringLiteral("x.pdf"),
         {QStringLiteral("runOrSave()"), QStringLiteral("saveFile(fileSaveDialog|PDF 파일|*.pdf|a@@@b.pdf)"),
          QStringLiteral("showMessage(a@@@b.pdf") + kFailed + QLatin1Char(')')},
         {}},
        {"open outside the book",
         QStringLiteral("..\\..\\@@@secret.txt"),
         Dialogs::RunOrSave::Open,
         std::nullopt,
         {QStringLiteral("runOrSave()")},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dialogs.shown.clear();
        shell.calls.clear();
        dialogs.runOrSaveAnswers.push_back(c.answer);
        if (c.answer == Dialogs::RunOrSave::Save) {
            dialogs.saveAnswers.push_back(c.target);
        }
        exporter().copyfileModal(c.parameters);
        EXPECT_EQ(dialogs.shown, c.shown);
        EXPECT_EQ(shell.calls, c.shellCalls);
    }
}

TEST_F(FileExportTest, CopyListSplitting) {
    struct Case {
        const char* text;
        QStringList items;
    } cases[] = {
        {"a.pdf;b.pdf;;c.pdf", {"a.pdf", "b.pdf", "c.pdf"}},
        {"", {}},
        {";;\r\n", {}},
        {"a.pdf\r\nb.pdf\n\nc.pdf\r", {"a.pdf", "b.pdf", "c.pdf"}},
        {" a b ;c", {" a b ", "c"}},
        {"\"x;y.pdf\";z", {"\"x;y.pdf\"", "z"}},
        {"'x;y'.pdf;z", {"'x;y'.pdf", "z"}},
        {"\"it's;fine\";z", {"\"it's;fine\"", "z"}},
        {"\"open;to the end", {"\"open;to the end"}},
        {"dir\\a.pdf;dir\\b.pdf", {"dir\\a.pdf", "dir\\b.pdf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FileExport::splitCopyList(QString::fromUtf8(c.text)), c.items);
    }
}

TEST_F(FileExportTest, CopyfilesDialogCopiesAllThenOpensTheFolder) {
    dialogs.folderAnswers.push_back(out);
    exporter().copyfilesDialog(QStringLiteral("a.pdf;docs\\guide.PDF;;c.pdf"));
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList({"a.pdf", "c.pdf", "guide.PDF"}));
    EXPECT_EQ(shell.calls, QStringList(QStringLiteral("open(open|%1||)").arg(out)));
    EXPECT_EQ(dialogs.shown, QStringList(QStringLiteral("chooseFolder()")));
}

TEST_F(FileExportTest, CopyfilesDialogStopsAtTheFirstFailureAndStillOpensTheFolder) {
    struct Case {
        const char* list;
        QStringList copied;
    } cases[] = {
        {"a.pdf;missing.pdf;c.pdf", {"a.pdf"}},
        {"a.pdf;..\\secret.txt;c.pdf", {"a.pdf"}},
        {"a.pdf;docs\\..;c.pdf", {"a.pdf"}},
        {"a.pdf;docs\\;c.pdf", {"a.pdf"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        QTemporaryDir target;
        dialogs.folderAnswers.push_back(target.path());
        shell.calls.clear();
        exporter().copyfilesDialog(QString::fromUtf8(c.list));
        EXPECT_EQ(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), c.copied);
        EXPECT_EQ(shell.calls, QStringList(QStringLiteral("open(open|%1||)").arg(target.path())));
    }
}

TEST_F(FileExportTest, CopyfilesDialogCancelledCopiesAndOpensNothing) {
    exporter().copyfilesDialog(QStringLiteral("a.pdf"));
    EXPECT_TRUE(shell.calls.isEmpty());
    EXPECT_TRUE(QDir(out).isEmpty());
}

// Books written on case-insensitive file systems name their files in any case.
TEST_F(FileExportTest, SourcesAreFoundWhateverTheCase) {
    dialogs.saveAnswers.push_back(out + QStringLiteral("g.pdf"));
    exporter().copyfile(QStringLiteral("DOCS\\Guide.pdf"));
    EXPECT_EQ(readAll(out + QStringLiteral("g.pdf")), QByteArray("guide"));
}

class StoppingProgress : public CopyProgress {
public:
    void begin(const QString& name, qint64 total) override {
        events << QStringLiteral("begin %1 %2").arg(name).arg(total);
    }
    bool advance(qint64 done) override {
        events << QStringLiteral("advance %1").arg(done);
        return events.size() < stopAfter;
    }
    void end() override { events << QStringLiteral("end"); }
    QStringList events;
    int stopAfter = 1000;
};

TEST_F(FileExportTest, LargeCopyReportsProgressInChunks) {
    write(QStringLiteral("big.wmv"), QByteArray(2 * 1024 * 1024 + 5, 'x'));
    StoppingProgress progress;
    dialogs.saveAnswers.push_back(out + QStringLiteral("big.wmv"));
    exporter(&progress).copyfile(QStringLiteral("big.wmv"));
    EXPECT_EQ(progress.events, QStringList({"begin big.wmv 2097157", "advance 1048576", "advance 2097152",
                                            "advance 2097157", "end"}));
    EXPECT_EQ(QFileInfo(out + QStringLiteral("big.wmv")).size(), 2 * 1024 * 1024 + 5);
}

TEST_F(FileExportTest, CopyStoppedMidwayLeavesTheOldTargetUntouched) {
    write(QStringLiteral("big.wmv"), QByteArray(3 * 1024 * 1024, 'x'));
    {
        QFile old(out + QStringLiteral("big.wmv"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    StoppingProgress progress;
    progress.stopAfter = 2; // begin, then the first chunk stops it
    dialogs.saveAnswers.push_back(out + QStringLiteral("big.wmv"));
    exporter(&progress).copyfile(QStringLiteral("big.wmv"));
    EXPECT_EQ(dialogs.shown.last(), QStringLiteral("showMessage(big.wmv") + kFailed + QLatin1Char(')'));
    EXPECT_EQ(readAll(out + QStringLiteral("big.wmv")), QByteArray("old"));
    EXPECT_EQ(progress.events.last(), QStringLiteral("end"));
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden), QStringList("big.wmv"));
}

// Whatever a movie sends, every command ends quietly or with its message, and what lands in the output
// folder is a whole copy of a book file or nothing.
TEST_F(FileExportTest, HostileParameters) {
    const QString dotDots = QStringLiteral("..\\").repeated(50000) + QStringLiteral("a.pdf");
    const QStringList hostile = {
        QString(),
        QStringLiteral("@@@"),
        QString(1 << 20, QLatin1Char('a')),
        dotDots,
        QStringLiteral("@@@") + dotDots,
        QStringLiteral("a.pdf") + QChar(u'\0') + QStringLiteral("b"),
        QChar(0xD800) + QStringLiteral(".pdf"),
        QStringLiteral("\"'\";;\r\n@@@@@@\"'"),
        QStringLiteral("99999999999999999999999999"),
        QStringLiteral("..\\..\\..\\..\\..\\etc\\passwd"),
        QStringLiteral("\\\\server\\share\\a.pdf"),
        QStringLiteral("/etc/passwd"),
        QStringLiteral("docs\\"),
        QStringLiteral("docs\\..\\..\\secret.txt"),
    };
    const QList<QByteArray> bookContents = {"guide", "hangul", "data-a", "a", "b", "c", "page1"};
    for (const QString& p : hostile) {
        SCOPED_TRACE(p.left(40).toStdString());
        QTemporaryDir folder;
        const QString target = folder.path() + QStringLiteral("/t");
        dialogs.saveAnswers = {target, target, target, target};
        dialogs.folderAnswers = {folder.path()};
        dialogs.runOrSaveAnswers = {Dialogs::RunOrSave::Save, Dialogs::RunOrSave::Open};
        FileExport commands = exporter();
        commands.imgcopy(p);
        commands.doccopy(p);
        commands.copyfile(p);
        commands.copyfileModal(p);
        commands.copyfileModal(p);
        commands.copyfilesDialog(p);
        for (const QString& name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden)) {
            EXPECT_TRUE(bookContents.contains(readAll(folder.path() + QLatin1Char('/') + name)))
                << name.toStdString();
        }
        for (const QString& call : shell.calls) {
            const QString file = call.section(QLatin1Char('|'), 1, 1);
            EXPECT_TRUE(file.startsWith(app) || file == folder.path()) << file.left(80).toStdString();
        }
        shell.calls.clear();
    }
}

// Saving a file onto itself must not destroy it.
TEST_F(FileExportTest, CopyOntoItsOwnSource) {
    dialogs.saveAnswers.push_back(app + QStringLiteral("a.pdf"));
    exporter().copyfile(QStringLiteral("a.pdf"));
    EXPECT_EQ(readAll(app + QStringLiteral("a.pdf")), QByteArray("a"));
    EXPECT_EQ(dialogs.shown.last(), QStringLiteral("showMessage(a.pdf") + kSaved + QLatin1Char(')'));
}

} // namespace

#include "services/files/DocumentOpening.h"

#include "unit/fakes/FakeDialogs.h"
#include "unit/fakes/FakePlatform.h"
#include "unit/fakes/FakeShell.h"
#include "unit/fakes/MemoryRegistry.h"

#include "unit/files/QStringPrinting.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kNoReader9 = QStringLiteral("information(아크로뱃 뷰어9.0을 설치하셔야 보실 수 있습니다.)");
const QString kNoReader = QStringLiteral("information(아크로뱃 뷰어를 설치하셔야 보실 수 있습니다.)");
const QString kNoProgram = QStringLiteral("error(이 문서를 열 수 있는 프로그램이 없습니다.)");
const QString kInstallPath = QStringLiteral("HKCU\\Software\\Adobe\\Acrobat Reader\\9.0\\InstallPath");
const QString kExe = QStringLiteral("HKCR\\Software\\Adobe\\Acrobat\\Exe");

class DocumentOpeningTest : public ::testing::Test {
protected:
    void SetUp() override {
        env.exePath = QStringLiteral("/Book/QORVViewer");
        env.programFiles = programFiles.path();
    }
    DocumentOpening opening() { return DocumentOpening(env, dialogs, shell, registry); }

    QTemporaryDir programFiles;
    FakeEnvironment env;
    FakeDialogs dialogs;
    FakeShell shell;
    MemoryRegistry registry;
};

TEST_F(DocumentOpeningTest, RunPdfCommandLineAndWorkingFolder) {
    registry.keys[kInstallPath] = QStringLiteral("C:\\AR\\Reader");
    opening().RunPDF(QStringLiteral("page=3@@@docs/manual.pdf"));
    EXPECT_EQ(shell.calls,
              QStringList(QStringLiteral("open(open|C:\\AR\\Reader\\AcroRd32.exe|/A \"page=3=OpenActions\" "
                                         "\"/Book\\docs/manual.pdf\"|/Book)")));
    EXPECT_EQ(env.current, QStringLiteral("/Book"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// The first step that applies decides; a key without a value still applies.
TEST_F(DocumentOpeningTest, ReaderLookupSteps) {
    const QString installed = programFiles.path() + QStringLiteral("/Adobe/Reader 9.0/Reader/AcroRd32.exe");
    struct Case {
        const char* name;
        std::optional<QString> installPath;
        std::optional<QString> exe;
        bool installedInProgramFiles;
        std::optional<QString> expected;
    } cases[] = {
        {"user key", QStringLiteral("C:\\AR"), QStringLiteral("D:\\x.exe"), true,
         QStringLiteral("C:\\AR\\AcroRd32.exe")},
        {"user key without value", QString(), QStringLiteral("D:\\x.exe"), false,
         QStringLiteral("\\AcroRd32.exe")},
        {"classes key", std::nullopt, QStringLiteral("D:\\x.exe"), true, QStringLiteral("D:\\x.exe")},
        {"classes key without value", std::nullopt, QString(), true, QString()},
        {"program files", std::nullopt, std::nullopt, true,
         programFiles.path() + QStringLiteral("\\Adobe\\Reader 9.0\\Reader\\AcroRd32.exe")},
        {"nothing", std::nullopt, std::nullopt, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        registry.keys.clear();
        if (c.installPath) {
            registry.keys[kInstallPath] = c.installPath->isEmpty() ? QString() : *c.installPath;
        }
        if (c.exe) {
            registry.keys[kExe] = c.exe->isEmpty() ? QString() : *c.exe;
        }
        QFile::remove(installed);
        if (c.installedInProgramFiles) {
            QDir().mkpath(QFileInfo(installed).absolutePath());
            QFile(installed).open(QIODevice::WriteOnly);
        }
        EXPECT_EQ(opening().findAcrobatReader(), c.expected);
    }
}

TEST_F(DocumentOpeningTest, RunPdfReaderMissingOnDisk) {
    registry.keys[kExe] = QStringLiteral("C:\\gone\\AcroRd32.exe");
    shell.openAnswers.push_back(Shell::kFileNotFound);
    opening().RunPDF(QStringLiteral("page=1@@@a.pdf"));
    EXPECT_EQ(dialogs.shown, QStringList(kNoReader));

    dialogs.shown.clear();
    shell.openAnswers.push_back(Shell::kNoAssociation); // other failures are silent
    opening().RunPDF(QStringLiteral("page=1@@@a.pdf"));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

// Without the reader, the desktop's PDF viewer opens the file, at the page where it is known to take one.
TEST_F(DocumentOpeningTest, RunPdfFallsBackToTheDesktopViewer) {
    struct Case {
        const char* args;
        std::pair<int, QString> found;
        std::optional<int> openAnswer;
        QStringList calls;
        QStringList shown;
    } cases[] = {
        {"page=3@@@docs/manual.pdf",
         {Shell::kSuccess, QStringLiteral("/usr/bin/evince")},
         Shell::kSuccess,
         {QStringLiteral("findExecutable(/Book\\docs/manual.pdf)"),
          QStringLiteral("open(open|/usr/bin/evince|--page-label=3 \"/Book\\docs/manual.pdf\"|/Book)")},
         {}},
        {"page=12&zoom=50@@@a.pdf",
         {Shell::kSuccess, QStringLiteral("/usr/bin/okular")},
         Shell::kSuccess,
         {QStringLiteral("findExecutable(/Book\\a.pdf)"),
          QStringLiteral("open(open|/usr/bin/okular|--page 12 \"/Book\\a.pdf\"|/Book)")},
         {}},
        {"page=3@@@a.pdf",
         {Shell::kSuccess, QStringLiteral("/usr/bin/firefox")},
         Shell::kSuccess,
         {QStringLiteral("findExecutable(/Book\\a.pdf)"),
          QStringLiteral("open(open|/usr/bin/firefox|\"/Book\\a.pdf\"|/Book)")},
         {}},
        {"@@@a.pdf",
         {Shell::kNoAssociation, QString()},
         std::nullopt,
         {QStringLiteral("findExecutable(/Book\\a.pdf)")},
         {kNoReader9}},
        {"page=1@@@missing.pdf",
         {Shell::kFileNotFound, QString()},
         std::nullopt,
         {QStringLiteral("findExecutable(/Book\\missing.pdf)")},
         {}},
        {"a.pdf",
         {Shell::kSuccess, QStringLiteral("/usr/bin/evince")},
         Shell::kFileNotFound,
         {QStringLiteral("findExecutable(/Book\\a.pdf)"),
          QStringLiteral("open(open|/usr/bin/evince|\"/Book\\a.pdf\"|/Book)")},
         {kNoReader}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        shell.calls.clear();
        dialogs.shown.clear();
        shell.findAnswers.push_back(c.found);
        if (c.openAnswer) {
            shell.openAnswers.push_back(*c.openAnswer);
        }
        opening().RunPDF(QString::fromUtf8(c.args));
        EXPECT_EQ(shell.calls, c.calls);
        EXPECT_EQ(dialogs.shown, c.shown);
    }
}

TEST_F(DocumentOpeningTest, PageOptions) {
    struct Case {
        const char* viewer;
        const char* open;
        const char* option;
    } cases[] = {
        {"/usr/bin/evince", "page=3", "--page-label=3"},
        {"atril", "zoom=50&page=7", "--page-label=7"},
        {"/usr/bin/xreader", "page=007", "--page-label=7"},
        {"/usr/bin/okular", "page=3", "--page 3"},
        {"/usr/bin/zathura", "page=3", "--page=3"},
        {"/usr/bin/evince", "", ""},
        {"/usr/bin/evince", "page=", ""},
        {"/usr/bin/evince", "page=3;rm -rf", ""},
        {"/usr/bin/evince", "page=99999999999999999999", ""},
        {"/usr/bin/evince", "nopage=3", ""},
        {"/usr/bin/mupdf", "page=3", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.viewer) + " " + c.open);
        EXPECT_EQ(DocumentOpening::pageOption(QString::fromUtf8(c.viewer), QString::fromUtf8(c.open)),
                  QString::fromUtf8(c.option));
    }
}

TEST_F(DocumentOpeningTest, ShowQuotesProgramAndArgument) {
    struct Case {
        const char* parameters;
        const char* call;
    } cases[] = {
        {"player.exe@@@movie.wmv", "open(open|\"/Book\\player.exe\"|\"movie.wmv\"|)"},
        {"player.exe", "open(open|\"/Book\\player.exe\"|\"\"|)"},
        {"p.exe@@@a@@@b", "open(open|\"/Book\\p.exe\"|\"a@@@b\"|)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parameters);
        shell.calls.clear();
        shell.openAnswers.push_back(Shell::kFileNotFound); // never examined
        opening().show(QString::fromUtf8(c.parameters));
        EXPECT_EQ(shell.calls, QStringList(QString::fromUtf8(c.call)));
        EXPECT_TRUE(dialogs.shown.isEmpty());
    }
}

TEST_F(DocumentOpeningTest, ExecSplitsFileAndParameters) {
    struct Case {
        const char* args;
        const char* call;
    } cases[] = {
        {"file:\\\\C|\\docs\\a.hwp", "open(open|C:\\docs\\a.hwp||)"},
        {"tool.exe@@@-x@@@a.txt", "open(open|tool.exe|-x a.txt|)"},
        {"tool.exe@@@\\s@@@a.txt", "open(open|tool.exe|\\s a.txt|)"},
        {"tool.exe@@@-x@@@a@@@b", "open(open|tool.exe|-x a@@@b|)"},
        {"tool.exe@@@-x", "open(open|tool.exe|-x |)"},
        {"x file:\\\\a file:\\\\b", "open(open|a file:\\\\b||)"},
        {"file:\\\\\\home\\u\\a.pdf", "open(open|\\home\\u\\a.pdf||)"},
        {"a|b|c.txt", "open(open|a:b:c.txt||)"},
        {"", "open(open|||)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        shell.calls.clear();
        env.current.clear();
        opening().exec(QString::fromUtf8(c.args));
        EXPECT_EQ(shell.calls, QStringList(QString::fromUtf8(c.call)));
        EXPECT_EQ(env.current, QStringLiteral("/Book"));
    }
}

TEST_F(DocumentOpeningTest, ExecFallsBackToTheAssociatedProgram) {
    struct Case {
        const char* name;
        const char* args;
        std::pair<int, QString> found;
        QStringList calls;
        QStringList shown;
    } cases[] = {
        {"found",
         "docs\\a.hwp",
         {Shell::kSuccess, QStringLiteral("/usr/bin/hwp")},
         {QStringLiteral("open(open|docs\\a.hwp||)"), QStringLiteral("findExecutable(docs\\a.hwp)"),
          QStringLiteral("open(open|/usr/bin/hwp|docs\\a.hwp|)")},
         {}},
        {"path with a blank is quoted",
         "my docs\\a.hwp",
         {Shell::kSuccess, QStringLiteral("/usr/bin/hwp")},
         {QStringLiteral("open(open|my docs\\a.hwp||)"), QStringLiteral("findExecutable(my docs\\a.hwp)"),
          QStringLiteral("open(open|/usr/bin/hwp|\"my docs\\a.hwp\"|)")},
         {}},
        {"none",
         "a.xyz",
         {Shell::kNoAssociation, QString()},
         {QStringLiteral("open(open|a.xyz||)"), QStringLiteral("findExecutable(a.xyz)")},
         {kNoProgram}},
        {"boundary 32 fails",
         "a.xyz",
         {32, QStringLiteral("/x")},
         {QStringLiteral("open(open|a.xyz||)"), QStringLiteral("findExecutable(a.xyz)")},
         {kNoProgram}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shell.calls.clear();
        dialogs.shown.clear();
        shell.openAnswers = {Shell::kNoAssociation, Shell::kFileNotFound};
        shell.findAnswers.push_back(c.found);
        opening().exec(QString::fromUtf8(c.args));
        EXPECT_EQ(shell.calls, c.calls);
        EXPECT_EQ(dialogs.shown, c.shown);
    }
}

TEST_F(DocumentOpeningTest, ExecOpenAnswerAbove32IsSuccess) {
    shell.openAnswers.push_back(33);
    opening().exec(QStringLiteral("a.pdf"));
    EXPECT_EQ(shell.calls.size(), 1);
}

} // namespace

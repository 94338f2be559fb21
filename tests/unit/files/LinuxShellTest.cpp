#include "platform/linux/LinuxShell.h"

#include "unit/files/QStringPrinting.h"
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

TEST(LinuxShellSplit, WindowsCommandLineRules) {
    struct Case {
        const char* text;
        QStringList arguments;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"-x a.txt", {"-x", "a.txt"}},
        {"  a \t b  ", {"a", "b"}},
        {"\"C:\\My Docs\\a.pdf\"", {"C:\\My Docs\\a.pdf"}},
        {"/A \"page=3=OpenActions\" \"C:\\Book\\docs/manual.pdf\"",
         {"/A", "page=3=OpenActions", "C:\\Book\\docs/manual.pdf"}},
        {"\\s a.txt", {"\\s", "a.txt"}},
        {"a\\\\b", {"a\\\\b"}},
        {"a\\\"b", {"a\"b"}},
        {"a\\\\\"b c\"", {"a\\b c"}},
        {"a\\\\\\\"b", {"a\\\"b"}},
        {"\"\"", {""}},
        {"\"\" x", {"", "x"}},
        {"\"a\"\"b\"", {"a\"b"}},
        {"ab\"c d\"ef", {"abc def"}},
        {"\"unterminated arg", {"unterminated arg"}},
        {"trailing\\", {"trailing\\"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(LinuxShell::splitCommandLine(QString::fromUtf8(c.text)), c.arguments);
    }
}

struct Launch {
    QString program;
    QStringList arguments;
    QString folder;
};

// A desktop in a temporary folder: configuration, desktop entries, a program folder, and a launcher
// that records instead of starting.
class LinuxShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        const QString r = root.path();
        for (const char* d :
             {"config", "sysconfig", "data/applications", "sysdata/applications", "bin", "work"}) {
            QDir().mkpath(r + QLatin1Char('/') + QLatin1String(d));
        }
        dirs.configHome = r + QStringLiteral("/config");
        dirs.configDirs = {r + QStringLiteral("/sysconfig")};
        dirs.dataHome = r + QStringLiteral("/data");
        dirs.dataDirs = {r + QStringLiteral("/sysdata")};
        dirs.path = {r + QStringLiteral("/bin")};
        work = r + QStringLiteral("/work/");
        script(QStringLiteral("bin/pdfview"));
        script(QStringLiteral("bin/texted"));
        entry(QStringLiteral("sysdata/applications/pdfview.desktop"),
              "Exec=pdfview %U\nMimeType=application/pdf;\n");
        file(QStringLiteral("work/Doc Folder/a.pdf"), "%PDF-1.4\n");
        file(QStringLiteral("work/notes.txt"), "hello\n");
        file(QStringLiteral("work/code.c"), "int main(void) { return 0; }\n");
        file(QStringLiteral("work/blob.qqq"), QByteArray("\x00\x01\x02\x03", 4));
    }

    void file(const QString& relative, const QByteArray& data) {
        const QString path = root.path() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    void script(const QString& relative) {
        file(relative, "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(root.path() + QLatin1Char('/') + relative,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    void entry(const QString& relative, const char* body) {
        file(relative, QByteArray("[Desktop Entry]\nType=Application\nName=x\n") + body);
    }
    QString path(const char* relative) const {
        return root.path() + QLatin1Char('/') + QLatin1String(relative);
    }

    LinuxShell shell(bool starts = true) {
        return LinuxShell(dirs, [this, starts](const QString& p, const QStringList& a, const QString& f) {
            launches.push_back({p, a, f});
            return starts;
        });
    }

    QTemporaryDir root;
    XdgDirs dirs;
    QString work;
    std::vector<Launch> launches;
};

TEST_F(LinuxShellTest, ResultCodes) {
    script(QStringLiteral("work/tool"));
    file(QStringLiteral("work/fake.exe"), "MZ not a program here");
    QFile::setPermissions(path("work/fake.exe"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    struct Case {
        const char* name;
        QString verb;
        QString file;
        bool starts;
        int result;
    } cases[] = {
        {"missing file", QStringLiteral("open"), work + QStringLiteral("none.pdf"), true,
         Shell::kFileNotFound},
        {"empty name", QStringLiteral("open"), QString(), true, Shell::kFileNotFound},
        {"quotes only", QStringLiteral("open"), QStringLiteral("\"\""), true, Shell::kFileNotFound},
        {"nul byte", QStringLiteral("open"), work + QStringLiteral("notes.txt") + QChar(u'\0'), true,
         Shell::kFileNotFound},
        {"unknown verb", QStringLiteral("print"), work + QStringLiteral("notes.txt"), true,
         Shell::kNoAssociation},
        {"program", QStringLiteral("open"), work + QStringLiteral("tool"), true, Shell::kSuccess},
        {"program that does not start", QStringLiteral("open"), work + QStringLiteral("tool"), false,
         LinuxShell::kAccessDenied},
        {"document with a viewer", QStringLiteral("open"), work + QStringLiteral("Doc Folder\\a.pdf"), true,
         Shell::kSuccess},
        {"document without a program", QStringLiteral("open"), work + QStringLiteral("blob.qqq"), true,
         Shell::kNoAssociation},
        {"executable bit but no program", QStringLiteral("open"), work + QStringLiteral("fake.exe"), true,
         Shell::kNoAssociation},
        {"folder without xdg-open", QStringLiteral("open"), work, true, Shell::kNoAssociation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(shell(c.starts).open(c.verb, c.file, QString(), QString()), c.result);
    }
}

TEST_F(LinuxShellTest, ProgramsStartDirectlyWithSplitNativeArguments) {
    script(QStringLiteral("work/tool"));
    shell().open(QStringLiteral("open"), QStringLiteral("\"") + work + QStringLiteral("TOOL\""),
                 QStringLiteral("-x \"Doc Folder\\A.pdf\" \\s missing\\b.txt"), work);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, work + QStringLiteral("tool"));
    EXPECT_EQ(launches[0].arguments,
              QStringList({QStringLiteral("-x"), work + QStringLiteral("Doc Folder/a.pdf"),
                           QStringLiteral("\\s"), QStringLiteral("missing\\b.txt")}));
    EXPECT_EQ(launches[0].folder, work);
}

TEST_F(LinuxShellTest, RelativeNamesAndBareProgramNames) {
    const QString saved = QDir::currentPath();
    QDir::setCurrent(work);
    EXPECT_EQ(shell().open(QStringLiteral("open"), QStringLiteral("Doc Folder\\a.pdf"), QString(), QString()),
              Shell::kSuccess);
    EXPECT_EQ(
        shell().open(QStringLiteral("open"), QStringLiteral("texted"), QStringLiteral("a b"), QString()),
        Shell::kSuccess);
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].arguments, QStringList(work + QStringLiteral("Doc Folder/a.pdf")));
    EXPECT_EQ(launches[1].program, path("bin/texted"));
    EXPECT_EQ(launches[1].arguments, QStringList({"a", "b"}));
    QDir::setCurrent(saved);
}

TEST_F(LinuxShellTest, DocumentsAndFoldersGoThroughXdgOpen) {
    script(QStringLiteral("bin/xdg-open"));
    EXPECT_EQ(shell().open(QStringLiteral("open"), work + QStringLiteral("Doc Folder\\a.pdf"),
                           QStringLiteral("-ignored"), QString()),
              Shell::kSuccess);
    EXPECT_EQ(shell().open(QStringLiteral("open"), work, QString(), QString()), Shell::kSuccess);
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].program, path("bin/xdg-open"));
    EXPECT_EQ(launches[0].arguments, QStringList(work + QStringLiteral("Doc Folder/a.pdf")));
    EXPECT_EQ(launches[1].arguments, QStringList(work));
}

// Without xdg-open the associated program itself gets the file.
TEST_F(LinuxShellTest, DocumentsWithoutXdgOpenGoToTheirProgram) {
    shell().open(QStringLiteral("open"), work + QStringLiteral("Doc Folder/a.pdf"), QString(), QString());
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, path("bin/pdfview"));
}

TEST_F(LinuxShellTest, FindExecutableFollowsTheDesktopsAssociations) {
    script(QStringLiteral("bin/other"));
    script(QStringLiteral("bin/added"));
    script(QStringLiteral("bin/my viewer"));
    entry(QStringLiteral("data/applications/other.desktop"), "Exec=other\n");
    entry(QStringLiteral("data/applications/hidden.desktop"),
          "Exec=other\nHidden=true\nMimeType=text/plain;\n");
    entry(QStringLiteral("data/applications/gone.desktop"), "Exec=notinstalled %f\n");
    entry(QStringLiteral("data/applications/added.desktop"), "Exec=added\n");
    entry(QStringLiteral("sysdata/applications/quoted.desktop"), "Exec=\"my viewer\" %f\n");
    struct Case {
        const char* name;
        QString configHome;  // mimeapps.list in the user's configuration
        QString dataDefault; // mimeapps.list beside the system's desktop entries
        QString file;
        int result;
        QString program;
    } cases[] = {
        {"desktop entry declaring the type", QString(), QString(), work + QStringLiteral("Doc Folder/a.pdf"),
         Shell::kSuccess, path("bin/pdfview")},
        {"user default wins", QStringLiteral("[Default Applications]\napplication/pdf=other.desktop\n"),
         QString(), work + QStringLiteral("Doc Folder/a.pdf"), Shell::kSuccess, path("bin/other")},
        {"uninstalled default is skipped",
         QStringLiteral(
             "[Default Applications]\napplication/pdf=gone.desktop;missing.desktop;other.desktop\n"),
         QString(), work + QStringLiteral("Doc Folder/a.pdf"), Shell::kSuccess, path("bin/other")},
        {"system default", QString(), QStringLiteral("[Default Applications]\ntext/plain=quoted.desktop\n"),
         work + QStringLiteral("notes.txt"), Shell::kSuccess, path("bin/my viewer")},
        {"added association", QStringLiteral("[Added Associations]\ntext/plain=added.desktop;\n"), QString(),
         work + QStringLiteral("notes.txt"), Shell::kSuccess, path("bin/added")},
        {"parent type", QStringLiteral("[Default Applications]\ntext/plain=other.desktop\n"), QString(),
         work + QStringLiteral("code.c"), Shell::kSuccess, path("bin/other")},
        {"hidden entry does not count", QString(), QString(), work + QStringLiteral("notes.txt"),
         Shell::kNoAssociation, QString()},
        {"entry outside the folders", QStringLiteral("[Default Applications]\ntext/plain=../x.desktop\n"),
         QString(), work + QStringLiteral("notes.txt"), Shell::kNoAssociation, QString()},
        {"unknown type", QString(), QString(), work + QStringLiteral("blob.qqq"), Shell::kNoAssociation,
         QString()},
        {"missing file", QString(), QString(), work + QStringLiteral("none.pdf"), Shell::kFileNotFound,
         QString()},
        {"a program is its own", QString(), QString(), path("bin/texted"), Shell::kSuccess,
         path("bin/texted")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        file(QStringLiteral("config/mimeapps.list"), c.configHome.toUtf8());
        file(QStringLiteral("sysdata/applications/mimeapps.list"), c.dataDefault.toUtf8());
        QString program = QStringLiteral("stale");
        EXPECT_EQ(shell().findExecutable(c.file, program), c.result);
        EXPECT_EQ(program, c.program);
    }
}

// Names that cannot exist are "not found", quickly, and nothing starts.
TEST_F(LinuxShellTest, HostileNames) {
    const QStringList hostile = {
        QString(1 << 20, QLatin1Char('a')),
        QStringLiteral("..\\").repeated(50000) + QStringLiteral("x"),
        QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b"),
        QChar(0xD800) + QStringLiteral(".pdf"),
        QStringLiteral("\"\"\"\"'"),
        QStringLiteral("99999999999999999999999999"),
        QStringLiteral("\\\\server\\share\\a.pdf"),
    };
    for (const QString& name : hostile) {
        SCOPED_TRACE(name.left(40).toStdString());
        EXPECT_EQ(shell().open(QStringLiteral("open"), name, name, name), Shell::kFileNotFound);
        QString program;
        EXPECT_EQ(shell().findExecutable(name, program), Shell::kFileNotFound);
    }
    EXPECT_TRUE(launches.empty());
}

// A program is started whatever its parameters hold.
TEST_F(LinuxShellTest, HostileParameters) {
    script(QStringLiteral("work/tool"));
    const QString huge = QStringLiteral("..\\").repeated(50000);
    EXPECT_EQ(shell().open(QStringLiteral("open"), work + QStringLiteral("tool"), huge, huge),
              Shell::kSuccess);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].arguments, QStringList(huge));
    EXPECT_EQ(launches[0].folder, QString());
}

// The real launcher: the program runs with the split arguments in the working folder, and open
// returns without waiting for it.
TEST_F(LinuxShellTest, RealStartDoesNotWait) {
    file(QStringLiteral("work/record"),
         "#!/bin/sh\npwd > \"$1.tmp\"\nfor a in \"$@\"; do echo \"$a\" >> \"$1.tmp\"; done\n"
         "mv \"$1.tmp\" \"$1\"\n");
    QFile::setPermissions(path("work/record"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString out = work + QStringLiteral("out.txt");
    LinuxShell real(dirs);
    ASSERT_EQ(real.open(QStringLiteral("open"), work + QStringLiteral("record"),
                        QStringLiteral("\"") + out + QStringLiteral("\" \"two words\""), path("bin")),
              Shell::kSuccess);
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(out) && !deadline.hasExpired()) {
        QThread::msleep(10);
    }
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()),
              path("bin") + QStringLiteral("\n") + out + QStringLiteral("\ntwo words\n"));
}

} // namespace

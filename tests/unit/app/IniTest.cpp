#include "app/INIControllerUnit.h"
#include "app/IniFile.h"
#include "core/CodePage.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(IniFile, ReadsLikeThePrivateProfileFunctions) {
    struct Case {
        const char* name;
        QByteArray file;
        QString section, key, expected;
    };
    const Case cases[] = {
        {"plain", "[ChildForm]\r\nWidth=800\r\n", "ChildForm", "Width", "800"},
        {"names ignore case", "[childform]\nWIDTH=800\n", "ChildForm", "Width", "800"},
        {"blanks trimmed", "  [ ChildForm ]  \n  Width  =  800  \n", "ChildForm", "Width", "800"},
        {"double quotes removed", "[A]\nk=\" x \"\n", "A", "k", " x "},
        {"single quotes removed", "[A]\nk='y'\n", "A", "k", "y"},
        {"unmatched quote kept", "[A]\nk=\"y\n", "A", "k", "\"y"},
        {"first duplicate key wins", "[A]\nk=1\nk=2\n", "A", "k", "1"},
        {"first duplicate section wins", "[A]\nk=1\n[B]\n[a]\nk=2\nj=3\n", "A", "j", ""},
        {"missing key", "[A]\nk=1\n", "A", "x", ""},
        {"missing section", "[A]\nk=1\n", "B", "k", ""},
        {"key outside a section is not read", "k=1\n[A]\n", "A", "k", ""},
        {"comment line", "[A]\n;k=1\nk=2\n", "A", "k", "2"},
        {"value case kept", "[MainForm]\nBorderStyle=BSNONE\n", "MainForm", "BorderStyle", "BSNONE"},
        {"equals inside a value", "[A]\nk=a=b\n", "A", "k", "a=b"},
        {"code page 949", QByteArray("[A]\nk=") + codepage::toNarrow(QStringLiteral("창")) + "\n", "A", "k",
         "창"},
        {"UTF-8 after a byte-order mark", "\xEF\xBB\xBF[A]\nk=\xEC\xB0\xBD\n", "A", "k", "창"},
        {"binary garbage", QByteArray("\x00\xff[\x01=", 5), "A", "k", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IniFile::fromBytes(c.file).readString(c.section, c.key, QString()), c.expected) << c.name;
    }
}

TEST(IniFile, ValuesAreCutAt2047Characters) {
    const QByteArray longValue(5000, 'x');
    const QString read = IniFile::fromBytes("[A]\nk=" + longValue + "\n").readString("A", "k", QString());
    EXPECT_EQ(read.size(), 2047);
}

TEST(INIController, LoadsTheSixKeysAndKeepsThemEmptyWithoutAFile) {
    QTemporaryDir tmp;
    INIController& ini = INIController::GetInstance();
    EXPECT_EQ(&ini, &INIController::GetInstance());
    QFile f(tmp.path() + "/QORVViewer.ini");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[MainForm]\nBorderStyle=bsNone\nWidth=5\n[ChildForm]\nWindowState=wsMaximized\nWidth=800\n"
            "Height=600\nBorderStyle=bsDialog\nScale=noScale\n");
    f.close();
    EXPECT_EQ(INIController::SettingsPathFor(tmp.path() + "/QORVViewer"), f.fileName());
    EXPECT_EQ(INIController::SettingsPathFor(tmp.path() + "/QORVViewer.exe"), f.fileName());
    ini.LoadSettings(f.fileName());
    EXPECT_EQ(ini.GetMainFormBorderStyle(), "bsNone");
    EXPECT_EQ(ini.GetChildFormWindowState(), "wsMaximized");
    EXPECT_EQ(ini.GetChildFormWidth(), "800");
    EXPECT_EQ(ini.GetChildFormHeight(), "600");
    EXPECT_EQ(ini.GetChildFormBorderStyle(), "bsDialog");
    EXPECT_EQ(ini.GetChildFormScale(), "noScale");

    ini.LoadSettings(tmp.path() + "/missing.ini");
    EXPECT_EQ(ini.GetMainFormBorderStyle(), "");
    EXPECT_EQ(ini.GetChildFormWidth(), "");
    EXPECT_EQ(ini.GetChildFormScale(), "");
}

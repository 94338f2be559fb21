#include "platform/linux/FileRegistry.h"

#include "unit/files/QStringPrinting.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Hive = Registry::Hive;

class FileRegistryTest : public ::testing::Test {
protected:
    void store(const QByteArray& bytes) {
        QFile f(dir.path() + QStringLiteral("/registry.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    std::optional<QString> value(Hive hive, const char* key) {
        FileRegistry registry(dir.path() + QStringLiteral("/registry.ini"));
        return registry.defaultValue(hive, QString::fromUtf8(key));
    }
    QTemporaryDir dir;
};

TEST_F(FileRegistryTest, Format) {
    store("Windows Registry Editor Version 5.00\r\n"
          "; a comment\r\n"
          "[HKEY_CURRENT_USER\\Software\\Adobe\\Acrobat Reader\\9.0\\InstallPath]\r\n"
          "@=\"C:\\\\AR\\\\Reader \\\"9\\\"\"\r\n"
          "[HKCR\\Software\\Adobe\\Acrobat\\Exe]\n"
          "\"Other\"=\"ignored\"\n"
          "@ = /opt/reader/acroread\n"
          "[HKEY_CLASSES_ROOT\\Software\\Empty\\]\n"
          "# no default value\n"
          "[HKEY_CURRENT_USER\\Software\\Later]\n"
          "@=first\n"
          "@=second\n");
    struct Case {
        Hive hive;
        const char* key;
        std::optional<QString> expected;
    } cases[] = {
        {Hive::CurrentUser, "Software\\Adobe\\Acrobat Reader\\9.0\\InstallPath",
         QStringLiteral("C:\\AR\\Reader \"9\"")},
        {Hive::CurrentUser, "software\\ADOBE\\acrobat reader\\9.0\\installpath\\",
         QStringLiteral("C:\\AR\\Reader \"9\"")},
        {Hive::ClassesRoot, "Software\\Adobe\\Acrobat Reader\\9.0\\InstallPath", std::nullopt},
        {Hive::ClassesRoot, "Software\\Adobe\\Acrobat\\Exe", QStringLiteral("/opt/reader/acroread")},
        {Hive::ClassesRoot, "Software\\Empty", QString()},
        {Hive::CurrentUser, "Software\\Later", QStringLiteral("first")},
        {Hive::CurrentUser, "Software", std::nullopt},
        {Hive::CurrentUser, "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(value(c.hive, c.key), c.expected);
    }
}

TEST_F(FileRegistryTest, Utf16WithByteOrderMark) {
    const QString text = QStringLiteral("[HKEY_CURRENT_USER\\Software\\한글]\r\n@=\"값\"\r\n");
    QByteArray bytes("\xff\xfe", 2);
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    store(bytes);
    EXPECT_EQ(value(Hive::CurrentUser, "Software\\한글"), QStringLiteral("값"));
}

TEST_F(FileRegistryTest, MissingOrHugeFileHasNoKeys) {
    EXPECT_EQ(value(Hive::CurrentUser, "Software"), std::nullopt);
    store("[HKEY_CURRENT_USER\\Software]\n@=x\n" + QByteArray(2 * 1024 * 1024, '\n'));
    EXPECT_EQ(value(Hive::CurrentUser, "Software"), std::nullopt);
}

TEST(FileRegistryPath, FollowsXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(FileRegistry::defaultPath(), QStringLiteral("/somewhere/config/qorv/registry.ini"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(FileRegistry::defaultPath(), QDir::homePath() + QStringLiteral("/.config/qorv/registry.ini"));
    if (!saved.isNull()) {
        qputenv("XDG_CONFIG_HOME", saved);
    }
}

} // namespace

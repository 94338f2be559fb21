#include "services/notes/TextNotes.h"

#include "unit/fakes/FakeDialogs.h"
#include "unit/fakes/FakeDrives.h"
#include "unit/fakes/FakeFlashPlayer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// A 64 KB tmpfs on a folder for as long as it lives. Mounting needs root.
class SmallTmpfs {
public:
    explicit SmallTmpfs(const QString& folder) : folder_(QFile::encodeName(folder)) {
        if (::mount("tmpfs", folder_.constData(), "tmpfs", 0, "size=64k") == 0) {
            mounted_ = true;
        } else {
            error_ = QString::fromLocal8Bit(std::strerror(errno));
        }
    }
    ~SmallTmpfs() {
        if (mounted_) {
            ::umount2(folder_.constData(), MNT_DETACH);
        }
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;

    bool mounted() const { return mounted_; }
    const QString& error() const { return error_; }

private:
    QByteArray folder_;
    bool mounted_ = false;
    QString error_;
};

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

TEST(NotesFullDisk, FullMediumAnswersFailAndKeepsOldNote) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to mount a 64 KB tmpfs; the full-medium case is not checked";
    }
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const QString stick = tmp.filePath("stick");
    ASSERT_TRUE(QDir().mkpath(stick));
    SmallTmpfs tmpfs(stick);
    if (!tmpfs.mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here (" << tmpfs.error().toStdString()
                     << "); the full-medium case is not checked";
    }
    FakeFlashPlayer player;
    FakeDialogs dialogs;
    FakeDrives drives;
    drives.table = {{stick + "/", true}};
    TextNotes notes(player, dialogs, drives);
    const QString folder = QString(stick + "/TxtData").replace('/', '\\');
    const QString bigNote(200 * 1024, QLatin1Char('x'));

    notes.saveTextFile("old note@@@n.txt");
    notes.saveTextFile(bigNote + "@@@n.txt");
    notes.LocalSaveText(bigNote + "@@@" + folder + "@@@n.txt");

    EXPECT_EQ(player.calls, (QStringList{"SetVariable(saveSuccess,success)", "SetVariable(saveSuccess,fail)",
                                         "SetVariable(saveSuccess,fail)"}));
    EXPECT_EQ(readBytes(stick + "/TxtData/n.txt"), "old note");
    EXPECT_EQ(QDir(stick + "/TxtData").entryList(QDir::Files | QDir::Hidden), QStringList{"n.txt"});
}

#include "platform/linux/LinuxDrives.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A fake machine: a mount table and a sysfs tree in a temporary folder. Disks hang below a PCI bus, through
// a USB bus when asked, and /sys/block links to them as the kernel does.
class FakeMachine {
public:
    FakeMachine() { EXPECT_TRUE(tmp.isValid()); }

    void disk(const QString& name, bool removable, bool onUsb, const QStringList& partitions = {}) {
        const QString device = tmp.filePath(
            onUsb ? "sys/devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/" +
                        name
                  : "sys/devices/pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0/block/" + name);
        ASSERT_TRUE(QDir().mkpath(device));
        write(device + "/removable", removable ? "1\n" : "0\n");
        for (const QString& partition : partitions) {
            ASSERT_TRUE(QDir().mkpath(device + "/" + partition));
            write(device + "/" + partition + "/partition", "1\n");
        }
        ASSERT_TRUE(QDir().mkpath(tmp.filePath("sys/block")));
        ASSERT_TRUE(QFile::link(device, tmp.filePath("sys/block/" + name)));
    }
    void mounts(const QByteArray& table) { write(tmp.filePath("mounts"), table); }
    LinuxDrives drives() const { return LinuxDrives(tmp.filePath("mounts"), tmp.filePath("sys")); }

private:
    static void write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
    }

    QTemporaryDir tmp;
};

} // namespace

TEST(LinuxDrives, RemovableAndUsbMountsInMountPointOrder) {
    FakeMachine machine;
    machine.disk("sda", false, false, {"sda1", "sda2"});
    machine.disk("sdb", true, false, {"sdb1"}); // card reader: removable flag
    machine.disk("sdc", false, true);           // USB stick without partitions that calls itself fixed
    machine.disk("sdd", false, true, {"sdd1"}); // USB disk, partitioned
    machine.disk("loop0", false, false);
    machine.disk("nvme0n1", false, false, {"nvme0n1p1"});
    machine.mounts("/dev/sda2 / ext4 rw,relatime 0 0\n"
                   "proc /proc proc rw 0 0\n"
                   "/dev/sdb1 /media/r/z\\040card vfat rw 0 0\n"
                   "tmpfs /media/r/tmp tmpfs rw 0 0\n"
                   "/dev/sdc /media/r/stick vfat rw 0 0\n"
                   "/dev/loop0 /snap/core squashfs ro 0 0\n"
                   "/dev/sdd1 /media/r/backup ext4 rw 0 0\n"
                   "/dev/nvme0n1p1 /boot/efi vfat rw 0 0\n"
                   "/dev/sda1 /home ext4 rw 0 0\n"
                   "server:/export /mnt/nfs nfs rw 0 0\n"
                   "/dev/sdx1 /media/r/unknown vfat rw 0 0\n"
                   "short line\n"
                   "\n");
    LinuxDrives drives = machine.drives();

    EXPECT_EQ(drives.removableMountPoints(),
              (QStringList{"/media/r/backup", "/media/r/stick", "/media/r/z card"}));
    EXPECT_EQ(drives.firstRemovableRoot(), std::optional<QString>("/media/r/backup/"));
}

TEST(LinuxDrives, NoRemovableDrive) {
    struct Case {
        const char* name;
        QByteArray mounts;
    };
    const Case cases[] = {
        {"fixed disks only", "/dev/sda1 / ext4 rw 0 0\n/dev/nvme0n1p1 /boot/efi vfat rw 0 0\n"},
        {"empty table", ""},
        // A later mount on the same point hides the stick.
        {"stick covered", "/dev/sdb1 /media/s vfat rw 0 0\ntmpfs /media/s tmpfs rw 0 0\n"},
    };
    for (const Case& c : cases) {
        FakeMachine machine;
        machine.disk("sda", false, false, {"sda1"});
        machine.disk("sdb", true, false, {"sdb1"});
        machine.disk("nvme0n1", false, false, {"nvme0n1p1"});
        machine.mounts(c.mounts);
        EXPECT_EQ(machine.drives().firstRemovableRoot(), std::nullopt) << c.name;
    }
    EXPECT_EQ(LinuxDrives("/nonexistent/mounts", "/nonexistent/sys").firstRemovableRoot(), std::nullopt);
}

TEST(LinuxDrives, RootMountPointKeepsOneSlash) {
    FakeMachine machine;
    machine.disk("sdb", true, false, {"sdb1"});
    machine.mounts("/dev/sdb1 / ext4 rw 0 0\n");
    EXPECT_EQ(machine.drives().firstRemovableRoot(), std::optional<QString>("/"));
}

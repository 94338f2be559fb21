#include "platform/linux/LinuxDrives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <algorithm>

namespace {

// Undoes the octal escapes (\040 for a space, \011, \012, \134) the kernel writes into mount table fields.
QString unescapeField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const auto isOctal = [&](qsizetype at) {
            return at < field.size() && field[at] >= '0' && field[at] <= '7';
        };
        if (field[i] == '\\' && isOctal(i + 1) && isOctal(i + 2) && isOctal(i + 3)) {
            out.append(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                         (field[i + 3] - '0')));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    return QFile::decodeName(out);
}

QByteArray readWhole(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    // Files under /proc and /sys report size 0, so read until the end instead of by size.
    return file.readAll();
}

} // namespace

LinuxDrives::LinuxDrives(QString mountTable, QString sysRoot)
    : mountTable_(std::move(mountTable)), sysRoot_(std::move(sysRoot)) {}

std::optional<QString> LinuxDrives::firstRemovableRoot() {
    const QStringList mounts = removableMountPoints();
    if (mounts.isEmpty()) {
        return std::nullopt;
    }
    QString root = mounts.first();
    if (!root.endsWith(QLatin1Char('/'))) {
        root += QLatin1Char('/');
    }
    return root;
}

QStringList LinuxDrives::removableMountPoints() const {
    // A later mount on the same point hides the earlier one, so the last device named for a point counts.
    QMap<QString, QString> deviceAt; // sorted by mount point
    for (const QByteArray& line : readWhole(mountTable_).split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 2) {
            continue;
        }
        deviceAt.insert(unescapeField(fields.at(1)), unescapeField(fields.at(0)));
    }
    QStringList mounts;
    for (auto it = deviceAt.cbegin(); it != deviceAt.cend(); ++it) {
        const QString disk = diskOf(it.value());
        if (!disk.isEmpty() && isRemovableDisk(disk)) {
            mounts << it.key();
        }
    }
    return mounts;
}

QString LinuxDrives::diskOf(const QString& device) const {
    if (!device.startsWith(QLatin1Char('/'))) {
        return {}; // "tmpfs", "proc", "server:/export": no device node
    }
    // /dev/disk/by-label/... and /dev/mapper/... are links to the node the kernel names.
    const QFileInfo node(device);
    const QString name = node.isSymLink() ? QFileInfo(node.canonicalFilePath()).fileName() : node.fileName();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
        return {};
    }
    const QDir block(sysRoot_ + QStringLiteral("/block"));
    if (block.exists(name)) {
        return name;
    }
    // A partition is a folder inside its disk's folder.
    const QStringList disks = block.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& disk : disks) {
        if (QFileInfo::exists(
                block.filePath(disk + QLatin1Char('/') + name + QStringLiteral("/partition")))) {
            return disk;
        }
    }
    return {};
}

bool LinuxDrives::isRemovableDisk(const QString& disk) const {
    const QString diskPath = sysRoot_ + QStringLiteral("/block/") + disk;
    if (readWhole(diskPath + QStringLiteral("/removable")).trimmed() == "1") {
        return true;
    }
    // USB sticks and card readers often call themselves fixed; their device path goes through a USB bus
    // ("usb1", "usb2", ...).
    const QString root = QFileInfo(sysRoot_).canonicalFilePath();
    const QString device = QFileInfo(diskPath).canonicalFilePath();
    if (root.isEmpty() || !device.startsWith(root + QLatin1Char('/'))) {
        return false;
    }
    static const QRegularExpression usbBus(QStringLiteral("^usb\\d+$"));
    const QStringList parts = device.mid(root.size() + 1).split(QLatin1Char('/'));
    return std::any_of(parts.cbegin(), parts.cend(),
                       [](const QString& part) { return usbBus.match(part).hasMatch(); });
}

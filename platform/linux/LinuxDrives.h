#pragma once

#include "core/Drives.h"

#include <QStringList>

// Removable drives on Linux, where there are no drive letters: the mounted file systems whose block
// device is removable or sits on a USB bus, found in the mount table and sysfs. Both locations can be
// pointed elsewhere so that tests can build a machine of their own.
class LinuxDrives : public Drives {
public:
    explicit LinuxDrives(QString mountTable = QStringLiteral("/proc/self/mounts"),
                         QString sysRoot = QStringLiteral("/sys"));

    // The first of removableMountPoints(), with a trailing "/".
    std::optional<QString> firstRemovableRoot() override;

    // Mount points of removable drives, sorted by path, each once.
    QStringList removableMountPoints() const;

private:
    // The disk (a name under <sysRoot>/block) a device node belongs to; empty when it is no block device.
    QString diskOf(const QString& device) const;
    bool isRemovableDisk(const QString& disk) const;

    QString mountTable_;
    QString sysRoot_;
};

#pragma once

#include "core/Drives.h"

#include <QList>

// A drive table in scan order: each root (ending with a separator) and whether it is removable. The
// first removable root is the answer, as on a machine that scans its drives in that order.
class FakeDrives : public Drives {
public:
    struct Drive {
        QString root;
        bool removable = false;
    };

    std::optional<QString> firstRemovableRoot() override {
        for (const Drive& drive : table) {
            if (drive.removable) {
                return drive.root;
            }
        }
        return std::nullopt;
    }

    QList<Drive> table;
};

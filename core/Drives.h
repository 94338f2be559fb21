#pragma once

#include <QString>
#include <optional>

// Removable drives (USB sticks), where the reader's notes live.
class Drives {
public:
    virtual ~Drives() = default;
    // The root of the first removable drive, ending with a separator ("E:\" on Windows, the mount point
    // with "/" on Linux); nullopt when there is none.
    virtual std::optional<QString> firstRemovableRoot() = 0;
};

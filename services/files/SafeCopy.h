#pragma once

#include <QString>

class CopyProgress;

// Copies one file so that the target is either the complete new copy or exactly what it was before:
// the data goes in chunks into a temporary file beside the target, which replaces the target only once
// everything is written. Paths are native.
class SafeCopy {
public:
    enum class Permissions {
        FromSource,      // the copy carries the source's permission bits, read-only included
        WritableByOwner, // as FromSource, but the owner may always read and write the copy
    };

    static constexpr qint64 kChunkSize = 1024 * 1024;

    // True when the target now holds a full copy of the source. Fails without touching the target when
    // the source is missing or not a regular file, the target is a folder, or anything cannot be read
    // or written.
    static bool copy(const QString& source, const QString& target, Permissions permissions,
                     CopyProgress* progress = nullptr);
};

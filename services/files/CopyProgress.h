#pragma once

#include <QString>
#include <QtGlobal>

// Progress of one file copy, so that a long copy can show how far it is and keep the window painting.
// A Qt progress dialog in the program; tests use it to stop a copy midway.
class CopyProgress {
public:
    virtual ~CopyProgress() = default;
    virtual void begin(const QString& fileName, qint64 totalBytes) = 0;
    // Called after each chunk. Returning false stops the copy, which then counts as failed.
    virtual bool advance(qint64 copiedBytes) = 0;
    virtual void end() = 0;
};

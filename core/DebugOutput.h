#pragma once

#include <QString>

// The program's only log: one line per command received, plus a few lines of the scrap, recording and
// capture work. On Linux each line goes to standard error as UTF-8, whole, in one write.
class DebugOutput {
public:
    virtual ~DebugOutput() = default;
    virtual void line(const QString& text) = 0;
};

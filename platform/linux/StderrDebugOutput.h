#pragma once

#include "core/DebugOutput.h"

// Debug lines to standard error, UTF-8, one write(2) per line so that lines from several threads or
// processes never interleave and a reader sees each line whole.
class StderrDebugOutput : public DebugOutput {
public:
    void line(const QString& text) override;
};

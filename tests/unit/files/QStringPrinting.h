#pragma once

#include <QString>
#include <ostream>

// Readable failure output for QString and QStringList comparisons.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

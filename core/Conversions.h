#pragma once

#include <QString>
#include <optional>

// Text to integer the way the books' original host converted it: leading blanks, an optional sign,
// decimal digits or a hexadecimal number written "$1F" or "0x1F"; nothing after the digits; the value must
// fit a signed 32-bit integer.
namespace conversions {

std::optional<int> toInt(const QString& text);
// As toInt, but a text that is not such a number fails with the message "'<text>' is not a valid integer
// value".
int toIntOrThrow(const QString& text);
int toIntOr(const QString& text, int fallback);

} // namespace conversions

#include "core/Conversions.h"

#include "core/QorvError.h"

namespace conversions {

std::optional<int> toInt(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' ')) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0') &&
               (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= n) {
        return std::nullopt;
    }
    const qint64 limit = base == 16 ? qint64(0xFFFFFFFF) : qint64(0x80000000);
    qint64 value = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        int digit = -1;
        if (c >= u'0' && c <= u'9') {
            digit = c - u'0';
        } else if (base == 16 && c >= u'a' && c <= u'f') {
            digit = c - u'a' + 10;
        } else if (base == 16 && c >= u'A' && c <= u'F') {
            digit = c - u'A' + 10;
        }
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > limit) {
            return std::nullopt;
        }
    }
    if (base == 16 && value > 0x7FFFFFFF) {
        // A hexadecimal text may spell the whole 32-bit pattern.
        value -= qint64(1) << 32;
    }
    if (negative) {
        value = -value;
    }
    if (value > 0x7FFFFFFF || value < -qint64(0x80000000)) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

int toIntOrThrow(const QString& text) {
    if (const auto value = toInt(text)) {
        return *value;
    }
    throw QorvError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

int toIntOr(const QString& text, int fallback) {
    return toInt(text).value_or(fallback);
}

} // namespace conversions

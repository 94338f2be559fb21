#include "services/scrap/ScrapPainter.h"

#include "core/DebugOutput.h"
#include "core/QorvError.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<signed char, 256> makeHexTable() {
    std::array<signed char, 256> table{};
    for (auto& v : table) {
        v = -1;
    }
    for (int c = '0'; c <= '9'; ++c) {
        table[c] = static_cast<signed char>(c - '0');
    }
    for (int c = 'a'; c <= 'f'; ++c) {
        table[c] = static_cast<signed char>(c - 'a' + 10);
        table[c - 'a' + 'A'] = static_cast<signed char>(c - 'a' + 10);
    }
    return table;
}

constexpr std::array<signed char, 256> hexTable = makeHexTable();

int hexDigit(char c) {
    return hexTable[static_cast<unsigned char>(c)];
}

// Blanks and control characters, NUL included, as trimmed around a colour.
bool isTrimmed(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view trimmed(std::string_view item) {
    while (!item.empty() && isTrimmed(item.front())) {
        item.remove_prefix(1);
    }
    while (!item.empty() && isTrimmed(item.back())) {
        item.remove_suffix(1);
    }
    return item;
}

[[noreturn]] void notAColour(std::string_view item, qint64 index) {
    QString shown = QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size()));
    for (QChar& c : shown) {
        if (c.unicode() < 32) {
            c = QLatin1Char('?');
        }
    }
    throw QorvError(
        QStringLiteral("Scrap pixel %1: '%2' is not a hexadecimal RRGGBB colour.").arg(index).arg(shown));
}

} // namespace

ScrapPainter::ScrapPainter(std::string_view pixelText, int width, DebugOutput& debug)
    : items_(pixelText), width_(width), debug_(debug) {
    size_t first = 0;
    while (first < pixelText.size() && CommaItems<char>::isBlank(pixelText[first])) {
        ++first;
    }
    if (first < pixelText.size() && pixelText[first] == ',') {
        std::string_view separator;
        items_.next(separator);
    }
}

namespace {

// Six hexadecimal digits to R, G, B; false when one is not a digit.
bool decodeColour(const char* six, unsigned char* rgb) {
    const int d0 = hexDigit(six[0]), d1 = hexDigit(six[1]), d2 = hexDigit(six[2]);
    const int d3 = hexDigit(six[3]), d4 = hexDigit(six[4]), d5 = hexDigit(six[5]);
    // A non-digit is -1, so one test covers all six.
    if ((d0 | d1 | d2 | d3 | d4 | d5) < 0) {
        return false;
    }
    rgb[0] = static_cast<unsigned char>(d0 * 16 + d1);
    rgb[1] = static_cast<unsigned char>(d2 * 16 + d3);
    rgb[2] = static_cast<unsigned char>(d4 * 16 + d5);
    return true;
}

} // namespace

bool ScrapPainter::paintItem(unsigned char* rgb) {
    if (exhausted_) {
        return false;
    }
    const char* six = items_.nextSix();
    if (!six || !decodeColour(six, rgb)) {
        std::string_view item = six ? std::string_view(six, 6) : std::string_view();
        if (!six && !items_.next(item)) {
            exhausted_ = true;
            return false;
        }
        item = trimmed(item);
        if (item.size() != 6) {
            rgb[0] = rgb[1] = rgb[2] = 0;
        } else if (!decodeColour(item.data(), rgb)) {
            notAColour(item, index_);
        }
    }
    if (--untilDebugLine_ == 0) {
        debug_.line(QString::number(index_));
        untilDebugLine_ = debugLineEvery;
    }
    ++index_;
    return true;
}

void ScrapPainter::paintRow(unsigned char* rgb) {
    const size_t bytes = static_cast<size_t>(width_) * 3;
    std::memset(rgb, 0xFF, bytes);
    for (size_t x = 0; x < bytes && !exhausted_; x += 3) {
        paintItem(rgb + x);
    }
}

void ScrapPainter::finish() {
    unsigned char scratch[3];
    while (paintItem(scratch)) {
    }
}

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

bool ScrapPainter::paintItem(unsigned char* rgb) {
    std::string_view item;
    if (exhausted_ || !items_.next(item)) {
        exhausted_ = true;
        return false;
    }
    item = trimmed(item);
    if (item.size() == 6) {
        int digits[6];
        for (int i = 0; i < 6; ++i) {
            digits[i] = hexDigit(item[static_cast<size_t>(i)]);
            if (digits[i] < 0) {
                notAColour(item, index_);
            }
        }
        rgb[0] = static_cast<unsigned char>(digits[0] * 16 + digits[1]);
        rgb[1] = static_cast<unsigned char>(digits[2] * 16 + digits[3]);
        rgb[2] = static_cast<unsigned char>(digits[4] * 16 + digits[5]);
    } else {
        rgb[0] = rgb[1] = rgb[2] = 0;
    }
    if (index_ % 10000 == 0) {
        debug_.line(QString::number(index_));
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

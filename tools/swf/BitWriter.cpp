#include "tools/swf/BitWriter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <utility>

namespace swf {

namespace {

// Field widths are themselves stored in five bits.
constexpr unsigned kMaxFieldBits = 31;

unsigned widest(std::initializer_list<std::int32_t> values) {
    unsigned bits = 0;
    for (std::int32_t v : values) {
        bits = std::max(bits, BitWriter::signedBits(v));
    }
    if (bits > kMaxFieldBits) {
        throw std::out_of_range("value too large for a bit field");
    }
    return bits;
}

} // namespace

unsigned BitWriter::unsignedBits(std::uint32_t value) {
    return static_cast<unsigned>(std::bit_width(value));
}

unsigned BitWriter::signedBits(std::int32_t value) {
    if (value == 0) {
        return 0;
    }
    const auto magnitude = static_cast<std::uint32_t>(value < 0 ? ~value : value);
    return unsignedBits(magnitude) + 1;
}

std::int32_t BitWriter::fixed16(double value) {
    const double raw = std::round(value * 65536.0);
    if (!(raw >= -2147483648.0 && raw <= 2147483647.0)) {
        throw std::out_of_range("fixed-point value out of range");
    }
    return static_cast<std::int32_t>(raw);
}

void BitWriter::ub(unsigned bits, std::uint32_t value) {
    if (bits > 32 || (bits < 32 && (value >> bits) != 0)) {
        throw std::out_of_range("value does not fit " + std::to_string(bits) + " unsigned bits");
    }
    for (unsigned i = bits; i-- > 0;) {
        if (bitPos_ == 0) {
            data_.push_back(0);
        }
        if ((value >> i) & 1U) {
            data_.back() = static_cast<std::uint8_t>(data_.back() | (0x80U >> bitPos_));
        }
        bitPos_ = (bitPos_ + 1) % 8;
    }
}

void BitWriter::sb(unsigned bits, std::int32_t value) {
    if (signedBits(value) > bits) {
        throw std::out_of_range("value does not fit " + std::to_string(bits) + " signed bits");
    }
    const auto raw = static_cast<std::uint32_t>(value);
    ub(bits, bits >= 32 ? raw : raw & ((1U << bits) - 1U));
}

void BitWriter::align() {
    bitPos_ = 0;
}

void BitWriter::u8(std::uint8_t value) {
    align();
    data_.push_back(value);
}

void BitWriter::u16(std::uint16_t value) {
    u8(static_cast<std::uint8_t>(value));
    u8(static_cast<std::uint8_t>(value >> 8));
}

void BitWriter::s16(std::int16_t value) {
    u16(static_cast<std::uint16_t>(value));
}

void BitWriter::u32(std::uint32_t value) {
    u16(static_cast<std::uint16_t>(value));
    u16(static_cast<std::uint16_t>(value >> 16));
}

void BitWriter::f32(float value) {
    u32(std::bit_cast<std::uint32_t>(value));
}

void BitWriter::bytes(std::span<const std::uint8_t> data) {
    align();
    data_.insert(data_.end(), data.begin(), data.end());
}

void BitWriter::string(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) {
        throw std::invalid_argument("a string in a movie cannot hold a NUL character");
    }
    align();
    data_.insert(data_.end(), text.begin(), text.end());
    data_.push_back(0);
}

void BitWriter::rect(const Rect& r) {
    align();
    const unsigned bits = widest({r.xMin, r.xMax, r.yMin, r.yMax});
    ub(5, bits);
    sb(bits, r.xMin);
    sb(bits, r.xMax);
    sb(bits, r.yMin);
    sb(bits, r.yMax);
    align();
}

void BitWriter::matrix(const Matrix& m) {
    align();
    const std::int32_t sx = fixed16(m.scaleX);
    const std::int32_t sy = fixed16(m.scaleY);
    const bool hasScale = sx != 65536 || sy != 65536;
    ub(1, hasScale);
    if (hasScale) {
        const unsigned bits = widest({sx, sy});
        ub(5, bits);
        sb(bits, sx);
        sb(bits, sy);
    }
    const std::int32_t r0 = fixed16(m.rotateSkew0);
    const std::int32_t r1 = fixed16(m.rotateSkew1);
    const bool hasRotate = r0 != 0 || r1 != 0;
    ub(1, hasRotate);
    if (hasRotate) {
        const unsigned bits = widest({r0, r1});
        ub(5, bits);
        sb(bits, r0);
        sb(bits, r1);
    }
    const unsigned bits = widest({m.translateX, m.translateY});
    ub(5, bits);
    sb(bits, m.translateX);
    sb(bits, m.translateY);
    align();
}

void BitWriter::rgb(const Color& c) {
    u8(c.r);
    u8(c.g);
    u8(c.b);
}

void BitWriter::rgba(const Color& c) {
    rgb(c);
    u8(c.a);
}

std::vector<std::uint8_t> BitWriter::take() {
    bitPos_ = 0;
    return std::exchange(data_, {});
}

} // namespace swf

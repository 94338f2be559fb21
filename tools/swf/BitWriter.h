#pragma once

#include "tools/swf/SwfTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace swf {

// Appends the file format's primitive encodings to a byte buffer: little-endian integers, bit fields
// packed from the most significant bit, and the records built from them (RECT, MATRIX, colours,
// strings). Byte-sized writes first pad an unfinished bit field to the byte boundary, as readers expect.
// Values that do not fit their field throw std::out_of_range instead of being cut.
class BitWriter {
public:
    void ub(unsigned bits, std::uint32_t value);
    void sb(unsigned bits, std::int32_t value);
    // Pads the current byte with zero bits.
    void align();

    void u8(std::uint8_t value);
    void u16(std::uint16_t value);
    void s16(std::int16_t value);
    void u32(std::uint32_t value);
    void f32(float value);
    void bytes(std::span<const std::uint8_t> data);
    // A NUL-terminated string; the text itself may not hold a NUL (std::invalid_argument).
    void string(std::string_view text);

    void rect(const Rect& r);
    void matrix(const Matrix& m);
    void rgb(const Color& c);
    void rgba(const Color& c);

    const std::vector<std::uint8_t>& data() const { return data_; }
    std::vector<std::uint8_t> take();
    std::size_t size() const { return data_.size(); }

    // Bits a signed field needs for value (0 for 0, so an all-zero record can use zero-width fields).
    static unsigned signedBits(std::int32_t value);
    static unsigned unsignedBits(std::uint32_t value);
    // 16.16 fixed point, rounded; std::out_of_range when it does not fit 32 bits.
    static std::int32_t fixed16(double value);

private:
    std::vector<std::uint8_t> data_;
    unsigned bitPos_ = 0; // bits already used in the last byte; 0 when aligned
};

} // namespace swf

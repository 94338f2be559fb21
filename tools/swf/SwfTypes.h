#pragma once

#include <cstdint>

// The value types movies are described with. Coordinates are in twips (1/20 pixel), the unit the file
// format stores, so that callers never lose precision to a hidden conversion.
namespace swf {

constexpr std::int32_t kTwipsPerPixel = 20;

constexpr std::int32_t twips(double pixels) {
    return static_cast<std::int32_t>(pixels * kTwipsPerPixel + (pixels < 0 ? -0.5 : 0.5));
}

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;

    // 0xRRGGBB, fully opaque.
    static constexpr Color rgb(std::uint32_t rgb) {
        return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                static_cast<std::uint8_t>(rgb), 255};
    }
    bool operator==(const Color&) const = default;
};

struct Rect {
    std::int32_t xMin = 0;
    std::int32_t xMax = 0;
    std::int32_t yMin = 0;
    std::int32_t yMax = 0;

    static constexpr Rect pixels(double x, double y, double width, double height) {
        return {twips(x), twips(x + width), twips(y), twips(y + height)};
    }
    bool operator==(const Rect&) const = default;
};

// Scale and translation; rotation and skew are kept for completeness (0 means none).
struct Matrix {
    double scaleX = 1.0;
    double scaleY = 1.0;
    double rotateSkew0 = 0.0;
    double rotateSkew1 = 0.0;
    std::int32_t translateX = 0;
    std::int32_t translateY = 0;

    static constexpr Matrix translate(std::int32_t x, std::int32_t y) { return {1.0, 1.0, 0.0, 0.0, x, y}; }
};

} // namespace swf

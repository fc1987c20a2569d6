// The small value types that movies are made of: lengths in twips, rectangles,
// colours, placement matrices and colour changes, kept as the file
// stores them so that nothing is lost before rendering.
#pragma once

#include <cstdint>

namespace swf {

// A length in twips, 1/20 of a pixel.
using Twips = std::int32_t;
constexpr int TwipsPerPixel = 20;

using CharacterId = std::uint16_t;
// Depths as the timeline numbers them (the file's 16-bit depths); scripts
// place objects far outside that range, so the type is wider than the file's.
using Depth = std::int32_t;

struct Rect {
    Twips xMin = 0;
    Twips xMax = 0;
    Twips yMin = 0;
    Twips yMax = 0;

    Twips Width() const { return xMax - xMin; }
    Twips Height() const { return yMax - yMin; }
    bool operator==(const Rect&) const = default;
};

struct Point {
    Twips x = 0;
    Twips y = 0;
    bool operator==(const Point&) const = default;
};

// A colour with straight (not premultiplied) alpha; colours stored as RGB in
// the file read with alpha 255.
struct Rgba {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
    bool operator==(const Rgba&) const = default;
};

// x' = scaleX * x + rotateSkew1 * y + translateX
// y' = rotateSkew0 * x + scaleY * y + translateY
// The factors are the file's 16.16 fixed-point values (exact in a double);
// the translation is in twips.
struct Matrix {
    double scaleX = 1.0;
    double scaleY = 1.0;
    double rotateSkew0 = 0.0;
    double rotateSkew1 = 0.0;
    Twips translateX = 0;
    Twips translateY = 0;
    bool operator==(const Matrix&) const = default;
};

// channel' = channel * mult / 256 + add, clamped to 0..255. The multipliers
// are the file's 8.8 fixed-point values (256 is 1.0).
struct ColorTransform {
    std::int16_t multR = 256;
    std::int16_t multG = 256;
    std::int16_t multB = 256;
    std::int16_t multA = 256;
    std::int16_t addR = 0;
    std::int16_t addG = 0;
    std::int16_t addB = 0;
    std::int16_t addA = 0;
    bool operator==(const ColorTransform&) const = default;
};

} // namespace swf

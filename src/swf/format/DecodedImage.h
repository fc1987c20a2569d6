// A decoded bitmap: premultiplied 32-bit pixels in the layout cairo's
// ARGB32 image surfaces use (one native-endian word per pixel, alpha in the
// top byte), row by row with no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // width * height

    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// What a damaged or hostile movie may ask the decoders for. A bitmap larger
// than this is refused before any pixel memory is taken.
struct ImageLimits {
    int maxSide = 8191;
    std::size_t maxPixels = 16777215;

    bool Allows(long long width, long long height) const {
        return width > 0 && height > 0 && width <= maxSide && height <= maxSide &&
               static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) <=
                   maxPixels;
    }
};

constexpr std::uint32_t PackPixel(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (std::uint32_t{a} << 24) | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) | b;
}

// A straight-alpha colour premultiplied, rounding as a player's compositor does.
constexpr std::uint8_t Premultiply(std::uint8_t channel, std::uint8_t alpha) {
    return static_cast<std::uint8_t>((channel * alpha + 127) / 255);
}

constexpr std::uint32_t PackStraight(std::uint8_t a, std::uint8_t r, std::uint8_t g,
                                     std::uint8_t b) {
    return PackPixel(a, Premultiply(r, a), Premultiply(g, a), Premultiply(b, a));
}

} // namespace swf

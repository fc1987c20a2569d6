// A picture as filters and bitmaps work on it: premultiplied ARGB, one
// 32-bit word per pixel with alpha in the top byte, rows top first with no
// padding between them. That is the layout of cairo's ARGB32 images, so a
// renderer draws into and out of a buffer without copying it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

// A rectangle of whole pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool Empty() const { return width <= 0 || height <= 0; }
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    // The smallest rectangle holding both (an empty one holds nothing).
    PixelRect Union(const PixelRect& other) const;
    PixelRect Intersect(const PixelRect& other) const;
    bool operator==(const PixelRect&) const = default;
};

class PixelBuffer {
public:
    PixelBuffer() = default;
    // A transparent picture; a side below 0 counts as 0.
    PixelBuffer(int width, int height);

    int Width() const { return width; }
    int Height() const { return height; }
    bool Empty() const { return pixels.empty(); }
    // Bytes from one row to the next.
    int Stride() const { return width * 4; }

    std::uint32_t* Row(int y) { return pixels.data() + std::size_t(y) * std::size_t(width); }
    const std::uint32_t* Row(int y) const {
        return pixels.data() + std::size_t(y) * std::size_t(width);
    }
    std::uint32_t& At(int x, int y) { return Row(y)[x]; }
    std::uint32_t At(int x, int y) const { return Row(y)[x]; }
    std::uint32_t* Data() { return pixels.data(); }
    const std::uint32_t* Data() const { return pixels.data(); }
    std::size_t Size() const { return pixels.size(); }

    void Fill(std::uint32_t pixel) { std::fill(pixels.begin(), pixels.end(), pixel); }

private:
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The channels of a premultiplied pixel.
constexpr std::uint32_t AlphaOf(std::uint32_t p) {
    return p >> 24;
}
constexpr std::uint32_t RedOf(std::uint32_t p) {
    return (p >> 16) & 0xFF;
}
constexpr std::uint32_t GreenOf(std::uint32_t p) {
    return (p >> 8) & 0xFF;
}
constexpr std::uint32_t BlueOf(std::uint32_t p) {
    return p & 0xFF;
}
constexpr std::uint32_t PackPixel(std::uint32_t a, std::uint32_t r, std::uint32_t g,
                                  std::uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// a * b / 255, rounded to the nearest, for a and b in 0..255.
constexpr std::uint32_t Mul255(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

// Every channel of a premultiplied pixel scaled by coverage (0..255).
constexpr std::uint32_t ScalePixel(std::uint32_t p, std::uint32_t coverage) {
    return PackPixel(Mul255(AlphaOf(p), coverage), Mul255(RedOf(p), coverage),
                     Mul255(GreenOf(p), coverage), Mul255(BlueOf(p), coverage));
}

// top drawn over bottom, both premultiplied.
constexpr std::uint32_t OverPixel(std::uint32_t top, std::uint32_t bottom) {
    const std::uint32_t rest = 255 - AlphaOf(top);
    const auto channel = [&](std::uint32_t t, std::uint32_t b) {
        return std::min<std::uint32_t>(255, t + Mul255(b, rest));
    };
    return PackPixel(channel(AlphaOf(top), AlphaOf(bottom)), channel(RedOf(top), RedOf(bottom)),
                     channel(GreenOf(top), GreenOf(bottom)), channel(BlueOf(top), BlueOf(bottom)));
}

} // namespace swf

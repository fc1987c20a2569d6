// The values a test or tool describes a movie with. Lengths are in twips
// (1/20 pixel) unless a name says otherwise.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace swfwriter {

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    std::uint8_t a = 255;
};

struct Matrix {
    double scaleX = 1.0;
    double scaleY = 1.0;
    double rotateSkew0 = 0.0;
    double rotateSkew1 = 0.0;
    std::int32_t translateX = 0;
    std::int32_t translateY = 0;

    static Matrix Translate(std::int32_t x, std::int32_t y);
    // Scales, then turns by degrees (clockwise on screen), then moves to (x, y).
    static Matrix Transform(std::int32_t x, std::int32_t y, double scaleX, double scaleY,
                            double degrees);
};

struct ColorTransform {
    std::int16_t multR = 256, multG = 256, multB = 256, multA = 256;
    std::int16_t addR = 0, addG = 0, addB = 0, addA = 0;

    // Alpha multiplied by fraction (0..1), colours unchanged.
    static ColorTransform Fade(double fraction);
};

struct GradientStop {
    std::uint8_t ratio = 0;
    Color color;
};

struct Fill {
    enum class Kind : std::uint8_t {
        Solid = 0x00,
        Linear = 0x10,
        Radial = 0x12,
        RepeatingBitmap = 0x40,
        ClippedBitmap = 0x41,
    };
    Kind kind = Kind::Solid;
    Color color;
    Matrix matrix;
    std::vector<GradientStop> stops;
    std::uint16_t bitmapId = 0;

    static Fill Solid(Color color);
    // A gradient across the box (x, y, width, height): left to right for a
    // linear one, from the centre out for a radial one.
    static Fill Linear(std::vector<GradientStop> stops, std::int32_t x, std::int32_t y,
                       std::int32_t width, std::int32_t height);
    static Fill Radial(std::vector<GradientStop> stops, std::int32_t x, std::int32_t y,
                       std::int32_t width, std::int32_t height);
    // A bitmap of the given size in pixels, drawn at (x, y).
    static Fill Bitmap(std::uint16_t bitmapId, std::int32_t x, std::int32_t y, bool clipped = true);
};

struct Line {
    std::uint16_t width = 20;
    Color color;
};

// A clip action of PlaceObject2 or 3: the events it handles (bits as the
// file numbers them: 1 load, 2 enterFrame, 4 unload, ..., 0x200 initialize,
// 0x40000 construct) and its action bytes (ending with 0).
struct ClipAction {
    std::uint32_t events = 0;
    std::vector<std::uint8_t> actions{0};
    std::uint8_t keyCode = 0; // with the key press event (0x20000)
};

// What PlaceObject2 or 3 sets; absent fields are left out of the tag.
struct Placement {
    std::optional<Matrix> matrix{};
    std::optional<ColorTransform> colorTransform{};
    std::optional<std::uint16_t> ratio{};
    std::optional<std::string> name{};
    std::optional<std::uint16_t> clipDepth{};
    // Any of these makes the tag a PlaceObject3.
    std::optional<std::uint8_t> blendMode{};
    std::optional<bool> cacheAsBitmap{};
    std::optional<double> blurFilter{}; // a blur filter of this many pixels
    // Written with the 32-bit event flags of SWF 6 and later.
    std::vector<ClipAction> clipActions{};
};

enum class Compression { None, Zlib, Lzma };

} // namespace swfwriter

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
    // Caps and joins as LineStyle2 numbers them; DefineShape4 writes them
    // and the scaling flags, earlier shapes only the width and colour.
    enum Cap : std::uint8_t { RoundCap = 0, NoCap = 1, SquareCap = 2 };
    enum Join : std::uint8_t { RoundJoin = 0, BevelJoin = 1, MiterJoin = 2 };
    std::uint16_t width = 20;
    Color color;
    Cap startCap = RoundCap;
    Cap endCap = RoundCap;
    Join join = RoundJoin;
    double miterLimit = 3.0;
    bool noHScale = false;
    bool noVScale = false;
    bool pixelHinting = false;
    bool noClose = false;
};

// A bitmap filter of PlaceObject3, with every field its kind has; the fields
// a kind does not have are not written. Kinds are numbered as in the file.
struct Filter {
    enum Kind : std::uint8_t {
        DropShadow = 0,
        Blur = 1,
        Glow = 2,
        Bevel = 3,
        GradientGlow = 4,
        Convolution = 5,
        ColorMatrix = 6,
        GradientBevel = 7,
    };
    Kind kind = Blur;
    // Drop shadow, glow: one colour; bevel: shadow, then highlight;
    // gradient glow and bevel: one colour per ratio.
    std::vector<Color> colors{};
    std::vector<std::uint8_t> ratios{};
    double blurX = 4.0; // pixels
    double blurY = 4.0;
    double angle = 0.0; // radians
    double distance = 0.0;
    double strength = 1.0;
    bool inner = false;
    bool knockout = false;
    bool compositeSource = true; // false hides the object (drop shadow)
    bool onTop = false;          // bevels and gradient filters
    std::uint8_t passes = 1;     // the quality
    // Convolution: columns x rows entries, row after row; colour matrix: 20.
    std::uint8_t matrixX = 0;
    std::uint8_t matrixY = 0;
    std::vector<float> matrix{};
    float divisor = 1.0f;
    float bias = 0.0f;
    Color defaultColor{};
    bool clamp = true;
    bool preserveAlpha = false;

    static Filter BlurOf(double x, double y, std::uint8_t passes);
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
    std::vector<Filter> filters{};
    // Written with the 32-bit event flags of SWF 6 and later.
    std::vector<ClipAction> clipActions{};
};

// A character of a button and the states it shows in; the hit state is
// where the pointer finds the button.
struct ButtonPart {
    std::uint16_t characterId = 0;
    std::uint16_t depth = 1;
    bool up = true;
    bool over = true;
    bool down = true;
    bool hit = true;
    Matrix matrix{};
};

// An action block of DefineButton2: the conditions it runs on (the
// transition bits as the format numbers them, a key code in bits 9 to 15)
// and its actions, ending with 0.
struct ButtonActions {
    std::uint16_t conditions = 0;
    std::vector<std::uint8_t> actions{0};
};

enum class Compression { None, Zlib, Lzma };

} // namespace swfwriter

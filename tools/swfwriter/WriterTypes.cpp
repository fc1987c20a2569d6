#include "swfwriter/WriterTypes.h"

#include <cmath>

namespace swfwriter {

namespace {

// The format's gradient square spans -16384..16384 twips; its bitmaps are 20
// twips a pixel.
constexpr double GradientSquare = 32768.0;

} // namespace

Filter Filter::BlurOf(double x, double y, std::uint8_t passes) {
    Filter filter;
    filter.kind = Blur;
    filter.blurX = x;
    filter.blurY = y;
    filter.passes = passes;
    return filter;
}

Matrix Matrix::Translate(std::int32_t x, std::int32_t y) {
    Matrix matrix;
    matrix.translateX = x;
    matrix.translateY = y;
    return matrix;
}

Matrix Matrix::Transform(std::int32_t x, std::int32_t y, double scaleX, double scaleY,
                         double degrees) {
    const double radians = degrees * std::acos(-1.0) / 180.0;
    const double cosine = std::cos(radians);
    const double sine = std::sin(radians);
    Matrix matrix;
    matrix.scaleX = scaleX * cosine;
    matrix.rotateSkew0 = scaleX * sine;
    matrix.rotateSkew1 = -scaleY * sine;
    matrix.scaleY = scaleY * cosine;
    matrix.translateX = x;
    matrix.translateY = y;
    return matrix;
}

ColorTransform ColorTransform::Fade(double fraction) {
    ColorTransform cx;
    cx.multA = static_cast<std::int16_t>(std::lround(256.0 * fraction));
    return cx;
}

Fill Fill::Solid(Color color) {
    Fill fill;
    fill.kind = Kind::Solid;
    fill.color = color;
    return fill;
}

Fill Fill::Linear(std::vector<GradientStop> stops, std::int32_t x, std::int32_t y,
                  std::int32_t width, std::int32_t height) {
    Fill fill;
    fill.kind = Kind::Linear;
    fill.stops = std::move(stops);
    fill.matrix.scaleX = width / GradientSquare;
    fill.matrix.scaleY = height / GradientSquare;
    fill.matrix.translateX = x + width / 2;
    fill.matrix.translateY = y + height / 2;
    return fill;
}

Fill Fill::Radial(std::vector<GradientStop> stops, std::int32_t x, std::int32_t y,
                  std::int32_t width, std::int32_t height) {
    Fill fill = Linear(std::move(stops), x, y, width, height);
    fill.kind = Kind::Radial;
    return fill;
}

Fill Fill::Bitmap(std::uint16_t bitmapId, std::int32_t x, std::int32_t y, bool clipped) {
    Fill fill;
    fill.kind = clipped ? Kind::ClippedBitmap : Kind::RepeatingBitmap;
    fill.bitmapId = bitmapId;
    fill.matrix.scaleX = 20.0;
    fill.matrix.scaleY = 20.0;
    fill.matrix.translateX = x;
    fill.matrix.translateY = y;
    return fill;
}

} // namespace swfwriter

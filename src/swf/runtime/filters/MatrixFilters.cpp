// The colour matrix and the convolution, which work on straight colours:
// each pixel's colour is taken out of its alpha, worked on in 0..255, and
// premultiplied again.
#include <algorithm>
#include <cmath>

#include "swf/runtime/filters/FilterParts.h"

namespace swf {

namespace {

struct Straight {
    float r = 0, g = 0, b = 0, a = 0;
};

Straight Unpremultiply(std::uint32_t p) {
    const std::uint32_t a = AlphaOf(p);
    if (a == 0) {
        return {};
    }
    const auto channel = [a](std::uint32_t c) {
        return float(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
    };
    return {channel(RedOf(p)), channel(GreenOf(p)), channel(BlueOf(p)), float(a)};
}

std::uint32_t ToByte(float value) {
    if (!(value > 0.0f)) { // NaN too
        return 0;
    }
    return value >= 255.0f ? 255u : static_cast<std::uint32_t>(value + 0.5f);
}

std::uint32_t Premultiply(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return PackPixel(a, Mul255(r, a), Mul255(g, a), Mul255(b, a));
}

// Work past this many matrix entries times pixels is skipped: a damaged
// movie's matrix of thousands of entries would stall the frame.
constexpr double MaxConvolutionWork = 1 << 28;

} // namespace

void ApplyColorMatrix(const Filter& filter, PixelBuffer& image) {
    if (filter.matrix.size() != 20) {
        return;
    }
    const std::vector<float>& m = filter.matrix;
    std::uint32_t* pixels = image.Data();
    for (std::size_t i = 0; i < image.Size(); ++i) {
        const Straight s = Unpremultiply(pixels[i]);
        const auto row = [&](int k) {
            return ToByte(m[k] * s.r + m[k + 1] * s.g + m[k + 2] * s.b + m[k + 3] * s.a + m[k + 4]);
        };
        pixels[i] = Premultiply(row(15), row(0), row(5), row(10));
    }
}

void ApplyConvolution(const Filter& filter, PixelBuffer& image) {
    const int columns = filter.matrixX;
    const int rows = filter.matrixY;
    if (columns == 0 || rows == 0 || filter.matrix.size() != std::size_t(columns) * rows ||
        double(columns) * rows * double(image.Size()) > MaxConvolutionWork) {
        return;
    }
    const int width = image.Width();
    const int height = image.Height();
    std::vector<Straight> source(image.Size());
    for (std::size_t i = 0; i < image.Size(); ++i) {
        source[i] = Unpremultiply(image.Data()[i]);
    }
    const Straight fallback{float(filter.defaultColor.r), float(filter.defaultColor.g),
                            float(filter.defaultColor.b), float(filter.defaultColor.a)};
    // A divisor of 0 would give nothing but infinities; Flash divides by 1.
    const float divisor =
        filter.divisor == 0.0f || !std::isfinite(filter.divisor) ? 1.0f : filter.divisor;
    const int centreX = columns / 2;
    const int centreY = rows / 2;
    for (int y = 0; y < height; ++y) {
        std::uint32_t* out = image.Row(y);
        for (int x = 0; x < width; ++x) {
            Straight sum;
            for (int j = 0; j < rows; ++j) {
                int sy = y + j - centreY;
                const bool rowInside = sy >= 0 && sy < height;
                if (!rowInside && filter.clamp) {
                    sy = std::clamp(sy, 0, height - 1);
                }
                for (int i = 0; i < columns; ++i) {
                    int sx = x + i - centreX;
                    const bool inside = rowInside && sx >= 0 && sx < width;
                    const Straight* sample = &fallback;
                    if (inside || filter.clamp) {
                        sx = std::clamp(sx, 0, width - 1);
                        sample = &source[std::size_t(sy) * width + sx];
                    }
                    const float weight = filter.matrix[std::size_t(j) * columns + i];
                    sum.r += weight * sample->r;
                    sum.g += weight * sample->g;
                    sum.b += weight * sample->b;
                    sum.a += weight * sample->a;
                }
            }
            const Straight& own = source[std::size_t(y) * width + x];
            const std::uint32_t a =
                filter.preserveAlpha ? std::uint32_t(own.a) : ToByte(sum.a / divisor + filter.bias);
            out[x] = Premultiply(a, ToByte(sum.r / divisor + filter.bias),
                                 ToByte(sum.g / divisor + filter.bias),
                                 ToByte(sum.b / divisor + filter.bias));
        }
    }
}

} // namespace swf

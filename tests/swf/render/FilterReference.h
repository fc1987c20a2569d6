// A plain second implementation of the bitmap filters for the tests: each
// step written out pixel by pixel in floating point, from what the filters
// are meant to do rather than from how the engine does it fast.
#pragma once

#include <array>
#include <vector>

#include "swf/format/TimelineModel.h"

namespace filterref {

// Premultiplied pixels as alpha, red, green, blue in 0..255.
using Pixel = std::array<int, 4>;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;

    Image(int w, int h) : width(w), height(h), pixels(std::size_t(w) * h, Pixel{}) {}
    Pixel& At(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    const Pixel& At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// The filter applied to the area (x, y, width, height) of image; what lies
// outside the area counts as transparent and is left as it is.
void Apply(const swf::Filter& filter, Image& image, int x, int y, int width, int height);

} // namespace filterref

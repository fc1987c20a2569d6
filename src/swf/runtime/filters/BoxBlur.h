// The blur every blurring filter uses: a box of the given width (in pixels,
// not necessarily whole) run over the picture once per pass, across and then
// down. A box of width w weighs each pixel by how much of it lies within
// w / 2 of the centre, so widths 2 and 4 give 1-2-1 and 1-2-2-2-1, and
// each pass rounds down to 8 bits, as Flash Player's blurs measure.
#pragma once

#include <cstdint>
#include <vector>

namespace swf {

// One 8-bit channel of a picture.
struct Plane {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> values;

    Plane() = default;
    Plane(int w, int h, std::uint8_t value = 0)
        : width(w), height(h), values(std::size_t(w) * std::size_t(h), value) {}
    std::uint8_t& At(int x, int y) { return values[std::size_t(y) * width + x]; }
    std::uint8_t At(int x, int y) const { return values[std::size_t(y) * width + x]; }
};

// The widest box and the most passes a blur takes; a movie asking for more
// gets these (Flash Player allows 255 pixels and 15 passes).
constexpr double MaxBlurBox = 1024.0;
constexpr int MaxBlurPasses = 31;

// How many pixels one pass of a box of this width reaches on either side.
int BoxReach(double box);
// ... and all passes of a blur together.
int BlurReach(double box, int passes);

// Blurs plane in place; pixels beyond its edges count as outside.
void BlurPlane(Plane& plane, double boxX, double boxY, int passes, std::uint8_t outside = 0);

// Moves plane's content by (dx, dy) pixels; what comes in from beyond the
// edges is outside.
void ShiftPlane(Plane& plane, int dx, int dy, std::uint8_t outside = 0);

} // namespace swf

#include "swf/runtime/filters/BoxBlur.h"

#include <algorithm>
#include <cmath>

namespace swf {

namespace {

// A box as weights: the centre and `full` pixels on each side weigh 1, the
// pixel beyond them weighs `edge` (0..1); all of it divided by the width.
struct BoxTaps {
    int full = 0;
    double edge = 0.0;
    double width = 1.0;

    bool Identity() const { return width <= 1.0; }
    int Reach() const { return Identity() ? 0 : full + (edge > 0.0 ? 1 : 0); }
};

BoxTaps TapsOf(double box) {
    BoxTaps taps;
    if (!std::isfinite(box) || box <= 1.0) {
        return taps;
    }
    taps.width = std::min(box, MaxBlurBox);
    const double half = taps.width / 2.0;
    taps.full = static_cast<int>(std::floor(half - 0.5));
    taps.edge = half - (taps.full + 0.5);
    if (taps.edge < 1e-9) {
        taps.edge = 0.0;
    }
    return taps;
}

// Weights in 2^-24ths, so that 8-bit sums over any box stay exact enough in
// 64 bits; the bias lifts results that are whole numbers in exact arithmetic
// past the weights' rounding, so flat areas stay flat.
constexpr int WeightBits = 24;

struct FixedTaps {
    int full = 0;
    std::int64_t fullWeight = 0;
    std::int64_t edgeWeight = 0;
    std::int64_t bias = 0;
};

FixedTaps FixedOf(const BoxTaps& taps) {
    const double unit = double(std::int64_t{1} << WeightBits);
    FixedTaps fixed;
    fixed.full = taps.full;
    fixed.fullWeight = std::llround(unit / taps.width);
    fixed.edgeWeight = std::llround(unit * taps.edge / taps.width);
    fixed.bias = 255 * (2 * std::int64_t(taps.full) + 3);
    return fixed;
}

// One pass of the box over count values, step apart, starting at line.
// scratch holds the line with its margins and the running sums.
void BlurLine(std::uint8_t* line, int count, std::ptrdiff_t step, const FixedTaps& taps,
              std::uint8_t outside, std::vector<std::int32_t>& padded,
              std::vector<std::int64_t>& sums) {
    const int margin = taps.full + 1;
    padded.assign(std::size_t(count) + 2 * margin, outside);
    for (int i = 0; i < count; ++i) {
        padded[std::size_t(i) + margin] = line[i * step];
    }
    // sums[i] is the sum of padded[0 .. i-1].
    sums.resize(padded.size() + 1);
    sums[0] = 0;
    for (std::size_t i = 0; i < padded.size(); ++i) {
        sums[i + 1] = sums[i] + padded[i];
    }
    for (int i = 0; i < count; ++i) {
        const std::size_t centre = std::size_t(i) + margin;
        const std::int64_t inner = sums[centre + taps.full + 1] - sums[centre - taps.full];
        const std::int64_t edges = padded[centre - taps.full - 1] + padded[centre + taps.full + 1];
        const std::int64_t value =
            (inner * taps.fullWeight + edges * taps.edgeWeight + taps.bias) >> WeightBits;
        line[i * step] = static_cast<std::uint8_t>(std::min<std::int64_t>(value, 255));
    }
}

} // namespace

int BoxReach(double box) {
    return TapsOf(box).Reach();
}

int BlurReach(double box, int passes) {
    return BoxReach(box) * std::clamp(passes, 0, MaxBlurPasses);
}

void BlurPlane(Plane& plane, double boxX, double boxY, int passes, std::uint8_t outside) {
    const BoxTaps across = TapsOf(boxX);
    const BoxTaps down = TapsOf(boxY);
    passes = std::clamp(passes, 0, MaxBlurPasses);
    if (plane.values.empty() || (across.Identity() && down.Identity())) {
        return;
    }
    const FixedTaps fixedAcross = FixedOf(across);
    const FixedTaps fixedDown = FixedOf(down);
    std::vector<std::int32_t> padded;
    std::vector<std::int64_t> sums;
    for (int pass = 0; pass < passes; ++pass) {
        if (!across.Identity()) {
            for (int y = 0; y < plane.height; ++y) {
                BlurLine(&plane.At(0, y), plane.width, 1, fixedAcross, outside, padded, sums);
            }
        }
        if (!down.Identity()) {
            for (int x = 0; x < plane.width; ++x) {
                BlurLine(&plane.At(x, 0), plane.height, plane.width, fixedDown, outside, padded,
                         sums);
            }
        }
    }
}

void ShiftPlane(Plane& plane, int dx, int dy, std::uint8_t outside) {
    if (dx == 0 && dy == 0) {
        return;
    }
    Plane shifted(plane.width, plane.height, outside);
    for (int y = 0; y < plane.height; ++y) {
        const int from = y - dy;
        if (from < 0 || from >= plane.height) {
            continue;
        }
        for (int x = std::max(0, dx); x < std::min(plane.width, plane.width + dx); ++x) {
            shifted.At(x, y) = plane.At(x - dx, from);
        }
    }
    plane = std::move(shifted);
}

} // namespace swf

#include "swf/runtime/SoundControl.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace swf {

namespace {

std::int32_t ToPercent(double value) {
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(std::round(value), low, high));
}

} // namespace

SoundTransform CombineSoundTransforms(const SoundTransform& outer, const SoundTransform& inner) {
    // A transformation is out = M * in, M = [[ll, rl], [lr, rr]] / 100.
    const double oll = outer.leftToLeft, orl = outer.rightToLeft;
    const double olr = outer.leftToRight, orr = outer.rightToRight;
    const double ill = inner.leftToLeft, irl = inner.rightToLeft;
    const double ilr = inner.leftToRight, irr = inner.rightToRight;
    SoundTransform combined;
    combined.leftToLeft = ToPercent((oll * ill + orl * ilr) / 100.0);
    combined.rightToLeft = ToPercent((oll * irl + orl * irr) / 100.0);
    combined.leftToRight = ToPercent((olr * ill + orr * ilr) / 100.0);
    combined.rightToRight = ToPercent((olr * irl + orr * irr) / 100.0);
    combined.volume = ToPercent(double(outer.volume) * inner.volume / 100.0);
    return combined;
}

} // namespace swf

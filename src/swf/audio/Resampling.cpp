#include "swf/audio/Resampling.h"

#include <algorithm>
#include <cmath>

namespace swf {

HoldResampler::HoldResampler(double rate)
    : halfHertz(static_cast<std::uint64_t>(std::clamp(std::llround(rate * 2.0), 2LL, 400000LL))) {}

} // namespace swf

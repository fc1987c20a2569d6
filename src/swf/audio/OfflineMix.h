// A movie's sound without a device: the movie plays from its first frame for
// a number of frame periods, and the mixer's output for exactly that time
// comes back (44.1 kHz stereo, interleaved). The sounds of the first frame
// start at its first sample. For swfsound and the tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "swf/format/Movie.h"

namespace swf {

struct OfflineMixResult {
    std::vector<std::int16_t> samples;
    std::string problems; // sounds that could not be played, one a line
};

OfflineMixResult MixMovie(const Movie& movie, long framePeriods);

// Output frames from the movie's start to the end of its period-th frame
// period: period boundaries fall on whole output frames, rounded down.
std::uint64_t PeriodBoundary(double frameRate, long period);

} // namespace swf

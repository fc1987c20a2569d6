// Plays a movie for its trace output, as the reference traces were made:
// the movie is read whole, its first frame is shown and then a number of
// frame periods pass, on a virtual clock so that every run of a movie gives
// the same lines. swftrace and the trace corpus test use it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "swf/script/Vm.h"

namespace swf::script {

struct TraceRunOptions {
    int frames = 10; // frame periods after the first frame
    // The wall clock at the start (milliseconds since 1970 UTC) and the time
    // zone (minutes east of UTC) that Date sees.
    double wallClockStart = 0.0;
    std::function<int(double utcMilliseconds)> timeZoneOffsetMinutes;
    std::uint32_t randomSeed = 0x5eed;
    VmLimits limits;
    std::string movieUrl;
};

struct TraceRunResult {
    // False when the bytes are not a movie whose header can be read.
    bool readable = false;
    std::string error;
    int version = 0; // the movie's SWF version
    // Notes for the journal (a script stopped by a limit, an fscommand).
    std::vector<std::string> notes;
    bool quit = false; // the movie asked to quit (fscommand "quit")
};

// Runs the movie in bytes; each trace line goes to onLine as it is written.
TraceRunResult RunForTrace(std::span<const std::uint8_t> bytes, const TraceRunOptions& options,
                           const std::function<void(std::string_view line)>& onLine);

} // namespace swf::script

// What a writer-made movie's scripts trace, for the script engine's tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "swf/format/TagCodes.h"
#include "swf/script/TraceRun.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace scripttest {

// The lines a movie traces in its first frame and the given number of
// frame periods after it.
inline std::vector<std::string> Traces(const std::vector<std::uint8_t>& movie, int frames = 1) {
    swf::script::TraceRunOptions options;
    options.frames = frames;
    std::vector<std::string> lines;
    swf::script::RunForTrace(movie, options,
                             [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

// The lines a one-frame movie of that SWF version traces when its frame
// runs actions, over the frame periods a reference trace covers.
inline std::vector<std::string> Play(int version, const swfwriter::ActionWriter& actions) {
    swfwriter::MovieWriter movie(version, 200, 150, 12.0);
    movie.Tag(swf::tag::DoAction, actions.Finish());
    movie.ShowFrame();
    return Traces(movie.Finish(), swf::script::TraceRunOptions{}.frames);
}

} // namespace scripttest

// Script-heavy movies for timing a player's script engine: each runs its
// work from an onEnterFrame of the main timeline, every frame, so that the
// time of a frame period is the scripts' own. The build writes them to
// build/bench-movies/ so that other players can play them side by side.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace benchmovies {

struct ScriptMovie {
    std::string name; // the file name without ".swf"
    std::string description;
    std::vector<std::uint8_t> bytes;
    // What each frame's work traces last, when it is the same every frame.
    std::string expectedTrace;
};

// Loops over arrays, string building, function calls, property access on a
// clip, and 200 clips each moved by its own onEnterFrame.
std::vector<ScriptMovie> ScriptMovies();

} // namespace benchmovies

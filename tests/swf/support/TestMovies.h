// Movies made with the writer, and helpers to read them, shared by the
// engine's tests.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "swf/format/MovieParser.h"
#include "swfwriter/MovieWriter.h"

namespace testmovies {

// Parses bytes handed over in pieces of chunk bytes, then finishes.
inline std::unique_ptr<swf::MovieParser> Parse(std::span<const std::uint8_t> bytes,
                                               std::size_t chunk = SIZE_MAX) {
    auto parser = std::make_unique<swf::MovieParser>();
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
        parser->Append(bytes.subspan(at, std::min(chunk, bytes.size() - at)));
    }
    parser->Finish();
    return parser;
}

// A red square (character 1) and a blue square (character 2).
inline swfwriter::ShapeBuilder Square(swfwriter::Color color, int size = 400) {
    swfwriter::ShapeBuilder shape;
    shape.SetStyle(0, shape.AddFill(swfwriter::Fill::Solid(color)), 0);
    shape.Rectangle(0, 0, size, size);
    return shape;
}

// A movie of frameCount frames that exercises the display list: objects
// placed, moved, replaced and removed on a schedule, a sprite of 7 frames
// that lives at depth 3 for most of the movie and is placed anew every 250
// frames, and labels "f<n>" every 100 frames.
std::vector<std::uint8_t> BusyMovie(int frameCount, swfwriter::Compression compression);

} // namespace testmovies

namespace testmovies {

// A movie of about megabytes MB: one 512 x 512 bitmap of noise per frame
// (which does not compress), each shown on a shape.
std::vector<std::uint8_t> LargeMovie(int megabytes);

} // namespace testmovies

namespace testmovies {

// A file's bytes (empty when it cannot be read).
std::vector<std::uint8_t> ReadFileBytes(const std::string& path);

} // namespace testmovies

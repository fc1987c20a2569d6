// Rendering helpers shared by the renderer's tests: playing a movie to a
// frame and rendering it the way swfrender and the control do.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "TestMovies.h"
#include "swf/runtime/MoviePlayer.h"
#include "swf/render/MovieView.h"

namespace rendertest {

// Whether any timeline, placement or button of the movie carries actions.
bool HasActions(const swf::Movie& movie);

// A parsed movie with its player, advanced to a frame (1 is the first).
struct PlayedMovie {
    std::unique_ptr<swf::MovieParser> parser;
    std::unique_ptr<swf::MoviePlayer> player;
    const swf::Movie& Movie() const { return parser->GetMovie(); }
};
PlayedMovie Play(std::span<const std::uint8_t> bytes, int frame = 1);

// The movie at a frame, rendered at its stage size.
std::unique_ptr<swf::MovieView> RenderAtStageSize(const swf::Movie& movie, int frame);

// One channel of a 0xAARRGGBB pixel.
inline int Red(std::uint32_t p) {
    return (p >> 16) & 0xFF;
}
inline int Green(std::uint32_t p) {
    return (p >> 8) & 0xFF;
}
inline int Blue(std::uint32_t p) {
    return p & 0xFF;
}
inline int Alpha(std::uint32_t p) {
    return p >> 24;
}

} // namespace rendertest

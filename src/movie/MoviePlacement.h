// The arithmetic of the movie's placement inside the control: the offsets
// that grow a zoomed movie about its centre, and the rotated placement that
// turns a landscape movie on a portrait screen in full screen.
#pragma once

#include <cstdint>

namespace player {

// Normal placement: the offset along a stage extent (in pixels) at zoom
// percent, in double precision: (zoom - 100.0) x extent x -0.005.
double ZoomOffset(int zoomPercent, std::uint32_t extent);

struct RotatedPlacement {
    double x = 0;
    double y = 0;
    // Both scales, computed in single precision.
    float scale = 0;
};

// Whether full screen turns the movie: a portrait screen and a landscape
// stage. A stage without height is no landscape movie: it is not turned.
bool TurnsInFullScreen(int screenWidth, int screenHeight, std::uint32_t stageWidth,
                       std::uint32_t stageHeight);

// The rotated placement of a stage of width by height pixels (height > 0) at
// zoom percent.
RotatedPlacement ComputeRotatedPlacement(int zoomPercent, std::uint32_t width,
                                         std::uint32_t height);

} // namespace player

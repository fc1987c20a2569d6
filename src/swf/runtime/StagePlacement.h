// Where the stage goes in a window: the four scale modes, with the stage
// centred in the window. The main timeline's own transformation (the "_root"
// properties) applies inside it, as any clip's does.
#pragma once

#include "swf/format/Basics.h"
#include "swf/runtime/Transforms.h"

namespace swf {

enum class ScaleMode : int {
    ShowAll = 0,  // the whole stage, as large as fits, bands beside or below it
    NoBorder = 1, // the window filled, the stage cut where it overflows
    ExactFit = 2, // the stage stretched to the window
    NoScale = 3,  // the stage at its own size
};

// A scale mode from the host's number; unknown numbers show all.
ScaleMode ScaleModeFromNumber(long number);

struct StagePlacement {
    Affine twipsToDevice;    // the movie's twips to window pixels
    double stageScale = 1.0; // window pixels per stage pixel (geometric mean of the axes)
};

StagePlacement PlaceStage(const Rect& frameSize, int windowWidth, int windowHeight, ScaleMode mode);

} // namespace swf

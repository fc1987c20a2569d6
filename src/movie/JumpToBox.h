// The "Jump to Position:" dialog: the movie's length and current frame, and
// an edit box for a frame number or a percentage of the movie.
#pragma once

#include <string>

#include "framework/Dialog.h"

namespace player {

class CJumpToBox : public framework::Dialog {
public:
    CJumpToBox();

    // Static text 1000.
    int lengthFrames = 0;
    // Static text 1001.
    int currentFrame = 0;
    // Edit box 1002: what the user typed.
    std::u16string entryText;

protected:
    void DoDataExchange(framework::DataExchange& dx) override;
    bool OnInitDialog() override;
};

} // namespace player

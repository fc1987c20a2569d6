// A movie control for the player's tests, installed under the movie control's
// class id: it answers the player's dispatch calls from a script the test
// sets (ready state, frames, playing, scale mode) and follows the calls that
// change them, as a control would. The device's journal records every call.
#pragma once

#include <memory>
#include <string>

#include "platform/ControlHost.h"

namespace playertest {

// The state the control answers from. The test changes it between runs of
// the device, while the player is parked.
struct ControlScript {
    LONG readyState = 4;
    LONG totalFrames = 100;
    LONG frameNumber = 0;
    bool playing = false;
    LONG scaleMode = 0;
    std::u16string url;
    // Controls made so far.
    int created = 0;
    // Stylus presses that reached the control's own window procedure.
    int presses = 0;
};

// Installs the control on the current device.
void InstallTestControl(std::shared_ptr<ControlScript> script);

} // namespace playertest

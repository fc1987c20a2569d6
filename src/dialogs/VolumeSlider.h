// The volume slider of the bottom strip, and the device's sound volume it
// sets. The slider keeps no volume of its own: the platform's wave-output
// volume is the only store.
#pragma once

#include "framework/Slider.h"
#include "platform/WinTypes.h"

namespace player {

// The left channel of the wave mapper's volume; 0 when it cannot be read.
WORD ReadSystemVolume();
// Both channels to volume.
void SetSystemVolume(WORD volume);

class CVolumeSlider : public framework::Slider {
protected:
    const framework::MessageTable& Messages() const override;

private:
    // After the slider's own creation: the range 0 to 65535, one step per
    // volume unit, and the position at the current volume.
    bool OnCreate(const CREATESTRUCTW& create);
};

} // namespace player

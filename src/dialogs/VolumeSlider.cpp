#include "dialogs/VolumeSlider.h"

#include "platform/Sound.h"

namespace player {

WORD ReadSystemVolume() {
    DWORD volume = 0;
    waveOutGetVolume(WaveMapperHandle(), &volume);
    return LOWORD(volume);
}

void SetSystemVolume(WORD volume) {
    waveOutSetVolume(WaveMapperHandle(), static_cast<DWORD>(volume) << 16 | volume);
}

const framework::MessageTable& CVolumeSlider::Messages() const {
    using T = framework::Table<CVolumeSlider>;
    static const T table{Slider::Messages(), {T::Create(&CVolumeSlider::OnCreate)}};
    return table;
}

bool CVolumeSlider::OnCreate(const CREATESTRUCTW&) {
    if (Default() == -1) {
        return false;
    }
    SetRangeMin(0, false);
    SetRangeMax(65535, false);
    SetPos(ReadSystemVolume(), true);
    return true;
}

} // namespace player

// The player's settings file as anything may have left it: the reader takes
// what it can, and what it took survives being written and read again.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "FuzzDevice.h"
#include "app/PlayerSettings.h"

namespace {

std::vector<int> Values(const player::PlayerSettings& s) {
    return {s.backlightOption, s.landscapeInFullScreen, s.storedValue3,
            s.storedValue4,    s.storedFlag5,           s.scaleMode,
            s.toolbarState};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& device = fuzz::FuzzDevice::Shared();
    const std::u16string path = device.WriteInput({data, size});
    player::PlayerSettings read;
    player::PlayerSettings again;
    device.Run([&] {
        player::ReadSettingsFile(path, read);
        player::WriteSettingsFile(path, read);
        player::ReadSettingsFile(path, again);
    });
    if (Values(read) != Values(again)) {
        std::fprintf(stderr, "settings file: the values read changed when written back\n");
        std::abort();
    }
    return 0;
}

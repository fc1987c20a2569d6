// Stand-ins for the two shell calls that the simulated device declares but
// does not define yet (see docs/requests-player.md): SHFullScreen keeps the
// window's wishes in the device's shell state, which the device already turns
// into the task bar, and both calls are journalled. They are weak, so the
// device's own definitions take their place once the device has them.
#include "platform/Shell.h"
#include "platform/Window.h"
#include "platform/sim/Device.h"
#include "platform/sim/SystemServices.h"

__attribute__((weak)) BOOL SHFullScreen(HWND window, DWORD state) {
    sim::Device* device = sim::Device::Current();
    if (device == nullptr) {
        return FALSE;
    }
    const bool known = IsWindow(window) != FALSE;
    if (known) {
        device->Services().Shell().SetFullScreen(window, state);
    }
    device->Record("SHFullScreen", {sim::JournalValue(window), static_cast<long long>(state)},
                   known);
    return known ? TRUE : FALSE;
}

__attribute__((weak)) BOOL SHInitExtraControls() {
    if (sim::Device* device = sim::Device::Current()) {
        device->Record("SHInitExtraControls", {}, true);
    }
    return TRUE;
}

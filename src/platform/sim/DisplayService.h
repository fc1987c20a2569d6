// The display's orientation (platform/Display.h): kept in the device
// directory, applied to the screen when the device starts, changed through
// ChangeDisplaySettingsExW with the notifications a Pocket PC sends, and
// followed when another process on the device changes it.
#pragma once

#include <functional>

#include "platform/Display.h"
#include "platform/sim/PersistentNumber.h"
#include "platform/sim/ServiceRecorder.h"

namespace sim {

class Device;

class DisplayService {
public:
    // The configured screen size is the upright one.
    DisplayService(Device& device, CallRecorder record, std::function<void()> announce);

    DWORD Orientation() const { return orientation; }
    static bool IsOrientation(DWORD value);

    // Turns the screen to the stored orientation, without notifications (the
    // device is starting; there are no windows yet).
    void ApplyStored();
    LONG Change(LPCWSTR deviceName, DEVMODEW* mode, HWND window, DWORD flags, LPVOID param);
    // Another process changed the orientation: follow it.
    void Reload();

private:
    // Turns the screen and tells the windows; the caller is a program thread
    // or the device is idle.
    void Apply(DWORD value);

    Device& device;
    CallRecorder record;
    std::function<void()> announce;
    PersistentNumber stored;
    int uprightWidth;
    int uprightHeight;
    DWORD orientation = DMDO_0;
};

} // namespace sim

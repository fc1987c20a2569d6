// The power manager's calls (platform/Power.h) and synthesized key events on
// the current device.
#include "platform/Input.h"
#include "platform/Power.h"
#include "platform/Program.h"
#include "platform/sim/Device.h"
#include "platform/sim/InputRouter.h"
#include "platform/sim/ServicesAccess.h"

HANDLE SetPowerRequirement(LPVOID device, CEDEVICE_POWER_STATE deviceState, ULONG deviceFlags,
                           LPVOID, ULONG stateFlags) {
    sim::SystemServices* services = sim::CurrentServices();
    if (services == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    DWORD error = ERROR_SUCCESS;
    const HANDLE requirement = services->Power().SetRequirement(
        device, deviceState, deviceFlags, stateFlags, sim::CallingPid(), error);
    if (requirement == nullptr) {
        SetLastError(error);
    }
    return requirement;
}

DWORD ReleasePowerRequirement(HANDLE requirement) {
    sim::SystemServices* services = sim::CurrentServices();
    return services != nullptr ? services->Power().ReleaseRequirement(requirement)
                               : ERROR_INVALID_HANDLE;
}

DWORD SetSystemPowerState(LPCWSTR stateName, DWORD stateFlags, DWORD options) {
    sim::SystemServices* services = sim::CurrentServices();
    return services != nullptr ? services->Power().SetSystemState(stateName, stateFlags, options)
                               : ERROR_INVALID_PARAMETER;
}

void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo) {
    sim::Device* device = sim::Device::Current();
    if (device == nullptr) {
        return;
    }
    device->Record("keybd_event",
                   {static_cast<unsigned>(virtualKey), static_cast<unsigned>(scanCode), flags,
                    static_cast<unsigned long long>(extraInfo)},
                   sim::JournalValue());
    // A synthesized key is user activity, and it goes through the device's
    // input like a key the user pressed.
    device->Services().Power().UserActivity();
    sim::InputEvent event;
    event.time = device->Now();
    event.kind = (flags & KEYEVENTF_KEYUP) != 0 ? sim::InputKind::KeyUp : sim::InputKind::KeyDown;
    event.key = virtualKey;
    device->Input().Queue(event);
}

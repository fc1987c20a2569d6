// The device's power model (see platform/Power.h): backlight and suspend idle
// times on the device clock, the requirements programs hold and the system
// power state they ask for. Its state is read whenever it is asked for, from
// the clock, so it needs no timers of its own.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Power.h"
#include "platform/sim/Clock.h"
#include "platform/sim/ServiceRecorder.h"
#include "platform/sim/ServicesConfig.h"

namespace sim {

struct PowerRequirementInfo {
    HANDLE handle = nullptr;
    std::u16string device;
    CEDEVICE_POWER_STATE state = D0;
    ULONG flags = 0;
    DWORD pid = 0;
};

struct PowerStatus {
    bool backlightOn = true;
    bool suspended = false;
    std::vector<PowerRequirementInfo> requirements;
};

class PowerManager {
public:
    PowerManager(std::function<DeviceTime()> now, CallRecorder record, PowerSettings settings);

    // The calls of platform/Power.h, made by process pid. Errors come back in
    // error (ERROR_SUCCESS when there is none).
    HANDLE SetRequirement(LPVOID device, CEDEVICE_POWER_STATE state, ULONG flags, ULONG stateFlags,
                          DWORD pid, DWORD& error);
    DWORD ReleaseRequirement(HANDLE requirement);
    DWORD SetSystemState(LPCWSTR name, DWORD flags, DWORD options);
    // A process ended: the power manager lets go of what it held.
    void ReleaseRequirementsOf(DWORD pid);

    // User input: a tap, a key, a button, a synthesized key event.
    void UserActivity();

    PowerStatus Status() const;
    bool BacklightOn() const;
    bool Suspended() const;
    PowerSettings Settings() const;
    void ChangeSettings(const PowerSettings& settings);

private:
    bool SuspendedLocked(DeviceTime now) const;
    bool BacklightOnLocked(DeviceTime now) const;
    bool BacklightHeldLocked() const;
    void WakeLocked(DeviceTime now);

    std::function<DeviceTime()> now;
    CallRecorder record;
    mutable std::mutex lock;
    PowerSettings settings;
    std::map<HANDLE, PowerRequirementInfo> requirements;
    std::uintptr_t nextHandle = 0x54000000;
    // Times, on the device clock, of the last user activity, of the last
    // request that kept the system on, of the last release of a backlight
    // requirement, of the last wake-up and of the last explicit suspend.
    DeviceTime lastUserActivity = 0;
    DeviceTime lastSystemOn = 0;
    DeviceTime lastBacklightRelease = 0;
    DeviceTime lastWake = 0;
    bool userIdleForced = false;
    bool suspendRequested = false;
};

} // namespace sim

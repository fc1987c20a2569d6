#include "platform/sim/PowerManager.h"

#include <algorithm>

#include "platform/Program.h"
#include "platform/Text.h"

namespace sim {
namespace {

constexpr std::u16string_view kBacklight = u"BKL1:";

DeviceTime Since(DeviceTime now, DeviceTime then) {
    return now > then ? now - then : 0;
}

JournalValue HandleValue(HANDLE handle) {
    return JournalValue(static_cast<long long>(reinterpret_cast<std::intptr_t>(handle)));
}

} // namespace

PowerManager::PowerManager(std::function<DeviceTime()> now, CallRecorder record,
                           PowerSettings settings)
    : now(std::move(now)), record(std::move(record)), settings(settings) {
    const DeviceTime start = this->now();
    lastUserActivity = start;
    lastSystemOn = start;
    lastWake = start;
}

HANDLE PowerManager::SetRequirement(LPVOID device, CEDEVICE_POWER_STATE state, ULONG flags,
                                    ULONG stateFlags, DWORD pid, DWORD& error) {
    const std::u16string name =
        (flags & POWER_NAME) != 0 ? text::FromWide(static_cast<LPCWSTR>(device)) : u"";
    HANDLE handle = nullptr;
    error = ERROR_SUCCESS;
    {
        const std::lock_guard guard(lock);
        if (device == nullptr || (flags & POWER_NAME) == 0 || name.empty() || state < D0 ||
            state > D4) {
            error = ERROR_INVALID_PARAMETER;
        } else if (settings.refuseRequirements) {
            error = ERROR_NOT_SUPPORTED;
        } else {
            nextHandle += 4;
            handle = reinterpret_cast<HANDLE>(nextHandle);
            requirements.emplace(handle, PowerRequirementInfo{handle, name, state, flags, pid});
        }
    }
    if (record) {
        record(
            "SetPowerRequirement",
            {JournalValue(std::u16string_view(name)), static_cast<int>(state), flags, stateFlags},
            HandleValue(handle));
    }
    return handle;
}

DWORD PowerManager::ReleaseRequirement(HANDLE requirement) {
    DWORD result = ERROR_SUCCESS;
    {
        const std::lock_guard guard(lock);
        const auto found = requirements.find(requirement);
        if (found == requirements.end()) {
            result = ERROR_INVALID_HANDLE;
        } else {
            const bool heldBacklight = BacklightHeldLocked();
            requirements.erase(found);
            // The idle time starts over when the backlight is no longer held.
            if (heldBacklight && !BacklightHeldLocked()) {
                lastBacklightRelease = now();
            }
        }
    }
    if (record) {
        record("ReleasePowerRequirement", {HandleValue(requirement)}, result);
    }
    return result;
}

void PowerManager::ReleaseRequirementsOf(DWORD pid) {
    const std::lock_guard guard(lock);
    const bool heldBacklight = BacklightHeldLocked();
    std::erase_if(requirements, [pid](const auto& entry) { return entry.second.pid == pid; });
    if (heldBacklight && !BacklightHeldLocked()) {
        lastBacklightRelease = now();
    }
}

DWORD PowerManager::SetSystemState(LPCWSTR name, DWORD flags, DWORD options) {
    DWORD request = flags;
    DWORD result = ERROR_SUCCESS;
    const std::u16string stateName = text::FromWide(name);
    if (name != nullptr) {
        // A name takes the place of the flags.
        if (text::EqualsIgnoringCase(stateName, u"on")) {
            request = POWER_STATE_ON;
        } else if (text::EqualsIgnoringCase(stateName, u"useridle")) {
            request = POWER_STATE_USERIDLE;
        } else if (text::EqualsIgnoringCase(stateName, u"suspend")) {
            request = POWER_STATE_SUSPEND;
        } else {
            request = 0;
        }
    }
    {
        const std::lock_guard guard(lock);
        const DeviceTime time = now();
        if ((request & POWER_STATE_ON) != 0) {
            if (SuspendedLocked(time)) {
                WakeLocked(time);
            }
            lastSystemOn = time;
        } else if ((request & POWER_STATE_USERIDLE) != 0) {
            userIdleForced = true;
        } else if ((request & (POWER_STATE_SUSPEND | POWER_STATE_OFF | POWER_STATE_CRITICAL)) !=
                   0) {
            // The simulated device cannot be switched off; it sleeps instead.
            suspendRequested = true;
        } else if ((request & (POWER_STATE_RESET | POWER_STATE_BOOT)) != 0) {
            result = ERROR_NOT_SUPPORTED;
        } else if ((request & POWER_STATE_IDLE) == 0) {
            result = ERROR_INVALID_PARAMETER;
        }
    }
    if (record) {
        record("SetSystemPowerState",
               {name != nullptr ? JournalValue(std::u16string_view(stateName)) : JournalValue(),
                flags, options},
               result);
    }
    return result;
}

void PowerManager::UserActivity() {
    const std::lock_guard guard(lock);
    const DeviceTime time = now();
    if (SuspendedLocked(time)) {
        WakeLocked(time);
    }
    lastUserActivity = time;
    userIdleForced = false;
}

void PowerManager::WakeLocked(DeviceTime time) {
    suspendRequested = false;
    userIdleForced = false;
    lastWake = time;
}

bool PowerManager::BacklightHeldLocked() const {
    return std::any_of(requirements.begin(), requirements.end(), [](const auto& entry) {
        return text::EqualsIgnoringCase(entry.second.device, kBacklight) &&
               entry.second.state <= D1;
    });
}

bool PowerManager::SuspendedLocked(DeviceTime time) const {
    if (suspendRequested) {
        return true;
    }
    const DeviceTime awakeSince = std::max({lastUserActivity, lastSystemOn, lastWake});
    return Since(time, awakeSince) >= settings.suspendIdle;
}

bool PowerManager::BacklightOnLocked(DeviceTime time) const {
    if (SuspendedLocked(time)) {
        return false;
    }
    if (BacklightHeldLocked()) {
        return true;
    }
    if (userIdleForced) {
        return false;
    }
    const DeviceTime since = std::max({lastUserActivity, lastBacklightRelease, lastWake});
    return Since(time, since) < settings.backlightIdle;
}

PowerStatus PowerManager::Status() const {
    const std::lock_guard guard(lock);
    const DeviceTime time = now();
    PowerStatus status;
    status.backlightOn = BacklightOnLocked(time);
    status.suspended = SuspendedLocked(time);
    for (const auto& [handle, requirement] : requirements) {
        status.requirements.push_back(requirement);
    }
    return status;
}

bool PowerManager::BacklightOn() const {
    const std::lock_guard guard(lock);
    return BacklightOnLocked(now());
}

bool PowerManager::Suspended() const {
    const std::lock_guard guard(lock);
    return SuspendedLocked(now());
}

PowerSettings PowerManager::Settings() const {
    const std::lock_guard guard(lock);
    return settings;
}

void PowerManager::ChangeSettings(const PowerSettings& changed) {
    const std::lock_guard guard(lock);
    settings = changed;
}

} // namespace sim

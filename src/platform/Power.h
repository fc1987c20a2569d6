// The power manager: requirements that keep a device (the backlight is
// "BKL1:") at a power state, and the system's power state. Without user
// activity the backlight goes off after the device's backlight idle time, and
// the device suspends after its suspend idle time; a requirement holding
// "BKL1:" at D0 or D1 keeps the backlight on, a request for the "on" system
// state keeps the device from suspending (and wakes it), and user input and
// synthesized key events (keybd_event) count as activity.
#pragma once

#include "platform/WinTypes.h"

enum CEDEVICE_POWER_STATE : int {
    PwrDeviceUnspecified = -1,
    D0 = 0,
    D1 = 1,
    D2 = 2,
    D3 = 3,
    D4 = 4,
    PwrDeviceMaximum = 5,
};

// Requirement flags: the device is given by name; the requirement holds even
// while the system is in a state that would lower it.
constexpr ULONG POWER_NAME = 0x00000001;
constexpr ULONG POWER_FORCE = 0x00001000;

// System power states, as flags.
constexpr DWORD POWER_STATE_ON = 0x00010000;
constexpr DWORD POWER_STATE_OFF = 0x00020000;
constexpr DWORD POWER_STATE_CRITICAL = 0x00040000;
constexpr DWORD POWER_STATE_BOOT = 0x00080000;
constexpr DWORD POWER_STATE_IDLE = 0x00100000;
constexpr DWORD POWER_STATE_SUSPEND = 0x00200000;
constexpr DWORD POWER_STATE_UNATTENDED = 0x00400000;
constexpr DWORD POWER_STATE_RESET = 0x00800000;
constexpr DWORD POWER_STATE_USERIDLE = 0x01000000;
constexpr DWORD POWER_STATE_BACKLIGHTON = 0x02000000;
constexpr DWORD POWER_STATE_PASSWORD = 0x10000000;

// Holds device (a device name with POWER_NAME, "BKL1:") at deviceState or
// better. Returns the requirement's handle, or null with GetLastError() set.
// The system state arguments narrow the requirement to one system state; the
// device keeps it in every state.
HANDLE SetPowerRequirement(LPVOID device, CEDEVICE_POWER_STATE deviceState, ULONG deviceFlags,
                           LPVOID systemState, ULONG stateFlags);
// ERROR_SUCCESS, or ERROR_INVALID_HANDLE for a handle that holds nothing.
DWORD ReleasePowerRequirement(HANDLE requirement);
// Asks for a system power state by name ("on", "useridle", "suspend") or, with
// a null name, by its flag: POWER_STATE_ON keeps the device awake (waking it
// when it sleeps), POWER_STATE_USERIDLE turns the backlight off as if the
// user had been away, POWER_STATE_SUSPEND suspends the device. Returns a
// Win32 error code.
DWORD SetSystemPowerState(LPCWSTR stateName, DWORD stateFlags, DWORD options);

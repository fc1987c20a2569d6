// How a device's system services are set up: what a new device directory
// gets installed, the power manager's idle times, and failures the device
// can be told to give. Part of the device's configuration (DeviceConfig).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/Clock.h"

namespace sim {

// A file a new device gets, by device path ("\Program Files\Vantrel\Vantrel.exe.swf").
struct InstalledFile {
    std::u16string path;
    std::vector<std::byte> bytes;
};

struct PowerSettings {
    // Without activity, the backlight goes off after this long...
    DeviceTime backlightIdle = 60 * 1000;
    // ...and the device suspends after this long.
    DeviceTime suspendIdle = 180 * 1000;
    // Makes every SetPowerRequirement fail, for tests of programs that must
    // cope with that.
    bool refuseRequirements = false;
};

struct ServicesConfig {
    // Installed when the device directory is set up, after the program's
    // marker "\Program Files\Vantrel\Vantrel.exe". A directory already set up
    // is left as it is.
    std::vector<InstalledFile> firstUseFiles;
    PowerSettings power;
    // WSAStartup fails with WSASYSNOTREADY.
    bool failSocketStartup = false;
    // The wave-out volume of a new device.
    DWORD initialVolume = 0xFFFFFFFF;
};

} // namespace sim

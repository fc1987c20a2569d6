// The screen of the device in a device directory: a new device gets the
// screen it was asked for, a device used before keeps the one it was made
// with. (The device itself sets up the rest of a new directory.)
#pragma once

#include <filesystem>

#include "platform/Result.h"

namespace host {

struct DeviceProfile {
    int screenWidth = 240;
    int screenHeight = 320;
    int dpi = 96;
    bool operator==(const DeviceProfile&) const = default;
};

struct PreparedDevice {
    DeviceProfile profile;
    bool isNew = false;
};

// Finds the device's screen in directory, or records the one asked for when
// the directory holds no device yet. A screen file that cannot be read back
// is an error (the device is left as it is), never silently replaced.
Result<PreparedDevice> PrepareDevice(const std::filesystem::path& directory,
                                     const DeviceProfile& asked);

} // namespace host

// The device directory as the host finds or makes it: a new device gets the
// screen it was asked for and the demo movie as the player's default movie;
// a device used before keeps the screen it was made with.
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>

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

// Where the default movie lives in the device's storage: the program's path
// with ".swf" appended.
std::filesystem::path DefaultMoviePath(const std::filesystem::path& deviceDirectory);

// Finds the device in directory, or sets one up there with the profile asked
// for and defaultMovie installed. A profile file that cannot be read back is
// an error (the device is left as it is), never silently replaced.
Result<PreparedDevice> PrepareDevice(const std::filesystem::path& directory,
                                     const DeviceProfile& asked,
                                     std::span<const std::byte> defaultMovie);

} // namespace host

// From a path a program gives to the host file it names. Device paths (a
// leading "\"; "/" also separates names inside them) are looked up in the device's storage folder,
// letter case ignored, with "." and ".." taken as the handheld takes them (".." stops at the root),
// so no device path leads outside the storage folder. Any other path is a host path, used as it
// stands.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/WinTypes.h"

namespace sim {

struct ResolvedPath {
    std::filesystem::path host;
    bool onDevice = false;
    // 0 when the path is usable; otherwise why not, as the C runtime (errno)
    // and as Win32 (GetLastError) say it.
    int errnoValue = 0;
    DWORD lastError = 0;

    bool Ok() const { return errnoValue == 0; }
};

bool IsDevicePath(std::u16string_view path);
ResolvedPath ResolvePath(const std::filesystem::path& storageRoot, std::u16string_view path);

// Whether name matches a pattern of "*" and "?", letter case ignored; "*.*"
// matches every name, as on the handheld.
bool MatchesPattern(std::u16string_view name, std::u16string_view pattern);

} // namespace sim

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

class FolderNames;

// What a lookup saw of a host file, so that a caller need not ask the host
// again; Unknown: ask it.
enum class HostKind { Unknown, Missing, Folder, File, Link, Other };

struct ResolvedPath {
    std::filesystem::path host;
    bool onDevice = false;
    // The device file as the lookup saw it, and whether the folder holding
    // it was seen to exist (false: not known).
    HostKind kind = HostKind::Unknown;
    bool folderSeen = false;
    // 0 when the path is usable; otherwise why not, as the C runtime (errno)
    // and as Win32 (GetLastError) say it.
    int errnoValue = 0;
    DWORD lastError = 0;

    bool Ok() const { return errnoValue == 0; }
};

bool IsDevicePath(std::u16string_view path);
// folderNames, when given, keeps what it read of the storage's folders for
// the next lookups (see FolderNames.h); without it every folder on the way is
// asked of the host.
ResolvedPath ResolvePath(const std::filesystem::path& storageRoot, std::u16string_view path,
                         FolderNames* folderNames = nullptr);

// Whether name matches a pattern of "*" and "?", letter case ignored; "*.*"
// matches every name, as on the handheld.
bool MatchesPattern(std::u16string_view name, std::u16string_view pattern);

} // namespace sim

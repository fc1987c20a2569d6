// What the open-file dialog shows and returns: the filter pairs a program
// gives, the matching of file names against a filter's patterns, the entries
// of a device folder, and device paths put together and taken apart.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"

namespace sim {

struct FileFilter {
    std::u16string name;
    // The patterns, split at ';' ("*.swf", "*.*").
    std::vector<std::u16string> patterns;
};

// Reads OPENFILENAMEW's filter list: pairs of zero-terminated texts ended by
// an empty text. A list cut short (a name without patterns) keeps the pairs
// before it; at most maxUnits characters are read, so an unterminated list
// cannot run away.
std::vector<FileFilter> ParseFileFilters(LPCWSTR list, std::size_t maxUnits = 65536);

// Whether a file name matches one of the patterns: '*' any run of characters,
// '?' one character, letters without regard to case; "*.*" matches every
// name, with or without a dot, as it does on the handheld.
bool MatchesPatterns(std::u16string_view name, const std::vector<std::u16string>& patterns);

struct FolderEntry {
    std::u16string name;
    bool isFolder = false;
};

// The folders (all of them) and the files that match the patterns in a host
// directory: folders first, each group in list order. An unreadable folder
// lists as empty.
std::vector<FolderEntry> ListFolder(const std::filesystem::path& hostFolder,
                                    const std::vector<std::u16string>& patterns);

// Device paths: "\" is the root; a folder path has no trailing backslash
// except the root itself.
std::u16string JoinDevicePath(std::u16string_view folder, std::u16string_view name);
// The parent of a folder; the root's parent is the root.
std::u16string ParentDevicePath(std::u16string_view folder);
// Resolves what a user typed against the current folder: an absolute device
// path stands as it is, a relative one is joined on; "." and ".." steps are
// resolved and never climb above the root.
std::u16string ResolveDevicePath(std::u16string_view folder, std::u16string_view typed);
// The offsets of the name and of the extension (after the dot; the length of
// the path when there is none) in a path.
std::size_t FileNameOffset(std::u16string_view path);
std::size_t ExtensionOffset(std::u16string_view path);

} // namespace sim

#include "platform/sim/DevicePath.h"

#include <cerrno>
#include <system_error>
#include <vector>

#include "platform/Files.h"
#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/sim/FolderNames.h"

namespace sim {
namespace {

constexpr std::size_t kMaxComponent = 255;

char16_t Fold(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

// Zero units and unpaired surrogates have no host name; the device refuses
// them rather than let two names meet in one file.
bool IsWellFormed(std::u16string_view path) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        const char16_t c = path[i];
        if (c == 0) {
            return false;
        }
        if (text::IsHighSurrogate(c)) {
            if (i + 1 >= path.size() || !text::IsLowSurrogate(path[i + 1])) {
                return false;
            }
            ++i;
        } else if (text::IsLowSurrogate(c)) {
            return false;
        }
    }
    return true;
}

bool IsAllowedInName(char16_t c) {
    if (c < 0x20) {
        return false;
    }
    switch (c) {
    case u'<':
    case u'>':
    case u':':
    case u'"':
    case u'|':
    case u'?':
    case u'*':
        return false;
    default:
        return true;
    }
}

ResolvedPath Failure(int errnoValue, DWORD lastError) {
    ResolvedPath resolved;
    resolved.errnoValue = errnoValue;
    resolved.lastError = lastError;
    return resolved;
}

bool Within(const std::filesystem::path& path, const std::filesystem::path& root) {
    auto p = path.begin();
    for (auto r = root.begin(); r != root.end(); ++r, ++p) {
        if (r->empty()) {
            continue;
        }
        if (p == path.end() || *p != *r) {
            return false;
        }
    }
    return true;
}

} // namespace

bool IsDevicePath(std::u16string_view path) {
    // "/" starts a host path ("/home/user/a.swf"); inside a device path it
    // separates names as "\" does.
    return !path.empty() && path.front() == u'\\';
}

ResolvedPath ResolvePath(const std::filesystem::path& storageRoot, std::u16string_view path,
                         FolderNames* folderNames) {
    if (!IsWellFormed(path)) {
        return Failure(EINVAL, ERROR_INVALID_NAME);
    }
    if (!IsDevicePath(path)) {
        if (path.empty()) {
            return Failure(ENOENT, ERROR_PATH_NOT_FOUND);
        }
        ResolvedPath resolved;
        resolved.host = std::filesystem::path(text::ToUtf8(path));
        return resolved;
    }
    if (path.size() >= MAX_PATH) {
        return Failure(ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE);
    }
    std::vector<std::u16string_view> components;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) {
            ++end;
        }
        const std::u16string_view component = path.substr(start, end - start);
        if (component == u"..") {
            if (!components.empty()) {
                components.pop_back();
            }
        } else if (!component.empty() && component != u".") {
            for (const char16_t c : component) {
                if (!IsAllowedInName(c)) {
                    return Failure(EINVAL, ERROR_INVALID_NAME);
                }
            }
            if (component.size() > kMaxComponent) {
                return Failure(ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE);
            }
            components.push_back(component);
        }
        start = end + 1;
    }
    ResolvedPath resolved;
    resolved.onDevice = true;
    resolved.host = storageRoot;
    std::vector<HostEntry> entries;
    if (folderNames != nullptr) {
        entries = folderNames->Walk(storageRoot, components);
    }
    bool linked = false;
    for (std::size_t i = 0; i < components.size(); ++i) {
        const HostEntry entry =
            folderNames != nullptr ? entries[i] : LookUpHostName(resolved.host, components[i]);
        resolved.host /= entry.name;
        linked = linked || entry.kind == HostKind::Link;
        resolved.kind = entry.kind;
        resolved.folderSeen = entry.folderExists;
    }
    // Without ".." and without links below the storage the path cannot
    // leave it. A link inside the storage could point out of it: follow what
    // exists and make sure the result stays inside.
    if (!linked) {
        return resolved;
    }
    std::error_code error;
    const auto canonicalRoot = std::filesystem::weakly_canonical(storageRoot, error);
    const auto canonicalPath = std::filesystem::weakly_canonical(resolved.host, error);
    if (!error && !Within(canonicalPath, canonicalRoot)) {
        return Failure(EACCES, ERROR_ACCESS_DENIED);
    }
    return resolved;
}

bool MatchesPattern(std::u16string_view name, std::u16string_view pattern) {
    if (pattern == u"*.*" || pattern == u"*") {
        return true;
    }
    // Iterative wildcard match with one point to come back to after a "*".
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::u16string_view::npos;
    std::size_t matchedAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || Fold(pattern[p]) == Fold(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            matchedAt = n;
        } else if (starAt != std::u16string_view::npos) {
            p = starAt + 1;
            n = ++matchedAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace sim

#include "platform/sim/FolderNames.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "platform/Text.h"

namespace sim {
namespace {

// More folders than this and every kept folder is forgotten: a program
// that walks the whole storage does not keep a watch on each folder.
constexpr std::size_t kMostKeptFolders = 64;

HostKind KindOfMode(mode_t mode) {
    if (S_ISDIR(mode)) {
        return HostKind::Folder;
    }
    if (S_ISREG(mode)) {
        return HostKind::File;
    }
    return S_ISLNK(mode) ? HostKind::Link : HostKind::Other;
}

HostKind KindOfEntry(unsigned char type) {
    switch (type) {
    case DT_DIR:
        return HostKind::Folder;
    case DT_REG:
        return HostKind::File;
    case DT_LNK:
        return HostKind::Link;
    case DT_UNKNOWN:
        return HostKind::Unknown;
    default:
        return HostKind::Other;
    }
}

// What the host says of path itself (a link is not followed).
HostKind KindOnHost(const std::filesystem::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? KindOfMode(info.st_mode) : HostKind::Missing;
}

struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
};
using OpenFolder = std::unique_ptr<DIR, FolderCloser>;

// Calls found(name, kind) for each entry of folder; false when it cannot be
// read.
template <typename Found>
bool ReadFolder(const std::filesystem::path& folder, Found found) {
    const OpenFolder listing(::opendir(folder.c_str()));
    if (!listing) {
        return false;
    }
    while (const dirent* entry = ::readdir(listing.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            found(std::string(name), KindOfEntry(entry->d_type));
        }
    }
    return true;
}

bool IsWithin(std::string_view inner, std::string_view outer) {
    return inner.size() > outer.size() && inner.starts_with(outer) && inner[outer.size()] == '/';
}

} // namespace

HostEntry LookUpHostName(const std::filesystem::path& folder, std::u16string_view component) {
    std::string exact = text::ToUtf8(component);
    const HostKind kind = KindOnHost(folder / exact);
    if (kind != HostKind::Missing) {
        return {std::move(exact), kind, true};
    }
    HostEntry matched{std::move(exact), HostKind::Missing, false};
    bool found = false;
    matched.folderExists = ReadFolder(folder, [&](std::string name, HostKind entryKind) {
        if (!found && text::EqualsIgnoringCase(text::FromUtf8(name), component)) {
            found = true;
            matched.name = std::move(name);
            matched.kind =
                entryKind != HostKind::Unknown ? entryKind : KindOnHost(folder / matched.name);
        }
    });
    return matched;
}

FolderNames::FolderNames() = default;

std::vector<HostEntry> FolderNames::Walk(const std::filesystem::path& root,
                                         const std::vector<std::u16string_view>& components) {
    const std::lock_guard guard(lock);
    ApplyNotices();
    std::vector<HostEntry> entries;
    entries.reserve(components.size());
    std::filesystem::path folder = root;
    // Whether folder is one that may be kept: the root, or a folder (not a
    // link) in a kept folder.
    bool keepable = notices.Ok();
    bool missing = false;
    for (const auto component : components) {
        HostEntry entry;
        if (missing) {
            // Nothing is inside what does not exist, or is not a folder.
            entry = {text::ToUtf8(component), HostKind::Missing, false};
        } else if (KeptFolder* kept = keepable ? Keep(folder) : nullptr) {
            entry = Find(folder, *kept, component);
        } else {
            entry = LookUpHostName(folder, component);
        }
        keepable = keepable && entry.kind == HostKind::Folder;
        missing = missing || entry.kind == HostKind::Missing || entry.kind == HostKind::File ||
                  entry.kind == HostKind::Other;
        folder /= entry.name;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::size_t FolderNames::KeptFolders() {
    const std::lock_guard guard(lock);
    ApplyNotices();
    return folders.size();
}

void FolderNames::ApplyNotices() {
    if (folders.empty()) {
        return;
    }
    for (const FolderNotice& notice : notices.Take()) {
        if (notice.kind == FolderNotice::Kind::Lost) {
            ForgetAll();
            continue;
        }
        const auto watched = pathOfWatch.find(notice.watch);
        if (watched == pathOfWatch.end()) {
            // A folder forgotten already.
            continue;
        }
        const std::filesystem::path path = watched->second;
        if (notice.kind == FolderNotice::Kind::FolderGone) {
            Forget(path);
            continue;
        }
        // A folder of this name that was kept is gone or replaced.
        Forget(path / notice.name);
        KeptFolder& folder = folders.at(path.native());
        Remove(folder, notice.name);
        if (notice.kind == FolderNotice::Kind::Added) {
            Add(folder, notice.name, notice.folder ? HostKind::Folder : HostKind::Unknown);
        }
    }
}

void FolderNames::Add(KeptFolder& folder, const std::string& name, HostKind kind) {
    folder.entries[text::FoldedCase(text::FromUtf8(name))].push_back({name, kind});
}

void FolderNames::Remove(KeptFolder& folder, const std::string& name) {
    const auto same = folder.entries.find(text::FoldedCase(text::FromUtf8(name)));
    if (same == folder.entries.end()) {
        return;
    }
    std::erase_if(same->second, [&](const KeptEntry& entry) { return entry.name == name; });
    if (same->second.empty()) {
        folder.entries.erase(same);
    }
}

FolderNames::KeptFolder* FolderNames::Keep(const std::filesystem::path& path) {
    if (const auto kept = folders.find(path.native()); kept != folders.end()) {
        return &kept->second;
    }
    if (folders.size() >= kMostKeptFolders) {
        ForgetAll();
    }
    // Watched before it is read: a change made while it is read comes as a
    // notice, and notices applied in order leave each name as its last
    // change left it.
    const int watch = notices.Watch(path);
    if (watch < 0) {
        return nullptr;
    }
    if (const auto other = pathOfWatch.find(watch); other != pathOfWatch.end()) {
        // The same folder kept under a path it no longer has.
        const std::filesystem::path old = other->second;
        Forget(old);
        return Keep(path);
    }
    KeptFolder folder;
    folder.watch = watch;
    if (!ReadFolder(path, [&](std::string name, HostKind kind) { Add(folder, name, kind); })) {
        notices.Unwatch(watch);
        return nullptr;
    }
    pathOfWatch.emplace(watch, path);
    return &folders.emplace(path.native(), std::move(folder)).first->second;
}

HostEntry FolderNames::Find(const std::filesystem::path& path, KeptFolder& folder,
                            std::u16string_view component) {
    std::string exact = text::ToUtf8(component);
    const auto same = folder.entries.find(text::FoldedCase(component));
    if (same == folder.entries.end()) {
        return {std::move(exact), HostKind::Missing, true};
    }
    KeptEntry* chosen = &same->second.front();
    for (KeptEntry& entry : same->second) {
        if (entry.name == exact) {
            chosen = &entry;
            break;
        }
    }
    if (chosen->kind == HostKind::Unknown) {
        const HostKind kind = KindOnHost(path / chosen->name);
        if (kind == HostKind::Missing) {
            // Gone this moment; its notice is on its way.
            return {chosen->name, HostKind::Missing, true};
        }
        chosen->kind = kind;
    }
    return {chosen->name, chosen->kind, true};
}

void FolderNames::Forget(const std::filesystem::path& path) {
    for (auto kept = folders.begin(); kept != folders.end();) {
        if (kept->first == path.native() || IsWithin(kept->first, path.native())) {
            notices.Unwatch(kept->second.watch);
            pathOfWatch.erase(kept->second.watch);
            kept = folders.erase(kept);
        } else {
            ++kept;
        }
    }
}

void FolderNames::ForgetAll() {
    for (const auto& [path, folder] : folders) {
        notices.Unwatch(folder.watch);
    }
    folders.clear();
    pathOfWatch.clear();
}

} // namespace sim

// Finding the host names of a device path's components, letter case
// ignored, without reading their folders on every lookup: each folder on
// the way from the storage folder is read once, then kept as it is on the
// host by the host's notices of every name added to or taken from it
// (FolderNotices), whoever changed it. A folder is kept only while the one
// holding it is, so a folder renamed, removed or put in another's place is
// noticed in its parent. Folders reached through links, and every folder
// when the host gives no notices, are asked of the host on every lookup.
#pragma once

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/DevicePath.h"
#include "platform/sim/FolderNotices.h"

namespace sim {

struct HostEntry {
    std::string name;
    HostKind kind = HostKind::Unknown;
    // Whether the folder it was looked up in was seen to exist.
    bool folderExists = false;
};

// One component in folder, asked of the host: the entry whose name is
// component, else the first whose name matches it with letter case ignored,
// else component itself, missing.
HostEntry LookUpHostName(const std::filesystem::path& folder, std::u16string_view component);

class FolderNames {
public:
    FolderNames();

    // The entries of components, each looked up in the folder the ones
    // before it lead to, starting at root (which is taken to stay where it
    // is). Thread-safe.
    std::vector<HostEntry> Walk(const std::filesystem::path& root,
                                const std::vector<std::u16string_view>& components);

    // How many folders are kept now (for tests).
    std::size_t KeptFolders();

private:
    struct KeptEntry {
        std::string name;
        HostKind kind = HostKind::Unknown;
    };
    struct KeptFolder {
        int watch = -1;
        // By name with letter case folded; the first of a list was there first.
        std::map<std::u16string, std::vector<KeptEntry>> entries;
    };

    void ApplyNotices();
    void Add(KeptFolder& folder, const std::string& name, HostKind kind);
    void Remove(KeptFolder& folder, const std::string& name);
    // The kept folder at path, read now when it is not kept yet; null when
    // the host gives no watch of it or it cannot be read.
    KeptFolder* Keep(const std::filesystem::path& path);
    HostEntry Find(const std::filesystem::path& path, KeptFolder& folder,
                   std::u16string_view component);
    // Forgets the folder at path and every kept folder inside it.
    void Forget(const std::filesystem::path& path);
    void ForgetAll();

    std::mutex lock;
    FolderNotices notices;
    // By the folder's host path as the host spells it.
    std::map<std::string, KeptFolder, std::less<>> folders;
    std::map<int, std::filesystem::path> pathOfWatch;
};

} // namespace sim

// The host's notices of names added to and taken from the folders it is
// asked to watch (inotify), whoever changed them, this process or another,
// in the order the changes happened. A change is in the notices as soon as
// the call that made it has returned, so one look at them tells whether
// what was read of a folder still holds. A host that gives no notices
// leaves Ok() false, and whoever relies on them reads the folders afresh.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace sim {

struct FolderNotice {
    enum class Kind {
        Added,      // name came into the folder (created, or moved in)
        Removed,    // name left it (deleted, or moved out)
        FolderGone, // the watched folder itself was deleted or moved
        Lost,       // notices were lost (too many at once): trust no folder
    };
    Kind kind = Kind::Lost;
    int watch = -1;
    std::string name;
    // Whether name is a folder (Added and Removed).
    bool folder = false;
};

class FolderNotices {
public:
    FolderNotices();
    ~FolderNotices();
    FolderNotices(const FolderNotices&) = delete;
    FolderNotices& operator=(const FolderNotices&) = delete;

    bool Ok() const { return descriptor >= 0; }
    // The watch of a folder, or -1 when the host refuses one (no such folder,
    // not a folder, too many watches).
    int Watch(const std::filesystem::path& folder);
    void Unwatch(int watch);
    // The notices since the last call, oldest first; none when nothing
    // changed, at the cost of one system call.
    std::vector<FolderNotice> Take();

private:
    int descriptor = -1;
};

} // namespace sim

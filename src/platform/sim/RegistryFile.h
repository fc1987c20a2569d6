// The registry as the device directory keeps it: one text file (see
// RegistryTree.h), shared by every process on the device. Each change takes
// the registry's lock, rereads the file if another process has replaced it
// since, applies the change and replaces the file whole before the lock is
// let go; so no process's change is lost to another's, and a process killed
// at any moment leaves the last complete file. Reads need no lock: they see
// one complete file or the next.
#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>

#include "platform/Result.h"
#include "platform/sim/RegistryTree.h"

namespace sim {

class RegistryFile {
public:
    // The registry's text lives in file, its lock beside it (file + ".lock").
    explicit RegistryFile(std::filesystem::path file);

    // Runs read on the current content; an error when the file is damaged
    // (it is left as it is) or cannot be read.
    Result<bool> Read(const std::function<void(const RegistryTree&)>& read);
    // Runs change on the current content under the lock; when it returns true
    // (it changed something) the file is replaced before Update returns. An
    // error means nothing was stored.
    Result<bool> Update(const std::function<bool(RegistryTree&)>& change);

private:
    struct Identity {
        unsigned long long device = 0, inode = 0, size = 0;
        long long modifiedSeconds = 0, modifiedNanoseconds = 0;
        long long changedSeconds = 0, changedNanoseconds = 0;
        bool operator==(const Identity&) const = default;
    };
    // Brings the cached tree up to date with the file.
    Result<bool> Refresh();

    std::filesystem::path file;
    std::filesystem::path lockFile;
    std::mutex lock;
    RegistryTree tree;
    // Which file the cached tree was read from; none while no file exists.
    std::optional<Identity> cachedFrom;
    bool loaded = false;
};

} // namespace sim

// Named mutexes shared by every process on a device directory. Each name has
// a lock file in the runtime folder's "mutexes" folder; a process holding a
// handle to the mutex holds a shared lock on it, so the name exists exactly as
// long as some process holds one, and the kernel frees it when a holder ends
// however it ends. Whether a name exists is decided by trying an exclusive
// lock on it, under a guard lock that every creator takes, so that two
// processes creating the same name at once never both see it as new.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/Result.h"
#include "platform/WinTypes.h"
#include "platform/sim/DurableFile.h"

namespace sim {

class NamedMutex {
public:
    const std::u16string& Name() const { return name; }
    // Ownership by a thread of this process, counted for recursive takes.
    DWORD OwnerThread() const { return ownerThread; }
    int OwnerCount() const { return ownerCount; }

private:
    friend class NamedMutexTable;
    std::u16string name;
    FileLock presence;
    int handles = 0;
    DWORD ownerThread = 0;
    int ownerCount = 0;
};

class NamedMutexTable {
public:
    explicit NamedMutexTable(std::filesystem::path folder);

    // Opens the mutex of name for one more handle, creating it when no process
    // holds it; existed tells which. An error when the runtime folder cannot
    // be used.
    Result<NamedMutex*> Open(const std::u16string& name, DWORD thread, bool takeOwnership,
                             bool& existed);
    // One handle fewer; the last one of this process lets the name go.
    void Close(NamedMutex& mutex);
    // False when thread does not own the mutex.
    bool Release(NamedMutex& mutex, DWORD thread);

    // The file that stands for name (for tests).
    std::filesystem::path LockFileOf(const std::u16string& name) const;

private:
    std::filesystem::path folder;
    std::mutex lock;
    std::map<std::u16string, std::unique_ptr<NamedMutex>> open;
};

} // namespace sim

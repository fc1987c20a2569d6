// Files that hold the device's persistent state (the registry, the display
// orientation, the volume) and the locks that processes sharing a device
// directory take on them. A state file is only ever replaced whole: the new
// text goes to a temporary file, is flushed to disk and renamed over the old
// one, so a reader (or a process killed midway) sees the old file or the new
// one, never a mixture.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Result.h"

namespace sim {

// The whole content of a file; nullopt when it does not exist or cannot be
// read.
std::optional<std::string> ReadWholeFile(const std::filesystem::path& file);

// Whether a replaced file must survive a crash of the host (state kept across
// runs), or only be seen whole by readers (what processes exchange while they
// run, which a crash makes moot anyway).
enum class Durability { Flushed, Atomic };

// Replaces file with text: writes file + ".tmp", (flushes it,) renames it over
// file (and flushes the folder). The caller holds whatever lock keeps other
// writers of file out, since they share the temporary name.
Result<bool> ReplaceFile(const std::filesystem::path& file, std::string_view text,
                         Durability durability = Durability::Flushed);

// An advisory lock (flock) on a lock file, held for the object's life; the
// kernel drops it when the process ends, however it ends.
class FileLock {
public:
    enum class Mode { Shared, Exclusive };

    // No lock.
    FileLock() = default;
    // Waits for the lock. Check Held(): a lock file that cannot be created
    // gives no lock.
    FileLock(const std::filesystem::path& file, Mode mode);
    // Does not wait: Held() is false when another process holds it.
    static FileLock TryLock(const std::filesystem::path& file, Mode mode);
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return fd >= 0; }
    // Changes a held lock to mode without waiting; false (the lock is then
    // no longer held at all) when another process is in the way. The change
    // is not atomic: callers serialise conversions under a lock of their own.
    bool Convert(Mode mode);
    // Why the lock is not held ("" when it is, or when another process has
    // it and TryLock did not wait).
    const std::string& Problem() const { return problem; }

private:
    void Acquire(const std::filesystem::path& file, Mode mode, bool wait);

    int fd = -1;
    std::string problem;
};

} // namespace sim

#include "platform/sim/RegistryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/sim/DurableFile.h"

namespace sim {

RegistryFile::RegistryFile(std::filesystem::path file)
    : file(file), lockFile(std::filesystem::path(file) += ".lock") {}

Result<bool> RegistryFile::Refresh() {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT) {
            return Error{"cannot open " + file.string() + ": " + std::strerror(errno)};
        }
        // No file yet: an empty registry, as on a new device.
        if (!loaded || cachedFrom) {
            tree = RegistryTree();
            cachedFrom.reset();
            loaded = true;
        }
        return true;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return Error{"cannot examine " + file.string() + ": " + std::strerror(errno)};
    }
    const Identity identity{static_cast<unsigned long long>(info.st_dev),
                            static_cast<unsigned long long>(info.st_ino),
                            static_cast<unsigned long long>(info.st_size),
                            info.st_mtim.tv_sec,
                            info.st_mtim.tv_nsec,
                            info.st_ctim.tv_sec,
                            info.st_ctim.tv_nsec};
    if (loaded && cachedFrom == identity) {
        ::close(fd);
        return true;
    }
    // Read through the same descriptor, so that the text and its identity
    // belong to the same file even if it is replaced meanwhile.
    std::string text;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(fd);
            return Error{"cannot read " + file.string() + ": " + std::strerror(errno)};
        }
        if (got == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    auto parsed = RegistryTree::Parse(text);
    if (!parsed) {
        Error error = parsed.GetError();
        error.message = file.string() + ": " + error.message;
        return error;
    }
    tree = std::move(parsed).Value();
    cachedFrom = identity;
    loaded = true;
    return true;
}

Result<bool> RegistryFile::Read(const std::function<void(const RegistryTree&)>& read) {
    const std::lock_guard guard(lock);
    if (auto refreshed = Refresh(); !refreshed) {
        return refreshed;
    }
    read(tree);
    return true;
}

Result<bool> RegistryFile::Update(const std::function<bool(RegistryTree&)>& change) {
    const std::lock_guard guard(lock);
    const FileLock fileLock(lockFile, FileLock::Mode::Exclusive);
    if (!fileLock.Held()) {
        return Error{fileLock.Problem()};
    }
    if (auto refreshed = Refresh(); !refreshed) {
        return refreshed;
    }
    RegistryTree changed = tree;
    if (!change(changed)) {
        return false;
    }
    if (auto written = ReplaceFile(file, changed.Serialize()); !written) {
        return written;
    }
    tree = std::move(changed);
    // The next read takes the identity of the file just written.
    loaded = false;
    return Refresh();
}

} // namespace sim

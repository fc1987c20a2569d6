#include "platform/sim/DurableFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace sim {
namespace {

std::string Describe(const char* what, const std::filesystem::path& file) {
    return std::string(what) + " " + file.string() + ": " + std::strerror(errno);
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

std::optional<std::string> ReadWholeFile(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string text;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return text;
}

Result<bool> ReplaceFile(const std::filesystem::path& file, std::string_view text,
                         Durability durability) {
    const bool flush = durability == Durability::Flushed;
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return Error{Describe("cannot create", temporary)};
    }
    if (!WriteAll(fd, text) || (flush && ::fsync(fd) != 0)) {
        Error error{Describe("cannot write", temporary)};
        ::close(fd);
        ::unlink(temporary.c_str());
        return error;
    }
    if (::close(fd) != 0) {
        return Error{Describe("cannot write", temporary)};
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        Error error{Describe("cannot replace", file)};
        ::unlink(temporary.c_str());
        return error;
    }
    if (!flush) {
        return true;
    }
    // The rename itself must reach the disk, or a crash could bring the old
    // file back after the change was acknowledged.
    const std::filesystem::path folder =
        file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

FileLock::FileLock(const std::filesystem::path& file, Mode mode) {
    Acquire(file, mode, true);
}

FileLock FileLock::TryLock(const std::filesystem::path& file, Mode mode) {
    FileLock lock;
    lock.Acquire(file, mode, false);
    return lock;
}

void FileLock::Acquire(const std::filesystem::path& file, Mode mode, bool wait) {
    const int opened = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (opened < 0) {
        problem = Describe("cannot open lock file", file);
        return;
    }
    const int operation = (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | (wait ? 0 : LOCK_NB);
    int result;
    do {
        result = ::flock(opened, operation);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        if (errno != EWOULDBLOCK) {
            problem = Describe("cannot lock", file);
        }
        ::close(opened);
        return;
    }
    fd = opened;
}

bool FileLock::Convert(Mode mode) {
    if (fd < 0) {
        return false;
    }
    int result;
    do {
        result = ::flock(fd, (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(fd);
        fd = -1;
        return false;
    }
    return true;
}

FileLock::~FileLock() {
    if (fd >= 0) {
        ::close(fd);
    }
}

FileLock::FileLock(FileLock&& other) noexcept
    : fd(std::exchange(other.fd, -1)), problem(std::move(other.problem)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (fd >= 0) {
            ::close(fd);
        }
        fd = std::exchange(other.fd, -1);
        problem = std::move(other.problem);
    }
    return *this;
}

} // namespace sim

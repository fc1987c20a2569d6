#include "platform/sim/FolderNotices.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

namespace sim {
namespace {

constexpr std::uint32_t kWatchedChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                          IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// Room for many notices; a read that leaves less than one notice's room
// unused may have left more behind.
constexpr std::size_t kReadBytes = 16 * 1024;
constexpr std::size_t kLargestNotice = sizeof(inotify_event) + NAME_MAX + 1;

void Decode(const char* bytes, std::size_t size, std::vector<FolderNotice>& notices) {
    std::size_t offset = 0;
    while (offset + sizeof(inotify_event) <= size) {
        inotify_event event;
        std::memcpy(&event, bytes + offset, sizeof event);
        const char* nameStart = bytes + offset + sizeof event;
        offset += sizeof event + event.len;
        if (offset > size) {
            break;
        }
        FolderNotice notice;
        notice.watch = event.wd;
        // The name is padded with zero bytes to the notice's length.
        notice.name.assign(nameStart, strnlen(nameStart, event.len));
        notice.folder = (event.mask & IN_ISDIR) != 0;
        if ((event.mask & IN_Q_OVERFLOW) != 0) {
            notice.kind = FolderNotice::Kind::Lost;
        } else if ((event.mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
            notice.kind = FolderNotice::Kind::Added;
        } else if ((event.mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
            notice.kind = FolderNotice::Kind::Removed;
        } else if ((event.mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED | IN_UNMOUNT)) != 0) {
            notice.kind = FolderNotice::Kind::FolderGone;
        } else {
            continue;
        }
        notices.push_back(std::move(notice));
    }
}

} // namespace

FolderNotices::FolderNotices() : descriptor(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FolderNotices::~FolderNotices() {
    if (descriptor >= 0) {
        ::close(descriptor);
    }
}

int FolderNotices::Watch(const std::filesystem::path& folder) {
    return descriptor >= 0 ? ::inotify_add_watch(descriptor, folder.c_str(), kWatchedChanges) : -1;
}

void FolderNotices::Unwatch(int watch) {
    if (descriptor >= 0 && watch >= 0) {
        ::inotify_rm_watch(descriptor, watch);
    }
}

std::vector<FolderNotice> FolderNotices::Take() {
    std::vector<FolderNotice> notices;
    if (descriptor < 0) {
        return notices;
    }
    alignas(inotify_event) std::array<char, kReadBytes> bytes;
    for (;;) {
        const ssize_t got = ::read(descriptor, bytes.data(), bytes.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            // EAGAIN: nothing (more) has changed. Anything else: the notices
            // cannot be trusted.
            if (errno != EAGAIN) {
                notices.push_back(FolderNotice{FolderNotice::Kind::Lost, -1, {}, false});
            }
            return notices;
        }
        Decode(bytes.data(), static_cast<std::size_t>(got), notices);
        if (static_cast<std::size_t>(got) + kLargestNotice <= bytes.size()) {
            // Every notice there was fitted: none is left from before the read.
            return notices;
        }
    }
}

} // namespace sim

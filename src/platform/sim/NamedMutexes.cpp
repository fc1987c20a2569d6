#include "platform/sim/NamedMutexes.h"

#include <unistd.h>

#include <cstdio>

#include "platform/Text.h"

namespace sim {
namespace {

constexpr std::size_t kMaxPlainFileName = 200;

bool IsPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

// A stable 64-bit hash (FNV-1a) of the name's UTF-16 units, for names too
// long to spell out in a file name.
std::uint64_t Fnv1a(const std::u16string& name) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const char16_t unit : name) {
        for (const int shift : {0, 8}) {
            hash ^= static_cast<std::uint8_t>(unit >> shift);
            hash *= 0x100000001b3ULL;
        }
    }
    return hash;
}

// A file name for a mutex name: readable where it can be (letters and digits
// as they are, other bytes of the UTF-8 text as %XX), hashed where the
// spelled-out name would be too long.
std::string FileNameFor(const std::u16string& name) {
    std::string spelled = "m-";
    for (const char c : text::ToUtf8(name)) {
        if (IsPlain(c)) {
            spelled += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            spelled += escaped;
        }
    }
    // Unpaired surrogates do not survive UTF-8, so such names are hashed too.
    if (spelled.size() <= kMaxPlainFileName && text::FromUtf8(text::ToUtf8(name)) == name) {
        return spelled;
    }
    char hashed[40];
    std::snprintf(hashed, sizeof hashed, "h-%016llx-%zu",
                  static_cast<unsigned long long>(Fnv1a(name)), name.size());
    return hashed;
}

} // namespace

NamedMutexTable::NamedMutexTable(std::filesystem::path folder) : folder(std::move(folder)) {}

std::filesystem::path NamedMutexTable::LockFileOf(const std::u16string& name) const {
    return folder / FileNameFor(name);
}

Result<NamedMutex*> NamedMutexTable::Open(const std::u16string& name, DWORD thread,
                                          bool takeOwnership, bool& existed) {
    const std::lock_guard guard(lock);
    NamedMutex* mutex = nullptr;
    if (const auto found = open.find(name); found != open.end()) {
        existed = true;
        mutex = found->second.get();
    } else {
        std::error_code ignored;
        std::filesystem::create_directories(folder, ignored);
        const FileLock creators(folder / ".creating", FileLock::Mode::Exclusive);
        if (!creators.Held()) {
            return Error{creators.Problem()};
        }
        const std::filesystem::path file = LockFileOf(name);
        FileLock presence = FileLock::TryLock(file, FileLock::Mode::Exclusive);
        if (presence.Held()) {
            existed = false;
            // Only creators convert, and they hold the guard: nobody can slip
            // in while the lock changes from exclusive to shared.
            if (!presence.Convert(FileLock::Mode::Shared)) {
                return Error{"cannot hold the mutex file " + file.string()};
            }
        } else if (!presence.Problem().empty()) {
            return Error{presence.Problem()};
        } else {
            existed = true;
            presence = FileLock(file, FileLock::Mode::Shared);
            if (!presence.Held()) {
                return Error{presence.Problem()};
            }
        }
        auto created = std::make_unique<NamedMutex>();
        created->name = name;
        created->presence = std::move(presence);
        mutex = created.get();
        open.emplace(name, std::move(created));
    }
    ++mutex->handles;
    // Only the creator of a new mutex takes it at once, as Win32 does.
    if (takeOwnership && !existed) {
        mutex->ownerThread = thread;
        mutex->ownerCount = 1;
    }
    return mutex;
}

void NamedMutexTable::Close(NamedMutex& mutex) {
    const std::lock_guard guard(lock);
    if (--mutex.handles > 0) {
        return;
    }
    const auto found = open.find(mutex.name);
    if (found == open.end()) {
        return;
    }
    // Tidy up the lock file when no other process holds the name; under the
    // guard, so that no creator is looking at it meanwhile.
    std::error_code ignored;
    const FileLock creators(folder / ".creating", FileLock::Mode::Exclusive);
    const std::filesystem::path file = LockFileOf(mutex.name);
    if (creators.Held() && mutex.presence.Convert(FileLock::Mode::Exclusive)) {
        std::filesystem::remove(file, ignored);
    }
    open.erase(found);
}

bool NamedMutexTable::Release(NamedMutex& mutex, DWORD thread) {
    const std::lock_guard guard(lock);
    if (mutex.ownerCount == 0 || mutex.ownerThread != thread) {
        return false;
    }
    if (--mutex.ownerCount == 0) {
        mutex.ownerThread = 0;
    }
    return true;
}

} // namespace sim

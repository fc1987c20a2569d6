#include "platform/sim/HandleAllocator.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace sim {
namespace {

// Each block holds this many window handles, two apart.
constexpr std::uintptr_t kBlockHandles = 0x8000;
constexpr std::uintptr_t kBlockSpan = 2 * kBlockHandles;
// Keeps window handles below 2^31, as a 32-bit handheld would have them.
constexpr std::uintptr_t kMaxBlock = 0x7FFF;

// The next block number from the counter file, or 0 when the file cannot be
// used.
std::uintptr_t TakeBlockFromFile(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        return 0;
    }
    std::uintptr_t block = 0;
    if (::flock(fd, LOCK_EX) == 0) {
        char buffer[32] = {};
        const ssize_t got = ::pread(fd, buffer, sizeof buffer - 1, 0);
        unsigned long last = 0;
        if (got > 0) {
            last = std::strtoul(buffer, nullptr, 10);
        }
        const unsigned long next = last >= kMaxBlock ? 1 : last + 1;
        const std::string text = std::to_string(next) + "\n";
        if (::ftruncate(fd, 0) == 0 &&
            ::pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size())) {
            block = next;
        }
        ::flock(fd, LOCK_UN);
    }
    ::close(fd);
    return block;
}

} // namespace

HandleAllocator::HandleAllocator(std::filesystem::path runtimeDirectory)
    : counterFile(std::move(runtimeDirectory) / "window-handles") {}

void HandleAllocator::ReserveBlock() {
    std::uintptr_t block = TakeBlockFromFile(counterFile);
    if (block == 0) {
        // Without a usable runtime folder the handles are unique in this process.
        fallbackBlock = fallbackBlock >= kMaxBlock ? 1 : fallbackBlock + 1;
        block = fallbackBlock;
    }
    blockBase = block * kBlockSpan;
    blockUsed = 0;
}

HWND HandleAllocator::NextWindow() {
    if (blockBase == 0 || blockUsed >= kBlockHandles) {
        ReserveBlock();
    }
    // Skip 0 so that no handle is null even in block 0's position.
    const std::uintptr_t value = blockBase + 2 * (blockUsed + 1);
    ++blockUsed;
    return reinterpret_cast<HWND>(value);
}

std::uintptr_t HandleAllocator::NextObject() {
    nextObject += 4;
    return nextObject;
}

} // namespace sim

// Handle values. Window handles are even and unique among all processes on one
// device directory (a program may pass one with the low bit set); they are
// reserved in blocks through a locked counter file in the runtime folder. Other
// handles (menus, device contexts, brushes...) are unique in the process.
#pragma once

#include <cstdint>
#include <filesystem>

#include "platform/WinTypes.h"

namespace sim {

class HandleAllocator {
public:
    explicit HandleAllocator(std::filesystem::path runtimeDirectory);

    HWND NextWindow();
    std::uintptr_t NextObject();

private:
    void ReserveBlock();

    std::filesystem::path counterFile;
    std::uintptr_t blockBase = 0;
    std::uintptr_t blockUsed = 0;
    std::uintptr_t fallbackBlock = 0;
    std::uintptr_t nextObject = 0x40000000;
};

} // namespace sim

// What an open message box shows, for the host's state output: its caption,
// its text and its type (the MB_* flags its program gave).
#pragma once

#include <optional>
#include <string>

#include "platform/WinTypes.h"

namespace sim {

struct MessageBoxContent {
    std::u16string caption;
    std::u16string text;
    UINT type = 0;
};

// Null for a window that is not an open message box.
std::optional<MessageBoxContent> DescribeMessageBox(HWND box);

} // namespace sim

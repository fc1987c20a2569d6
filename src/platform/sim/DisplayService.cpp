#include "platform/sim/DisplayService.h"

#include <algorithm>
#include <vector>

#include "platform/Window.h"
#include "platform/sim/Device.h"
#include "platform/sim/WindowManager.h"

namespace sim {
namespace {

constexpr DWORD kKnownFlags = CDS_UPDATEREGISTRY | CDS_TEST | CDS_RESET;
constexpr DWORD kSupportedTurns = DMDO_90 | DMDO_180 | DMDO_270;

bool IsSideways(DWORD orientation) {
    return orientation == DMDO_90 || orientation == DMDO_270;
}

// Where a window as wide as the screen goes when the screen turns: each of
// its top and bottom edges keeps its distance from the nearer screen edge, so
// a full-screen window stays full-screen, a window between the task bar and
// the menu bar stays between them, and a bar along the bottom stays there.
RECT Refit(const RECT& rect, int oldHeight, int newWidth, int newHeight) {
    RECT fitted{0, rect.top, newWidth, rect.bottom};
    if (rect.top > oldHeight / 2) {
        fitted.top = newHeight - (oldHeight - rect.top);
    }
    if (rect.bottom > oldHeight / 2) {
        fitted.bottom = newHeight - (oldHeight - rect.bottom);
    }
    fitted.bottom = std::max(fitted.bottom, fitted.top);
    return fitted;
}

} // namespace

DisplayService::DisplayService(Device& device, CallRecorder record, std::function<void()> announce)
    : device(device), record(std::move(record)), announce(std::move(announce)),
      stored(device.Config().directory / "system", "display-orientation"),
      uprightWidth(device.Config().screenWidth), uprightHeight(device.Config().screenHeight) {}

bool DisplayService::IsOrientation(DWORD value) {
    return value == DMDO_0 || value == DMDO_90 || value == DMDO_180 || value == DMDO_270;
}

void DisplayService::ApplyStored() {
    const auto value = stored.Read();
    orientation =
        value && IsOrientation(static_cast<DWORD>(*value)) ? static_cast<DWORD>(*value) : DMDO_0;
    if (IsSideways(orientation)) {
        device.SetScreenSize(uprightHeight, uprightWidth);
    } else {
        device.SetScreenSize(uprightWidth, uprightHeight);
    }
}

void DisplayService::Reload() {
    const auto value = stored.Read();
    if (!value || !IsOrientation(static_cast<DWORD>(*value)) ||
        static_cast<DWORD>(*value) == orientation) {
        return;
    }
    const auto target = static_cast<DWORD>(*value);
    // Windows are told on a program's thread, as they would be by the call;
    // with no program running there is nobody to tell.
    for (const auto& program : device.Programs()) {
        if (!program->Finished()) {
            program->incomingCalls.push_back([this, target] { Apply(target); });
            return;
        }
    }
    orientation = target;
    device.SetScreenSize(IsSideways(target) ? uprightHeight : uprightWidth,
                         IsSideways(target) ? uprightWidth : uprightHeight);
}

void DisplayService::Apply(DWORD value) {
    const int oldWidth = device.ScreenWidth();
    const int oldHeight = device.ScreenHeight();
    orientation = value;
    const int newWidth = IsSideways(value) ? uprightHeight : uprightWidth;
    const int newHeight = IsSideways(value) ? uprightWidth : uprightHeight;
    device.SetScreenSize(newWidth, newHeight);

    std::vector<HWND> windows;
    for (const Window* window : device.Windows().TopLevel()) {
        if (window->IsAlive()) {
            windows.push_back(window->handle);
        }
    }
    for (const HWND handle : windows) {
        if (!IsWindow(handle)) {
            continue;
        }
        SendMessageW(handle, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
        RECT rect{};
        if (newWidth == oldWidth && newHeight == oldHeight) {
            continue;
        }
        if (GetWindowRect(handle, &rect) && rect.left == 0 && rect.right == oldWidth) {
            const RECT fitted = Refit(rect, oldHeight, newWidth, newHeight);
            SetWindowPos(handle, nullptr, fitted.left, fitted.top, fitted.right - fitted.left,
                         fitted.bottom - fitted.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

LONG DisplayService::Change(LPCWSTR deviceName, DEVMODEW* mode, HWND window, DWORD flags,
                            LPVOID param) {
    const DWORD fields = mode != nullptr ? mode->dmFields : 0;
    const DWORD asked = mode != nullptr ? mode->dmDisplayOrientation : 0;
    LONG result = DISP_CHANGE_SUCCESSFUL;
    const bool names = (fields & (DM_DISPLAYORIENTATION | DM_DISPLAYQUERYORIENTATION)) != 0;
    if ((flags & ~kKnownFlags) != 0) {
        result = DISP_CHANGE_BADFLAGS;
    } else if (deviceName != nullptr || window != nullptr || param != nullptr) {
        result = DISP_CHANGE_BADPARAM;
    } else if (mode == nullptr) {
        // Back to the stored settings, which are the current ones.
        result = DISP_CHANGE_SUCCESSFUL;
    } else if (names && mode->dmSize < sizeof(DEVMODEW)) {
        // The record is too short to hold the orientation it names.
        result = DISP_CHANGE_BADPARAM;
    } else if ((flags & CDS_TEST) != 0) {
        if ((fields & DM_DISPLAYQUERYORIENTATION) != 0) {
            mode->dmDisplayOrientation = kSupportedTurns;
        } else if ((fields & DM_DISPLAYORIENTATION) != 0) {
            mode->dmDisplayOrientation = orientation;
        }
        if ((fields & DM_PELSWIDTH) != 0) {
            mode->dmPelsWidth = static_cast<DWORD>(device.ScreenWidth());
        }
        if ((fields & DM_PELSHEIGHT) != 0) {
            mode->dmPelsHeight = static_cast<DWORD>(device.ScreenHeight());
        }
    } else if ((fields & DM_DISPLAYQUERYORIENTATION) != 0) {
        result = DISP_CHANGE_BADPARAM;
    } else if (((fields & DM_PELSWIDTH) != 0 &&
                mode->dmPelsWidth != static_cast<DWORD>(device.ScreenWidth())) ||
               ((fields & DM_PELSHEIGHT) != 0 &&
                mode->dmPelsHeight != static_cast<DWORD>(device.ScreenHeight()))) {
        result = DISP_CHANGE_BADMODE;
    } else if ((fields & DM_DISPLAYORIENTATION) != 0) {
        if (!IsOrientation(asked)) {
            result = DISP_CHANGE_BADPARAM;
        } else if (asked != orientation) {
            if (!stored.Write(asked)) {
                // Applied, but it will not survive a restart.
                result = DISP_CHANGE_NOTUPDATED;
            }
            Apply(asked);
            if (announce) {
                announce();
            }
        }
    }
    if (record) {
        record("ChangeDisplaySettingsExW", {flags, fields, asked},
               JournalValue(static_cast<long>(result)));
    }
    return result;
}

} // namespace sim

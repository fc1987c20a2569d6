// Display settings and system parameters on the current device.
#include <algorithm>
#include <cstring>

#include "platform/Display.h"
#include "platform/Program.h"
#include "platform/System.h"
#include "platform/sim/Device.h"
#include "platform/sim/ServicesAccess.h"

namespace {

constexpr char16_t kPlatformType[] = u"PocketPC";
constexpr char16_t kMakerText[] = u"Simulated Pocket PC";

// Copies text with its terminator into a buffer of size bytes.
BOOL CopyText(const char16_t* text, std::size_t length, UINT size, LPVOID buffer) {
    const std::size_t bytes = (length + 1) * sizeof(char16_t);
    if (buffer == nullptr || size < bytes) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(buffer, text, bytes);
    return TRUE;
}

} // namespace

LONG ChangeDisplaySettingsExW(LPCWSTR deviceName, DEVMODEW* mode, HWND window, DWORD flags,
                              LPVOID param) {
    sim::SystemServices* services = sim::CurrentServices();
    return services != nullptr ? services->Display().Change(deviceName, mode, window, flags, param)
                               : DISP_CHANGE_FAILED;
}

BOOL SystemParametersInfoW(UINT action, UINT uiParam, LPVOID param, UINT) {
    const sim::Device* device = sim::Device::Current();
    switch (action) {
    case SPI_GETPLATFORMTYPE:
        return CopyText(kPlatformType, std::size(kPlatformType) - 1, uiParam, param);
    case SPI_GETOEMINFO:
        return CopyText(kMakerText, std::size(kMakerText) - 1, uiParam, param);
    case SPI_GETWORKAREA:
        if (param == nullptr || device == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        // The screen below the task bar.
        *static_cast<RECT*>(param) =
            RECT{0, device->BarHeight(), device->ScreenWidth(), device->ScreenHeight()};
        return TRUE;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}

// Display settings, system parameters and the wave-out volume on the current
// device.
#include <algorithm>
#include <cstring>

#include "platform/Display.h"
#include "platform/Program.h"
#include "platform/Sound.h"
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

// The wave output a handle stands for: the wave mapper or device 0.
bool IsWaveOutput(HWAVEOUT device) {
    const auto value = reinterpret_cast<std::uintptr_t>(device);
    const auto high = value >> 16 >> 16;
    return value == 0 || ((value & 0xFFFFFFFFu) == WAVE_MAPPER &&
                          (high == 0 || high == (~std::uintptr_t{0} >> 32)));
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

UINT waveOutGetNumDevs() {
    return 1;
}

MMRESULT waveOutGetVolume(HWAVEOUT device, DWORD* volume) {
    sim::SystemServices* services = sim::CurrentServices();
    if (!IsWaveOutput(device)) {
        return MMSYSERR_INVALHANDLE;
    }
    if (volume == nullptr || services == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    *volume = services->Volume();
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume) {
    sim::Device* current = sim::Device::Current();
    MMRESULT result = MMSYSERR_NOERROR;
    if (!IsWaveOutput(device)) {
        result = MMSYSERR_INVALHANDLE;
    } else if (current == nullptr || !current->Services().SetVolume(volume)) {
        result = MMSYSERR_ERROR;
    }
    if (current != nullptr) {
        current->Record(
            "waveOutSetVolume",
            {static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(device)), volume},
            result);
    }
    return result;
}

#include "platform/sim/ControlSupport.h"

#include <algorithm>

#include "platform/Messages.h"
#include "platform/Painting.h"
#include "platform/Window.h"
#include "platform/sim/ControlPaint.h"

namespace sim {

HWND ParentOrOwner(HWND window) {
    if ((static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & WS_CHILD) != 0) {
        return GetParent(window);
    }
    return GetWindow(window, GW_OWNER);
}

void NotifyParent(HWND control, WORD code) {
    const HWND parent = ParentOrOwner(control);
    if (parent == nullptr) {
        return;
    }
    const WORD id = static_cast<WORD>(GetDlgCtrlID(control));
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

int ScreenUnit() {
    const paint::WindowDC screen(nullptr);
    const int ppi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    return std::max(1, ppi / 96);
}

void RecordCall(std::string call, std::vector<JournalValue> args, JournalValue result) {
    if (Device* device = Device::Current()) {
        device->Record(std::move(call), std::move(args), std::move(result));
    }
}

std::filesystem::path DeviceHostPath(const std::u16string& devicePath) {
    Device* device = Device::Current();
    return device != nullptr ? device->HostPath(devicePath) : std::filesystem::path();
}

} // namespace sim

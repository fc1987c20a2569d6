// The key functions of platform/Input.h: hot keys, the key state and
// accelerator tables (synthesized key events belong to the system services).
#include "platform/Input.h"

#include "platform/Program.h"
#include "platform/ResourceFormats.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/InputRouter.h"
#include "platform/sim/ModuleResources.h"

BOOL RegisterHotKey(HWND handle, int id, UINT modifiers, UINT virtualKey) {
    sim::Program* program = sim::CallingProgram();
    if (program == nullptr) {
        return FALSE;
    }
    sim::Device& device = *sim::Device::Current();
    BOOL result = FALSE;
    sim::Window* window = handle != nullptr ? sim::LookUpWindow(handle) : nullptr;
    if (handle == nullptr || window != nullptr) {
        if (window != nullptr && window->program != program) {
            // Only a window of the calling program.
            SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
        } else {
            DWORD error = 0;
            result =
                device.Input().RegisterHotKey(window, *program, id, modifiers, virtualKey, error)
                    ? TRUE
                    : FALSE;
            if (!result) {
                SetLastError(error);
            }
        }
    }
    device.Record("RegisterHotKey",
                  {sim::JournalValue(handle), id, static_cast<long long>(modifiers),
                   static_cast<long long>(virtualKey)},
                  result != FALSE);
    return result;
}

BOOL UnregisterHotKey(HWND handle, int id) {
    sim::Program* program = sim::CallingProgram();
    if (program == nullptr) {
        return FALSE;
    }
    sim::Device& device = *sim::Device::Current();
    DWORD error = 0;
    const BOOL result = device.Input().UnregisterHotKey(handle, *program, id, error) ? TRUE : FALSE;
    if (!result) {
        SetLastError(error);
    }
    device.Record("UnregisterHotKey", {sim::JournalValue(handle), id}, result != FALSE);
    return result;
}

SHORT GetKeyState(int virtualKey) {
    sim::Device* device = sim::Device::Current();
    return device != nullptr ? device->Input().KeyState(virtualKey) : 0;
}

SHORT GetAsyncKeyState(int virtualKey) {
    return GetKeyState(virtualKey);
}

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name) {
    sim::Device* device = sim::Device::Current();
    if (device == nullptr) {
        return nullptr;
    }
    const auto data = sim::ResourceData(instance, name, res::ResourceId(res::RT_ACCELERATOR));
    if (!data) {
        return nullptr;
    }
    const auto entries = res::ParseAccelerators(*data);
    if (!entries.Ok()) {
        device->ReportProblem("accelerator table: " + entries.GetError().message);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    std::vector<ACCEL> table;
    for (const res::AcceleratorEntry& entry : entries.Value()) {
        table.push_back(ACCEL{entry.flags, entry.key, entry.command});
    }
    return device->Input().CreateAccelerators(std::move(table));
}

HACCEL CreateAcceleratorTableW(const ACCEL* entries, int count) {
    sim::Device* device = sim::Device::Current();
    if (device == nullptr || entries == nullptr || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return device->Input().CreateAccelerators(std::vector<ACCEL>(entries, entries + count));
}

BOOL DestroyAcceleratorTable(HACCEL table) {
    sim::Device* device = sim::Device::Current();
    return device != nullptr && device->Input().DestroyAccelerators(table) ? TRUE : FALSE;
}

int TranslateAcceleratorW(HWND window, HACCEL table, MSG* msg) {
    sim::Device* device = sim::Device::Current();
    const std::vector<ACCEL>* entries =
        device != nullptr ? device->Input().FindAccelerators(table) : nullptr;
    if (entries == nullptr || msg == nullptr || window == nullptr) {
        SetLastError(entries == nullptr ? ERROR_INVALID_ACCEL_HANDLE : ERROR_INVALID_PARAMETER);
        return 0;
    }
    const bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
    const bool character = msg->message == WM_CHAR || msg->message == WM_SYSCHAR;
    if (!keyDown && !character) {
        return 0;
    }
    const UINT held = device->Input().HeldModifiers();
    BYTE modifiers = 0;
    if ((held & MOD_SHIFT) != 0) {
        modifiers |= FSHIFT;
    }
    if ((held & MOD_CONTROL) != 0) {
        modifiers |= FCONTROL;
    }
    if ((held & MOD_ALT) != 0) {
        modifiers |= FALT;
    }
    for (const ACCEL& entry : *entries) {
        const bool virtualKey = (entry.fVirt & FVIRTKEY) != 0;
        bool matches = false;
        if (virtualKey && keyDown) {
            matches =
                entry.key == msg->wParam && (entry.fVirt & (FSHIFT | FCONTROL | FALT)) == modifiers;
        } else if (!virtualKey && character) {
            matches = entry.key == msg->wParam &&
                      ((entry.fVirt & FALT) != 0) == ((modifiers & FALT) != 0);
        }
        if (matches) {
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
            return 1;
        }
    }
    return 0;
}

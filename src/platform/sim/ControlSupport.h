// What the device's own controls share: their state kept in the window record,
// notifications to the parent, the screen's scale, the journal, and the class
// names of the shell's windows.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/Device.h"
#include "platform/sim/Journal.h"
#include "platform/sim/WindowManager.h"
#include "platform/sim/WindowObject.h"

namespace sim {

// The shell's windows, which programs do not create themselves.
inline constexpr WCHAR kMenuBarClass[] = u"menu_worker";
inline constexpr WCHAR kPopupMenuClass[] = u"#32768";
inline constexpr WCHAR kDropListClass[] = u"ComboLBox";
inline constexpr WCHAR kMessageBoxClass[] = u"MessageBox";
inline constexpr WCHAR kOpenFileClass[] = u"OpenFile";

// A control's state, kept in its window's record and destroyed with it.
template <typename State>
State* StateOf(HWND window) {
    Device* device = Device::Current();
    if (device == nullptr) {
        return nullptr;
    }
    Window* record = device->Windows().Find(window);
    return record != nullptr ? dynamic_cast<State*>(record->state.get()) : nullptr;
}

template <typename State, typename... Args>
State* CreateState(HWND window, Args&&... args) {
    Device* device = Device::Current();
    Window* record = device != nullptr ? device->Windows().Find(window) : nullptr;
    if (record == nullptr) {
        return nullptr;
    }
    auto state = std::make_unique<State>(std::forward<Args>(args)...);
    State* raw = state.get();
    record->state = std::move(state);
    return raw;
}

// WM_COMMAND with the control's id and a notification code, sent to its
// parent (the owner for a top-level control).
void NotifyParent(HWND control, WORD code);
HWND ParentOrOwner(HWND window);

// 1 at 96 pixels per inch, 2 at 192: the factor every size is drawn with.
int ScreenUnit();

// Appends a call of the running program to the journal.
void RecordCall(std::string call, std::vector<JournalValue> args, JournalValue result);

// The host path of a device path on the current device.
std::filesystem::path DeviceHostPath(const std::u16string& devicePath);

} // namespace sim

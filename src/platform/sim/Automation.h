// Driving the device from outside, for tests and the host: a device on a
// temporary directory, user input, finding windows and reading their state,
// screenshots and the journal. Everything here runs on the driver's thread,
// between the device's run calls.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/Canvas.h"
#include "platform/sim/Device.h"
#include "platform/sim/Journal.h"

namespace sim {

// A fresh directory under the system's temporary folder, removed with its
// contents at the end.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
    const std::filesystem::path& Path() const { return path; }

private:
    std::filesystem::path path;
};

// The hardware buttons of the handheld's case, with the key each sends.
enum class HardwareButton { App1, App2, App3, App4, App5, App6, Record, Talk, End, Action };

// Which windows to find; unset fields match anything.
//   automation.FindWindow(WindowQuery().Class(u"Button").Text(u"OK").Visible());
struct WindowQuery {
    std::optional<std::u16string> className;
    std::optional<int> id;
    std::optional<std::u16string> text;
    // Only children of this window (direct or deeper).
    HWND ancestor = nullptr;
    bool visibleOnly = false;

    WindowQuery& Class(std::u16string name) {
        className = std::move(name);
        return *this;
    }
    WindowQuery& Id(int value) {
        id = value;
        return *this;
    }
    WindowQuery& Text(std::u16string value) {
        text = std::move(value);
        return *this;
    }
    WindowQuery& Within(HWND window) {
        ancestor = window;
        return *this;
    }
    WindowQuery& Visible() {
        visibleOnly = true;
        return *this;
    }
};

struct WindowInfo {
    HWND handle = nullptr;
    std::u16string className;
    std::u16string text;
    // Screen coordinates.
    RECT rect;
    RECT clientRect;
    DWORD style = 0;
    DWORD exStyle = 0;
    int id = 0;
    HWND parent = nullptr;
    HWND owner = nullptr;
    // Visible with all its ancestors.
    bool visible = false;
    bool enabled = false;
    DWORD pid = 0;
};

class Automation {
public:
    explicit Automation(Device& device) : device(device) {}

    // Input, queued after any input already queued (from the current device
    // time on). Points are in screen coordinates. A tap is a press and a
    // release at once; a hold keeps the stylus down for duration ms, a drag
    // moves it in steps over duration ms, so the clock must be advanced for
    // them to finish.
    void Tap(POINT point);
    void Hold(POINT point, DeviceTime duration = 1000);
    void Drag(POINT from, POINT to, DeviceTime duration = 300, int steps = 10);
    void StylusDown(POINT point, DeviceTime after = 0);
    void StylusMove(POINT point, DeviceTime after = 0);
    void StylusUp(POINT point, DeviceTime after = 0);
    // A tap on the middle of a window (or a point in its client area).
    bool TapWindow(HWND window);
    bool TapClient(HWND window, POINT clientPoint);
    void PressButton(HardwareButton button);
    void ButtonDown(HardwareButton button);
    void ButtonUp(HardwareButton button);
    // A key pressed and released, with the modifier keys (MOD_SHIFT,
    // MOD_CONTROL, MOD_ALT) held around it.
    void PressKey(BYTE key, UINT modifiers = 0);
    void KeyDown(BYTE key, UINT modifiers = 0);
    void KeyUp(BYTE key);
    // Text from the input panel: one WM_CHAR a character.
    void TypeText(std::u16string_view text);

    // Windows, front to back.
    std::vector<HWND> FindWindows(const WindowQuery& query) const;
    // The first match, or null.
    HWND FindWindow(const WindowQuery& query) const;
    std::optional<WindowInfo> Describe(HWND window) const;
    // The window's text as its program gives it (WM_GETTEXT on its thread),
    // or the text the device keeps when the program cannot answer now.
    std::u16string TextOf(HWND window);
    HWND Foreground() const;
    HWND Focus() const;

    std::unique_ptr<Canvas> Screenshot() const;
    bool SaveScreenshot(const std::filesystem::path& path) const;

    std::vector<JournalEntry> Journal(std::string_view call = {}) const;
    // The window tree, the journal and the device's problems, for failure
    // messages.
    std::string Report() const;

private:
    DeviceTime NextInputTime() const;
    void QueueStylus(int kind, POINT point, DeviceTime after);

    Device& device;
    DeviceTime lastQueued = 0;
};

} // namespace sim

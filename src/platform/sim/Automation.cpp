#include "platform/sim/Automation.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <random>

#include "platform/Input.h"
#include "platform/Messages.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/InputRouter.h"
#include "platform/sim/Messaging.h"
#include "platform/sim/Screen.h"
#include "platform/sim/WindowManager.h"

namespace sim {
namespace {

struct ButtonKey {
    HardwareButton button;
    BYTE key;
    UINT modifiers;
};

// The buttons of the case come with the Windows key held, as on the handheld;
// the Action key (pressing the navigation pad) comes alone.
constexpr ButtonKey kButtons[] = {
    {HardwareButton::App1, VK_APP1, MOD_WIN},  {HardwareButton::App2, VK_APP2, MOD_WIN},
    {HardwareButton::App3, VK_APP3, MOD_WIN},  {HardwareButton::App4, VK_APP4, MOD_WIN},
    {HardwareButton::App5, VK_APP5, MOD_WIN},  {HardwareButton::App6, VK_APP6, MOD_WIN},
    {HardwareButton::Record, VK_F10, MOD_WIN}, {HardwareButton::Talk, VK_F3, MOD_WIN},
    {HardwareButton::End, VK_F4, MOD_WIN},     {HardwareButton::Action, VK_F23, 0},
};

const ButtonKey& KeyOf(HardwareButton button) {
    for (const ButtonKey& entry : kButtons) {
        if (entry.button == button) {
            return entry;
        }
    }
    return kButtons[0];
}

constexpr struct {
    UINT modifier;
    BYTE key;
} kModifierKeys[] = {{MOD_SHIFT, VK_SHIFT}, {MOD_CONTROL, VK_CONTROL}, {MOD_ALT, VK_MENU}};

std::string Hex(std::uintptr_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%#llx", static_cast<unsigned long long>(value));
    return buffer;
}

} // namespace

// ---- The temporary directory ----

TemporaryDirectory::TemporaryDirectory() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = base / ("vantrel-device-" + std::to_string(::getpid()) + "-" +
                                       std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary device directory");
}

TemporaryDirectory::~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

// ---- Input ----

DeviceTime Automation::NextInputTime() const {
    return std::max(device.Now(), lastQueued);
}

void Automation::QueueStylus(int kind, POINT point, DeviceTime after) {
    InputEvent event;
    event.time = NextInputTime() + after;
    event.kind = static_cast<InputKind>(kind);
    event.point = point;
    lastQueued = event.time;
    device.Input().Queue(event);
}

void Automation::StylusDown(POINT point, DeviceTime after) {
    QueueStylus(static_cast<int>(InputKind::StylusDown), point, after);
}

void Automation::StylusMove(POINT point, DeviceTime after) {
    QueueStylus(static_cast<int>(InputKind::StylusMove), point, after);
}

void Automation::StylusUp(POINT point, DeviceTime after) {
    QueueStylus(static_cast<int>(InputKind::StylusUp), point, after);
}

void Automation::Tap(POINT point) {
    StylusDown(point);
    StylusUp(point);
}

void Automation::Hold(POINT point, DeviceTime duration) {
    StylusDown(point);
    StylusUp(point, duration);
}

void Automation::Drag(POINT from, POINT to, DeviceTime duration, int steps) {
    steps = std::max(steps, 1);
    StylusDown(from);
    const DeviceTime step = duration / static_cast<DeviceTime>(steps);
    for (int i = 1; i <= steps; ++i) {
        const POINT at{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        StylusMove(at, step);
    }
    StylusUp(to);
}

bool Automation::TapWindow(HWND window) {
    const auto info = Describe(window);
    if (!info) {
        return false;
    }
    Tap(POINT{(info->rect.left + info->rect.right) / 2, (info->rect.top + info->rect.bottom) / 2});
    return true;
}

bool Automation::TapClient(HWND window, POINT clientPoint) {
    const auto info = Describe(window);
    if (!info) {
        return false;
    }
    Tap(POINT{info->clientRect.left + clientPoint.x, info->clientRect.top + clientPoint.y});
    return true;
}

void Automation::KeyDown(BYTE key, UINT modifiers) {
    InputEvent event;
    event.time = NextInputTime();
    for (const auto& modifier : kModifierKeys) {
        if ((modifiers & modifier.modifier) != 0) {
            event.kind = InputKind::KeyDown;
            event.key = modifier.key;
            device.Input().Queue(event);
        }
    }
    event.kind = InputKind::KeyDown;
    event.key = key;
    event.modifiers = modifiers & MOD_WIN;
    device.Input().Queue(event);
    lastQueued = event.time;
}

void Automation::KeyUp(BYTE key) {
    InputEvent event;
    event.time = NextInputTime();
    event.kind = InputKind::KeyUp;
    event.key = key;
    device.Input().Queue(event);
    lastQueued = event.time;
}

void Automation::PressKey(BYTE key, UINT modifiers) {
    KeyDown(key, modifiers);
    KeyUp(key);
    for (const auto& modifier : kModifierKeys) {
        if ((modifiers & modifier.modifier) != 0) {
            KeyUp(modifier.key);
        }
    }
}

void Automation::ButtonDown(HardwareButton button) {
    const ButtonKey& entry = KeyOf(button);
    InputEvent event;
    event.time = NextInputTime();
    event.kind = InputKind::KeyDown;
    event.key = entry.key;
    event.modifiers = entry.modifiers;
    device.Input().Queue(event);
    lastQueued = event.time;
}

void Automation::ButtonUp(HardwareButton button) {
    KeyUp(KeyOf(button).key);
}

void Automation::PressButton(HardwareButton button) {
    ButtonDown(button);
    ButtonUp(button);
}

void Automation::TypeText(std::u16string_view typed) {
    InputEvent event;
    event.time = NextInputTime();
    event.kind = InputKind::Character;
    for (const char16_t character : typed) {
        event.character = character;
        device.Input().Queue(event);
    }
    lastQueued = event.time;
}

// ---- Windows ----

std::vector<HWND> Automation::FindWindows(const WindowQuery& query) const {
    std::vector<HWND> found;
    WindowManager& windows = device.Windows();
    for (const Window* window : windows.AllWindows()) {
        if (!window->IsAlive()) {
            continue;
        }
        if (query.className &&
            !text::EqualsIgnoringCase(window->windowClass->name, *query.className)) {
            continue;
        }
        if (query.id && (window->parent == nullptr || static_cast<int>(window->id) != *query.id)) {
            continue;
        }
        if (query.text && window->text != *query.text) {
            continue;
        }
        if (query.visibleOnly && !windows.IsShown(*window)) {
            continue;
        }
        if (query.ancestor != nullptr) {
            const Window* ancestor = windows.Find(query.ancestor);
            if (ancestor == nullptr || ancestor == window ||
                !windows.IsDescendant(*ancestor, *window)) {
                continue;
            }
        }
        found.push_back(window->handle);
    }
    return found;
}

HWND Automation::FindWindow(const WindowQuery& query) const {
    const auto found = FindWindows(query);
    return found.empty() ? nullptr : found.front();
}

std::optional<WindowInfo> Automation::Describe(HWND handle) const {
    WindowManager& windows = device.Windows();
    const Window* window = windows.Find(handle);
    if (window == nullptr || window->life == WindowLife::Gone) {
        return std::nullopt;
    }
    WindowInfo info;
    info.handle = window->handle;
    info.className = window->windowClass->name;
    info.text = window->text;
    info.rect = windows.ScreenRect(*window);
    info.clientRect = windows.ScreenClientRect(*window);
    info.style = window->style;
    info.exStyle = window->exStyle;
    info.id = window->parent != nullptr ? static_cast<int>(window->id) : 0;
    info.parent = window->parent != nullptr ? window->parent->handle : nullptr;
    info.owner = window->owner != nullptr ? window->owner->handle : nullptr;
    info.visible = windows.IsShown(*window);
    info.enabled = (window->style & WS_DISABLED) == 0;
    info.pid = window->program != nullptr ? window->program->Pid() : 0;
    return info;
}

std::u16string Automation::TextOf(HWND handle) {
    Window* window = device.Windows().FindAlive(handle);
    if (window == nullptr) {
        return u"";
    }
    std::u16string answer;
    bool answered = false;
    if (window->program != nullptr) {
        answered = device.RunOnProgram(*window->program, [handle, &answer] {
            WCHAR buffer[1024] = {};
            const int length = static_cast<int>(
                SendMessageW(handle, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer)));
            answer.assign(buffer, static_cast<std::size_t>(std::clamp(length, 0, 1023)));
        });
    }
    if (!answered) {
        if (const Window* still = device.Windows().Find(handle)) {
            return still->text;
        }
    }
    return answer;
}

HWND Automation::Foreground() const {
    const Window* active = device.Windows().Active();
    return active != nullptr ? active->handle : nullptr;
}

HWND Automation::Focus() const {
    const Window* focus = device.Windows().Focus();
    return focus != nullptr ? focus->handle : nullptr;
}

// ---- Screen and journal ----

std::unique_ptr<Canvas> Automation::Screenshot() const {
    return device.GetScreen().Compose();
}

bool Automation::SaveScreenshot(const std::filesystem::path& path) const {
    return device.GetScreen().SavePng(path);
}

std::vector<JournalEntry> Automation::Journal(std::string_view call) const {
    return call.empty() ? device.GetJournal().Entries() : device.GetJournal().Calls(call);
}

std::string Automation::Report() const {
    std::string report = "windows (front to back):\n";
    WindowManager& windows = device.Windows();
    for (const Window* window : windows.AllWindows()) {
        int depth = 0;
        for (const Window* w = window->parent; w != nullptr; w = w->parent) {
            ++depth;
        }
        const RECT rect = windows.ScreenRect(*window);
        report += std::string(2 + 2 * depth, ' ') +
                  Hex(reinterpret_cast<std::uintptr_t>(window->handle)) + " " +
                  text::ToUtf8(window->windowClass->name) + " \"" + text::ToUtf8(window->text) +
                  "\" id=" + std::to_string(window->id) + " (" + std::to_string(rect.left) + "," +
                  std::to_string(rect.top) + ")-(" + std::to_string(rect.right) + "," +
                  std::to_string(rect.bottom) + ") style=" + Hex(window->style) +
                  (windows.IsShown(*window) ? " visible" : " hidden") + "\n";
    }
    report += "journal:\n" + device.GetJournal().JsonLines();
    for (const std::string& problem : device.Problems()) {
        report += "problem: " + problem + "\n";
    }
    return report;
}

} // namespace sim

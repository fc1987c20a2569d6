#include "platform/sim/InputRouter.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Geometry.h"
#include "platform/Messages.h"
#include "platform/Program.h"
#include "platform/Window.h"
#include "platform/sim/Device.h"
#include "platform/sim/HandleAllocator.h"
#include "platform/sim/Messaging.h"
#include "platform/sim/ProgramThread.h"
#include "platform/sim/Screen.h"
#include "platform/sim/SystemServices.h"
#include "platform/sim/WindowManager.h"

namespace sim {
namespace {

// Two taps on one window closer than this (device time, and pixels at 96 ppi)
// make a double tap.
constexpr DeviceTime kDoubleTapTime = 500;
constexpr int kDoubleTapDistance = 4;

// The lParam of a key message: repeat count 1; a release also has the previous
// state and transition bits.
constexpr LPARAM kKeyDownBits = 0x00000001;
constexpr LPARAM kKeyUpBits = static_cast<LPARAM>(0xC0000001u);

UINT Bare(UINT modifiers) {
    return modifiers & ~MOD_KEYUP;
}

} // namespace

InputRouter::InputRouter(Device& device) : device(device) {}

void InputRouter::Queue(InputEvent event) {
    const auto position = std::upper_bound(
        events.begin(), events.end(), event.time,
        [](DeviceTime time, const InputEvent& queued) { return time < queued.time; });
    events.insert(position, event);
}

std::optional<DeviceTime> InputRouter::NextTime() const {
    if (events.empty()) {
        return std::nullopt;
    }
    return events.front().time;
}

bool InputRouter::RouteNext(DeviceTime now) {
    if (events.empty() || events.front().time > now) {
        return false;
    }
    const InputEvent event = events.front();
    events.pop_front();
    // Whatever the user does counts as activity for the power manager.
    device.Services().Power().UserActivity();
    switch (event.kind) {
    case InputKind::StylusDown:
    case InputKind::StylusMove:
    case InputKind::StylusUp:
        RouteStylus(event);
        break;
    case InputKind::KeyDown:
        RouteKeyDown(event);
        break;
    case InputKind::KeyUp:
        RouteKeyUp(event);
        break;
    case InputKind::Character:
        RouteCharacter(event);
        break;
    }
    return true;
}

// ---- The stylus ----

bool InputRouter::RouteCaptionOk(const InputEvent& event) {
    if (event.kind == InputKind::StylusDown && device.Windows().Capture() == nullptr) {
        const std::optional<RECT> ok = device.GetScreen().CaptionOkButton();
        captionOkDown = ok && PtInRect(&*ok, event.point) != FALSE;
        return captionOkDown;
    }
    if (!captionOkDown) {
        return false;
    }
    if (event.kind == InputKind::StylusUp) {
        captionOkDown = false;
        const std::optional<RECT> ok = device.GetScreen().CaptionOkButton();
        Window* foreground = device.Windows().Active();
        if (ok && PtInRect(&*ok, event.point) != FALSE && foreground != nullptr) {
            PostToWindow(*foreground, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0, false);
        }
    }
    return true;
}

void InputRouter::RouteStylus(const InputEvent& event) {
    WindowManager& windows = device.Windows();
    stylus = event.point;
    UINT message = WM_MOUSEMOVE;
    if (event.kind == InputKind::StylusDown) {
        stylusDown = true;
        message = WM_LBUTTONDOWN;
    } else if (event.kind == InputKind::StylusUp) {
        stylusDown = false;
        message = WM_LBUTTONUP;
    }
    if (RouteCaptionOk(event)) {
        return;
    }
    Window* target = windows.Capture();
    const bool captured = target != nullptr;
    if (target == nullptr) {
        target = windows.WindowAt(event.point);
        // A tap on a window disabled by a modal dialog goes nowhere.
        if (target != nullptr && (windows.TopLevelOf(*target).style & WS_DISABLED) != 0) {
            target = nullptr;
        }
    }
    if (target == nullptr) {
        return;
    }
    if (message == WM_LBUTTONDOWN) {
        const bool nearLast =
            std::abs(event.point.x - lastDownPoint.x) <= device.Scale(kDoubleTapDistance) &&
            std::abs(event.point.y - lastDownPoint.y) <= device.Scale(kDoubleTapDistance);
        if (!lastDownWasDouble && target->handle == lastDownWindow &&
            event.time - lastDownTime <= kDoubleTapTime && nearLast &&
            (target->windowClass->style & CS_DBLCLKS) != 0) {
            message = WM_LBUTTONDBLCLK;
            lastDownWasDouble = true;
        } else {
            lastDownWasDouble = false;
        }
        lastDownWindow = target->handle;
        lastDownTime = event.time;
        lastDownPoint = event.point;
    }
    const POINT origin = windows.ClientOrigin(*target);
    const int x = event.point.x - origin.x;
    const int y = event.point.y - origin.y;
    const WPARAM keys = (stylusDown ? MK_LBUTTON : 0) |
                        ((HeldModifiers() & MOD_SHIFT) != 0 ? MK_SHIFT : 0) |
                        ((HeldModifiers() & MOD_CONTROL) != 0 ? MK_CONTROL : 0);
    PostToWindow(*target, message, keys, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)),
                 message != WM_MOUSEMOVE && message != WM_LBUTTONUP && !captured);
}

// ---- Keys ----

SHORT InputRouter::KeyState(int key) const {
    if (key < 0 || key > 255) {
        return 0;
    }
    return keysDown[static_cast<std::size_t>(key)] ? static_cast<SHORT>(0x8000) : 0;
}

UINT InputRouter::HeldModifiers() const {
    UINT modifiers = 0;
    if (keysDown[VK_SHIFT] || keysDown[VK_LSHIFT] || keysDown[VK_RSHIFT]) {
        modifiers |= MOD_SHIFT;
    }
    if (keysDown[VK_CONTROL] || keysDown[VK_LCONTROL] || keysDown[VK_RCONTROL]) {
        modifiers |= MOD_CONTROL;
    }
    if (keysDown[VK_MENU] || keysDown[VK_LMENU] || keysDown[VK_RMENU]) {
        modifiers |= MOD_ALT;
    }
    if (keysDown[VK_LWIN] || keysDown[VK_RWIN]) {
        modifiers |= MOD_WIN;
    }
    return modifiers;
}

Window* InputRouter::KeyTarget() const {
    WindowManager& windows = device.Windows();
    if (Window* focus = windows.Focus(); focus != nullptr && focus->IsAlive()) {
        return focus;
    }
    Window* active = windows.Active();
    return active != nullptr && active->IsAlive() ? active : nullptr;
}

void InputRouter::RouteKeyDown(const InputEvent& event) {
    keysDown[event.key] = true;
    const UINT modifiers = event.modifiers | HeldModifiers();
    for (const HotKey& hotKey : hotKeys) {
        if (hotKey.key == event.key && Bare(hotKey.modifiers) == modifiers) {
            held[event.key] = Held{true, hotKey, nullptr};
            const LPARAM lParam =
                MAKELPARAM(static_cast<WORD>(Bare(hotKey.modifiers)), static_cast<WORD>(event.key));
            if (Window* window = device.Windows().FindAlive(hotKey.window)) {
                PostToWindow(*window, WM_HOTKEY, static_cast<WPARAM>(hotKey.id), lParam);
            } else if (hotKey.program != nullptr && !hotKey.program->Finished()) {
                QueuedMessage queued;
                queued.msg.message = WM_HOTKEY;
                queued.msg.wParam = static_cast<WPARAM>(hotKey.id);
                queued.msg.lParam = lParam;
                queued.msg.time = static_cast<DWORD>(device.Now());
                hotKey.program->posted.push_back(queued);
            }
            return;
        }
    }
    Window* target = nullptr;
    if (const HWND associated = AppKeyWindow(event.key)) {
        target = device.Windows().FindAlive(associated);
        if (target != nullptr) {
            // The button brings its window to the front.
            const HWND handle = target->handle;
            target->program->incomingCalls.push_back([handle] {
                WindowManager& windows = Device::Current()->Windows();
                if (Window* window = windows.FindAlive(handle)) {
                    windows.Activate(window, WA_ACTIVE);
                }
            });
        }
    }
    if (target == nullptr) {
        target = KeyTarget();
    }
    if (target == nullptr) {
        return;
    }
    held[event.key] = Held{false, HotKey{}, target->handle};
    PostToWindow(*target, WM_KEYDOWN, event.key, kKeyDownBits);
}

void InputRouter::RouteKeyUp(const InputEvent& event) {
    keysDown[event.key] = false;
    const auto found = held.find(event.key);
    if (found != held.end()) {
        const Held release = found->second;
        held.erase(found);
        if (release.hotKey) {
            const HotKey& registration = release.registration;
            const bool stillRegistered =
                std::any_of(hotKeys.begin(), hotKeys.end(), [&](const HotKey& hotKey) {
                    return hotKey.window == registration.window && hotKey.id == registration.id &&
                           hotKey.program == registration.program;
                });
            if (stillRegistered && (registration.modifiers & MOD_KEYUP) != 0) {
                const LPARAM lParam = MAKELPARAM(static_cast<WORD>(registration.modifiers),
                                                 static_cast<WORD>(event.key));
                if (Window* window = device.Windows().FindAlive(registration.window)) {
                    PostToWindow(*window, WM_HOTKEY, static_cast<WPARAM>(registration.id), lParam);
                } else if (registration.program != nullptr && !registration.program->Finished()) {
                    QueuedMessage queued;
                    queued.msg.message = WM_HOTKEY;
                    queued.msg.wParam = static_cast<WPARAM>(registration.id);
                    queued.msg.lParam = lParam;
                    queued.msg.time = static_cast<DWORD>(device.Now());
                    registration.program->posted.push_back(queued);
                }
            }
            return;
        }
        if (Window* window = device.Windows().FindAlive(release.window)) {
            PostToWindow(*window, WM_KEYUP, event.key, kKeyUpBits);
            return;
        }
    }
    if (Window* target = KeyTarget()) {
        PostToWindow(*target, WM_KEYUP, event.key, kKeyUpBits);
    }
}

void InputRouter::RouteCharacter(const InputEvent& event) {
    if (Window* target = KeyTarget()) {
        PostToWindow(*target, WM_CHAR, event.character, kKeyDownBits);
    }
}

// ---- Hot keys and buttons ----

bool InputRouter::RegisterHotKey(Window* window, Program& program, int id, UINT modifiers, UINT key,
                                 DWORD& error) {
    const HWND handle = window != nullptr ? window->handle : nullptr;
    for (const HotKey& hotKey : hotKeys) {
        const bool sameRegistration = hotKey.window == handle && hotKey.id == id &&
                                      (handle != nullptr || hotKey.program == &program);
        const bool sameKeys = hotKey.key == key && Bare(hotKey.modifiers) == Bare(modifiers);
        if (sameRegistration || sameKeys) {
            error = ERROR_HOTKEY_ALREADY_REGISTERED;
            return false;
        }
    }
    hotKeys.push_back(HotKey{handle, handle == nullptr ? &program : nullptr, id, modifiers, key});
    return true;
}

bool InputRouter::UnregisterHotKey(HWND window, Program& program, int id, DWORD& error) {
    const auto found = std::find_if(hotKeys.begin(), hotKeys.end(), [&](const HotKey& hotKey) {
        return hotKey.window == window && hotKey.id == id &&
               (window != nullptr || hotKey.program == &program);
    });
    if (found == hotKeys.end()) {
        error = ERROR_HOTKEY_NOT_REGISTERED;
        return false;
    }
    hotKeys.erase(found);
    return true;
}

void InputRouter::SetAppKeyWindow(BYTE key, HWND window) {
    if (window == nullptr) {
        appKeys.erase(key);
    } else {
        appKeys[key] = window;
    }
}

HWND InputRouter::AppKeyWindow(BYTE key) const {
    const auto found = appKeys.find(key);
    return found != appKeys.end() ? found->second : nullptr;
}

void InputRouter::ForgetWindow(const Window& window) {
    const HWND handle = window.handle;
    std::erase_if(hotKeys, [handle](const HotKey& hotKey) { return hotKey.window == handle; });
    std::erase_if(appKeys, [handle](const auto& entry) { return entry.second == handle; });
    std::erase_if(held, [handle](const auto& entry) {
        return entry.second.window == handle || entry.second.registration.window == handle;
    });
    if (lastDownWindow == handle) {
        lastDownWindow = nullptr;
    }
}

void InputRouter::ForgetProgram(const Program& program) {
    std::erase_if(hotKeys, [&](const HotKey& hotKey) { return hotKey.program == &program; });
}

// ---- Accelerators ----

HACCEL InputRouter::CreateAccelerators(std::vector<ACCEL> entries) {
    const std::uintptr_t key = device.Handles().NextObject();
    accelerators.emplace(key, std::move(entries));
    return reinterpret_cast<HACCEL>(key);
}

const std::vector<ACCEL>* InputRouter::FindAccelerators(HACCEL table) const {
    const auto found = accelerators.find(reinterpret_cast<std::uintptr_t>(table));
    return found != accelerators.end() ? &found->second : nullptr;
}

bool InputRouter::DestroyAccelerators(HACCEL table) {
    return accelerators.erase(reinterpret_cast<std::uintptr_t>(table)) != 0;
}

} // namespace sim

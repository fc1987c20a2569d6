// The device's input: a queue of user actions (stylus, keys, typed text) in
// device time, routed one at a time, whenever every program has settled, to
// the message queue of the window that should get it: the window under the
// stylus (or the capture), the window holding a key as a hot key or an
// application button, or else the focus window. Also the device's hot keys,
// application-button associations, key state and accelerator tables.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/Input.h"
#include "platform/WinTypes.h"
#include "platform/sim/Clock.h"

namespace sim {

class Device;
class Program;
struct Window;

enum class InputKind { StylusDown, StylusMove, StylusUp, KeyDown, KeyUp, Character };

struct InputEvent {
    DeviceTime time = 0;
    InputKind kind = InputKind::StylusDown;
    // Screen coordinates, for the stylus.
    POINT point;
    BYTE key = 0;
    // Modifiers that come with the key beyond the keys held (hardware buttons
    // come with MOD_WIN).
    UINT modifiers = 0;
    char16_t character = 0;
};

struct HotKey {
    HWND window = nullptr;
    // The program of a hot key registered without a window.
    Program* program = nullptr;
    int id = 0;
    UINT modifiers = 0;
    UINT key = 0;
};

class InputRouter {
public:
    explicit InputRouter(Device& device);

    // Queues an event; events stay in time order (equal times in queue order).
    void Queue(InputEvent event);
    // Routes the first event that is due; false when none is.
    bool RouteNext(DeviceTime now);
    std::optional<DeviceTime> NextTime() const;
    bool Pending() const { return !events.empty(); }

    POINT StylusPosition() const { return stylus; }
    bool StylusIsDown() const { return stylusDown; }
    SHORT KeyState(int key) const;
    // MOD_* bits of the keys held now.
    UINT HeldModifiers() const;

    // Hot keys, system-wide: a key with its modifiers (MOD_KEYUP aside) belongs
    // to one registration at a time.
    bool RegisterHotKey(Window* window, Program& program, int id, UINT modifiers, UINT key,
                        DWORD& error);
    bool UnregisterHotKey(HWND window, Program& program, int id, DWORD& error);
    const std::vector<HotKey>& HotKeys() const { return hotKeys; }
    // Application buttons given to windows (SHSetAppKeyWndAssoc).
    void SetAppKeyWindow(BYTE key, HWND window);
    HWND AppKeyWindow(BYTE key) const;
    // A window going away drops its hot keys, buttons and held keys.
    void ForgetWindow(const Window& window);
    void ForgetProgram(const Program& program);

    // Accelerator tables.
    HACCEL CreateAccelerators(std::vector<ACCEL> entries);
    const std::vector<ACCEL>* FindAccelerators(HACCEL table) const;
    bool DestroyAccelerators(HACCEL table);

private:
    void RouteStylus(const InputEvent& event);
    // The task bar's OK button takes the stylus pressed on it; true when it
    // took the event.
    bool RouteCaptionOk(const InputEvent& event);
    void RouteKeyDown(const InputEvent& event);
    void RouteKeyUp(const InputEvent& event);
    void RouteCharacter(const InputEvent& event);
    Window* KeyTarget() const;

    Device& device;
    std::deque<InputEvent> events;
    POINT stylus;
    bool stylusDown = false;
    std::array<bool, 256> keysDown{};
    // The last stylus press, for double taps.
    HWND lastDownWindow = nullptr;
    DeviceTime lastDownTime = 0;
    POINT lastDownPoint;
    bool lastDownWasDouble = false;
    // The stylus went down on the task bar's OK button.
    bool captionOkDown = false;

    std::vector<HotKey> hotKeys;
    // Keys now down and where their release goes: a hot key (its id) or a
    // window.
    struct Held {
        bool hotKey = false;
        HotKey registration;
        HWND window = nullptr;
    };
    std::map<BYTE, Held> held;
    std::map<BYTE, HWND> appKeys;
    std::unordered_map<std::uintptr_t, std::vector<ACCEL>> accelerators;
};

} // namespace sim

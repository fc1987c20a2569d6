// The windows of the device: classes, the handle table, creation and
// destruction, the window tree and z-order, position and visibility,
// activation, focus and capture, and the bookkeeping of what needs painting.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/Window.h"
#include "platform/sim/WindowObject.h"

namespace sim {

class Device;
class Program;

struct CreateRequest {
    DWORD exStyle = 0;
    LPCWSTR className = nullptr;
    LPCWSTR windowName = nullptr;
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
    HMENU menuOrId = nullptr;
    HINSTANCE instance = nullptr;
    LPVOID param = nullptr;
};

class WindowManager {
public:
    explicit WindowManager(Device& device);
    ~WindowManager();

    // Classes. System classes (owner null) are the device's own and found by
    // every program; a program's classes come first for that program.
    ATOM RegisterClass(const WNDCLASSW& wndClass, Program* owner, DWORD& error);
    bool UnregisterClass(LPCWSTR name, Program* owner, DWORD& error);
    std::shared_ptr<WindowClass> FindClass(LPCWSTR nameOrAtom, const Program* program) const;

    // Live windows (being created, alive or being destroyed); null for anything
    // else. The low bit of a handle is ignored.
    Window* Find(HWND handle) const;
    // Only windows that are neither being destroyed nor gone.
    Window* FindAlive(HWND handle) const;
    const std::vector<Window*>& TopLevel() const { return topLevel; }
    // Every live window, top-level windows front to back, each followed by its
    // children.
    std::vector<Window*> AllWindows() const;

    // Creation and destruction on the calling program's thread.
    Window* Create(Program& program, const CreateRequest& request, DWORD& error);
    bool Destroy(Window& window);
    // At a program's end: destroys its remaining windows as DestroyWindow
    // would (with messages), then forgets anything left without messages.
    void DestroyProgramWindows(Program& program, bool sendMessages);
    // Frees the records of destroyed windows once no procedure of the program
    // is running.
    void FreeDestroyed(Program& program);

    // Geometry, in screen coordinates.
    POINT WindowOrigin(const Window& window) const;
    POINT ClientOrigin(const Window& window) const;
    RECT ScreenRect(const Window& window) const;
    RECT ScreenClientRect(const Window& window) const;
    // Visible together with all its ancestors.
    bool IsShown(const Window& window) const;
    Window& TopLevelOf(Window& window) const;
    bool IsDescendant(const Window& ancestor, const Window& window) const;
    // The deepest visible, enabled window under a screen point; a top-level
    // window is returned even when disabled (the caller decides).
    Window* WindowAt(POINT screenPoint) const;
    Window* ChildAt(Window& parent, POINT screenPoint, UINT skipFlags) const;

    // Position, size, z-order and visibility as SetWindowPos does them (with
    // WM_WINDOWPOSCHANGING/CHANGED; DefWindowProc turns the latter into
    // WM_MOVE and WM_SIZE).
    bool SetPosition(Window& window, HWND insertAfter, int x, int y, int width, int height,
                     UINT flags);
    bool Show(Window& window, int command);
    bool Enable(Window& window, bool enable);
    void BringToTop(Window& window);
    // The client rectangle for a window rectangle, as DefWindowProc's
    // WM_NCCALCSIZE computes it (a one-pixel border for WS_BORDER or
    // WS_DLGFRAME; top-level windows with a caption have neither caption nor
    // frame, as on the handheld).
    static RECT DefaultClientRect(const RECT& windowRect, DWORD style, DWORD exStyle);

    // Activation, focus and capture (device-wide; a program sees its own).
    Window* Active() const { return active; }
    Window* Focus() const { return focus; }
    Window* Capture() const { return capture; }
    void Activate(Window* window, WORD how);
    HWND SetFocus(Window* window);
    HWND SetCapture(Window* window);
    // Picks the window to activate when window goes away: its owner, else the
    // frontmost visible, enabled top-level window.
    Window* NextToActivate(const Window& leaving) const;
    // The window a program means when it brings owner forward with the low
    // bit of the handle set: the frontmost visible, enabled window owned by
    // owner's top-level window (directly or through other owned windows)
    // that can be activated, which is the popup last active over it; owner's
    // top-level window when it has none.
    Window& LastActivePopup(Window& owner) const;

    // DeferWindowPos: positions collected under an HDWP, applied together.
    HDWP BeginDeferred();
    bool AddDeferred(HDWP positions, const WINDOWPOS& position);
    std::optional<std::vector<WINDOWPOS>> TakeDeferred(HDWP positions);

    // Painting bookkeeping. Rectangles are in client coordinates; null means
    // the whole client area.
    void Invalidate(Window& window, const RECT* rect, bool erase);
    void Validate(Window& window, const RECT* rect);
    bool NeedsPaint(const Window& window) const;

private:
    void Link(Window& window, Window* parent);
    void Unlink(Window& window);
    void SendDestroy(Window& window);
    void SendNcDestroy(Window& window);
    void Forget(Window& window);
    void RecomputeClient(Window& window, bool ask);
    void ApplyZOrder(Window& window, HWND insertAfter);
    std::vector<Window*>& Siblings(Window& window);

    Device& device;
    std::vector<std::shared_ptr<WindowClass>> classes;
    // Which program registered each class (null for system classes).
    std::unordered_map<const WindowClass*, const Program*> classOwners;
    ATOM nextAtom = 0xC000;

    std::unordered_map<HWND, std::unique_ptr<Window>> table;
    // Destroyed windows whose procedures may still be on a program's stack.
    std::vector<std::unique_ptr<Window>> destroyed;
    // Front to back; topmost windows first.
    std::vector<Window*> topLevel;

    std::unordered_map<std::uintptr_t, std::vector<WINDOWPOS>> deferred;
    Window* active = nullptr;
    Window* focus = nullptr;
    Window* capture = nullptr;
};

} // namespace sim

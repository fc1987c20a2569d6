// The device's record of one window and of one window class. Programs see only
// handles; the device and its own controls work on these records.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ControlHost.h"
#include "platform/WinTypes.h"
#include "platform/Window.h"

namespace sim {

class Program;
class Canvas;
struct DialogInfo;

struct WindowClass {
    std::u16string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    // The module that registered it; null for the device's own classes.
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    int windows = 0;
};

// The state a control keeps with its window ("all of a control's state in one
// object the window owns"). The window destroys it after WM_NCDESTROY.
class WindowState {
public:
    virtual ~WindowState() = default;
};

enum class WindowLife { Creating, Alive, Destroying, Gone };

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<WindowClass> windowClass;
    // The program whose thread created it and runs its messages.
    Program* program = nullptr;
    // A child's parent; null for a top-level window.
    Window* parent = nullptr;
    // A top-level window's owner (dialogs, popups, the menu bar); it stays above
    // its owner and goes with it.
    Window* owner = nullptr;
    // Front to back: the first child is on top.
    std::vector<Window*> children;

    // A child's rectangle in its parent's client coordinates, a top-level
    // window's in screen coordinates.
    RECT rect;
    // The client area, relative to rect's top-left corner.
    RECT client;
    DWORD style = 0;
    DWORD exStyle = 0;
    // A child's id (the hMenu argument of CreateWindowExW).
    UINT_PTR id = 0;
    std::u16string text;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    // The class's window extra bytes, one slot for each 4 bytes.
    std::vector<LONG_PTR> extra;

    // What needs painting, in client coordinates; empty when nothing does.
    RECT update;
    bool eraseNeeded = false;
    bool frameNeeded = false;
    // Cleared by WM_SETREDRAW FALSE.
    bool redraw = true;
    // The window's pixels, created on first paint.
    std::shared_ptr<Canvas> canvas;

    WindowLife life = WindowLife::Creating;
    std::unique_ptr<HostedControl> hostedControl;
    std::unique_ptr<DialogInfo> dialog;
    std::unique_ptr<WindowState> state;

    Window();
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    bool IsChild() const { return (style & WS_CHILD) != 0; }
    bool IsAlive() const { return life == WindowLife::Creating || life == WindowLife::Alive; }
    int ClientWidth() const { return client.right - client.left; }
    int ClientHeight() const { return client.bottom - client.top; }
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
};

} // namespace sim

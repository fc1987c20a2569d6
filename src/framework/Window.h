// The window class of the framework: an object attached to a device window,
// whose message table sees the window's messages first. A window object is
// attached in one of three ways:
//  - Create with a class of the program's own (registered here from the traits
//    the preparation hook chose); default processing is DefWindowProcW;
//  - Create on a device class (a slider, a static text): the framework
//    registers a superclass, so the table sees even WM_CREATE, and default
//    processing is the device class's procedure;
//  - Subclass an existing window (a hosted control): the table sees what comes
//    after, and default processing is the procedure it replaced.
//
// The framework maps a window to its object through the window's user data
// (GWL_USERDATA), which it therefore reserves on every window it attaches to.
#pragma once

#include <string>

#include "framework/MessageTable.h"
#include "platform/Messages.h"
#include "platform/Painting.h"
#include "platform/Window.h"

namespace framework {

// The class traits a window is created with, when it is of the program's own
// class. Windows with the same traits share one registered class.
struct WindowClassTraits {
    UINT style = 0;
    HCURSOR cursor = nullptr;
    // A brush, or a system colour index plus one.
    HBRUSH background = nullptr;
    HICON icon = nullptr;
};

// Everything a window is created with. The preparation hook (PreCreateWindow)
// may change any of it before the window is made.
struct CreateParams {
    DWORD exStyle = 0;
    DWORD style = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;
    // A child's id.
    UINT id = 0;
    std::u16string title;
    // A device class to build on ("msctls_trackbar32"); empty for a class of the
    // program's own with the traits below.
    std::u16string baseClass;
    WindowClassTraits traits;

    void SetRect(const RECT& rect) {
        x = rect.left;
        y = rect.top;
        width = rect.right - rect.left;
        height = rect.bottom - rect.top;
    }
};

class Window : public CommandTarget {
public:
    Window() = default;
    // Destroys a window the object is still attached to; its last messages go
    // straight to default processing, since the object is half gone by then.
    ~Window() override;

    HWND Handle() const { return handle; }
    // The object attached to a window of the calling program, or null.
    static Window* FromHandle(HWND window);

    // Creates the window: the preparation hook first (false stops here), then
    // the class, then CreateWindowExW. False when the window was not made.
    bool Create(CreateParams params);
    bool Create(const std::u16string& title, DWORD style, const RECT& rect, HWND parent, UINT id);
    // Attaches to an existing window of the calling program: this object's
    // table sees its messages before its own procedure does.
    bool Subclass(HWND window);
    // Gives the window back its own procedure and forgets it.
    HWND Detach();
    bool DestroyWindow();

    // Command routing: offers a WM_COMMAND to this object's table. Frames
    // widen the walk (view, frame, application); true when something took it.
    virtual bool RouteCommand(const Message& command);
    // A queued message on its way to this window or a child of it, before it
    // is translated and dispatched; true when it is used up (accelerators).
    virtual bool PreTranslateMessage(MSG& message);

    // The window, by the device's calls (each does nothing without a window).
    BOOL ShowWindow(int command) const;
    BOOL UpdateWindow() const;
    BOOL MoveWindow(int x, int y, int width, int height, bool repaint = true) const;
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(bool enable) const;
    HWND SetFocus() const;
    RECT GetClientRect() const;
    BOOL Invalidate(bool erase = true) const;
    BOOL SetWindowText(const std::u16string& text) const;
    std::u16string GetWindowText() const;
    HWND GetDlgItem(int id) const;
    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds) const;
    BOOL KillTimer(UINT_PTR id) const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

protected:
    // The window-creation preparation hook. The default keeps what it is given
    // and makes sure a child has the child style.
    virtual bool PreCreateWindow(CreateParams& params);
    // The window procedure: WM_COMMAND goes through RouteCommand, everything
    // else through the message table; what nothing takes goes to Default().
    virtual LRESULT WindowProc(const Message& message);
    // Default processing of the message being handled: the class's procedure,
    // or the one a subclass replaced. 0 outside a message.
    LRESULT Default();
    // After the window's last message (WM_NCDESTROY), once no handler of this
    // object is running any more. Objects that own themselves end here.
    virtual void PostNcDestroy() {}

private:
    static LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window, WNDPROC defaultProcedure);
    LRESULT Deliver(const Message& message);

    friend class Dialog;

    HWND handle = nullptr;
    WNDPROC defaultProcedure = nullptr;
    // The message being handled, for Default(); saved and restored around
    // nested messages.
    Message current;
    int handlerDepth = 0;
    bool releasePending = false;
};

// A paint cycle of a window: BeginPaint on construction, EndPaint on
// destruction.
class PaintScope {
public:
    explicit PaintScope(const Window& window);
    ~PaintScope();
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC Dc() const { return paint.hdc; }
    const RECT& Area() const { return paint.rcPaint; }

private:
    HWND window;
    PAINTSTRUCT paint;
};

} // namespace framework

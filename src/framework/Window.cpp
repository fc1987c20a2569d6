#include "framework/Window.h"

#include <vector>

#include "framework/WindowClasses.h"
#include "platform/Program.h"

namespace framework {

Window::~Window() {
    if (handle == nullptr) {
        return;
    }
    // Whatever the window still says goes to its own procedure: the derived
    // parts of this object are already gone.
    const HWND window = Detach();
    if (IsWindow(window)) {
        ::DestroyWindow(window);
    }
}

Window* Window::FromHandle(HWND window) {
    if (window == nullptr || IsWindow(window) == FALSE) {
        return nullptr;
    }
    // Other programs' windows may run the same framework code; their objects
    // are not ours to touch.
    if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) {
        return nullptr;
    }
    if (reinterpret_cast<WNDPROC>(GetWindowLongW(window, GWL_WNDPROC)) != &Window::Procedure) {
        return nullptr;
    }
    return reinterpret_cast<Window*>(GetWindowLongW(window, GWL_USERDATA));
}

bool Window::Create(CreateParams params) {
    if (handle != nullptr || !PreCreateWindow(params)) {
        return false;
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    std::u16string className;
    WNDPROC base = &DefWindowProcW;
    if (params.baseClass.empty()) {
        className = RegisterOwnClass(instance, params.traits, &Window::Procedure);
    } else if (const auto superclass =
                   RegisterSuperclass(instance, params.baseClass, &Window::Procedure)) {
        className = superclass->name;
        base = superclass->baseProcedure;
    }
    if (className.empty()) {
        return false;
    }
    defaultProcedure = base;
    // The procedure attaches this object at WM_NCCREATE, from lpCreateParams.
    const HWND created =
        CreateWindowExW(params.exStyle, className.c_str(), params.title.c_str(), params.style,
                        params.x, params.y, params.width, params.height, params.parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(params.id)), instance, this);
    // A failed creation has already sent WM_NCDESTROY, and an object that owns
    // itself may be gone: nothing of this object is touched from here.
    return created != nullptr;
}

bool Window::Create(const std::u16string& title, DWORD style, const RECT& rect, HWND parent,
                    UINT id) {
    CreateParams params;
    params.title = title;
    params.style = style;
    params.SetRect(rect);
    params.parent = parent;
    params.id = id;
    return Create(std::move(params));
}

bool Window::Subclass(HWND window) {
    if (handle != nullptr || IsWindow(window) == FALSE || FromHandle(window) != nullptr ||
        GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) {
        return false;
    }
    const auto replaced = reinterpret_cast<WNDPROC>(GetWindowLongW(window, GWL_WNDPROC));
    if (replaced == nullptr) {
        return false;
    }
    Attach(window, replaced);
    SetWindowLongW(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::Procedure));
    return true;
}

HWND Window::Detach() {
    const HWND window = handle;
    if (window == nullptr) {
        return nullptr;
    }
    if (IsWindow(window)) {
        SetWindowLongW(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(defaultProcedure));
        SetWindowLongW(window, GWL_USERDATA, 0);
    }
    handle = nullptr;
    return window;
}

bool Window::DestroyWindow() {
    return handle != nullptr && ::DestroyWindow(handle) != FALSE;
}

void Window::Attach(HWND window, WNDPROC procedure) {
    handle = window;
    defaultProcedure = procedure;
    SetWindowLongW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* object = reinterpret_cast<Window*>(GetWindowLongW(window, GWL_USERDATA));
    if (object == nullptr && message == WM_NCCREATE && lParam != 0) {
        const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
        object = static_cast<Window*>(create.lpCreateParams);
        if (object != nullptr) {
            object->Attach(window, object->defaultProcedure);
        }
    }
    if (object == nullptr) {
        // Only a window of the framework's classes that no object claims (made
        // by someone else with our class name) ends up here.
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return object->Deliver(Message{message, wParam, lParam});
}

LRESULT Window::Deliver(const Message& message) {
    const Message outer = current;
    current = message;
    ++handlerDepth;
    const LRESULT result = WindowProc(message);
    if (message.id == WM_NCDESTROY) {
        handle = nullptr;
        releasePending = true;
    }
    current = outer;
    --handlerDepth;
    if (handlerDepth == 0 && releasePending) {
        releasePending = false;
        // May delete this object; nothing follows.
        PostNcDestroy();
    }
    return result;
}

LRESULT Window::WindowProc(const Message& message) {
    if (message.id == WM_COMMAND) {
        return RouteCommand(message) ? 0 : Default();
    }
    if (const auto result = Messages().Dispatch(*this, message)) {
        return *result;
    }
    return Default();
}

LRESULT Window::Default() {
    // Outside a message, or in an outer handler after the window has gone,
    // there is nothing to pass on.
    if (handlerDepth == 0 || handle == nullptr || defaultProcedure == nullptr) {
        return 0;
    }
    return CallWindowProcW(defaultProcedure, handle, current.id, current.wParam, current.lParam);
}

bool Window::RouteCommand(const Message& command) {
    return Messages().Dispatch(*this, command).has_value();
}

bool Window::PreTranslateMessage(MSG&) {
    return false;
}

bool Window::PreCreateWindow(CreateParams& params) {
    if (params.parent != nullptr && (params.style & WS_POPUP) == 0) {
        params.style |= WS_CHILD;
    }
    return true;
}

BOOL Window::ShowWindow(int command) const {
    return handle != nullptr ? ::ShowWindow(handle, command) : FALSE;
}

BOOL Window::UpdateWindow() const {
    return handle != nullptr ? ::UpdateWindow(handle) : FALSE;
}

BOOL Window::MoveWindow(int x, int y, int width, int height, bool repaint) const {
    return handle != nullptr ? ::MoveWindow(handle, x, y, width, height, repaint ? TRUE : FALSE)
                             : FALSE;
}

BOOL Window::IsWindowVisible() const {
    return handle != nullptr ? ::IsWindowVisible(handle) : FALSE;
}

BOOL Window::EnableWindow(bool enable) const {
    return handle != nullptr ? ::EnableWindow(handle, enable ? TRUE : FALSE) : FALSE;
}

HWND Window::SetFocus() const {
    return handle != nullptr ? ::SetFocus(handle) : nullptr;
}

RECT Window::GetClientRect() const {
    RECT rect;
    if (handle != nullptr) {
        ::GetClientRect(handle, &rect);
    }
    return rect;
}

BOOL Window::Invalidate(bool erase) const {
    return handle != nullptr ? InvalidateRect(handle, nullptr, erase ? TRUE : FALSE) : FALSE;
}

BOOL Window::SetWindowText(const std::u16string& text) const {
    return handle != nullptr ? SetWindowTextW(handle, text.c_str()) : FALSE;
}

std::u16string Window::GetWindowText() const {
    if (handle == nullptr) {
        return {};
    }
    const int length = GetWindowTextLengthW(handle);
    if (length <= 0) {
        return {};
    }
    std::vector<WCHAR> buffer(static_cast<std::size_t>(length) + 1);
    const int copied = GetWindowTextW(handle, buffer.data(), static_cast<int>(buffer.size()));
    return std::u16string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

HWND Window::GetDlgItem(int id) const {
    return handle != nullptr ? ::GetDlgItem(handle, id) : nullptr;
}

UINT_PTR Window::SetTimer(UINT_PTR id, UINT milliseconds) const {
    return handle != nullptr ? ::SetTimer(handle, id, milliseconds, nullptr) : 0;
}

BOOL Window::KillTimer(UINT_PTR id) const {
    return handle != nullptr ? ::KillTimer(handle, id) : FALSE;
}

LRESULT Window::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return handle != nullptr ? SendMessageW(handle, message, wParam, lParam) : 0;
}

BOOL Window::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return handle != nullptr ? PostMessageW(handle, message, wParam, lParam) : FALSE;
}

PaintScope::PaintScope(const Window& window) : window(window.Handle()) {
    if (this->window != nullptr) {
        BeginPaint(this->window, &paint);
    }
}

PaintScope::~PaintScope() {
    if (window != nullptr) {
        EndPaint(window, &paint);
    }
}

} // namespace framework

// The window functions of platform/Window.h.
#include "platform/Window.h"

#include <algorithm>

#include "platform/Geometry.h"
#include "platform/Messages.h"
#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/Messaging.h"
#include "platform/sim/SystemServices.h"

using sim::Device;
using sim::Program;
using sim::Window;
using sim::WindowManager;

namespace {

WindowManager* Windows() {
    Device* device = Device::Current();
    return device != nullptr ? &device->Windows() : nullptr;
}

// Calls that change a window, made by the driver (a test or the host), run on
// the window's own program thread, as the program itself would make them.
template <typename Result, typename Call>
bool FromDriver(const Window& window, Result& result, Call call) {
    Device* device = Device::Current();
    if (sim::CurrentProgram() != nullptr || device == nullptr || !device->OnDriverThread() ||
        window.program == nullptr) {
        return false;
    }
    const HWND handle = window.handle;
    if (!device->RunOnProgram(*window.program,
                              [&result, call, handle] { result = call(handle); })) {
        SetLastError(ERROR_INVALID_PARAMETER);
    }
    return true;
}

HWND HandleOf(const Window* window) {
    return window != nullptr ? window->handle : nullptr;
}

// What a program may see of the device-wide active, focus and capture
// windows: its own (the driver sees them all).
HWND OwnView(const Window* window) {
    const Program* program = sim::CurrentProgram();
    if (window == nullptr || window->life == sim::WindowLife::Gone) {
        return nullptr;
    }
    if (program != nullptr && window->program != program) {
        return nullptr;
    }
    return window->handle;
}

void CopyText(const std::u16string& text, LPWSTR buffer, int length, int& copied) {
    copied = 0;
    if (buffer == nullptr || length <= 0) {
        return;
    }
    copied =
        static_cast<int>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(length - 1)));
    std::copy_n(text.begin(), copied, buffer);
    buffer[copied] = u'\0';
}

} // namespace

// ---- Classes ----

ATOM RegisterClassW(const WNDCLASSW* wndClass) {
    Program* program = sim::CallingProgram();
    if (program == nullptr || wndClass == nullptr) {
        return 0;
    }
    DWORD error = 0;
    const ATOM atom = Windows()->RegisterClass(*wndClass, program, error);
    if (atom == 0) {
        SetLastError(error);
    }
    return atom;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    Program* program = sim::CallingProgram();
    if (program == nullptr) {
        return FALSE;
    }
    DWORD error = 0;
    if (!Windows()->UnregisterClass(className, program, error)) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, WNDCLASSW* wndClass) {
    WindowManager* windows = Windows();
    const auto found =
        windows != nullptr ? windows->FindClass(className, sim::CurrentProgram()) : nullptr;
    if (!found || wndClass == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    wndClass->style = found->style;
    wndClass->lpfnWndProc = found->procedure;
    wndClass->cbClsExtra = found->classExtra;
    wndClass->cbWndExtra = found->windowExtra;
    wndClass->hInstance = found->instance;
    wndClass->hIcon = found->icon;
    wndClass->hCursor = found->cursor;
    wndClass->hbrBackground = found->background;
    wndClass->lpszMenuName = nullptr;
    wndClass->lpszClassName = className;
    return TRUE;
}

int GetClassNameW(HWND handle, LPWSTR buffer, int bufferLength) {
    const Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    int copied = 0;
    CopyText(window->windowClass->name, buffer, bufferLength, copied);
    return copied;
}

// ---- Creation and destruction ----

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                     LPVOID param) {
    Program* program = sim::CallingProgram();
    if (program == nullptr) {
        return nullptr;
    }
    sim::CreateRequest request;
    request.exStyle = exStyle;
    request.className = className;
    request.windowName = windowName;
    request.style = style;
    request.x = x;
    request.y = y;
    request.width = width;
    request.height = height;
    request.parent = parent;
    request.menuOrId = menuOrId;
    request.instance = instance;
    request.param = param;
    DWORD error = 0;
    Window* window = Windows()->Create(*program, request, error);
    if (window == nullptr) {
        SetLastError(error);
        return nullptr;
    }
    return window->handle;
}

BOOL DestroyWindow(HWND handle) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    BOOL result = FALSE;
    if (FromDriver(*window, result, [](HWND h) { return DestroyWindow(h); })) {
        return result;
    }
    if (window->program != sim::CurrentProgram()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return Windows()->Destroy(*window) ? TRUE : FALSE;
}

BOOL IsWindow(HWND handle) {
    WindowManager* windows = Windows();
    const Window* window = windows != nullptr ? windows->Find(handle) : nullptr;
    return window != nullptr && window->life != sim::WindowLife::Gone ? TRUE : FALSE;
}

// ---- Procedures and window longs ----

LRESULT CallWindowProcW(WNDPROC procedure, HWND handle, UINT message, WPARAM wParam,
                        LPARAM lParam) {
    if (procedure == nullptr) {
        return 0;
    }
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return procedure(handle, message, wParam, lParam);
    }
    return sim::CallProcedure(*window, procedure, message, wParam, lParam, sim::Arrival::Sent);
}

LONG_PTR GetWindowLongW(HWND handle, int index) {
    const Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    switch (index) {
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(window->procedure);
    case GWL_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(window->instance);
    case GWL_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(window->parent != nullptr ? window->parent->handle
                                                                    : HandleOf(window->owner));
    case GWL_ID:
        return static_cast<LONG_PTR>(window->id);
    case GWL_STYLE:
        return static_cast<LONG_PTR>(window->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(window->exStyle);
    case GWL_USERDATA:
        return window->userData;
    default:
        break;
    }
    if (index < 0 || index % 4 != 0 ||
        static_cast<std::size_t>(index / 4) >= window->extra.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return window->extra[static_cast<std::size_t>(index / 4)];
}

LONG_PTR SetWindowLongW(HWND handle, int index, LONG_PTR value) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    LONG_PTR previous = 0;
    switch (index) {
    case GWL_WNDPROC:
        previous = reinterpret_cast<LONG_PTR>(window->procedure);
        if (value == 0) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        window->procedure = reinterpret_cast<WNDPROC>(value);
        return previous;
    case GWL_HINSTANCE:
        previous = reinterpret_cast<LONG_PTR>(window->instance);
        window->instance = reinterpret_cast<HINSTANCE>(value);
        return previous;
    case GWL_ID:
        previous = static_cast<LONG_PTR>(window->id);
        window->id = static_cast<UINT_PTR>(value);
        return previous;
    case GWL_USERDATA:
        previous = window->userData;
        window->userData = value;
        return previous;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        DWORD& field = index == GWL_STYLE ? window->style : window->exStyle;
        previous = static_cast<LONG_PTR>(field);
        struct {
            DWORD oldStyle;
            DWORD newStyle;
        } change{field, static_cast<DWORD>(value)};
        sim::SendToWindow(*window, WM_STYLECHANGING, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(&change));
        if (sim::LookUpWindow(handle) != window) {
            return previous;
        }
        // Visibility goes through ShowWindow, not the style.
        const DWORD keep = index == GWL_STYLE ? (field & WS_VISIBLE) : 0;
        field = (change.newStyle & ~(index == GWL_STYLE ? WS_VISIBLE : 0)) | keep;
        sim::SendToWindow(*window, WM_STYLECHANGED, static_cast<WPARAM>(index),
                          reinterpret_cast<LPARAM>(&change));
        return previous;
    }
    default:
        break;
    }
    if (index < 0 || index % 4 != 0 ||
        static_cast<std::size_t>(index / 4) >= window->extra.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    LONG_PTR& slot = window->extra[static_cast<std::size_t>(index / 4)];
    previous = slot;
    slot = value;
    return previous;
}

// ---- The window tree ----

HWND GetParent(HWND handle) {
    const Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return nullptr;
    }
    if (window->parent != nullptr) {
        return window->parent->handle;
    }
    return (window->style & WS_POPUP) != 0 ? HandleOf(window->owner) : nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
    Window* window = sim::LookUpWindow(child);
    Window* parent = newParent != nullptr ? sim::LookUpWindow(newParent) : nullptr;
    if (window == nullptr || window->parent == nullptr ||
        (newParent != nullptr && parent == nullptr) ||
        (parent != nullptr && Windows()->IsDescendant(*window, *parent))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const HWND previous = window->parent->handle;
    if (parent == nullptr || parent == window->parent) {
        return previous;
    }
    auto& oldSiblings = window->parent->children;
    oldSiblings.erase(std::remove(oldSiblings.begin(), oldSiblings.end(), window),
                      oldSiblings.end());
    window->parent = parent;
    parent->children.insert(parent->children.begin(), window);
    Windows()->Invalidate(*window, nullptr, true);
    return previous;
}

HWND GetWindow(HWND handle, UINT relation) {
    const Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return nullptr;
    }
    if (relation == GW_OWNER) {
        return HandleOf(window->owner);
    }
    if (relation == GW_CHILD) {
        return window->children.empty() ? nullptr : window->children.front()->handle;
    }
    const auto& siblings =
        window->parent != nullptr ? window->parent->children : Windows()->TopLevel();
    const auto position = std::find(siblings.begin(), siblings.end(), window);
    if (position == siblings.end()) {
        return nullptr;
    }
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings.front()->handle;
    case GW_HWNDLAST:
        return siblings.back()->handle;
    case GW_HWNDNEXT:
        return position + 1 != siblings.end() ? (*(position + 1))->handle : nullptr;
    case GW_HWNDPREV:
        return position != siblings.begin() ? (*(position - 1))->handle : nullptr;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

HWND GetDesktopWindow() {
    // The desktop has no window of its own on this device; a null handle is
    // what the calls that take it understand as "the screen".
    return nullptr;
}

BOOL IsChild(HWND parentHandle, HWND handle) {
    WindowManager* windows = Windows();
    const Window* parent = windows != nullptr ? windows->Find(parentHandle) : nullptr;
    const Window* window = windows != nullptr ? windows->Find(handle) : nullptr;
    if (parent == nullptr || window == nullptr || parent == window) {
        return FALSE;
    }
    for (const Window* w = window; w->parent != nullptr; w = w->parent) {
        if (w->parent == parent) {
            return TRUE;
        }
    }
    return FALSE;
}

HWND GetDlgItem(HWND dialog, int id) {
    const Window* window = sim::LookUpWindow(dialog);
    if (window == nullptr) {
        return nullptr;
    }
    for (const Window* child : window->children) {
        if (static_cast<int>(child->id) == id ||
            static_cast<WORD>(child->id) == static_cast<WORD>(id)) {
            if (child->life != sim::WindowLife::Gone) {
                return child->handle;
            }
        }
    }
    return nullptr;
}

int GetDlgCtrlID(HWND handle) {
    const Window* window = sim::LookUpWindow(handle);
    return window != nullptr && window->parent != nullptr ? static_cast<int>(window->id) : 0;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    WindowManager* windows = Windows();
    if (windows == nullptr) {
        return nullptr;
    }
    for (const Window* window : windows->TopLevel()) {
        if (!window->IsAlive()) {
            continue;
        }
        if (className != nullptr) {
            if (IS_INTRESOURCE(className)) {
                if (window->windowClass->atom !=
                    static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(className))) {
                    continue;
                }
            } else if (!text::EqualsIgnoringCase(window->windowClass->name,
                                                 text::FromWide(className))) {
                continue;
            }
        }
        if (windowName != nullptr && window->text != text::FromWide(windowName)) {
            continue;
        }
        return window->handle;
    }
    return nullptr;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
    Device* device = Device::Current();
    if (device == nullptr || callback == nullptr) {
        return FALSE;
    }
    // Every top-level window on the device, those of other processes sharing
    // the device directory included.
    for (const sim::DeviceWindow& window : device->Services().Processes().TopLevelWindows()) {
        const bool local = window.process.empty();
        if ((!local || IsWindow(window.handle)) && !callback(window.handle, lParam)) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam) {
    const Window* window = sim::LookUpWindow(parent);
    if (window == nullptr || callback == nullptr) {
        return FALSE;
    }
    // Every descendant, depth first, as Win32 enumerates them.
    std::vector<HWND> handles;
    std::vector<const Window*> pending(window->children.rbegin(), window->children.rend());
    while (!pending.empty()) {
        const Window* child = pending.back();
        pending.pop_back();
        handles.push_back(child->handle);
        pending.insert(pending.end(), child->children.rbegin(), child->children.rend());
    }
    for (HWND handle : handles) {
        if (IsWindow(handle) && !callback(handle, lParam)) {
            return FALSE;
        }
    }
    return TRUE;
}

DWORD GetWindowThreadProcessId(HWND handle, DWORD* processId) {
    Device* device = Device::Current();
    const Window* window = device != nullptr ? device->Windows().Find(handle) : nullptr;
    if (window == nullptr && device != nullptr) {
        // A window of another process on the device.
        if (const auto remote = device->Services().Processes().RemoteWindow(handle)) {
            if (processId != nullptr) {
                *processId = remote->pid;
            }
            return remote->threadId;
        }
    }
    window = sim::LookUpWindow(handle);
    if (window == nullptr || window->program == nullptr) {
        return 0;
    }
    if (processId != nullptr) {
        *processId = window->program->Pid();
    }
    return window->program->ThreadId();
}

// ---- Texts ----

BOOL SetWindowTextW(HWND handle, LPCWSTR text) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    return sim::SendToWindow(*window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE
                                                                                          : FALSE;
}

int GetWindowTextW(HWND handle, LPWSTR buffer, int bufferLength) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr || buffer == nullptr || bufferLength <= 0) {
        return 0;
    }
    Program* caller = sim::CurrentProgram();
    if (caller != nullptr && caller == window->program) {
        return static_cast<int>(sim::SendToWindow(*window, WM_GETTEXT,
                                                  static_cast<WPARAM>(bufferLength),
                                                  reinterpret_cast<LPARAM>(buffer)));
    }
    // Another program's window (or the driver's view of one): the text the
    // device keeps, as Win32 gives it across processes.
    int copied = 0;
    CopyText(window->text, buffer, bufferLength, copied);
    return copied;
}

int GetWindowTextLengthW(HWND handle) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    Program* caller = sim::CurrentProgram();
    if (caller != nullptr && caller == window->program) {
        return static_cast<int>(sim::SendToWindow(*window, WM_GETTEXTLENGTH, 0, 0));
    }
    return static_cast<int>(window->text.size());
}

// ---- Visibility, position and size ----

BOOL ShowWindow(HWND handle, int command) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    BOOL result = FALSE;
    if (FromDriver(*window, result, [command](HWND h) { return ShowWindow(h, command); })) {
        return result;
    }
    return Windows()->Show(*window, command) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND handle) {
    const Window* window = sim::LookUpWindow(handle);
    return window != nullptr && Windows()->IsShown(*window) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND handle) {
    const Window* window = sim::LookUpWindow(handle);
    return window != nullptr && (window->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

BOOL EnableWindow(HWND handle, BOOL enable) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    BOOL result = FALSE;
    if (FromDriver(*window, result, [enable](HWND h) { return EnableWindow(h, enable); })) {
        return result;
    }
    return Windows()->Enable(*window, enable != FALSE) ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    BOOL result = FALSE;
    if (FromDriver(*window, result, [=](HWND h) {
            return SetWindowPos(h, insertAfter, x, y, width, height, flags);
        })) {
        return result;
    }
    return Windows()->SetPosition(*window, insertAfter, x, y, width, height, flags) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND handle, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(handle, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

HDWP BeginDeferWindowPos(int count) {
    WindowManager* windows = Windows();
    if (windows == nullptr || count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return windows->BeginDeferred();
}

HDWP DeferWindowPos(HDWP positions, HWND handle, HWND insertAfter, int x, int y, int width,
                    int height, UINT flags) {
    WindowManager* windows = Windows();
    if (windows == nullptr || sim::LookUpWindow(handle) == nullptr) {
        return nullptr;
    }
    WINDOWPOS position{handle, insertAfter, x, y, width, height, flags};
    if (!windows->AddDeferred(positions, position)) {
        SetLastError(ERROR_INVALID_DWP_HANDLE);
        return nullptr;
    }
    return positions;
}

BOOL EndDeferWindowPos(HDWP positions) {
    WindowManager* windows = Windows();
    auto taken = windows != nullptr ? windows->TakeDeferred(positions) : std::nullopt;
    if (!taken) {
        SetLastError(ERROR_INVALID_DWP_HANDLE);
        return FALSE;
    }
    BOOL all = TRUE;
    for (const WINDOWPOS& position : *taken) {
        if (!SetWindowPos(position.hwnd, position.hwndInsertAfter, position.x, position.y,
                          position.cx, position.cy, position.flags)) {
            all = FALSE;
        }
    }
    return all;
}

BOOL BringWindowToTop(HWND handle) {
    return SetWindowPos(handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL GetClientRect(HWND handle, RECT* rect) {
    const Window* window = sim::LookUpWindow(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = RECT{0, 0, window->ClientWidth(), window->ClientHeight()};
    return TRUE;
}

BOOL GetWindowRect(HWND handle, RECT* rect) {
    const Window* window = sim::LookUpWindow(handle);
    if (window == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = Windows()->ScreenRect(*window);
    return TRUE;
}

BOOL ClientToScreen(HWND handle, POINT* point) {
    const Window* window = sim::LookUpWindow(handle);
    if (window == nullptr || point == nullptr) {
        return FALSE;
    }
    const POINT origin = Windows()->ClientOrigin(*window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND handle, POINT* point) {
    const Window* window = sim::LookUpWindow(handle);
    if (window == nullptr || point == nullptr) {
        return FALSE;
    }
    const POINT origin = Windows()->ClientOrigin(*window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count) {
    POINT fromOrigin;
    POINT toOrigin;
    if (from != nullptr) {
        const Window* window = sim::LookUpWindow(from);
        if (window == nullptr) {
            return 0;
        }
        fromOrigin = Windows()->ClientOrigin(*window);
    }
    if (to != nullptr) {
        const Window* window = sim::LookUpWindow(to);
        if (window == nullptr) {
            return 0;
        }
        toOrigin = Windows()->ClientOrigin(*window);
    }
    const int dx = fromOrigin.x - toOrigin.x;
    const int dy = fromOrigin.y - toOrigin.y;
    for (UINT i = 0; points != nullptr && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    return static_cast<int>(MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy)));
}

HWND WindowFromPoint(POINT screenPoint) {
    WindowManager* windows = Windows();
    return windows != nullptr ? HandleOf(windows->WindowAt(screenPoint)) : nullptr;
}

HWND ChildWindowFromPointEx(HWND parent, POINT clientPoint, UINT flags) {
    Window* window = sim::LookUpWindow(parent);
    if (window == nullptr) {
        return nullptr;
    }
    const RECT client{0, 0, window->ClientWidth(), window->ClientHeight()};
    if (!PtInRect(&client, clientPoint)) {
        return nullptr;
    }
    const POINT origin = Windows()->ClientOrigin(*window);
    const POINT screenPoint{clientPoint.x + origin.x, clientPoint.y + origin.y};
    const Window* child = Windows()->ChildAt(*window, screenPoint, flags);
    return child != nullptr ? child->handle : window->handle;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
    return ChildWindowFromPointEx(parent, clientPoint, CWP_ALL);
}

// ---- Focus, activation, foreground and capture ----

HWND SetFocus(HWND handle) {
    WindowManager* windows = Windows();
    if (windows == nullptr) {
        return nullptr;
    }
    Window* window = nullptr;
    if (handle != nullptr) {
        window = sim::LookUpWindow(handle);
        if (window == nullptr) {
            return nullptr;
        }
        HWND result = nullptr;
        if (FromDriver(*window, result, [](HWND h) { return SetFocus(h); })) {
            return result;
        }
        if (window->program != sim::CurrentProgram()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
    }
    const HWND previous = OwnView(windows->Focus());
    windows->SetFocus(window);
    return previous;
}

HWND GetFocus() {
    WindowManager* windows = Windows();
    return windows != nullptr ? OwnView(windows->Focus()) : nullptr;
}

HWND SetActiveWindow(HWND handle) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return nullptr;
    }
    HWND result = nullptr;
    if (FromDriver(*window, result, [](HWND h) { return SetActiveWindow(h); })) {
        return result;
    }
    const HWND previous = OwnView(Windows()->Active());
    Windows()->Activate(window, WA_ACTIVE);
    return previous;
}

HWND GetActiveWindow() {
    WindowManager* windows = Windows();
    return windows != nullptr ? OwnView(windows->Active()) : nullptr;
}

BOOL SetForegroundWindow(HWND handle) {
    Device* device = Device::Current();
    if (device != nullptr && device->Windows().Find(handle) == nullptr &&
        device->Services().Processes().RemoteWindow(handle)) {
        // The process that owns the window brings it forward itself.
        const BOOL asked = device->Services().Processes().RequestForeground(handle) ? TRUE : FALSE;
        device->Record("SetForegroundWindow", {sim::JournalValue(handle)}, asked != FALSE);
        return asked;
    }
    Window* window = sim::LookUpWindow(handle);
    BOOL result = FALSE;
    const std::uintptr_t lowBit = reinterpret_cast<std::uintptr_t>(handle) & 1;
    if (window != nullptr && FromDriver(*window, result, [lowBit](HWND h) {
            return SetForegroundWindow(
                reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(h) | lowBit));
        })) {
        return result;
    }
    if (window != nullptr) {
        // The low bit asks for the window's last active popup, so that a
        // program brought forward while it shows a dialog gets the dialog
        // back in front, with the focus in it, not its disabled main window.
        if (lowBit != 0) {
            window = &device->Windows().LastActivePopup(*window);
        }
        device->Windows().Activate(window, WA_ACTIVE);
        result =
            device->Windows().Active() == &device->Windows().TopLevelOf(*window) ? TRUE : FALSE;
    }
    if (device != nullptr) {
        device->Record("SetForegroundWindow", {sim::JournalValue(handle)}, result != FALSE);
    }
    return result;
}

HWND GetForegroundWindow() {
    WindowManager* windows = Windows();
    const Window* active = windows != nullptr ? windows->Active() : nullptr;
    return active != nullptr && active->life != sim::WindowLife::Gone ? active->handle : nullptr;
}

HWND SetCapture(HWND handle) {
    WindowManager* windows = Windows();
    Window* window = handle != nullptr ? sim::LookUpWindow(handle) : nullptr;
    if (windows == nullptr || (handle != nullptr && window == nullptr)) {
        return nullptr;
    }
    const HWND previous = OwnView(windows->Capture());
    windows->SetCapture(window);
    return previous;
}

BOOL ReleaseCapture() {
    WindowManager* windows = Windows();
    if (windows == nullptr) {
        return FALSE;
    }
    windows->SetCapture(nullptr);
    return TRUE;
}

HWND GetCapture() {
    WindowManager* windows = Windows();
    return windows != nullptr ? OwnView(windows->Capture()) : nullptr;
}

int GetSystemMetrics(int index) {
    const Device* device = Device::Current();
    if (device == nullptr) {
        return 0;
    }
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
        return device->ScreenWidth();
    case SM_CYSCREEN:
        return device->ScreenHeight();
    case SM_CYFULLSCREEN:
        return device->ScreenHeight() - device->BarHeight();
    case SM_CYMENU:
    case SM_CYCAPTION:
        return device->BarHeight();
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
        return 1;
    case SM_CXEDGE:
    case SM_CYEDGE:
        return 2;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
        return device->Scale(13);
    case SM_CXICON:
    case SM_CYICON:
        return device->Scale(32);
    case SM_CXSMICON:
    case SM_CYSMICON:
        return device->Scale(16);
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
        return device->Scale(8);
    case SM_MOUSEPRESENT:
        return 0;
    case SM_DEBUG:
        return 0;
    default:
        return 0;
    }
}

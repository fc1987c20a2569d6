#include "platform/sim/WindowManager.h"

#include <algorithm>

#include "platform/Geometry.h"
#include "platform/Messages.h"
#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/sim/Device.h"
#include "platform/sim/HandleAllocator.h"
#include "platform/sim/InputRouter.h"
#include "platform/sim/Messaging.h"
#include "platform/sim/ProgramThread.h"

namespace sim {
namespace {

// Internal WINDOWPOS flags: the client area did not move or change size, so
// DefWindowProc sends no WM_MOVE or WM_SIZE.
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

HWND Strip(HWND handle) {
    return reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(handle) & ~std::uintptr_t{1});
}

HWND HandleOf(const Window* window) {
    return window != nullptr ? window->handle : nullptr;
}

bool ClassNameMatches(const WindowClass& windowClass, LPCWSTR nameOrAtom) {
    if (IS_INTRESOURCE(nameOrAtom)) {
        return windowClass.atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(nameOrAtom));
    }
    return text::EqualsIgnoringCase(windowClass.name, text::FromWide(nameOrAtom));
}

template <typename T>
void EraseValue(std::vector<T>& values, const T& value) {
    values.erase(std::remove(values.begin(), values.end(), value), values.end());
}

} // namespace

WindowManager::WindowManager(Device& device) : device(device) {}

WindowManager::~WindowManager() = default;

// ---- Classes ----

ATOM WindowManager::RegisterClass(const WNDCLASSW& wndClass, Program* owner, DWORD& error) {
    if (wndClass.lpszClassName == nullptr || wndClass.lpfnWndProc == nullptr ||
        IS_INTRESOURCE(wndClass.lpszClassName) || wndClass.cbWndExtra < 0 ||
        wndClass.cbClsExtra < 0) {
        error = ERROR_INVALID_PARAMETER;
        return 0;
    }
    for (const auto& existing : classes) {
        if (classOwners[existing.get()] == owner &&
            ClassNameMatches(*existing, wndClass.lpszClassName)) {
            error = ERROR_CLASS_ALREADY_EXISTS;
            return 0;
        }
    }
    auto windowClass = std::make_shared<WindowClass>();
    windowClass->name = text::FromWide(wndClass.lpszClassName);
    windowClass->atom = nextAtom++;
    windowClass->style = wndClass.style;
    windowClass->procedure = wndClass.lpfnWndProc;
    windowClass->classExtra = wndClass.cbClsExtra;
    windowClass->windowExtra = wndClass.cbWndExtra;
    windowClass->instance = wndClass.hInstance;
    windowClass->icon = wndClass.hIcon;
    windowClass->cursor = wndClass.hCursor;
    windowClass->background = wndClass.hbrBackground;
    classOwners[windowClass.get()] = owner;
    classes.push_back(windowClass);
    return windowClass->atom;
}

bool WindowManager::UnregisterClass(LPCWSTR name, Program* owner, DWORD& error) {
    for (auto it = classes.begin(); it != classes.end(); ++it) {
        if (classOwners[it->get()] == owner && ClassNameMatches(**it, name)) {
            if ((*it)->windows > 0) {
                error = ERROR_CLASS_HAS_WINDOWS;
                return false;
            }
            classOwners.erase(it->get());
            classes.erase(it);
            return true;
        }
    }
    error = ERROR_CLASS_DOES_NOT_EXIST;
    return false;
}

std::shared_ptr<WindowClass> WindowManager::FindClass(LPCWSTR nameOrAtom,
                                                      const Program* program) const {
    if (nameOrAtom == nullptr) {
        return nullptr;
    }
    std::shared_ptr<WindowClass> system;
    for (const auto& windowClass : classes) {
        if (!ClassNameMatches(*windowClass, nameOrAtom)) {
            continue;
        }
        const auto owner = classOwners.find(windowClass.get());
        const Program* registeredBy = owner != classOwners.end() ? owner->second : nullptr;
        if (registeredBy == program && program != nullptr) {
            return windowClass;
        }
        if (registeredBy == nullptr && !system) {
            system = windowClass;
        }
    }
    return system;
}

// ---- The handle table ----

Window* WindowManager::Find(HWND handle) const {
    if (handle == nullptr) {
        return nullptr;
    }
    const auto it = table.find(Strip(handle));
    return it != table.end() ? it->second.get() : nullptr;
}

Window* WindowManager::FindAlive(HWND handle) const {
    Window* window = Find(handle);
    return window != nullptr && window->IsAlive() ? window : nullptr;
}

std::vector<Window*> WindowManager::AllWindows() const {
    std::vector<Window*> all;
    std::vector<Window*> pending(topLevel.rbegin(), topLevel.rend());
    while (!pending.empty()) {
        Window* window = pending.back();
        pending.pop_back();
        all.push_back(window);
        pending.insert(pending.end(), window->children.rbegin(), window->children.rend());
    }
    return all;
}

// ---- Geometry ----

POINT WindowManager::WindowOrigin(const Window& window) const {
    POINT origin{window.rect.left, window.rect.top};
    if (window.parent != nullptr) {
        const POINT parentClient = ClientOrigin(*window.parent);
        origin.x += parentClient.x;
        origin.y += parentClient.y;
    }
    return origin;
}

POINT WindowManager::ClientOrigin(const Window& window) const {
    POINT origin = WindowOrigin(window);
    origin.x += window.client.left;
    origin.y += window.client.top;
    return origin;
}

RECT WindowManager::ScreenRect(const Window& window) const {
    const POINT origin = WindowOrigin(window);
    return RECT{origin.x, origin.y, origin.x + window.Width(), origin.y + window.Height()};
}

RECT WindowManager::ScreenClientRect(const Window& window) const {
    const POINT origin = ClientOrigin(window);
    return RECT{origin.x, origin.y, origin.x + window.ClientWidth(),
                origin.y + window.ClientHeight()};
}

bool WindowManager::IsShown(const Window& window) const {
    for (const Window* w = &window; w != nullptr; w = w->parent) {
        if ((w->style & WS_VISIBLE) == 0) {
            return false;
        }
    }
    return true;
}

Window& WindowManager::TopLevelOf(Window& window) const {
    Window* w = &window;
    while (w->parent != nullptr) {
        w = w->parent;
    }
    return *w;
}

bool WindowManager::IsDescendant(const Window& ancestor, const Window& window) const {
    for (const Window* w = &window; w != nullptr; w = w->parent) {
        if (w == &ancestor) {
            return true;
        }
    }
    return false;
}

Window* WindowManager::ChildAt(Window& parent, POINT screenPoint, UINT skipFlags) const {
    for (Window* child : parent.children) {
        if ((skipFlags & CWP_SKIPINVISIBLE) != 0 && (child->style & WS_VISIBLE) == 0) {
            continue;
        }
        if ((skipFlags & CWP_SKIPDISABLED) != 0 && (child->style & WS_DISABLED) != 0) {
            continue;
        }
        if ((skipFlags & CWP_SKIPTRANSPARENT) != 0 && (child->exStyle & WS_EX_TRANSPARENT) != 0) {
            continue;
        }
        const RECT rect = ScreenRect(*child);
        if (PtInRect(&rect, screenPoint)) {
            return child;
        }
    }
    return nullptr;
}

Window* WindowManager::WindowAt(POINT screenPoint) const {
    for (Window* window : topLevel) {
        if ((window->style & WS_VISIBLE) == 0 || !window->IsAlive()) {
            continue;
        }
        const RECT rect = ScreenRect(*window);
        if (!PtInRect(&rect, screenPoint)) {
            continue;
        }
        Window* found = window;
        while (Window* child = ChildAt(*found, screenPoint, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED)) {
            found = child;
        }
        return found;
    }
    return nullptr;
}

RECT WindowManager::DefaultClientRect(const RECT& windowRect, DWORD style, DWORD exStyle) {
    RECT client = windowRect;
    int border = 0;
    if ((style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) != 0 ||
        (exStyle & (WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) != 0) {
        border = 1;
    }
    // A top-level window with a caption fills its rectangle: the handheld
    // shows the caption in the task bar and draws no frame around it.
    const bool topLevel = (style & WS_CHILD) == 0;
    if (topLevel && (style & WS_CAPTION) == WS_CAPTION &&
        (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) == 0) {
        border = 0;
    }
    InflateRect(&client, -border, -border);
    if (client.right < client.left) {
        client.right = client.left;
    }
    if (client.bottom < client.top) {
        client.bottom = client.top;
    }
    return client;
}

void WindowManager::RecomputeClient(Window& window, bool ask) {
    RECT rect = window.rect;
    if (ask) {
        SendToWindow(window, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect));
    } else {
        rect = DefaultClientRect(window.rect, window.style, window.exStyle);
    }
    window.client = RECT{rect.left - window.rect.left, rect.top - window.rect.top,
                         rect.right - window.rect.left, rect.bottom - window.rect.top};
    window.client.right = std::max(window.client.right, window.client.left);
    window.client.bottom = std::max(window.client.bottom, window.client.top);
}

// ---- The tree and z-order ----

std::vector<Window*>& WindowManager::Siblings(Window& window) {
    return window.parent != nullptr ? window.parent->children : topLevel;
}

void WindowManager::Link(Window& window, Window* parent) {
    window.parent = parent;
    if (parent != nullptr) {
        // A new child goes to the bottom: children stack in creation order,
        // which is also the dialog's tab order.
        parent->children.push_back(&window);
        return;
    }
    // A new top-level window goes to the front, behind the topmost ones
    // unless it is topmost itself.
    auto position = topLevel.begin();
    if ((window.exStyle & WS_EX_TOPMOST) == 0) {
        while (position != topLevel.end() && ((*position)->exStyle & WS_EX_TOPMOST) != 0) {
            ++position;
        }
    }
    topLevel.insert(position, &window);
}

void WindowManager::Unlink(Window& window) {
    EraseValue(Siblings(window), &window);
}

void WindowManager::BringToTop(Window& window) {
    if (window.parent != nullptr) {
        auto& siblings = window.parent->children;
        EraseValue(siblings, &window);
        siblings.insert(siblings.begin(), &window);
        return;
    }
    ApplyZOrder(window, HWND_TOP);
    // Owned windows stay in front of their owner.
    std::vector<Window*> owned;
    for (Window* other : topLevel) {
        if (other->owner == &window) {
            owned.push_back(other);
        }
    }
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        BringToTop(**it);
    }
}

void WindowManager::ApplyZOrder(Window& window, HWND insertAfter) {
    auto& siblings = Siblings(window);
    EraseValue(siblings, &window);
    if (insertAfter == HWND_TOPMOST && window.parent == nullptr) {
        window.exStyle |= WS_EX_TOPMOST;
        insertAfter = HWND_TOP;
    } else if (insertAfter == HWND_NOTOPMOST && window.parent == nullptr) {
        window.exStyle &= ~WS_EX_TOPMOST;
        insertAfter = HWND_TOP;
    }
    auto position = siblings.begin();
    if (insertAfter == HWND_BOTTOM) {
        position = siblings.end();
    } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST ||
               insertAfter == HWND_NOTOPMOST) {
        if (window.parent == nullptr && (window.exStyle & WS_EX_TOPMOST) == 0) {
            while (position != siblings.end() && ((*position)->exStyle & WS_EX_TOPMOST) != 0) {
                ++position;
            }
        }
    } else {
        Window* after = Find(insertAfter);
        const auto found = std::find(siblings.begin(), siblings.end(), after);
        position = found != siblings.end() ? found + 1 : siblings.begin();
    }
    siblings.insert(position, &window);
}

// ---- Creation ----

Window* WindowManager::Create(Program& program, const CreateRequest& request, DWORD& error) {
    auto windowClass = FindClass(request.className, &program);
    if (!windowClass) {
        error = ERROR_CANNOT_FIND_WND_CLASS;
        return nullptr;
    }
    Window* parent = nullptr;
    Window* owner = nullptr;
    if (request.parent != nullptr) {
        Window* given = FindAlive(request.parent);
        if (given == nullptr) {
            error = ERROR_INVALID_WINDOW_HANDLE;
            return nullptr;
        }
        if ((request.style & WS_CHILD) != 0) {
            parent = given;
        } else {
            owner = &TopLevelOf(*given);
        }
    } else if ((request.style & WS_CHILD) != 0) {
        error = ERROR_TLW_WITH_WSCHILD;
        return nullptr;
    }

    auto record = std::make_unique<Window>();
    Window& window = *record;
    window.handle = device.Handles().NextWindow();
    window.windowClass = windowClass;
    window.program = &program;
    window.owner = owner;
    window.style = request.style & ~WS_VISIBLE;
    window.exStyle = request.exStyle;
    window.procedure = windowClass->procedure;
    window.instance = request.instance;
    window.id = parent != nullptr ? reinterpret_cast<UINT_PTR>(request.menuOrId) : 0;
    window.extra.assign(static_cast<std::size_t>(windowClass->windowExtra + 3) / 4, 0);

    int x = request.x;
    int y = request.y;
    int width = request.width;
    int height = request.height;
    if (parent == nullptr) {
        // A top-level window left to the device fills the screen below the
        // task bar, as on the handheld.
        if (x == CW_USEDEFAULT) {
            x = 0;
            y = device.BarHeight();
        }
        if (width == CW_USEDEFAULT) {
            width = device.ScreenWidth();
            height = device.ScreenHeight() - device.BarHeight();
        }
    } else {
        if (x == CW_USEDEFAULT) {
            x = y = 0;
        }
        if (width == CW_USEDEFAULT) {
            width = height = 0;
        }
    }
    window.rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    window.client = RECT{0, 0, window.Width(), window.Height()};

    const HWND handle = window.handle;
    table.emplace(handle, std::move(record));
    Link(window, parent);
    ++windowClass->windows;
    device.SetHandleLive(handle, true);

    CREATESTRUCTW create;
    create.lpCreateParams = request.param;
    create.hInstance = request.instance;
    create.hMenu = request.menuOrId;
    create.hwndParent = request.parent;
    create.cx = window.Width();
    create.cy = window.Height();
    create.x = window.rect.left;
    create.y = window.rect.top;
    create.style = static_cast<LONG>(request.style);
    create.lpszName = request.windowName;
    create.lpszClass = request.className;
    create.dwExStyle = request.exStyle;

    if (SendToWindow(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) == 0) {
        window.life = WindowLife::Destroying;
        SendNcDestroy(window);
        error = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    if (!window.IsAlive()) {
        return nullptr;
    }
    RecomputeClient(window, true);
    window.update = RECT{0, 0, window.ClientWidth(), window.ClientHeight()};
    window.eraseNeeded = true;
    window.frameNeeded = true;
    program.paintPending.push_back(&window);

    if (SendToWindow(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        if (window.IsAlive()) {
            Destroy(window);
        }
        error = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    if (!window.IsAlive()) {
        return nullptr;
    }
    window.life = WindowLife::Alive;
    SendToWindow(window, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(window.ClientWidth()),
                            static_cast<WORD>(window.ClientHeight())));
    SendToWindow(window, WM_MOVE, 0,
                 MAKELPARAM(static_cast<WORD>(window.rect.left + window.client.left),
                            static_cast<WORD>(window.rect.top + window.client.top)));
    if (parent != nullptr && (window.exStyle & WS_EX_NOPARENTNOTIFY) == 0 && parent->IsAlive()) {
        SendToWindow(*parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, static_cast<WORD>(window.id)),
                     reinterpret_cast<LPARAM>(handle));
    }
    if ((request.style & WS_VISIBLE) != 0 && window.IsAlive()) {
        Show(window, SW_SHOW);
    }
    return Find(handle);
}

// ---- Destruction ----

void WindowManager::SendDestroy(Window& window) {
    if (window.IsAlive()) {
        window.life = WindowLife::Destroying;
    }
    SendToWindow(window, WM_DESTROY, 0, 0);
    const std::vector<Window*> children = window.children;
    for (Window* child : children) {
        if (child->life != WindowLife::Gone && child->life != WindowLife::Destroying) {
            child->life = WindowLife::Destroying;
            SendDestroy(*child);
        }
    }
}

void WindowManager::SendNcDestroy(Window& window) {
    const std::vector<Window*> children = window.children;
    for (Window* child : children) {
        if (child->life != WindowLife::Gone) {
            SendNcDestroy(*child);
        }
    }
    SendToWindow(window, WM_NCDESTROY, 0, 0);
    Forget(window);
}

void WindowManager::Forget(Window& window) {
    if (window.life == WindowLife::Gone) {
        return;
    }
    // Children left over (created during destruction) go too.
    const std::vector<Window*> children = window.children;
    for (Window* child : children) {
        Forget(*child);
    }
    window.life = WindowLife::Gone;
    if (active == &window) {
        active = nullptr;
    }
    if (focus == &window) {
        focus = nullptr;
    }
    if (capture == &window) {
        capture = nullptr;
    }
    for (Window* other : topLevel) {
        if (other->owner == &window) {
            other->owner = nullptr;
        }
    }
    Unlink(window);
    if (window.program != nullptr) {
        Program& program = *window.program;
        EraseValue(program.paintPending, &window);
        std::erase_if(program.timers, [&](const Timer& timer) { return timer.window == &window; });
    }
    device.Input().ForgetWindow(window);
    --window.windowClass->windows;
    device.SetHandleLive(window.handle, false);
    const auto it = table.find(window.handle);
    if (it != table.end()) {
        destroyed.push_back(std::move(it->second));
        table.erase(it);
    }
}

bool WindowManager::Destroy(Window& window) {
    if (!window.IsAlive()) {
        return false;
    }
    const HWND handle = window.handle;
    window.life = WindowLife::Destroying;

    // Owned windows go first.
    std::vector<HWND> owned;
    for (Window* other : topLevel) {
        if (other->owner == &window) {
            owned.push_back(other->handle);
        }
    }
    for (HWND ownedHandle : owned) {
        if (Window* other = FindAlive(ownedHandle)) {
            Destroy(*other);
        }
    }

    if ((window.style & WS_VISIBLE) != 0) {
        SetPosition(window, nullptr, 0, 0, 0, 0,
                    SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (window.parent != nullptr && (window.exStyle & WS_EX_NOPARENTNOTIFY) == 0 &&
        window.parent->IsAlive()) {
        SendToWindow(*window.parent, WM_PARENTNOTIFY,
                     MAKEWPARAM(WM_DESTROY, static_cast<WORD>(window.id)),
                     reinterpret_cast<LPARAM>(handle));
    }
    if (active == &window) {
        Activate(NextToActivate(window), WA_ACTIVE);
        if (active == &window) {
            active = nullptr;
        }
    }
    if (focus != nullptr && IsDescendant(window, *focus)) {
        Window* lost = focus;
        focus = nullptr;
        SendToWindow(*lost, WM_KILLFOCUS, 0, 0);
    }
    if (capture != nullptr && IsDescendant(window, *capture)) {
        Window* lost = capture;
        capture = nullptr;
        SendToWindow(*lost, WM_CAPTURECHANGED, 0, 0);
    }
    if (Find(handle) == nullptr) {
        return true;
    }
    SendDestroy(window);
    if (Find(handle) != nullptr) {
        SendNcDestroy(window);
    }
    return true;
}

void WindowManager::DestroyProgramWindows(Program& program, bool sendMessages) {
    if (sendMessages) {
        for (;;) {
            Window* found = nullptr;
            for (Window* window : topLevel) {
                if (window->program == &program && window->IsAlive()) {
                    found = window;
                    break;
                }
            }
            if (found == nullptr) {
                break;
            }
            Destroy(*found);
            if (found->life != WindowLife::Gone) {
                Forget(*found);
            }
        }
    }
    std::vector<Window*> left;
    for (const auto& [handle, window] : table) {
        if (window->program == &program && window->parent == nullptr) {
            left.push_back(window.get());
        }
    }
    for (Window* window : left) {
        Forget(*window);
    }
    FreeDestroyed(program);
}

void WindowManager::FreeDestroyed(Program& program) {
    if (program.callDepth > 0) {
        return;
    }
    std::erase_if(destroyed, [&](const std::unique_ptr<Window>& window) {
        return window->program == &program;
    });
}

// ---- Position, visibility and state ----

bool WindowManager::SetPosition(Window& window, HWND insertAfter, int x, int y, int width,
                                int height, UINT flags) {
    const HWND handle = window.handle;
    WINDOWPOS position;
    position.hwnd = handle;
    position.hwndInsertAfter = insertAfter;
    position.x = (flags & SWP_NOMOVE) != 0 ? window.rect.left : x;
    position.y = (flags & SWP_NOMOVE) != 0 ? window.rect.top : y;
    position.cx = (flags & SWP_NOSIZE) != 0 ? window.Width() : std::max(width, 0);
    position.cy = (flags & SWP_NOSIZE) != 0 ? window.Height() : std::max(height, 0);
    position.flags = flags;
    const bool wasVisible = (window.style & WS_VISIBLE) != 0;
    if ((flags & SWP_SHOWWINDOW) != 0 && wasVisible) {
        position.flags &= ~SWP_SHOWWINDOW;
    }
    if ((flags & SWP_HIDEWINDOW) != 0 && !wasVisible) {
        position.flags &= ~SWP_HIDEWINDOW;
    }
    if ((flags & SWP_NOSENDCHANGING) == 0) {
        SendToWindow(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&position));
        if (Find(handle) == nullptr) {
            return false;
        }
    }
    position.cx = std::max(position.cx, 0);
    position.cy = std::max(position.cy, 0);
    const bool moved = position.x != window.rect.left || position.y != window.rect.top;
    const bool sized = position.cx != window.Width() || position.cy != window.Height();
    if (!moved) {
        position.flags |= SWP_NOMOVE;
    }
    if (!sized) {
        position.flags |= SWP_NOSIZE;
    }

    const RECT oldClient = window.client;
    const RECT oldRect = window.rect;
    window.rect = RECT{position.x, position.y, position.x + position.cx, position.y + position.cy};
    if (sized || (flags & SWP_FRAMECHANGED) != 0) {
        RecomputeClient(window, true);
        if (Find(handle) == nullptr) {
            return false;
        }
    }
    const bool clientSized = window.ClientWidth() != oldClient.right - oldClient.left ||
                             window.ClientHeight() != oldClient.bottom - oldClient.top;
    const bool clientMoved =
        window.rect.left + window.client.left != oldRect.left + oldClient.left ||
        window.rect.top + window.client.top != oldRect.top + oldClient.top;
    if (!clientSized) {
        position.flags |= kNoClientSize;
    }
    if (!clientMoved) {
        position.flags |= kNoClientMove;
    }
    if ((flags & SWP_NOZORDER) == 0) {
        ApplyZOrder(window, insertAfter);
    }
    if ((position.flags & SWP_SHOWWINDOW) != 0) {
        window.style |= WS_VISIBLE;
    }
    if ((position.flags & SWP_HIDEWINDOW) != 0) {
        window.style &= ~WS_VISIBLE;
        if (capture != nullptr && IsDescendant(window, *capture)) {
            Window* lost = capture;
            capture = nullptr;
            SendToWindow(*lost, WM_CAPTURECHANGED, 0, 0);
        }
    }
    // The window's pixels are kept; a new size repaints it all.
    if ((sized || clientSized || (flags & SWP_FRAMECHANGED) != 0) && (flags & SWP_NOREDRAW) == 0) {
        Invalidate(window, nullptr, true);
        window.frameNeeded = true;
    }
    SendToWindow(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
    Window* still = Find(handle);
    if (still == nullptr) {
        return true;
    }
    if ((position.flags & SWP_SHOWWINDOW) != 0 && (flags & SWP_NOACTIVATE) == 0 &&
        still->parent == nullptr && still->IsAlive()) {
        Activate(still, WA_ACTIVE);
    }
    return true;
}

bool WindowManager::Show(Window& window, int command) {
    const HWND handle = window.handle;
    const bool wasVisible = (window.style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    const bool activate = show && window.parent == nullptr &&
                          (window.exStyle & WS_EX_NOACTIVATE) == 0 && command != SW_SHOWNA &&
                          command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE &&
                          command != SW_MINIMIZE;
    if (show == wasVisible) {
        if (activate && active != &window && window.IsAlive()) {
            Activate(&window, WA_ACTIVE);
        }
        return wasVisible;
    }
    SendToWindow(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    Window* still = Find(handle);
    if (still == nullptr) {
        return wasVisible;
    }
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    flags |= show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    if (!activate) {
        flags |= SWP_NOACTIVATE;
    }
    SetPosition(*still, nullptr, 0, 0, 0, 0, flags);
    still = Find(handle);
    if (still == nullptr || show) {
        return wasVisible;
    }
    if (active == still) {
        Activate(NextToActivate(*still), WA_ACTIVE);
    }
    if (focus != nullptr && IsDescendant(*still, *focus)) {
        SetFocus(still->parent);
    }
    return wasVisible;
}

bool WindowManager::Enable(Window& window, bool enable) {
    const bool wasDisabled = (window.style & WS_DISABLED) != 0;
    if (enable == !wasDisabled) {
        return wasDisabled;
    }
    if (enable) {
        window.style &= ~WS_DISABLED;
    } else {
        window.style |= WS_DISABLED;
        if (focus != nullptr && IsDescendant(window, *focus)) {
            SetFocus(nullptr);
        }
        if (capture != nullptr && IsDescendant(window, *capture)) {
            SetCapture(nullptr);
        }
    }
    SendToWindow(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}

// ---- Activation, focus and capture ----

Window& WindowManager::LastActivePopup(Window& owner) const {
    Window& top = TopLevelOf(owner);
    auto ownedByTop = [&](const Window* window) {
        for (const Window* up = window->owner; up != nullptr; up = up->owner) {
            if (up == &top) {
                return true;
            }
        }
        return false;
    };
    // Owned windows stay in front of their owners, and the last one active
    // came to the front when it was activated.
    for (Window* window : topLevel) {
        if (window->IsAlive() && (window->style & WS_VISIBLE) != 0 &&
            (window->style & WS_DISABLED) == 0 && (window->exStyle & WS_EX_NOACTIVATE) == 0 &&
            ownedByTop(window)) {
            return *window;
        }
    }
    return top;
}

Window* WindowManager::NextToActivate(const Window& leaving) const {
    auto usable = [&](const Window* w) {
        return w != nullptr && w != &leaving && w->IsAlive() && w->parent == nullptr &&
               (w->style & WS_VISIBLE) != 0 && (w->style & WS_DISABLED) == 0 &&
               (w->exStyle & WS_EX_NOACTIVATE) == 0 && w->owner != &leaving;
    };
    if (usable(leaving.owner)) {
        return leaving.owner;
    }
    for (Window* window : topLevel) {
        if (usable(window)) {
            return window;
        }
    }
    return nullptr;
}

void WindowManager::Activate(Window* window, WORD how) {
    if (window != nullptr) {
        window = &TopLevelOf(*window);
        if (!window->IsAlive() || (window->exStyle & WS_EX_NOACTIVATE) != 0) {
            return;
        }
    }
    if (window == active) {
        if (window != nullptr) {
            BringToTop(*window);
        }
        return;
    }
    Window* old = active;
    active = window;
    if (old != nullptr && old->life != WindowLife::Gone) {
        SendToWindow(*old, WM_NCACTIVATE, FALSE, 0);
        SendToWindow(*old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0),
                     reinterpret_cast<LPARAM>(HandleOf(window)));
    }
    if (active != window) {
        return;
    }
    if (window == nullptr) {
        if (focus != nullptr) {
            SetFocus(nullptr);
        }
        return;
    }
    BringToTop(*window);
    SendToWindow(*window, WM_NCACTIVATE, TRUE, 0);
    SendToWindow(*window, WM_ACTIVATE, MAKEWPARAM(how, 0),
                 reinterpret_cast<LPARAM>(
                     old != nullptr && old->life != WindowLife::Gone ? old->handle : nullptr));
    if (active == window && focus != nullptr && !IsDescendant(*window, *focus)) {
        // The procedure kept the focus elsewhere; it cannot stay in an inactive
        // window.
        SetFocus(nullptr);
    }
}

HWND WindowManager::SetFocus(Window* window) {
    Window* old = focus;
    if (window == old) {
        return HandleOf(old);
    }
    if (window != nullptr) {
        if (!window->IsAlive()) {
            return nullptr;
        }
        Window& top = TopLevelOf(*window);
        if (&top != active) {
            const HWND handle = window->handle;
            Activate(&top, WA_ACTIVE);
            if (FindAlive(handle) != window || active != &top) {
                return nullptr;
            }
            if (focus == window) {
                return HandleOf(old);
            }
        }
    }
    Window* previous = focus;
    focus = window;
    if (previous != nullptr && previous->life != WindowLife::Gone) {
        SendToWindow(*previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(HandleOf(window)), 0);
    }
    if (window != nullptr && focus == window && window->life != WindowLife::Gone) {
        SendToWindow(*window, WM_SETFOCUS, reinterpret_cast<WPARAM>(HandleOf(previous)), 0);
    }
    return HandleOf(old);
}

HWND WindowManager::SetCapture(Window* window) {
    Window* old = capture;
    if (old == window) {
        return HandleOf(old);
    }
    capture = window;
    if (old != nullptr && old->life != WindowLife::Gone) {
        SendToWindow(*old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(HandleOf(window)));
    }
    return HandleOf(old);
}

// ---- Deferred positions ----

HDWP WindowManager::BeginDeferred() {
    const std::uintptr_t key = device.Handles().NextObject();
    deferred[key];
    return reinterpret_cast<HDWP>(key);
}

bool WindowManager::AddDeferred(HDWP positions, const WINDOWPOS& position) {
    const auto found = deferred.find(reinterpret_cast<std::uintptr_t>(positions));
    if (found == deferred.end()) {
        return false;
    }
    found->second.push_back(position);
    return true;
}

std::optional<std::vector<WINDOWPOS>> WindowManager::TakeDeferred(HDWP positions) {
    const auto found = deferred.find(reinterpret_cast<std::uintptr_t>(positions));
    if (found == deferred.end()) {
        return std::nullopt;
    }
    std::vector<WINDOWPOS> taken = std::move(found->second);
    deferred.erase(found);
    return taken;
}

// ---- Painting bookkeeping ----

void WindowManager::Invalidate(Window& window, const RECT* rect, bool erase) {
    const RECT clientArea{0, 0, window.ClientWidth(), window.ClientHeight()};
    RECT area = clientArea;
    if (rect != nullptr && !IntersectRect(&area, rect, &clientArea)) {
        return;
    }
    if (IsRectEmpty(&area)) {
        return;
    }
    UnionRect(&window.update, &window.update, &area);
    window.eraseNeeded = window.eraseNeeded || erase;
    if (window.program != nullptr) {
        auto& pending = window.program->paintPending;
        if (std::find(pending.begin(), pending.end(), &window) == pending.end()) {
            pending.push_back(&window);
        }
    }
}

void WindowManager::Validate(Window& window, const RECT* rect) {
    if (rect != nullptr) {
        RECT covered{};
        UnionRect(&covered, rect, &window.update);
        // Only a rectangle that covers the whole invalid area clears it; a part
        // of it leaves the area to be painted (a little more than needed).
        if (!EqualRect(&covered, rect)) {
            return;
        }
    }
    window.update = RECT{};
    window.eraseNeeded = false;
    if (!window.frameNeeded && window.program != nullptr) {
        EraseValue(window.program->paintPending, &window);
    }
}

bool WindowManager::NeedsPaint(const Window& window) const {
    return (!IsRectEmpty(&window.update) || window.frameNeeded) && IsShown(window) &&
           window.redraw && window.life != WindowLife::Gone;
}

} // namespace sim

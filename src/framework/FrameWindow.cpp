#include "framework/FrameWindow.h"

#include "framework/Application.h"
#include "framework/Strings.h"
#include "platform/Painting.h"
#include "platform/Resources.h"

namespace framework {

FrameWindow::~FrameWindow() {
    if (application != nullptr) {
        application->ForgetMainWindow(*this);
    }
    if (accelerators != nullptr) {
        DestroyAcceleratorTable(accelerators);
    }
}

bool FrameWindow::LoadFrame(UINT resourceId, DWORD style, HWND parent) {
    if (Handle() != nullptr) {
        return false;
    }
    const auto name = MAKEINTRESOURCEW(static_cast<WORD>(resourceId));
    if (accelerators == nullptr) {
        accelerators = LoadAcceleratorsW(ProgramInstance(), name);
    }
    CreateParams params;
    params.title = LoadString(resourceId);
    params.style = style;
    params.parent = parent;
    // A frame is not released while its creation fails: it is not yet its
    // window's, so it is still here afterwards.
    if (!Create(std::move(params))) {
        return false;
    }
    if (application != nullptr && application->MainWindow() == this) {
        application->HandMainWindowToItsWindow(*this);
    }
    return true;
}

Window* FrameWindow::View() const {
    return Window::FromHandle(GetDlgItem(static_cast<int>(kViewId)));
}

bool FrameWindow::RouteCommand(const Message& command) {
    if (Window* view = View(); view != nullptr && view->RouteCommand(command)) {
        return true;
    }
    if (Window::RouteCommand(command)) {
        return true;
    }
    return application != nullptr && application->RouteCommand(command);
}

bool FrameWindow::PreTranslateMessage(MSG& message) {
    if (accelerators == nullptr || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    return TranslateAcceleratorW(Handle(), accelerators, &message) != 0;
}

bool FrameWindow::PreCreateWindow(CreateParams& params) {
    if (!Window::PreCreateWindow(params)) {
        return false;
    }
    params.traits.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    params.traits.cursor = LoadCursorW(nullptr, IDC_ARROW);
    params.traits.background = GetSysColorBrush(COLOR_WINDOW);
    return true;
}

const MessageTable& FrameWindow::Messages() const {
    using T = Table<FrameWindow>;
    static const T table{Window::Messages(),
                         {T::Size(&FrameWindow::OnSize), T::SetFocus(&FrameWindow::OnSetFocus)}};
    return table;
}

void FrameWindow::OnSize(UINT, int width, int height) {
    Default();
    if (const Window* view = View()) {
        view->MoveWindow(0, 0, width, height, true);
    }
}

void FrameWindow::OnSetFocus(HWND) {
    if (const Window* view = View()) {
        view->SetFocus();
        return;
    }
    Default();
}

LRESULT FrameWindow::WindowProc(const Message& message) {
    const LRESULT result = Window::WindowProc(message);
    // The end of the main window is the end of the program's message loop.
    if (message.id == WM_NCDESTROY && application != nullptr && application->MainWindow() == this) {
        PostQuitMessage(0);
    }
    return result;
}

void FrameWindow::PostNcDestroy() {
    if (ownedByWindow) {
        // The frame belongs to its window, which has just gone; nothing of the
        // frame runs any more (the framework calls this after the last handler).
        delete this;
    }
}

namespace {

BOOL OfferMainWindow(HWND window, LPARAM found) {
    auto* frame = dynamic_cast<FrameWindow*>(Window::FromHandle(window));
    if (frame == nullptr || frame->GetApplication() == nullptr ||
        frame->GetApplication()->MainWindow() != frame) {
        return TRUE;
    }
    *reinterpret_cast<FrameWindow**>(found) = frame;
    return FALSE;
}

} // namespace

FrameWindow* FindMainWindow() {
    FrameWindow* found = nullptr;
    EnumWindows(&OfferMainWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace framework

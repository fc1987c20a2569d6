#include "framework/Application.h"

#include "framework/Strings.h"
#include "platform/ControlHost.h"
#include "platform/Text.h"

namespace framework {

Application::~Application() {
    CloseMainWindow();
}

bool Application::EnableControlHosting() {
    return ::EnableControlHosting() != FALSE;
}

bool Application::RouteCommand(const Message& command) {
    return Messages().Dispatch(*this, command).has_value();
}

bool Application::EndStartup(int exitCode) {
    startupExitCode = exitCode;
    return false;
}

bool Application::PreTranslateMessage(MSG& message) {
    const HWND main = mainWindow != nullptr ? mainWindow->Handle() : nullptr;
    // From the message's window up to its top-level window.
    for (HWND window = message.hwnd; window != nullptr; window = GetParent(window)) {
        if (Window* object = Window::FromHandle(window)) {
            if (object->PreTranslateMessage(message)) {
                return true;
            }
        }
        if (window == main) {
            return false;
        }
        if ((GetWindowLongW(window, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
    }
    // The main window's accelerators serve the program's other windows too
    // (the menu bar, a message without a window).
    if (main != nullptr) {
        if (Window* object = Window::FromHandle(main)) {
            return object->PreTranslateMessage(message);
        }
    }
    return false;
}

void Application::AdoptMainWindow(std::unique_ptr<FrameWindow> frame) {
    if (frame == nullptr) {
        return;
    }
    if (mainWindow != nullptr) {
        mainWindow->application = nullptr;
    }
    frame->application = this;
    mainWindow = frame.get();
    pendingMainWindow = std::move(frame);
}

void Application::HandMainWindowToItsWindow(FrameWindow& frame) {
    if (pendingMainWindow.get() == &frame) {
        // From here the window owns the frame (FrameWindow::PostNcDestroy).
        static_cast<void>(pendingMainWindow.release());
        frame.ownedByWindow = true;
    }
}

void Application::ForgetMainWindow(const FrameWindow& frame) {
    if (mainWindow == &frame) {
        mainWindow = nullptr;
    }
}

int Application::Run() {
    // Without a main window nothing would ever end the loop.
    if (mainWindow == nullptr || IsWindow(mainWindow->Handle()) == FALSE) {
        PostQuitMessage(0);
    }
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            quitCode = static_cast<int>(static_cast<LPARAM>(message.wParam));
            return quitCode;
        }
        if (got == -1) {
            // Cannot happen without a window filter; never spin on it.
            quitCode = kStartupFailed;
            return quitCode;
        }
        if (!PreTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

void Application::CloseMainWindow() {
    if (mainWindow != nullptr && mainWindow->Handle() != nullptr) {
        // A frame that belongs to its window goes with it.
        mainWindow->DestroyWindow();
    }
    pendingMainWindow.reset();
    if (mainWindow != nullptr) {
        mainWindow->application = nullptr;
        mainWindow = nullptr;
    }
}

int RunProgram(Application& application, HINSTANCE instance, LPWSTR commandLine) {
    application.instance = instance;
    application.commandLine = text::FromWide(commandLine);
    application.title = ModuleBaseName();
    int exitCode = 0;
    if (application.InitApplication() && application.InitInstance()) {
        application.Run();
        exitCode = application.ExitInstance();
    } else {
        exitCode = application.startupExitCode;
    }
    application.CloseMainWindow();
    return exitCode;
}

} // namespace framework

#include "StandInProgram.h"

#include <cstdlib>
#include <string>

#include "platform/ControlHost.h"
#include "platform/Dialogs.h"
#include "platform/Messages.h"
#include "platform/Program.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "resources/ProgramResources.h"
#include "resources/resource.h"

namespace host {
namespace {

constexpr WCHAR kClassName[] = u"VantrelStandIn";
constexpr WORD kOpenCommand = 57600;
constexpr WORD kExitCommand = 32826;
constexpr WORD kFullScreenCommand = 32777;
constexpr UINT kControlId = 1;
constexpr DISPID kMovieUrl = 102;
constexpr WCHAR kMovieControl[] = u"{D27CDB6E-AE6D-11CF-96B8-444553540000}";
constexpr WCHAR kDefaultMovie[] = u"\\Program Files\\Vantrel\\Vantrel.exe.swf";

// The program's state, kept by its main function and reached through the
// window's user data.
struct StandIn {
    std::u16string commandLine;
    bool fullScreen = false;
};

StandIn& StateOf(HWND window) {
    return *reinterpret_cast<StandIn*>(GetWindowLongW(window, GWL_USERDATA));
}

// The movie of the command line (or the default movie) in a movie control
// over the whole window; a message box when there is no control.
void ShowMovie(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    EnableControlHosting();
    const HWND control =
        CreateControlWindow(kMovieControl, u"", WS_VISIBLE, client, window, kControlId);
    if (control == nullptr) {
        MessageBoxW(window, u"The movie control is not installed.", u"Stand-in", MB_OK);
        return;
    }
    const std::u16string& line = StateOf(window).commandLine;
    const Variant url = Variant::Text(u"file://" + (line.empty() ? kDefaultMovie : line));
    InvokeControl(control, kMovieUrl, DISPATCH_PROPERTYPUT, std::span(&url, 1), nullptr);
}

void ToggleFullScreen(HWND window) {
    const bool full = !StateOf(window).fullScreen;
    StateOf(window).fullScreen = full;
    const int bar = GetSystemMetrics(SM_CYMENU);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    SHFullScreen(window, full ? SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON
                              : SHFS_SHOWTASKBAR | SHFS_HIDESIPBUTTON);
    if (full) {
        MoveWindow(window, 0, 0, width, height, TRUE);
    } else {
        MoveWindow(window, 0, bar, width, height - 2 * bar, TRUE);
    }
}

LRESULT StandInProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        SHMENUBARINFO bar;
        bar.hwndParent = window;
        bar.nToolBarId = IDR_MAINFRAME;
        bar.hInstRes = GetModuleHandleW(nullptr);
        SHCreateMenuBar(&bar);
        PostMessageW(window, WM_APP, 0, 0);
        return 0;
    }
    case WM_APP:
        ShowMovie(window);
        return 0;
    case WM_SIZE:
        if (const HWND control = GetDlgItem(window, kControlId)) {
            MoveWindow(control, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        }
        return 0;
    case WM_COMMAND: {
        const WORD command = LOWORD(wParam);
        if (command == kOpenCommand) {
            MessageBoxW(window, u"Open", u"Stand-in", MB_OKCANCEL);
        } else if (command == kExitCommand) {
            DestroyWindow(window);
        } else if (command == kFullScreenCommand) {
            ToggleFullScreen(window);
        } else {
            const std::u16string text = u"Command " + text::FromUtf8(std::to_string(command));
            SetWindowTextW(window, text.c_str());
        }
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

int StandInMain(HINSTANCE instance, LPWSTR commandLine) {
    const std::string line = text::ToUtf8(text::FromWide(commandLine));
    if (line.rfind("exit ", 0) == 0) {
        return std::atoi(line.c_str() + 5);
    }
    StandIn state{text::FromWide(commandLine)};
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = StandInProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    const std::u16string title = u"Stand-in " + text::FromWide(commandLine);
    const int bar = GetSystemMetrics(SM_CYMENU);
    const HWND window = CreateWindowExW(
        0, kClassName, title.c_str(), WS_VISIBLE, 0, bar, GetSystemMetrics(SM_CXSCREEN),
        GetSystemMetrics(SM_CYSCREEN) - 2 * bar, nullptr, nullptr, instance, &state);
    if (window == nullptr) {
        return 1;
    }
    SetForegroundWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace

sim::ProgramImage StandInProgram() {
    sim::ProgramImage image;
    image.resources = resources::ProgramResources();
    image.entry = StandInMain;
    return image;
}

} // namespace host

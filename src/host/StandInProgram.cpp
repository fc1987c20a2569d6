#include "host/StandInProgram.h"

#include <cstdlib>
#include <string>

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

LRESULT StandInProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        SHMENUBARINFO bar;
        bar.hwndParent = window;
        bar.nToolBarId = IDR_MAINFRAME;
        bar.hInstRes = GetModuleHandleW(nullptr);
        SHCreateMenuBar(&bar);
        return 0;
    }
    case WM_COMMAND: {
        const WORD command = LOWORD(wParam);
        if (command == kOpenCommand) {
            MessageBoxW(window, u"Open", u"Stand-in", MB_OKCANCEL);
        } else if (command == kExitCommand) {
            DestroyWindow(window);
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
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = StandInProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
    const std::u16string title = u"Stand-in " + text::FromWide(commandLine);
    const int bar = GetSystemMetrics(SM_CYMENU);
    const HWND window = CreateWindowExW(
        0, kClassName, title.c_str(), WS_VISIBLE, 0, bar, GetSystemMetrics(SM_CXSCREEN),
        GetSystemMetrics(SM_CYSCREEN) - 2 * bar, nullptr, nullptr, instance, nullptr);
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

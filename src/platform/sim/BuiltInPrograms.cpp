#include "platform/sim/BuiltInPrograms.h"

#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Painting.h"
#include "platform/System.h"
#include "platform/Text.h"
#include "platform/Window.h"

namespace sim {
namespace {

// A window that paints its own text on the window colour, word-wrapped.
LRESULT TextPaneProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        RECT area{};
        GetClientRect(window, &area);
        FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
        WCHAR text[512] = {};
        GetWindowTextW(window, text, 512);
        area.left += 8;
        area.top += 8;
        area.right -= 8;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextW(dc, text, -1, &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
        EndPaint(window, &paint);
        return 0;
    }
    if (message == WM_DESTROY && GetParent(window) == nullptr) {
        PostQuitMessage(0);
        return 0;
    }
    if (message == WM_SIZE && GetParent(window) == nullptr) {
        // The content fills the viewer.
        if (const HWND content = GetWindow(window, GW_CHILD)) {
            MoveWindow(content, 0, 0, LOWORD(static_cast<WPARAM>(lParam)),
                       HIWORD(static_cast<WPARAM>(lParam)), TRUE);
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

RECT WorkArea() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

bool Register(HINSTANCE instance, LPCWSTR className) {
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = TextPaneProcedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = className;
    return RegisterClassW(&windowClass) != 0;
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int HelpViewerMain(HINSTANCE instance, LPWSTR commandLine) {
    if (!Register(instance, kHelpViewerClass) || !Register(instance, kHelpContentClass)) {
        return 1;
    }
    const HelpRequest request = ParseHelpCommandLine(text::FromWide(commandLine));
    const bool present = GetFileAttributesW(request.file.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::u16string body = u"File: " + request.file + u"\nTopic: " +
                          (request.topic.empty() ? u"(none)" : request.topic);
    if (!present) {
        body += u"\n\nThe help file is not on this device.";
    }
    const RECT area = WorkArea();
    const HWND viewer = CreateWindowExW(0, kHelpViewerClass, u"Help", WS_VISIBLE, area.left,
                                        area.top, area.right - area.left, area.bottom - area.top,
                                        nullptr, nullptr, instance, nullptr);
    if (viewer == nullptr) {
        return 1;
    }
    CreateWindowExW(0, kHelpContentClass, body.c_str(), WS_CHILD | WS_VISIBLE, 0, 0,
                    area.right - area.left, area.bottom - area.top, viewer, nullptr, instance,
                    nullptr);
    SetForegroundWindow(viewer);
    return RunMessageLoop();
}

int TodayMain(HINSTANCE instance, LPWSTR) {
    if (!Register(instance, kTodayClass)) {
        return 1;
    }
    const RECT area = WorkArea();
    const HWND today = CreateWindowExW(0, kTodayClass, u"Today", WS_VISIBLE, area.left, area.top,
                                       area.right - area.left, area.bottom - area.top, nullptr,
                                       nullptr, instance, nullptr);
    if (today == nullptr) {
        return 1;
    }
    return RunMessageLoop();
}

} // namespace

HelpRequest ParseHelpCommandLine(std::u16string_view commandLine) {
    std::u16string_view rest = commandLine;
    while (!rest.empty() && rest.front() == u' ') {
        rest.remove_prefix(1);
    }
    if (rest.size() >= 5 && text::EqualsIgnoringCase(rest.substr(0, 5), u"file:")) {
        rest.remove_prefix(5);
    }
    HelpRequest request;
    const std::size_t hash = rest.find(u'#');
    request.file = std::u16string(rest.substr(0, hash));
    if (hash != std::u16string_view::npos) {
        request.topic = std::u16string(rest.substr(hash + 1));
    }
    if (request.file.find_first_of(u"\\/") == std::u16string::npos) {
        request.file = u"\\Windows\\" + request.file;
    }
    return request;
}

ProgramImage HelpViewerImage() {
    ProgramImage image;
    image.modulePath = kHelpViewerPath;
    image.entry = HelpViewerMain;
    return image;
}

ProgramImage TodayScreenImage() {
    ProgramImage image;
    image.modulePath = kTodayPath;
    image.entry = TodayMain;
    return image;
}

} // namespace sim

#include "platform/sim/BuiltInPrograms.h"

#include <vector>

#include "platform/Controls.h"
#include "platform/Files.h"
#include "platform/Input.h"
#include "platform/Messages.h"
#include "platform/Painting.h"
#include "platform/Shell.h"
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

// The Today screen's list of the documents in "\My Documents": a tap on one
// opens it, as the shell opens a document, through its file class.
constexpr char16_t kDocumentsFolder[] = u"\\My Documents\\";
constexpr int kDocumentListId = 1;
constexpr char16_t kDocumentsHeading[] = u"My Documents";

int HeadingHeight() {
    return GetSystemMetrics(SM_CYMENU);
}

void FillDocumentList(HWND list) {
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    WIN32_FIND_DATAW found;
    const std::u16string pattern = std::u16string(kDocumentsFolder) + u"*.*";
    const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(found.cFileName));
        }
    } while (FindNextFileW(search, &found) != FALSE);
    FindClose(search);
}

// Keys move the selection without opening anything; a tap opens.
bool MovingWithKeys() {
    for (const int key : {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME, VK_END}) {
        if (GetKeyState(key) < 0) {
            return true;
        }
    }
    return false;
}

void OpenChosenDocument(HWND list) {
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (index == LB_ERR || length == LB_ERR || MovingWithKeys()) {
        return;
    }
    std::vector<WCHAR> name(static_cast<std::size_t>(length) + 1, u'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(name.data()));
    const std::u16string path = kDocumentsFolder + std::u16string(name.data());
    SHELLEXECUTEINFOW execute;
    execute.fMask = SEE_MASK_FLAG_NO_UI;
    execute.lpFile = path.c_str();
    ShellExecuteExW(&execute);
}

LRESULT TodayProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        const HWND list = CreateWindowExW(
            0, WC_LISTBOXW, nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 0, 0, 0, 0,
            window, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kDocumentListId)), nullptr,
            nullptr);
        FillDocumentList(list);
        return 0;
    }
    case WM_ACTIVATE:
        // Documents come and go while the shell is behind other programs.
        if (LOWORD(wParam) != WA_INACTIVE) {
            FillDocumentList(GetDlgItem(window, kDocumentListId));
        }
        break;
    case WM_SIZE:
        MoveWindow(GetDlgItem(window, kDocumentListId), 0, HeadingHeight(),
                   LOWORD(static_cast<WPARAM>(lParam)),
                   HIWORD(static_cast<WPARAM>(lParam)) - HeadingHeight(), TRUE);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kDocumentListId && HIWORD(wParam) == LBN_SELCHANGE) {
            OpenChosenDocument(reinterpret_cast<HWND>(lParam));
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        RECT heading{0, 0, 0, HeadingHeight()};
        GetClientRect(window, &heading);
        heading.bottom = HeadingHeight();
        FillRect(dc, &heading, GetSysColorBrush(COLOR_WINDOW));
        heading.left += 8;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        DrawTextW(dc, kDocumentsHeading, -1, &heading, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int TodayMain(HINSTANCE instance, LPWSTR) {
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = TodayProcedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = kTodayClass;
    if (RegisterClassW(&windowClass) == 0) {
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

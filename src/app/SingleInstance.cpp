#include "app/SingleInstance.h"

#include <array>
#include <vector>

#include "app/ProgramPath.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Program.h"
#include "platform/System.h"
#include "platform/Text.h"
#include "platform/Window.h"

namespace player {
namespace {

constexpr int kAttempts = 40;
constexpr DWORD kAttemptPause = 250;

// The check belongs to the handheld platforms only.
bool IsHandheld() {
    std::array<WCHAR, 64> type{};
    if (SystemParametersInfoW(SPI_GETPLATFORMTYPE, static_cast<UINT>(type.size() * sizeof(WCHAR)),
                              type.data(), 0) == FALSE) {
        return false;
    }
    const std::u16string_view name(type.data(), text::Length(type.data()));
    return text::EqualsIgnoringCase(name, u"PocketPC") ||
           text::EqualsIgnoringCase(name, u"Smartphone");
}

std::u16string ProcessImagePath(DWORD processId) {
    const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        return {};
    }
    std::vector<WCHAR> buffer(1024, u'\0');
    DWORD size = static_cast<DWORD>(buffer.size());
    std::u16string path;
    if (QueryFullProcessImageNameW(process, 0, buffer.data(), &size) != FALSE) {
        path.assign(buffer.data(), size);
    }
    CloseHandle(process);
    return path;
}

struct Search {
    std::u16string programPath;
    DWORD ownProcess = 0;
    HWND found = nullptr;
};

// Top-level windows of other processes started from the same program file,
// front to back. The window to bring forward is the player's main window, not
// one of the windows it owns (its menu bars, a message box): owned windows
// are passed over where the owner is known, and since an owned window always
// stays in front of its owner, the last match is a window without an owner
// even where the owner cannot be read (a window of another host process).
BOOL OfferWindow(HWND window, LPARAM lParam) {
    auto& search = *reinterpret_cast<Search*>(lParam);
    if (GetWindow(window, GW_OWNER) != nullptr) {
        return TRUE;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == 0 || processId == search.ownProcess) {
        return TRUE;
    }
    // The handheld's file system ignores letter case, and so does this.
    if (text::EqualsIgnoringCase(ProcessImagePath(processId), search.programPath)) {
        search.found = window;
    }
    return TRUE;
}

HWND FindRunningPlayer(const std::u16string& programPath) {
    Search search{programPath, GetCurrentProcessId(), nullptr};
    EnumWindows(&OfferWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

std::u16string SingleInstanceName(const std::u16string& programPath) {
    std::u16string name = programPath;
    for (char16_t& c : name) {
        if (c == u'\\') {
            c = u'/';
        }
    }
    return name;
}

SingleInstance::~SingleInstance() {
    if (marker != nullptr) {
        CloseHandle(marker);
    }
}

bool SingleInstance::HandedOver() {
    if (marker != nullptr || !IsHandheld()) {
        return false;
    }
    const std::u16string programPath = ProgramPath();
    marker = CreateMutexW(nullptr, FALSE, SingleInstanceName(programPath).c_str());
    if (marker == nullptr || GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (const HWND running = FindRunningPlayer(programPath)) {
            // The low bit asks for the window's last active popup as well.
            SetForegroundWindow(
                reinterpret_cast<HWND>(reinterpret_cast<UINT_PTR>(running) | UINT_PTR{1}));
            return true;
        }
        if (attempt + 1 == kAttempts) {
            break;
        }
        // The first player may still be starting: let it run, then look again.
        const HANDLE thread = GetCurrentThread();
        const int priority = GetThreadPriority(thread);
        SetThreadPriority(thread, THREAD_PRIORITY_IDLE);
        Sleep(kAttemptPause);
        SetThreadPriority(thread, priority);
    }
    return false;
}

} // namespace player

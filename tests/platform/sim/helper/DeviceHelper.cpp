// A program for the tests that need real processes on one device directory.
// It runs a device of its own on the directory (real clock) and one program on
// it, and says on its standard output what happens, a line at a time:
//
//   vantrel_device_helper instance DIR
//     starts as the player does: the named mutex made from its program path;
//     when another instance holds it ("mutex exists"), looks for that
//     instance's top-level window through the windows of every process, brings
//     it forward ("found HWND") and ends with -1; otherwise ("mutex created")
//     shows its main window ("ready HWND"), after which the device brings the
//     Today screen in front of it ("today HWND"), and runs until killed,
//     saying "activated HWND" whenever the main window is activated.
//
//   vantrel_device_helper instance-with-popup DIR
//     the same, and then shows a popup owned by the main window and disables
//     the main window, as a modal dialog does ("popup HWND").
//
//   vantrel_device_helper foreground DIR HWND
//     brings that window of another process forward with the handle's low
//     bit set ("asked").
//
//   vantrel_device_helper registry-writer DIR PREFIX
//     sets the values PREFIX0, PREFIX1, ... (each a DWORD holding its number)
//     under HKEY_LOCAL_MACHINE\Stress, saying "ack N" once each is stored,
//     until killed.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Files.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Program.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/Device.h"
#include "platform/sim/SystemServices.h"
#include "platform/sim/WindowManager.h"

namespace {

constexpr char16_t kMainClass[] = u"HelperMain";

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

std::string HandleText(HWND window) {
    return std::to_string(reinterpret_cast<std::uintptr_t>(window));
}

LRESULT MainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
        Say("activated " + HandleText(window));
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterWindowClass(HINSTANCE instance, LPCWSTR name, WNDPROC procedure) {
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
}

struct Search {
    std::u16string modulePath;
    DWORD ownPid = 0;
    HWND found = nullptr;
};

// A top-level window of another process started from the same program file.
BOOL FindInstance(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == 0 || pid == search->ownPid) {
        return TRUE;
    }
    const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (process == nullptr) {
        return TRUE;
    }
    WCHAR path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    const bool same = QueryFullProcessImageNameW(process, 0, path, &length) &&
                      text::EqualsIgnoringCase(path, search->modulePath);
    CloseHandle(process);
    if (same) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

int InstanceMain(HINSTANCE instance, LPWSTR commandLine) {
    WCHAR module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::u16string name = module;
    for (char16_t& c : name) {
        if (c == u'\\') {
            c = u'/';
        }
    }
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        Say("mutex exists");
        Search search{module, GetCurrentProcessId(), nullptr};
        for (int attempt = 0; attempt < 40; ++attempt) {
            EnumWindows(FindInstance, reinterpret_cast<LPARAM>(&search));
            if (search.found != nullptr) {
                Say("found " + HandleText(search.found));
                SetForegroundWindow(
                    reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(search.found) | 1));
                return -1;
            }
            SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
            Sleep(250);
            SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
        }
        Say("not found");
        return 1;
    }
    Say(mutex != nullptr ? "mutex created" : "mutex failed");
    RegisterWindowClass(instance, kMainClass, MainProcedure);
    const HWND mainWindow = CreateWindowExW(0, kMainClass, u"Helper", WS_VISIBLE, 0, 26, 240, 268,
                                            nullptr, nullptr, instance, nullptr);
    Say("ready " + HandleText(mainWindow));
    if (text::FromWide(commandLine) == u"popup") {
        const HWND popup = CreateWindowExW(0, kMainClass, u"Helper popup", WS_VISIBLE, 20, 60, 200,
                                           140, mainWindow, nullptr, instance, nullptr);
        EnableWindow(mainWindow, FALSE);
        Say("popup " + HandleText(popup));
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    return 0;
}

// The command line is the window's handle.
int ForegroundMain(HINSTANCE, LPWSTR commandLine) {
    const auto handle =
        static_cast<std::uintptr_t>(std::stoull(text::ToUtf8(text::FromWide(commandLine))));
    SetForegroundWindow(reinterpret_cast<HWND>(handle | 1));
    Say("asked");
    return 0;
}

// The command line is the prefix of the value names.
int RegistryWriterMain(HINSTANCE, LPWSTR commandLine) {
    const std::u16string prefix = text::FromWide(commandLine);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Stress", 0, nullptr, 0, 0, nullptr, &key, nullptr) !=
        static_cast<LONG>(ERROR_SUCCESS)) {
        Say("cannot create the key");
        return 1;
    }
    for (DWORD i = 0;; ++i) {
        const std::u16string name = prefix + text::FromInt(i);
        const LONG result = RegSetValueExW(key, name.c_str(), 0, REG_DWORD,
                                           reinterpret_cast<const BYTE*>(&i), sizeof i);
        if (result != static_cast<LONG>(ERROR_SUCCESS)) {
            Say("failed " + std::to_string(result));
            return 1;
        }
        Say("ack " + std::to_string(i));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(
            stderr,
            "usage: %s instance|instance-with-popup|foreground|registry-writer DIR [ARGUMENT]\n",
            argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    sim::DeviceConfig config;
    config.directory = argv[2];
    config.clock = sim::ClockMode::Real;
    sim::Device device(config);
    sim::ProgramImage image;
    std::u16string commandLine;
    if (mode == "instance" || mode == "instance-with-popup") {
        image.entry = InstanceMain;
        commandLine = mode == "instance" ? u"" : u"popup";
    } else if (mode == "foreground" && argc >= 4) {
        commandLine = text::FromUtf8(argv[3]);
        image.entry = ForegroundMain;
        image.modulePath = u"\\Windows\\foreground.exe";
    } else if (mode == "registry-writer" && argc >= 4) {
        commandLine = text::FromUtf8(argv[3]);
        image.entry = RegistryWriterMain;
    } else {
        std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
        return 2;
    }
    sim::Program& program = device.Launch(image, commandLine);
    if (mode.starts_with("instance")) {
        // Once the main window is there, another program takes the front, so
        // that bringing the main window forward shows.
        auto mainWindow = [&]() -> HWND {
            for (const sim::Window* window : device.Windows().TopLevel()) {
                if (window->IsAlive() && window->windowClass->name == kMainClass) {
                    return window->handle;
                }
            }
            return nullptr;
        };
        device.RunUntil([&] { return program.Finished() || mainWindow() != nullptr; }, 30'000);
        if (!program.Finished()) {
            Say("today " + HandleText(device.Services().ShowTodayScreen()));
        }
    }
    while (!program.Finished()) {
        device.RunUntil([&] { return program.Finished(); }, 60'000);
    }
    const int code = program.ExitCode().value_or(1);
    return code;
}

// Processes, threads, mutexes and the sockets layer's start (platform/Process.h,
// platform/Sockets.h) on the current device.
#include <algorithm>
#include <cstring>

#include "platform/Process.h"
#include "platform/Program.h"
#include "platform/Sockets.h"
#include "platform/Text.h"
#include "platform/sim/Device.h"
#include "platform/sim/ProgramThread.h"
#include "platform/sim/ServicesAccess.h"

namespace {

const HANDLE kCurrentThread = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-2));

sim::ProcessServices* Processes() {
    sim::SystemServices* services = sim::CurrentServices();
    return services != nullptr ? &services->Processes() : nullptr;
}

// Sets the last error and returns value.
template <typename T>
T Finish(T value, DWORD error) {
    SetLastError(error);
    return value;
}

} // namespace

BOOL CloseHandle(HANDLE handle) {
    sim::ProcessServices* processes = Processes();
    DWORD error = ERROR_INVALID_HANDLE;
    const bool closed = processes != nullptr && processes->CloseHandle(handle, error);
    return closed ? TRUE : Finish(FALSE, error);
}

LPWSTR GetCommandLineW() {
    sim::Program* program = sim::CurrentProgram();
    // Never written: programs only read their command line.
    static char16_t empty[1] = {0};
    // The program keeps its command line for its whole life.
    return program != nullptr ? const_cast<LPWSTR>(program->CommandLine().c_str()) : empty;
}

BOOL CreateProcessW(LPCWSTR imageName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES,
                    LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID, LPCWSTR, STARTUPINFOW*,
                    PROCESS_INFORMATION* processInformation) {
    sim::ProcessServices* processes = Processes();
    DWORD error = ERROR_INVALID_PARAMETER;
    const bool started =
        processes != nullptr && processes->CreateProcess(imageName, commandLine, sim::CallingPid(),
                                                         processInformation, error);
    return started ? TRUE : Finish(FALSE, error);
}

BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode) {
    sim::ProcessServices* processes = Processes();
    DWORD error = ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    if (exitCode == nullptr || processes == nullptr ||
        !processes->GetExitCode(process, code, error)) {
        return Finish(FALSE, error);
    }
    *exitCode = code;
    return TRUE;
}

HANDLE OpenProcess(DWORD, BOOL, DWORD processId) {
    sim::ProcessServices* processes = Processes();
    DWORD error = ERROR_INVALID_PARAMETER;
    const HANDLE process = processes != nullptr
                               ? processes->OpenProcess(processId, sim::CallingPid(), error)
                               : nullptr;
    return process != nullptr ? process : Finish<HANDLE>(nullptr, error);
}

BOOL QueryFullProcessImageNameW(HANDLE process, DWORD flags, LPWSTR exeName, DWORD* size) {
    sim::ProcessServices* processes = Processes();
    if (processes == nullptr || flags != 0 || exeName == nullptr || size == nullptr) {
        return Finish(FALSE, ERROR_INVALID_PARAMETER);
    }
    DWORD error = ERROR_SUCCESS;
    const auto path = processes->ImagePath(process, error);
    if (!path) {
        return Finish(FALSE, error);
    }
    if (path->size() + 1 > *size) {
        return Finish(FALSE, ERROR_INSUFFICIENT_BUFFER);
    }
    std::copy(path->begin(), path->end(), exeName);
    exeName[path->size()] = 0;
    *size = static_cast<DWORD>(path->size());
    return TRUE;
}

HANDLE GetCurrentThread() {
    return kCurrentThread;
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
    sim::SystemServices* services = sim::CurrentServices();
    DWORD error = ERROR_INVALID_PARAMETER;
    const bool set = services != nullptr && services->Processes().SetPriority(
                                                thread, priority, sim::CallingThread(), error);
    if (sim::Device* device = sim::Device::Current()) {
        device->Record("SetThreadPriority",
                       {static_cast<long long>(reinterpret_cast<std::intptr_t>(thread)), priority},
                       set);
    }
    return set ? TRUE : Finish(FALSE, error);
}

int GetThreadPriority(HANDLE thread) {
    sim::ProcessServices* processes = Processes();
    DWORD error = ERROR_INVALID_PARAMETER;
    const int priority = processes != nullptr
                             ? processes->Priority(thread, sim::CallingThread(), error)
                             : THREAD_PRIORITY_ERROR_RETURN;
    return priority != THREAD_PRIORITY_ERROR_RETURN ? priority : Finish(priority, error);
}

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCWSTR name) {
    sim::ProcessServices* processes = Processes();
    if (processes == nullptr) {
        return Finish<HANDLE>(nullptr, ERROR_INVALID_PARAMETER);
    }
    const std::u16string text = text::FromWide(name);
    DWORD error = ERROR_SUCCESS;
    const HANDLE mutex =
        processes->CreateMutex(name != nullptr ? &text : nullptr, initialOwner != FALSE,
                               sim::CallingPid(), sim::CallingThread(), error);
    // Success sets the last error too: 0, or ERROR_ALREADY_EXISTS.
    return Finish(mutex, error);
}

BOOL ReleaseMutex(HANDLE mutex) {
    sim::ProcessServices* processes = Processes();
    DWORD error = ERROR_INVALID_HANDLE;
    const bool released =
        processes != nullptr && processes->ReleaseMutex(mutex, sim::CallingThread(), error);
    return released ? TRUE : Finish(FALSE, error);
}

int WSAStartup(WORD versionRequested, WSADATA* data) {
    sim::ProcessServices* processes = Processes();
    if (data == nullptr) {
        return WSAEFAULT;
    }
    const int result = processes != nullptr
                           ? processes->SocketStartup(versionRequested, sim::CallingPid())
                           : WSASYSNOTREADY;
    if (result == 0) {
        *data = WSADATA();
        const int major = versionRequested & 0xFF;
        // The highest version offered is 2.2; a request above it gets 2.2.
        const bool above = major > 2 || (major == 2 && (versionRequested >> 8) > 2);
        data->wVersion = above ? MAKEWORD(2, 2) : versionRequested;
        data->wHighVersion = MAKEWORD(2, 2);
        std::strcpy(data->szDescription, "Simulated Pocket PC sockets");
        std::strcpy(data->szSystemStatus, "Running");
        data->iMaxSockets = 100;
        data->iMaxUdpDg = 65467;
    }
    return result;
}

int WSACleanup() {
    sim::ProcessServices* processes = Processes();
    const int result =
        processes != nullptr ? processes->SocketCleanup(sim::CallingPid()) : WSANOTINITIALISED;
    if (result != 0) {
        SetLastError(static_cast<DWORD>(result));
        return -1;
    }
    return 0;
}

int WSAGetLastError() {
    return static_cast<int>(GetLastError());
}

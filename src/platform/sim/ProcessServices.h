// Processes as programs see them: kernel handles (mutexes, processes,
// threads), thread priorities, the programs installed on the device that
// CreateProcessW can start, the sockets layer's start counts, and what
// crosses host processes sharing the device directory: this process's
// programs and top-level windows published for the others, theirs read back
// (EnumWindows, GetWindowThreadProcessId, OpenProcess), and requests to bring
// a window of another process to the front.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/Process.h"
#include "platform/sim/NamedMutexes.h"
#include "platform/sim/ProcessDirectory.h"
#include "platform/sim/ProgramThread.h"
#include "platform/sim/ServiceRecorder.h"

namespace sim {

class Device;

// A top-level window anywhere on the device, with its process.
struct DeviceWindow {
    HWND handle = nullptr;
    DWORD pid = 0;
    DWORD threadId = 0;
    // The id of the host process it lives in; empty for this one.
    std::string process;
};

class ProcessServices {
public:
    ProcessServices(Device& device, CallRecorder record, bool failSocketStartup);
    ~ProcessServices();

    // Programs that CreateProcessW can start, by device path.
    void Install(ProgramImage image);
    const ProgramImage* FindImage(std::u16string_view name) const;

    // The calls of platform/Process.h for the calling program (pid, thread).
    // CreateMutexW is journaled with its last error as result (0 for a new
    // mutex, ERROR_ALREADY_EXISTS, or why it failed).
    HANDLE CreateMutex(const std::u16string* name, bool initialOwner, DWORD pid, DWORD thread,
                       DWORD& error);
    bool ReleaseMutex(HANDLE mutex, DWORD thread, DWORD& error);
    bool CloseHandle(HANDLE handle, DWORD& error);
    bool CreateProcess(LPCWSTR imageName, LPCWSTR commandLine, DWORD pid,
                       PROCESS_INFORMATION* information, DWORD& error);
    bool GetExitCode(HANDLE process, DWORD& code, DWORD& error);
    HANDLE OpenProcess(DWORD processId, DWORD pid, DWORD& error);
    std::optional<std::u16string> ImagePath(HANDLE process, DWORD& error);
    bool SetPriority(HANDLE thread, int priority, DWORD callingThread, DWORD& error);
    int Priority(HANDLE thread, DWORD callingThread, DWORD& error) const;
    int SocketStartup(WORD version, DWORD pid);
    int SocketCleanup(DWORD pid);
    // A program ended: its handles are closed (freeing its mutex names).
    void ProgramEnded(DWORD pid);

    // Every top-level window on the device, front to back: the processes in
    // the order they last came to the front, each one's windows in its own
    // order.
    std::vector<DeviceWindow> TopLevelWindows();
    // A window of another process, from the last look at the others.
    std::optional<DeviceWindow> RemoteWindow(HWND handle);
    // Asks the process owning window to bring it to the front; false when no
    // other process owns it.
    bool RequestForeground(HWND window);
    // Tells every other process to reread the display settings.
    void AnnounceDisplayChange();

    // From the device's run loop: publishes this process's record when it
    // changed and, now and then, serves the requests left for it.
    // displayChanged is called for a display announcement.
    void Poll(const std::function<void()>& displayChanged);

    std::size_t OpenHandles() const;

private:
    struct LocalMutex {
        DWORD ownerThread = 0;
        int ownerCount = 0;
    };
    struct MutexHandle {
        NamedMutex* named = nullptr;
        std::shared_ptr<LocalMutex> local;
    };
    struct ProcessHandle {
        DWORD pid = 0;
        std::u16string modulePath;
    };
    struct ThreadHandle {
        DWORD threadId = 0;
    };
    struct Handle {
        DWORD owner = 0;
        std::variant<MutexHandle, ProcessHandle, ThreadHandle> object;
    };

    HANDLE NewHandle(DWORD owner, decltype(Handle::object) object);
    // The object of that kind behind a handle, or null; the lock is held.
    template <typename Kind>
    const Kind* FindHandle(HANDLE handle) const {
        const auto found = handles.find(handle);
        return found != handles.end() ? std::get_if<Kind>(&found->second.object) : nullptr;
    }
    // The thread a handle names (kCurrentThread: the calling one), or none
    // for a handle that is not a thread's; the lock is held.
    std::optional<DWORD> ThreadIdOf(HANDLE thread, DWORD callingThread) const;
    void CloseLocked(std::map<HANDLE, Handle>::iterator handle);
    ProcessRecord LocalRecord();
    // Whether the last record published still describes this process.
    bool PublishedIsCurrent() const;
    std::vector<ProcessRecord> Others(bool refresh);

    Device& device;
    CallRecorder record;
    bool failSocketStartup;
    mutable std::mutex lock;
    std::vector<ProgramImage> images;
    NamedMutexTable mutexes;
    ProcessDirectory directory;
    std::map<HANDLE, Handle> handles;
    std::uintptr_t nextHandle = 0x55000000;
    std::map<DWORD, int> priorities;
    std::map<DWORD, int> socketStarts;
    // What the last look at the other processes found, and when.
    std::vector<ProcessRecord> others;
    std::chrono::steady_clock::time_point othersRead{};
    ProcessRecord lastPublished;
    std::chrono::steady_clock::time_point lastRequestLook{};
    DeviceTime lastRequestLookDevice = 0;
    HWND lastActive = nullptr;
    std::uint64_t frontSequence = 0;
};

} // namespace sim

#include "platform/sim/ProcessServices.h"

#include <algorithm>
#include <charconv>

#include "platform/Files.h"
#include "platform/Program.h"
#include "platform/Sockets.h"
#include "platform/Text.h"
#include "platform/sim/BuiltInPrograms.h"
#include "platform/sim/Device.h"
#include "platform/sim/WindowManager.h"

namespace sim {
namespace {

// GetCurrentThread's pseudo handle, as Win32 has it.
const HANDLE kCurrentThread = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-2));
// How often the run loop looks for requests from other processes at most:
// in host time, or in device time when a virtual clock runs ahead.
// Every 50 ms: as often as the run loop waits for other processes anyway,
// and soon enough for a person not to notice.
constexpr auto kRequestLookInterval = std::chrono::milliseconds(50);
constexpr DeviceTime kRequestLookDeviceInterval = 250;
// How long a look at the other processes is taken as current.
constexpr auto kOthersFreshFor = std::chrono::milliseconds(50);

std::u16string FileNameOf(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"\\/");
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

HWND WithoutLowBit(HWND window) {
    return reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(window) & ~std::uintptr_t{1});
}

std::string RequestFor(HWND window) {
    return "foreground " + std::to_string(reinterpret_cast<std::uintptr_t>(window));
}

} // namespace

ProcessServices::ProcessServices(Device& device, CallRecorder record, bool failSocketStartup)
    : device(device), record(std::move(record)), failSocketStartup(failSocketStartup),
      mutexes(device.RuntimeDirectory() / "mutexes"), directory(device.RuntimeDirectory()) {
    Install(HelpViewerImage());
    Install(TodayScreenImage());
    if (!directory.Ok()) {
        device.ReportProblem("this process cannot register in the device's runtime folder; "
                             "other processes will not see its windows");
    }
}

ProcessServices::~ProcessServices() {
    const std::lock_guard guard(lock);
    while (!handles.empty()) {
        CloseLocked(handles.begin());
    }
}

void ProcessServices::Install(ProgramImage image) {
    const std::lock_guard guard(lock);
    std::erase_if(images, [&](const ProgramImage& installed) {
        return text::EqualsIgnoringCase(installed.modulePath, image.modulePath);
    });
    images.push_back(std::move(image));
}

const ProgramImage* ProcessServices::FindImage(std::u16string_view name) const {
    const std::lock_guard guard(lock);
    const bool hasFolder = name.find_first_of(u"\\/") != std::u16string_view::npos;
    const std::u16string full =
        hasFolder ? std::u16string(name) : u"\\Windows\\" + std::u16string(name);
    for (const auto& image : images) {
        if (text::EqualsIgnoringCase(image.modulePath, full)) {
            return &image;
        }
    }
    if (!hasFolder) {
        for (const auto& image : images) {
            if (text::EqualsIgnoringCase(FileNameOf(image.modulePath), name)) {
                return &image;
            }
        }
    }
    return nullptr;
}

HANDLE ProcessServices::NewHandle(DWORD owner, decltype(Handle::object) object) {
    nextHandle += 4;
    const HANDLE handle = reinterpret_cast<HANDLE>(nextHandle);
    handles.emplace(handle, Handle{owner, std::move(object)});
    return handle;
}

void ProcessServices::CloseLocked(std::map<HANDLE, Handle>::iterator handle) {
    if (const auto* mutex = std::get_if<MutexHandle>(&handle->second.object);
        mutex != nullptr && mutex->named != nullptr) {
        mutexes.Close(*mutex->named);
    }
    handles.erase(handle);
}

HANDLE ProcessServices::CreateMutex(const std::u16string* name, bool initialOwner, DWORD pid,
                                    DWORD thread, DWORD& error) {
    HANDLE handle = nullptr;
    error = ERROR_SUCCESS;
    std::string problem;
    {
        const std::lock_guard guard(lock);
        if (name == nullptr || name->empty()) {
            auto local = std::make_shared<LocalMutex>();
            if (initialOwner) {
                local->ownerThread = thread;
                local->ownerCount = 1;
            }
            handle = NewHandle(pid, MutexHandle{nullptr, std::move(local)});
        } else if (name->size() > MAX_PATH) {
            error = ERROR_FILENAME_EXCED_RANGE;
        } else if (name->find(u'\\') != std::u16string::npos) {
            // Names may hold any character but the path separator.
            error = ERROR_INVALID_NAME;
        } else {
            bool existed = false;
            auto opened = mutexes.Open(*name, thread, initialOwner, existed);
            if (!opened) {
                problem = opened.GetError().message;
                error = ERROR_ACCESS_DENIED;
            } else {
                handle = NewHandle(pid, MutexHandle{*opened, nullptr});
                error = existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS;
            }
        }
    }
    if (!problem.empty()) {
        device.ReportProblem("CreateMutexW: " + problem);
    }
    if (record) {
        record("CreateMutexW",
               {name != nullptr ? JournalValue(std::u16string_view(*name)) : JournalValue(),
                initialOwner},
               error);
    }
    return handle;
}

bool ProcessServices::ReleaseMutex(HANDLE mutex, DWORD thread, DWORD& error) {
    const std::lock_guard guard(lock);
    const auto* handle = FindHandle<MutexHandle>(mutex);
    if (handle == nullptr) {
        error = ERROR_INVALID_HANDLE;
        return false;
    }
    bool released = false;
    if (handle->named != nullptr) {
        released = mutexes.Release(*handle->named, thread);
    } else if (handle->local->ownerCount > 0 && handle->local->ownerThread == thread) {
        if (--handle->local->ownerCount == 0) {
            handle->local->ownerThread = 0;
        }
        released = true;
    }
    error = released ? ERROR_SUCCESS : ERROR_NOT_OWNER;
    return released;
}

bool ProcessServices::CloseHandle(HANDLE handle, DWORD& error) {
    if (handle == kCurrentThread) {
        error = ERROR_SUCCESS;
        return true;
    }
    const std::lock_guard guard(lock);
    const auto found = handles.find(handle);
    if (found == handles.end()) {
        error = ERROR_INVALID_HANDLE;
        return false;
    }
    CloseLocked(found);
    error = ERROR_SUCCESS;
    return true;
}

bool ProcessServices::CreateProcess(LPCWSTR imageName, LPCWSTR commandLine, DWORD pid,
                                    PROCESS_INFORMATION* information, DWORD& error) {
    const std::u16string name = text::FromWide(imageName);
    const std::u16string arguments = text::FromWide(commandLine);
    const ProgramImage* image = imageName != nullptr ? FindImage(name) : nullptr;
    bool started = false;
    if (image == nullptr) {
        error = imageName == nullptr ? ERROR_INVALID_PARAMETER : ERROR_FILE_NOT_FOUND;
    } else {
        const ProgramImage copy = *image;
        Program& program = device.Launch(copy, arguments);
        started = true;
        error = ERROR_SUCCESS;
        if (information != nullptr) {
            const std::lock_guard guard(lock);
            information->hProcess = NewHandle(pid, ProcessHandle{program.Pid(), copy.modulePath});
            information->hThread = NewHandle(pid, ThreadHandle{program.ThreadId()});
            information->dwProcessId = program.Pid();
            information->dwThreadId = program.ThreadId();
        }
    }
    if (record) {
        record(
            "CreateProcessW",
            {JournalValue(std::u16string_view(name)), JournalValue(std::u16string_view(arguments))},
            started);
    }
    return started;
}

bool ProcessServices::GetExitCode(HANDLE process, DWORD& code, DWORD& error) {
    DWORD pid = 0;
    {
        const std::lock_guard guard(lock);
        const auto* handle = FindHandle<ProcessHandle>(process);
        if (handle == nullptr) {
            error = ERROR_INVALID_HANDLE;
            return false;
        }
        pid = handle->pid;
    }
    if (const Program* program = device.FindProgram(pid)) {
        code = program->Finished() && program->ExitCode() ? static_cast<DWORD>(*program->ExitCode())
                                                          : STILL_ACTIVE;
        error = ERROR_SUCCESS;
        return true;
    }
    // A process of another host process: running while it is listed; how it
    // ended is not known here.
    for (const auto& other : Others(true)) {
        for (const auto& program : other.programs) {
            if (program.pid == pid) {
                code = STILL_ACTIVE;
                error = ERROR_SUCCESS;
                return true;
            }
        }
    }
    error = ERROR_NOT_SUPPORTED;
    return false;
}

HANDLE ProcessServices::OpenProcess(DWORD processId, DWORD pid, DWORD& error) {
    std::optional<ProcessHandle> target;
    if (Program* program = device.FindProgram(processId)) {
        target = ProcessHandle{processId, program->GetModule().Path()};
    } else {
        for (const auto& other : Others(true)) {
            for (const auto& program : other.programs) {
                if (program.pid == processId) {
                    target = ProcessHandle{processId, program.modulePath};
                }
            }
        }
    }
    if (!target) {
        error = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    const std::lock_guard guard(lock);
    error = ERROR_SUCCESS;
    return NewHandle(pid, std::move(*target));
}

std::optional<std::u16string> ProcessServices::ImagePath(HANDLE process, DWORD& error) {
    const std::lock_guard guard(lock);
    const auto* handle = FindHandle<ProcessHandle>(process);
    if (handle == nullptr) {
        error = ERROR_INVALID_HANDLE;
        return std::nullopt;
    }
    error = ERROR_SUCCESS;
    return handle->modulePath;
}

std::optional<DWORD> ProcessServices::ThreadIdOf(HANDLE thread, DWORD callingThread) const {
    if (thread == kCurrentThread) {
        return callingThread;
    }
    const auto* handle = FindHandle<ThreadHandle>(thread);
    return handle != nullptr ? std::optional<DWORD>(handle->threadId) : std::nullopt;
}

bool ProcessServices::SetPriority(HANDLE thread, int priority, DWORD callingThread, DWORD& error) {
    const std::lock_guard guard(lock);
    const std::optional<DWORD> threadId = ThreadIdOf(thread, callingThread);
    if (!threadId) {
        error = ERROR_INVALID_HANDLE;
        return false;
    }
    if (priority < THREAD_PRIORITY_TIME_CRITICAL || priority > THREAD_PRIORITY_IDLE) {
        error = ERROR_INVALID_PARAMETER;
        return false;
    }
    priorities[*threadId] = priority;
    error = ERROR_SUCCESS;
    return true;
}

int ProcessServices::Priority(HANDLE thread, DWORD callingThread, DWORD& error) const {
    const std::lock_guard guard(lock);
    const std::optional<DWORD> threadId = ThreadIdOf(thread, callingThread);
    if (!threadId) {
        error = ERROR_INVALID_HANDLE;
        return THREAD_PRIORITY_ERROR_RETURN;
    }
    error = ERROR_SUCCESS;
    const auto found = priorities.find(*threadId);
    return found != priorities.end() ? found->second : THREAD_PRIORITY_NORMAL;
}

int ProcessServices::SocketStartup(WORD version, DWORD pid) {
    const int major = version & 0xFF;
    const int minor = version >> 8;
    int result = 0;
    if (failSocketStartup) {
        result = WSASYSNOTREADY;
    } else if (major < 1 || (major == 1 && minor < 1)) {
        result = WSAVERNOTSUPPORTED;
    } else {
        const std::lock_guard guard(lock);
        ++socketStarts[pid];
    }
    if (record) {
        record("WSAStartup", {static_cast<unsigned>(version)}, result);
    }
    return result;
}

int ProcessServices::SocketCleanup(DWORD pid) {
    int result = 0;
    {
        const std::lock_guard guard(lock);
        const auto found = socketStarts.find(pid);
        if (found == socketStarts.end() || found->second == 0) {
            result = WSANOTINITIALISED;
        } else {
            --found->second;
        }
    }
    if (record) {
        record("WSACleanup", {}, result);
    }
    return result;
}

void ProcessServices::ProgramEnded(DWORD pid) {
    const std::lock_guard guard(lock);
    for (auto handle = handles.begin(); handle != handles.end();) {
        if (handle->second.owner == pid) {
            CloseLocked(handle++);
        } else {
            ++handle;
        }
    }
    socketStarts.erase(pid);
}

std::size_t ProcessServices::OpenHandles() const {
    const std::lock_guard guard(lock);
    return handles.size();
}

ProcessRecord ProcessServices::LocalRecord() {
    ProcessRecord local;
    for (const auto& program : device.Programs()) {
        if (!program->Finished()) {
            local.programs.push_back(
                {program->Pid(), program->ThreadId(), program->GetModule().Path()});
        }
    }
    for (const Window* window : device.Windows().TopLevel()) {
        if (window->IsAlive() && window->program != nullptr) {
            local.windows.push_back({window->handle, window->program->Pid(),
                                     window->program->ThreadId(), (window->style & WS_VISIBLE) != 0,
                                     window->windowClass ? window->windowClass->name : u"",
                                     window->text});
        }
    }
    const Window* active = device.Windows().Active();
    const HWND activeHandle = active != nullptr ? active->handle : nullptr;
    if (activeHandle != lastActive && activeHandle != nullptr) {
        frontSequence = directory.NextFrontSequence();
    }
    lastActive = activeHandle;
    local.frontSequence = frontSequence;
    return local;
}

bool ProcessServices::PublishedIsCurrent() const {
    // Compared in place, without building a record: this runs on every round
    // of the device's run loop.
    std::size_t count = 0;
    for (const auto& program : device.Programs()) {
        if (program->Finished()) {
            continue;
        }
        if (count >= lastPublished.programs.size()) {
            return false;
        }
        const PublishedProgram& published = lastPublished.programs[count++];
        if (published.pid != program->Pid() || published.threadId != program->ThreadId() ||
            published.modulePath != program->GetModule().Path()) {
            return false;
        }
    }
    if (count != lastPublished.programs.size()) {
        return false;
    }
    count = 0;
    for (const Window* window : device.Windows().TopLevel()) {
        if (!window->IsAlive() || window->program == nullptr) {
            continue;
        }
        if (count >= lastPublished.windows.size()) {
            return false;
        }
        const PublishedWindow& published = lastPublished.windows[count++];
        if (published.handle != window->handle || published.pid != window->program->Pid() ||
            published.visible != ((window->style & WS_VISIBLE) != 0) ||
            published.title != window->text ||
            (window->windowClass && published.className != window->windowClass->name)) {
            return false;
        }
    }
    const Window* active = device.Windows().Active();
    return count == lastPublished.windows.size() && lastPublished.frontSequence == frontSequence &&
           (active == nullptr || active->handle == lastActive);
}

std::vector<ProcessRecord> ProcessServices::Others(bool refresh) {
    const auto now = std::chrono::steady_clock::now();
    if (refresh || now - othersRead > kOthersFreshFor) {
        others = directory.Others();
        othersRead = now;
    }
    return others;
}

std::vector<DeviceWindow> ProcessServices::TopLevelWindows() {
    std::vector<ProcessRecord> all = Others(true);
    ProcessRecord local = LocalRecord();
    local.id.clear();
    all.insert(all.begin(), std::move(local));
    // Later to the front first; this process first among equals.
    std::stable_sort(all.begin(), all.end(), [](const ProcessRecord& a, const ProcessRecord& b) {
        return a.frontSequence > b.frontSequence;
    });
    std::vector<DeviceWindow> windows;
    for (const auto& process : all) {
        for (const auto& window : process.windows) {
            windows.push_back({window.handle, window.pid, window.threadId, process.id});
        }
    }
    return windows;
}

std::optional<DeviceWindow> ProcessServices::RemoteWindow(HWND handle) {
    handle = WithoutLowBit(handle);
    for (const bool refresh : {false, true}) {
        for (const auto& process : Others(refresh)) {
            for (const auto& window : process.windows) {
                if (window.handle == handle) {
                    return DeviceWindow{handle, window.pid, window.threadId, process.id};
                }
            }
        }
    }
    return std::nullopt;
}

bool ProcessServices::RequestForeground(HWND window) {
    const auto owner = RemoteWindow(window);
    // The handle goes as it came: its low bit asks the owner for the window's
    // last active popup.
    return owner && directory.SendRequest(owner->process, RequestFor(window));
}

void ProcessServices::AnnounceDisplayChange() {
    for (const auto& process : Others(true)) {
        directory.SendRequest(process.id, "display");
    }
}

void ProcessServices::Poll(const std::function<void()>& displayChanged) {
    // The record goes out as soon as it changes, so that another process sees
    // a new window at once.
    if (!PublishedIsCurrent()) {
        ProcessRecord record = LocalRecord();
        if (auto published = directory.Publish(record); !published) {
            device.ReportProblem("cannot publish this process's windows: " +
                                 published.GetError().message);
        }
        lastPublished = std::move(record);
    }
    // Requests are looked for now and then: in host time, and in device time
    // for a virtual clock that races ahead of it.
    const auto hostNow = std::chrono::steady_clock::now();
    const DeviceTime deviceNow = device.Now();
    if (hostNow - lastRequestLook < kRequestLookInterval &&
        deviceNow - lastRequestLookDevice < kRequestLookDeviceInterval) {
        return;
    }
    lastRequestLook = hostNow;
    lastRequestLookDevice = deviceNow;
    for (const std::string& request : directory.TakeRequests()) {
        if (request == "display") {
            displayChanged();
            continue;
        }
        std::uintptr_t number = 0;
        const std::string_view prefix = "foreground ";
        if (!request.starts_with(prefix) ||
            std::from_chars(request.data() + prefix.size(), request.data() + request.size(), number)
                    .ec != std::errc()) {
            continue;
        }
        Window* window = device.Windows().FindAlive(reinterpret_cast<HWND>(number));
        if (window == nullptr || window->program == nullptr) {
            continue;
        }
        // The owner brings its window forward itself, at its next wait.
        const HWND handle = window->handle;
        const HWND asked = reinterpret_cast<HWND>(number);
        // Shown without activating it: the window to activate may be its
        // last active popup.
        window->program->incomingCalls.push_back([handle, asked] {
            ShowWindow(handle, SW_SHOWNA);
            SetForegroundWindow(asked);
        });
    }
}

} // namespace sim

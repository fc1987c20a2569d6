// Programs on the device: the image a program is launched from, its module (the
// HINSTANCE whose resources it reads), and the running program with its thread
// and message queue.
//
// A program runs on a thread of its own, in lockstep with the driver (a test or
// the host): it runs only while the driver waits in one of the device's run
// calls, and the driver runs only while every program is parked in a wait.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/Messages.h"
#include "platform/ResourceFile.h"
#include "platform/WinTypes.h"
#include "platform/sim/Clock.h"

namespace sim {

class Device;
struct Window;

inline constexpr char16_t kDefaultModulePath[] = u"\\Program Files\\Vantrel\\Vantrel.exe";

struct ProgramImage {
    // The module's device path: GetModuleFileNameW gives it back.
    std::u16string modulePath = kDefaultModulePath;
    // The program's compiled resources (.res bytes); copied at launch.
    std::span<const std::byte> resources;
    // The program's main function: gets its module and command line, returns the
    // exit code.
    std::function<int(HINSTANCE, LPWSTR)> entry;
};

// A loaded program file: its path and resources. Its address is the HINSTANCE.
class Module {
public:
    Module(std::u16string path, std::span<const std::byte> resources);

    const std::u16string& Path() const { return path; }
    HINSTANCE Handle() const;
    // The parsed resources; null when the module has none or they are damaged
    // (then ResourceError says why).
    const res::ResourceFile* Resources() const;
    const std::string& ResourceError() const;

private:
    std::u16string path;
    std::vector<std::byte> bytes;
    // Parsed on first use.
    mutable bool parsed = false;
    mutable std::unique_ptr<res::ResourceFile> resources;
    mutable std::string resourceError;
};

struct Timer {
    Window* window = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    DeviceTime due = 0;
    TIMERPROC procedure = nullptr;
};

struct QueuedMessage {
    MSG msg;
    // A stylus press: activates its window's top-level window when the program
    // takes it from the queue.
    bool activates = false;
};

// What a parked program waits for. The driver evaluates ready() while the
// program is parked (no locks needed: only one side runs at a time) and moves a
// virtual clock on to wakeTime() when nothing else is due.
struct Wait {
    std::function<bool()> ready;
    std::function<std::optional<DeviceTime>()> wakeTime;
};

// Unwinds a program thread when the device shuts down while it is parked.
struct ProgramAborted {};

class Program {
public:
    Program(Device& device, DWORD pid, DWORD threadId, std::unique_ptr<Module> module,
            std::u16string commandLine, std::function<int(HINSTANCE, LPWSTR)> entry);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD Pid() const { return pid; }
    DWORD ThreadId() const { return threadId; }
    Module& GetModule() { return *module; }
    const std::u16string& CommandLine() const { return commandLine; }
    bool Finished() const { return finished; }
    std::optional<int> ExitCode() const { return exitCode; }

    // The program's queue. Only the thread holding the device (the running
    // program or the driver) touches these.
    std::deque<QueuedMessage> posted;
    // Work other threads ask this thread to do at its next wait: sent messages
    // from other programs and from the driver.
    std::deque<std::function<void()>> incomingCalls;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    // Windows of this program with something to paint.
    std::vector<Window*> paintPending;
    // The last message taken from the queue (GetMessagePos, GetMessageTime).
    MSG lastMessage;
    // Consecutive PeekMessageW calls that found nothing; a program that polls
    // without end is parked until the clock moves.
    int emptyPeeks = 0;
    DeviceTime emptyPeeksSince = 0;
    // Nesting of window-procedure calls on this thread; destroyed windows are
    // freed when it returns to 0.
    int callDepth = 0;
    // WM_PAINTs dispatched in a row without the window being validated.
    int unvalidatedPaints = 0;
    bool controlHostingEnabled = false;

    // Program side: parks until wait.ready() holds. Throws ProgramAborted when
    // the device shuts down meanwhile.
    void Park(Wait wait);
    // Program side: runs the incoming calls; returns whether there were any.
    bool RunIncomingCalls();

private:
    friend class Device;
    void ThreadMain();

    Device& device;
    DWORD pid;
    DWORD threadId;
    std::unique_ptr<Module> module;
    std::u16string commandLine;
    std::function<int(HINSTANCE, LPWSTR)> entry;

    // Lockstep state, guarded by the device's lock.
    std::thread thread;
    bool started = false;
    bool parked = false;
    bool finished = false;
    bool abort = false;
    Wait wait;
    std::optional<int> exitCode;
};

// The program whose thread is calling, or null (the driver, other threads).
Program* CurrentProgram();

} // namespace sim

// The simulated Pocket PC: one Device per process, the current device, on a
// device directory (storage/ is the device's root folder "\", runtime/ holds
// what processes sharing the directory exchange). It owns the clock, the
// journal, the programs and every subsystem, and it is the driver's handle on
// the device: launching programs and letting them run.
#pragma once

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/Clock.h"
#include "platform/sim/Journal.h"
#include "platform/sim/ProgramThread.h"
#include "platform/sim/ServicesConfig.h"

namespace sim {

class WindowManager;
class Gdi;
class MenuTable;
class InputRouter;
class Screen;
class MessageRecorderHub;
class ControlRegistry;
class HandleAllocator;
class SystemServices;

struct DeviceConfig {
    // The device directory; created when missing.
    std::filesystem::path directory;
    int screenWidth = 240;
    int screenHeight = 320;
    // Pixels per inch; 192 on a high-resolution device (480 x 640).
    int pixelsPerInch = 96;
    ClockMode clock = ClockMode::Virtual;
    // The system services: first-use files, power, failures to give.
    ServicesConfig services;
};

class Device {
public:
    explicit Device(DeviceConfig config);
    // Ends the programs still running (WM_QUIT, then unwinding what will not
    // end) and frees the device.
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // The current device, or null.
    static Device* Current();

    const DeviceConfig& Config() const { return config; }
    std::filesystem::path StorageRoot() const { return config.directory / "storage"; }
    std::filesystem::path RuntimeDirectory() const { return config.directory / "runtime"; }
    // The host path of a device path ("\A.txt" is storage/A.txt); other paths
    // are host paths already and come back unchanged.
    std::filesystem::path HostPath(const std::u16string& path) const;

    int ScreenWidth() const { return screenWidth; }
    int ScreenHeight() const { return screenHeight; }
    // Turns the screen (a rotation); the screen buffer follows. Windows are not
    // moved or told: that is the display settings' business.
    void SetScreenSize(int width, int height);
    int PixelsPerInch() const { return config.pixelsPerInch; }
    // A length at 96 pixels per inch, in this screen's pixels.
    int Scale(int pixels96) const;
    // The height of the task bar and of the menu bar (SM_CYMENU): 26 at 96 ppi.
    int BarHeight() const { return Scale(26); }

    Clock& GetClock() { return clock; }
    DeviceTime Now() const { return clock.Now(); }
    Journal& GetJournal() { return journal; }
    // Records a call of the current program.
    void Record(std::string call, std::vector<JournalValue> args, JournalValue result,
                std::optional<long> dispatchId = std::nullopt);

    WindowManager& Windows() { return *windows; }
    Gdi& Graphics() { return *gdi; }
    MenuTable& Menus() { return *menus; }
    InputRouter& Input() { return *input; }
    Screen& GetScreen() { return *screen; }
    MessageRecorderHub& Recorders() { return *recorders; }
    ControlRegistry& Controls() { return *controls; }
    HandleAllocator& Handles() { return *handles; }
    // Registry, files, display, power, volume, shell state and processes.
    SystemServices& Services() { return *services; }

    // Programs. Launch starts the program's thread; it first runs at the next
    // run call. The image is installed on the device, under its module path.
    Program& Launch(const ProgramImage& image, std::u16string commandLine);
    const std::vector<std::unique_ptr<Program>>& Programs() const { return programs; }
    Program* FindProgram(DWORD pid) const;
    Program* FindThread(DWORD threadId) const;

    // Running, from the driver's thread. RunUntilIdle lets programs run until
    // each is parked with nothing to do at the current time; Advance moves the
    // clock on by ms, running timers, waits and input as they fall due;
    // RunUntil stops as soon as done() holds, or after limit ms of device time
    // (false). A program that never parks is stopped by a guard and reported
    // (Problems()), and the call returns false.
    bool RunUntilIdle();
    bool Advance(DeviceTime ms);
    bool RunUntil(const std::function<bool()>& done, DeviceTime limit);
    // Runs fn on the program's thread at its next wait (as a sent message
    // would) and lets the device run until fn has returned or the device is idle
    // without it having returned (false: fn is waiting for something, a modal
    // loop say, and finishes on a later run).
    bool RunOnProgram(Program& program, std::function<void()> fn);

    // What went wrong on the device side (runaway programs, programs that had
    // to be unwound, unexpected exceptions), in order.
    std::vector<std::string> Problems() const;
    void ReportProblem(std::string problem);

    // Thread-safe: PostMessageW from threads that are not program threads.
    bool PostFromOutside(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Thread-safe: background work in flight, which a virtual clock waits for.
    void BeginBackgroundWork();
    void EndBackgroundWork();

    // For the window manager: live handles, readable from any thread.
    void SetHandleLive(HWND window, bool live);
    bool IsHandleLive(HWND window) const;

    // Program side of the lockstep (Program::Park).
    void Park(Program& program, Wait wait);
    bool OnDriverThread() const;

private:
    friend class Program;
    enum class RunStatus { Done, TimedOut, Stuck };
    RunStatus RunFor(const std::function<bool()>& done, DeviceTime limit);
    RunStatus RunForSteps(const std::function<bool()>& done, DeviceTime deadline);
    bool Resume(Program& program);
    // Tells the other threads that running changed; guard holds the lock
    // before and after.
    void HandOver(std::unique_lock<std::mutex>& guard);
    bool TryFastForward(Program& program);
    bool RunReady();
    void DrainOutsidePosts();
    std::optional<DeviceTime> NextEventTime();
    bool WaitForBackgroundWork();
    void ShutDownPrograms();
    void ReleasePrograms();

    DeviceConfig config;
    int screenWidth;
    int screenHeight;
    Clock clock;
    Journal journal;
    std::thread::id driverThread;

    std::unique_ptr<HandleAllocator> handles;
    std::unique_ptr<WindowManager> windows;
    std::unique_ptr<Gdi> gdi;
    std::unique_ptr<MenuTable> menus;
    std::unique_ptr<InputRouter> input;
    std::unique_ptr<Screen> screen;
    std::unique_ptr<MessageRecorderHub> recorders;
    std::unique_ptr<ControlRegistry> controls;
    std::unique_ptr<SystemServices> services;
    std::vector<std::unique_ptr<Program>> programs;
    DWORD nextProgramIndex = 0;

    // The lockstep: which program runs (null: the driver), and what other
    // threads hand in.
    mutable std::mutex lock;
    std::condition_variable changed;
    Program* running = nullptr;
    struct OutsidePost {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<OutsidePost> outsidePosts;
    int backgroundWork = 0;
    // While the driver runs a virtual clock towards a deadline, a program that
    // is the only one with anything ahead of it moves the clock on to its own
    // next event itself, instead of handing over to the driver to do the same.
    struct FastForward {
        bool active = false;
        DeviceTime deadline = 0;
        const std::function<bool()>* done = nullptr;
    };
    FastForward fastForward;
    std::unordered_set<HWND> liveHandles;
    std::vector<std::string> problems;
};

} // namespace sim

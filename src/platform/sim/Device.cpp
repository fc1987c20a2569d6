#include "platform/sim/Device.h"

#include <unistd.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "platform/Text.h"
#include "platform/sim/ControlRegistry.h"
#include "platform/sim/DevicePath.h"
#include "platform/sim/Gdi.h"
#include "platform/sim/HandleAllocator.h"
#include "platform/sim/InputRouter.h"
#include "platform/sim/MenuTable.h"
#include "platform/sim/MessageRecorder.h"
#include "platform/sim/Screen.h"
#include "platform/sim/SystemClasses.h"
#include "platform/sim/SystemServices.h"
#include "platform/sim/WindowManager.h"

namespace sim {
namespace {

std::atomic<Device*> currentDevice{nullptr};

// More resumes than this in one run without the device going idle means a
// program that never waits for anything.
constexpr long long kRunawayResumes = 2'000'000;

// How long (host time) a virtual clock waits for background work to post its
// result before it moves on regardless.
constexpr auto kBackgroundWorkPatience = std::chrono::seconds(30);

// How long (device time) a real clock sleeps at most before it looks at the
// runtime folder for other processes' requests.
constexpr DeviceTime kCrossProcessPoll = 50;

} // namespace

Device::Device(DeviceConfig deviceConfig)
    : config(std::move(deviceConfig)), screenWidth(config.screenWidth),
      screenHeight(config.screenHeight), clock(config.clock),
      driverThread(std::this_thread::get_id()) {
    Device* expected = nullptr;
    if (!currentDevice.compare_exchange_strong(expected, this)) {
        throw std::logic_error("a device is already running in this process");
    }
    std::error_code ignored;
    std::filesystem::create_directories(StorageRoot(), ignored);
    std::filesystem::create_directories(RuntimeDirectory(), ignored);

    handles = std::make_unique<HandleAllocator>(RuntimeDirectory());
    recorders = std::make_unique<MessageRecorderHub>();
    windows = std::make_unique<WindowManager>(*this);
    gdi = std::make_unique<Gdi>(*this);
    menus = std::make_unique<MenuTable>(*this);
    input = std::make_unique<InputRouter>(*this);
    screen = std::make_unique<Screen>(*this);
    controls = std::make_unique<ControlRegistry>();
    InstallSystemClasses(*this);
    services = std::make_unique<SystemServices>(*this, config.services);
}

Device::~Device() {
    ShutDownPrograms();
    programs.clear();
    services.reset();
    screen.reset();
    input.reset();
    menus.reset();
    windows.reset();
    gdi.reset();
    controls.reset();
    recorders.reset();
    currentDevice.store(nullptr);
}

Device* Device::Current() {
    return currentDevice.load();
}

std::filesystem::path Device::HostPath(const std::u16string& path) const {
    // Device paths stay inside the storage; a path the device refuses names
    // nothing.
    const ResolvedPath resolved = ResolvePath(StorageRoot(), path);
    return resolved.Ok() ? resolved.host : std::filesystem::path();
}

void Device::SetScreenSize(int width, int height) {
    screenWidth = std::max(width, 1);
    screenHeight = std::max(height, 1);
}

int Device::Scale(int pixels96) const {
    return static_cast<int>(
        std::lround(static_cast<double>(pixels96) * config.pixelsPerInch / 96.0));
}

void Device::Record(std::string call, std::vector<JournalValue> args, JournalValue result,
                    std::optional<long> dispatchId) {
    JournalEntry entry;
    entry.time = Now();
    const Program* program = CurrentProgram();
    entry.pid = program != nullptr ? program->Pid() : 0;
    entry.call = std::move(call);
    entry.args = std::move(args);
    entry.result = std::move(result);
    entry.dispatchId = dispatchId;
    journal.Record(std::move(entry));
}

// ---- Programs ----

Program& Device::Launch(const ProgramImage& image, std::u16string commandLine) {
    // A program that runs on the device is a file of it: the shell and
    // CreateProcessW can start it again by its path.
    if (image.entry) {
        services->Processes().Install(image);
    }
    const DWORD index = nextProgramIndex++;
    // The first program of the process has the process's id; more programs in
    // one process (tests) get ids of their own above it.
    const DWORD pid = static_cast<DWORD>(::getpid()) | (index << 22);
    const DWORD threadId = 0x100000 + 4 * index;
    auto module = std::make_unique<Module>(image.modulePath, image.resources);
    programs.push_back(std::make_unique<Program>(*this, pid, threadId, std::move(module),
                                                 std::move(commandLine), image.entry));
    Program& program = *programs.back();
    program.parked = true;
    program.wait = Wait{nullptr, nullptr};
    program.thread = std::thread([&program] { program.ThreadMain(); });
    return program;
}

Program* Device::FindProgram(DWORD pid) const {
    for (const auto& program : programs) {
        if (program->Pid() == pid) {
            return program.get();
        }
    }
    return nullptr;
}

Program* Device::FindThread(DWORD threadId) const {
    for (const auto& program : programs) {
        if (program->ThreadId() == threadId) {
            return program.get();
        }
    }
    return nullptr;
}

// ---- The lockstep ----

bool Device::OnDriverThread() const {
    return std::this_thread::get_id() == driverThread;
}

bool Device::TryFastForward(Program& program) {
    if (!fastForward.active || clock.Mode() != ClockMode::Virtual || !program.wait.wakeTime) {
        return false;
    }
    for (;;) {
        {
            std::lock_guard guard(lock);
            if (!outsidePosts.empty() || backgroundWork > 0) {
                return false;
            }
        }
        // Exactly what the driver would do next: nothing else may be ready,
        // no input due, the driver's goal not met, and this program's wake
        // time the next event before the deadline.
        const DeviceTime now = Now();
        std::optional<DeviceTime> next = program.wait.wakeTime();
        if (!next || *next <= now || *next > fastForward.deadline) {
            return false;
        }
        for (const auto& other : programs) {
            if (other.get() == &program || other->finished) {
                continue;
            }
            if (!other->parked || !other->wait.ready || other->wait.ready()) {
                return false;
            }
            if (other->wait.wakeTime) {
                const auto otherNext = other->wait.wakeTime();
                if (otherNext && *otherNext <= *next) {
                    return false;
                }
            }
        }
        const auto inputNext = input->NextTime();
        if (inputNext && *inputNext <= *next) {
            return false;
        }
        // A wave buffer that ends first is handed back by the driver.
        const auto bufferEnd = services->Wave().NextBufferEnd(now);
        if (bufferEnd && *bufferEnd <= *next) {
            return false;
        }
        if (fastForward.done != nullptr && (*fastForward.done)()) {
            return false;
        }
        clock.AdvanceTo(*next);
        if (program.wait.ready && program.wait.ready()) {
            return true;
        }
    }
}

void Device::Park(Program& program, Wait wait) {
    program.wait = std::move(wait);
    if (TryFastForward(program)) {
        return;
    }
    std::unique_lock guard(lock);
    program.parked = true;
    running = nullptr;
    HandOver(guard);
    changed.wait(guard, [&] { return running == &program; });
    program.parked = false;
    if (program.abort) {
        throw ProgramAborted{};
    }
}

bool Device::Resume(Program& program) {
    std::unique_lock guard(lock);
    if (program.finished || !program.parked) {
        return false;
    }
    running = &program;
    HandOver(guard);
    changed.wait(guard, [&] { return running == nullptr; });
    return true;
}

void Device::HandOver(std::unique_lock<std::mutex>& guard) {
    // Told with the lock let go, so that the thread woken finds it free
    // instead of waking only to wait for it.
    guard.unlock();
    changed.notify_all();
    guard.lock();
}

void Device::DrainOutsidePosts() {
    std::vector<OutsidePost> posts;
    {
        std::lock_guard guard(lock);
        posts.swap(outsidePosts);
    }
    for (const OutsidePost& post : posts) {
        if (Window* window = windows->FindAlive(post.window)) {
            PostToWindow(*window, post.message, post.wParam, post.lParam);
        }
    }
}

bool Device::RunReady() {
    long long resumes = 0;
    for (;;) {
        DrainOutsidePosts();
        services->Poll();
        bool any = false;
        for (std::size_t i = 0; i < programs.size(); ++i) {
            Program& program = *programs[i];
            if (program.finished || !program.parked) {
                continue;
            }
            if (program.wait.ready && !program.wait.ready()) {
                continue;
            }
            if (Resume(program)) {
                any = true;
                if (++resumes > kRunawayResumes) {
                    ReportProblem("program " + std::to_string(program.Pid()) +
                                  " never went idle; the run was stopped");
                    return false;
                }
            }
        }
        if (any) {
            continue;
        }
        if (input->RouteNext(Now())) {
            continue;
        }
        return true;
    }
}

std::optional<DeviceTime> Device::NextEventTime() {
    const DeviceTime now = Now();
    std::optional<DeviceTime> next;
    auto consider = [&](std::optional<DeviceTime> time) {
        if (time && *time > now && (!next || *time < *next)) {
            next = time;
        }
    };
    for (const auto& program : programs) {
        if (!program->finished && program->parked && program->wait.wakeTime) {
            consider(program->wait.wakeTime());
        }
    }
    consider(input->NextTime());
    consider(services->Wave().NextBufferEnd(now));
    return next;
}

bool Device::WaitForBackgroundWork() {
    std::unique_lock guard(lock);
    if (backgroundWork == 0) {
        return false;
    }
    const bool progressed = changed.wait_for(guard, kBackgroundWorkPatience, [&] {
        return backgroundWork == 0 || !outsidePosts.empty();
    });
    if (!progressed) {
        guard.unlock();
        ReportProblem("background work posted nothing for 30 s; the clock moved on without it");
        return false;
    }
    return true;
}

bool Device::RunUntilIdle() {
    for (;;) {
        if (!RunReady()) {
            return false;
        }
        if (clock.Mode() == ClockMode::Virtual && WaitForBackgroundWork()) {
            continue;
        }
        return true;
    }
}

bool Device::Advance(DeviceTime ms) {
    return RunFor([] { return false; }, ms) != RunStatus::Stuck;
}

bool Device::RunUntil(const std::function<bool()>& done, DeviceTime limit) {
    return RunFor(done, limit) == RunStatus::Done;
}

Device::RunStatus Device::RunFor(const std::function<bool()>& done, DeviceTime limit) {
    const DeviceTime deadline = Now() + limit;
    const FastForward outer = fastForward;
    fastForward = FastForward{clock.Mode() == ClockMode::Virtual, deadline, &done};
    const RunStatus status = RunForSteps(done, deadline);
    fastForward = outer;
    return status;
}

Device::RunStatus Device::RunForSteps(const std::function<bool()>& done, DeviceTime deadline) {
    for (;;) {
        if (!RunReady()) {
            return RunStatus::Stuck;
        }
        if (done()) {
            return RunStatus::Done;
        }
        if (clock.Mode() == ClockMode::Virtual) {
            if (WaitForBackgroundWork()) {
                continue;
            }
            const auto next = NextEventTime();
            if (next && *next <= deadline) {
                clock.AdvanceTo(*next);
                continue;
            }
            clock.AdvanceTo(deadline);
            if (!RunReady()) {
                return RunStatus::Stuck;
            }
            return done() ? RunStatus::Done : RunStatus::TimedOut;
        }
        // A real clock: sleep until the next event, the deadline, or a post
        // from another thread.
        const DeviceTime now = Now();
        if (now >= deadline) {
            return done() ? RunStatus::Done : RunStatus::TimedOut;
        }
        // Requests from other processes on the device directory are looked for
        // at least this often.
        DeviceTime until = std::min(deadline, now + kCrossProcessPoll);
        if (const auto next = NextEventTime()) {
            until = std::min(until, *next);
        }
        std::unique_lock guard(lock);
        changed.wait_for(guard, std::chrono::milliseconds(until > now ? until - now : 0),
                         [&] { return !outsidePosts.empty(); });
    }
}

bool Device::RunOnProgram(Program& program, std::function<void()> fn) {
    if (program.finished) {
        return false;
    }
    auto finished = std::make_shared<bool>(false);
    program.incomingCalls.push_back([finished, fn = std::move(fn)] {
        fn();
        *finished = true;
    });
    RunUntil([&finished] { return *finished; }, 0);
    return *finished;
}

// ---- Problems ----

std::vector<std::string> Device::Problems() const {
    std::lock_guard guard(lock);
    return problems;
}

void Device::ReportProblem(std::string problem) {
    std::fprintf(stderr, "device: %s\n", problem.c_str());
    std::lock_guard guard(lock);
    problems.push_back(std::move(problem));
}

// ---- Other threads ----

bool Device::PostFromOutside(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::lock_guard guard(lock);
    const HWND stripped =
        reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(window) & ~std::uintptr_t{1});
    if (liveHandles.count(stripped) == 0) {
        return false;
    }
    outsidePosts.push_back(OutsidePost{stripped, message, wParam, lParam});
    changed.notify_all();
    return true;
}

void Device::BeginBackgroundWork() {
    std::lock_guard guard(lock);
    ++backgroundWork;
}

void Device::EndBackgroundWork() {
    std::lock_guard guard(lock);
    --backgroundWork;
    changed.notify_all();
}

void Device::SetHandleLive(HWND window, bool live) {
    std::lock_guard guard(lock);
    if (live) {
        liveHandles.insert(window);
    } else {
        liveHandles.erase(window);
    }
}

bool Device::IsHandleLive(HWND window) const {
    std::lock_guard guard(lock);
    return liveHandles.count(window) != 0;
}

// ---- Shutdown ----

void Device::ShutDownPrograms() {
    if (!OnDriverThread()) {
        // Nothing can be run from here; unwinding is all that is left.
        ReleasePrograms();
        return;
    }
    bool anyRunning = false;
    for (const auto& program : programs) {
        if (!program->finished && program->thread.joinable()) {
            program->quitPosted = true;
            anyRunning = true;
        }
    }
    if (anyRunning) {
        auto allFinished = [this] {
            for (const auto& program : programs) {
                if (!program->finished) {
                    return false;
                }
            }
            return true;
        };
        RunUntil(allFinished, 60'000);
    }
    ReleasePrograms();
}

void Device::ReleasePrograms() {
    for (const auto& program : programs) {
        if (!program->thread.joinable()) {
            continue;
        }
        {
            std::unique_lock guard(lock);
            if (!program->finished) {
                program->abort = true;
                running = program.get();
                changed.notify_all();
                changed.wait(guard, [&] { return running == nullptr && program->finished; });
            }
        }
        program->thread.join();
    }
}

} // namespace sim

#include "platform/sim/Messaging.h"

#include <algorithm>
#include <memory>

#include "platform/Messages.h"
#include "platform/sim/Device.h"
#include "platform/sim/InputRouter.h"
#include "platform/sim/MessageRecorder.h"
#include "platform/sim/ProgramThread.h"
#include "platform/sim/WindowManager.h"

namespace sim {
namespace {

// Keeps a program's call depth right however a procedure leaves (a program
// being unwound leaves by exception).
class CallDepthGuard {
public:
    explicit CallDepthGuard(Program* program) : program(program) {
        if (program != nullptr) {
            ++program->callDepth;
        }
    }
    ~CallDepthGuard() {
        if (program != nullptr) {
            --program->callDepth;
        }
    }
    CallDepthGuard(const CallDepthGuard&) = delete;
    CallDepthGuard& operator=(const CallDepthGuard&) = delete;

private:
    Program* program;
};

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
    return (filterMin == 0 && filterMax == 0) || (message >= filterMin && message <= filterMax);
}

// A window filter of -1 takes only messages posted to the thread itself.
const HWND kThreadOnly = reinterpret_cast<HWND>(-1);

bool WindowMatches(HWND window, HWND filter) {
    if (filter == nullptr) {
        return true;
    }
    if (filter == kThreadOnly) {
        return window == nullptr;
    }
    return window == filter;
}

struct SentReply {
    bool done = false;
    LRESULT result = 0;
};

LRESULT SendAcrossThreads(Program* sender, Window& window, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    Device& device = *Device::Current();
    Program& receiver = *window.program;
    if (receiver.Finished()) {
        return 0;
    }
    auto reply = std::make_shared<SentReply>();
    const HWND handle = window.handle;
    receiver.incomingCalls.push_back([reply, handle, message, wParam, lParam]() {
        Window* target = Device::Current()->Windows().Find(handle);
        if (target != nullptr && target->life != WindowLife::Gone) {
            reply->result =
                CallProcedure(*target, target->procedure, message, wParam, lParam, Arrival::Sent);
        }
        reply->done = true;
    });
    if (sender == nullptr) {
        // The driver lets the device run until the reply comes or nothing more
        // happens.
        device.RunUntil([&reply] { return reply->done; }, 0);
        return reply->result;
    }
    while (!reply->done && !receiver.Finished()) {
        sender->RunIncomingCalls();
        if (reply->done) {
            break;
        }
        sender->Park(Wait{[sender, reply, &receiver] {
                              return reply->done || !sender->incomingCalls.empty() ||
                                     receiver.Finished();
                          },
                          nullptr});
    }
    return reply->result;
}

// A stylus press on a window whose top-level window is inactive activates it
// first, as WM_MOUSEACTIVATE decides. Returns false when the press is eaten.
bool MouseActivate(WindowManager& windows, HWND handle) {
    Window* target = windows.FindAlive(handle);
    if (target == nullptr) {
        return true;
    }
    Window& top = windows.TopLevelOf(*target);
    if (&top == windows.Active()) {
        return true;
    }
    const LRESULT answer =
        SendToWindow(*target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top.handle),
                     MAKELPARAM(static_cast<WORD>(HTCLIENT), WM_LBUTTONDOWN));
    if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) {
        if (Window* still = windows.FindAlive(top.handle)) {
            windows.Activate(still, WA_CLICKACTIVE);
        }
    }
    return answer != MA_ACTIVATEANDEAT && answer != MA_NOACTIVATEANDEAT;
}

// A program whose WM_PAINT handler never validates would get WM_PAINT forever;
// after this many in a row for one window the device validates it and says so.
constexpr int kUnvalidatedPaintLimit = 1000;

} // namespace

LRESULT CallProcedure(Window& window, WNDPROC procedure, UINT message, WPARAM wParam, LPARAM lParam,
                      Arrival arrival) {
    Device* device = Device::Current();
    if (device != nullptr && device->Recorders().Active()) {
        device->Recorders().Notify(window.handle, message, wParam, lParam, arrival);
    }
    if (procedure == nullptr) {
        return 0;
    }
    const CallDepthGuard depth(CurrentProgram());
    return procedure(window.handle, message, wParam, lParam);
}

LRESULT SendToWindow(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    Program* caller = CurrentProgram();
    if (window.program == nullptr || caller == window.program) {
        return CallProcedure(window, window.procedure, message, wParam, lParam, Arrival::Sent);
    }
    if (caller == nullptr && !Device::Current()->OnDriverThread()) {
        // Other threads may only post.
        return 0;
    }
    return SendAcrossThreads(caller, window, message, wParam, lParam);
}

void PostToWindow(Window& window, UINT message, WPARAM wParam, LPARAM lParam, bool activates) {
    if (window.program == nullptr) {
        return;
    }
    Device& device = *Device::Current();
    QueuedMessage queued;
    queued.msg.hwnd = window.handle;
    queued.msg.message = message;
    queued.msg.wParam = wParam;
    queued.msg.lParam = lParam;
    queued.msg.time = static_cast<DWORD>(device.Now());
    queued.msg.pt = device.Input().StylusPosition();
    queued.activates = activates;
    window.program->posted.push_back(queued);
}

std::optional<DeviceTime> NextTimerDue(const Program& program) {
    std::optional<DeviceTime> next;
    for (const Timer& timer : program.timers) {
        if (!next || timer.due < *next) {
            next = timer.due;
        }
    }
    return next;
}

bool HasMessage(Program& program, HWND filterWindow, UINT filterMin, UINT filterMax) {
    for (const QueuedMessage& queued : program.posted) {
        if (WindowMatches(queued.msg.hwnd, filterWindow) &&
            InRange(queued.msg.message, filterMin, filterMax)) {
            return true;
        }
    }
    if (program.quitPosted && InRange(WM_QUIT, filterMin, filterMax)) {
        return true;
    }
    WindowManager& windows = Device::Current()->Windows();
    if (InRange(WM_PAINT, filterMin, filterMax)) {
        for (const Window* window : program.paintPending) {
            if (WindowMatches(window->handle, filterWindow) && windows.NeedsPaint(*window)) {
                return true;
            }
        }
    }
    if (InRange(WM_TIMER, filterMin, filterMax)) {
        const DeviceTime now = Device::Current()->Now();
        for (const Timer& timer : program.timers) {
            const HWND owner = timer.window != nullptr ? timer.window->handle : nullptr;
            if (timer.due <= now && WindowMatches(owner, filterWindow)) {
                return true;
            }
        }
    }
    return false;
}

std::optional<MSG> TakeMessage(Program& program, HWND filterWindow, UINT filterMin, UINT filterMax,
                               bool remove) {
    Device& device = *Device::Current();
    WindowManager& windows = device.Windows();

    for (auto it = program.posted.begin(); it != program.posted.end();) {
        if (!WindowMatches(it->msg.hwnd, filterWindow) ||
            !InRange(it->msg.message, filterMin, filterMax)) {
            ++it;
            continue;
        }
        const QueuedMessage queued = *it;
        if (!remove) {
            return queued.msg;
        }
        it = program.posted.erase(it);
        program.lastMessage = queued.msg;
        if (queued.activates && !MouseActivate(windows, queued.msg.hwnd)) {
            // Eaten by the activation; look again from the start, as the
            // activation may have posted messages of its own.
            it = program.posted.begin();
            continue;
        }
        return queued.msg;
    }

    if (program.quitPosted && InRange(WM_QUIT, filterMin, filterMax)) {
        MSG quit;
        quit.message = WM_QUIT;
        quit.wParam = static_cast<WPARAM>(program.quitCode);
        quit.time = static_cast<DWORD>(device.Now());
        if (remove) {
            program.quitPosted = false;
            program.lastMessage = quit;
        }
        return quit;
    }

    if (InRange(WM_PAINT, filterMin, filterMax)) {
        std::erase_if(program.paintPending, [](const Window* window) {
            return window->life == WindowLife::Gone ||
                   (window->update.right <= window->update.left && !window->frameNeeded);
        });
        for (Window* window : program.paintPending) {
            if (!WindowMatches(window->handle, filterWindow) || !windows.NeedsPaint(*window)) {
                continue;
            }
            MSG paint;
            paint.hwnd = window->handle;
            paint.message = WM_PAINT;
            paint.time = static_cast<DWORD>(device.Now());
            paint.pt = device.Input().StylusPosition();
            if (remove) {
                program.lastMessage = paint;
            }
            return paint;
        }
    }

    if (InRange(WM_TIMER, filterMin, filterMax)) {
        const DeviceTime now = device.Now();
        Timer* due = nullptr;
        for (Timer& timer : program.timers) {
            const HWND owner = timer.window != nullptr ? timer.window->handle : nullptr;
            if (timer.due <= now && WindowMatches(owner, filterWindow) &&
                (due == nullptr || timer.due < due->due)) {
                due = &timer;
            }
        }
        if (due != nullptr) {
            MSG tick;
            tick.hwnd = due->window != nullptr ? due->window->handle : nullptr;
            tick.message = WM_TIMER;
            tick.wParam = due->id;
            tick.lParam = reinterpret_cast<LPARAM>(due->procedure);
            tick.time = static_cast<DWORD>(now);
            tick.pt = device.Input().StylusPosition();
            if (remove) {
                // One tick at a time: a late timer does not pile up ticks.
                due->due = now + due->elapse;
                program.lastMessage = tick;
            }
            return tick;
        }
    }
    return std::nullopt;
}

void WaitForMessage(Program& program, HWND filterWindow, UINT filterMin, UINT filterMax) {
    program.Park(Wait{[&program, filterWindow, filterMin, filterMax] {
                          return !program.incomingCalls.empty() ||
                                 HasMessage(program, filterWindow, filterMin, filterMax);
                      },
                      [&program] { return NextTimerDue(program); }});
}

void NotePaintDispatched(Program& program, Window& window) {
    int& unvalidatedRun = program.unvalidatedPaints;
    WindowManager& windows = Device::Current()->Windows();
    if (!windows.NeedsPaint(window)) {
        unvalidatedRun = 0;
        return;
    }
    if (++unvalidatedRun >= kUnvalidatedPaintLimit) {
        windows.Validate(window, nullptr);
        window.frameNeeded = false;
        unvalidatedRun = 0;
        Device::Current()->ReportProblem(
            "window " + std::to_string(reinterpret_cast<std::uintptr_t>(window.handle)) +
            " never validated its WM_PAINT; the device validated it");
    }
}

} // namespace sim

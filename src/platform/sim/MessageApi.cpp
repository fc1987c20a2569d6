// The message functions of platform/Messages.h: sending, posting, the message
// loop, timers and the device clock.
#include "platform/Messages.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "platform/Input.h"
#include "platform/Program.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/InputRouter.h"
#include "platform/sim/Messaging.h"

using sim::Device;
using sim::Program;
using sim::Window;

namespace {

// Win32's shortest timer period.
constexpr UINT kMinimumElapse = 10;
// PeekMessageW calls in a row that find nothing before the program is parked
// until the clock moves (a program polling without end).
constexpr int kPollingPeeks = 1000;

// The character a key types, or 0.
char16_t CharacterOf(WPARAM key, bool shift, bool control) {
    if (key >= 'A' && key <= 'Z') {
        if (control) {
            return static_cast<char16_t>(key - 'A' + 1);
        }
        return static_cast<char16_t>(shift ? key : key - 'A' + 'a');
    }
    if (key >= '0' && key <= '9') {
        constexpr char16_t kShifted[] = u")!@#$%^&*(";
        return shift ? kShifted[key - '0'] : static_cast<char16_t>(key);
    }
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        return static_cast<char16_t>(u'0' + (key - VK_NUMPAD0));
    }
    switch (key) {
    case VK_SPACE:
        return u' ';
    case VK_RETURN:
        return u'\r';
    case VK_BACK:
        return u'\b';
    case VK_TAB:
        return u'\t';
    case VK_ESCAPE:
        return 0x1B;
    default:
        return 0;
    }
}

} // namespace

LRESULT SendMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    return sim::SendToWindow(*window, message, wParam, lParam);
}

BOOL PostMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Device* device = Device::Current();
    if (device == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    Program* program = sim::CurrentProgram();
    if (program == nullptr && !device->OnDriverThread()) {
        // Any other thread: handed in under the device's lock.
        if (!device->PostFromOutside(handle, message, wParam, lParam)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        return TRUE;
    }
    if (handle == nullptr) {
        if (program == nullptr) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        return PostThreadMessageW(program->ThreadId(), message, wParam, lParam);
    }
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    sim::PostToWindow(*window, message, wParam, lParam);
    return TRUE;
}

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    Device* device = Device::Current();
    Program* target = device != nullptr ? device->FindThread(threadId) : nullptr;
    if (target == nullptr || target->Finished() ||
        (sim::CurrentProgram() == nullptr && !device->OnDriverThread())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    sim::QueuedMessage queued;
    queued.msg.message = message;
    queued.msg.wParam = wParam;
    queued.msg.lParam = lParam;
    queued.msg.time = static_cast<DWORD>(device->Now());
    queued.msg.pt = device->Input().StylusPosition();
    target->posted.push_back(queued);
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    if (Program* program = sim::CallingProgram()) {
        program->quitPosted = true;
        program->quitCode = exitCode;
    }
}

BOOL GetMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax) {
    Program* program = sim::CallingProgram();
    if (program == nullptr || msg == nullptr) {
        return -1;
    }
    if (window != nullptr && window != reinterpret_cast<HWND>(-1) &&
        sim::LookUpWindow(window) == nullptr) {
        return -1;
    }
    Device& device = *Device::Current();
    for (;;) {
        program->RunIncomingCalls();
        if (const auto taken = sim::TakeMessage(*program, window, filterMin, filterMax, true)) {
            *msg = *taken;
            program->emptyPeeks = 0;
            return taken->message != WM_QUIT ? TRUE : FALSE;
        }
        device.Windows().FreeDestroyed(*program);
        sim::WaitForMessage(*program, window, filterMin, filterMax);
    }
}

BOOL PeekMessageW(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    Program* program = sim::CallingProgram();
    if (program == nullptr || msg == nullptr) {
        return FALSE;
    }
    Device& device = *Device::Current();
    program->RunIncomingCalls();
    if (const auto taken = sim::TakeMessage(*program, window, filterMin, filterMax,
                                            (removeFlags & PM_REMOVE) != 0)) {
        *msg = *taken;
        program->emptyPeeks = 0;
        return TRUE;
    }
    device.Windows().FreeDestroyed(*program);
    if (program->emptyPeeks == 0) {
        program->emptyPeeksSince = device.Now();
    }
    if (++program->emptyPeeks >= kPollingPeeks) {
        // Polling without end: wait for the clock to move or for a message.
        const sim::DeviceTime since = program->emptyPeeksSince;
        program->Park(sim::Wait{[program, window, filterMin, filterMax, since] {
                                    return Device::Current()->Now() > since ||
                                           !program->incomingCalls.empty() ||
                                           sim::HasMessage(*program, window, filterMin, filterMax);
                                },
                                [since] { return std::optional<sim::DeviceTime>(since + 1); }});
        program->emptyPeeks = 0;
    }
    return FALSE;
}

BOOL TranslateMessage(const MSG* msg) {
    Program* program = sim::CurrentProgram();
    if (program == nullptr || msg == nullptr || msg->message != WM_KEYDOWN) {
        return FALSE;
    }
    const sim::InputRouter& input = Device::Current()->Input();
    const bool shift = input.KeyState(VK_SHIFT) < 0;
    const bool control = input.KeyState(VK_CONTROL) < 0;
    const char16_t character = CharacterOf(msg->wParam, shift, control);
    if (character == 0) {
        return FALSE;
    }
    sim::QueuedMessage typed;
    typed.msg = *msg;
    typed.msg.message = WM_CHAR;
    typed.msg.wParam = character;
    program->posted.push_front(typed);
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    Program* program = sim::CurrentProgram();
    if (program == nullptr || msg == nullptr) {
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        // A timer with a procedure calls it; only a procedure of a live timer.
        const auto procedure = reinterpret_cast<TIMERPROC>(msg->lParam);
        const bool known = std::any_of(
            program->timers.begin(), program->timers.end(), [&](const sim::Timer& timer) {
                return timer.procedure == procedure && timer.id == msg->wParam;
            });
        if (known) {
            procedure(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        }
        return 0;
    }
    if (msg->hwnd == nullptr) {
        return 0;
    }
    Window* window = sim::LookUpWindow(msg->hwnd);
    if (window == nullptr) {
        return 0;
    }
    if (window->program != program) {
        SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
        return 0;
    }
    const LRESULT result = sim::CallProcedure(*window, window->procedure, msg->message, msg->wParam,
                                              msg->lParam, sim::Arrival::Posted);
    if (msg->message == WM_PAINT) {
        if (Window* still = sim::LookUpWindow(msg->hwnd)) {
            sim::NotePaintDispatched(*program, *still);
        }
    }
    return result;
}

BOOL WaitMessage() {
    Program* program = sim::CallingProgram();
    if (program == nullptr) {
        return FALSE;
    }
    if (program->incomingCalls.empty() && !sim::HasMessage(*program, nullptr, 0, 0)) {
        sim::WaitForMessage(*program, nullptr, 0, 0);
    }
    program->RunIncomingCalls();
    return TRUE;
}

DWORD GetMessagePos() {
    const Program* program = sim::CurrentProgram();
    if (program == nullptr) {
        return 0;
    }
    return MAKELONG(static_cast<WORD>(program->lastMessage.pt.x),
                    static_cast<WORD>(program->lastMessage.pt.y));
}

LONG GetMessageTime() {
    const Program* program = sim::CurrentProgram();
    return program != nullptr ? static_cast<LONG>(program->lastMessage.time) : 0;
}

UINT_PTR SetTimer(HWND handle, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
    Program* program = sim::CallingProgram();
    if (program == nullptr) {
        return 0;
    }
    Window* window = nullptr;
    if (handle != nullptr) {
        window = sim::LookUpWindow(handle);
        if (window == nullptr) {
            return 0;
        }
        if (window->program != program) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
    }
    elapse = std::clamp<UINT>(elapse, kMinimumElapse, 0x7FFFFFFF);
    const sim::DeviceTime due = Device::Current()->Now() + elapse;
    for (sim::Timer& timer : program->timers) {
        if (timer.window == window && timer.id == id && (window != nullptr || id != 0)) {
            timer.elapse = elapse;
            timer.due = due;
            timer.procedure = procedure;
            return window != nullptr ? (id != 0 ? id : 1) : id;
        }
    }
    if (window == nullptr) {
        // A thread timer gets an id of its own.
        UINT_PTR next = 0x7FFF;
        for (const sim::Timer& timer : program->timers) {
            if (timer.window == nullptr) {
                next = std::max(next, timer.id + 1);
            }
        }
        id = next;
    }
    program->timers.push_back(sim::Timer{window, id, elapse, due, procedure});
    return window != nullptr ? (id != 0 ? id : 1) : id;
}

BOOL KillTimer(HWND handle, UINT_PTR id) {
    Program* program = sim::CallingProgram();
    if (program == nullptr) {
        return FALSE;
    }
    Window* window = handle != nullptr ? sim::LookUpWindow(handle) : nullptr;
    if (handle != nullptr && window == nullptr) {
        return FALSE;
    }
    const auto before = program->timers.size();
    std::erase_if(program->timers, [&](const sim::Timer& timer) {
        return timer.window == window && timer.id == id;
    });
    return program->timers.size() != before ? TRUE : FALSE;
}

DWORD GetTickCount() {
    const Device* device = Device::Current();
    return device != nullptr ? static_cast<DWORD>(device->Now()) : 0;
}

void Sleep(DWORD milliseconds) {
    Device* device = Device::Current();
    Program* program = sim::CurrentProgram();
    if (device == nullptr || program == nullptr) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return;
    }
    const sim::DeviceTime deadline = device->Now() + milliseconds;
    if (milliseconds == 0) {
        return;
    }
    program->Park(sim::Wait{[device, deadline] { return device->Now() >= deadline; },
                            [deadline] { return std::optional<sim::DeviceTime>(deadline); }});
}

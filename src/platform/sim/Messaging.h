// Delivering messages: calling a window's procedure (with the message
// recorders watching), sending across threads, posting, and the program side of
// the message queue.
#pragma once

#include <optional>

#include "platform/Messages.h"
#include "platform/WinTypes.h"
#include "platform/sim/Clock.h"
#include "platform/sim/WindowObject.h"

namespace sim {

class Program;

// How a message reached a procedure, as the message recorders log it.
enum class Arrival { Sent, Posted, Default };

// Calls procedure for the window on the calling thread.
LRESULT CallProcedure(Window& window, WNDPROC procedure, UINT message, WPARAM wParam, LPARAM lParam,
                      Arrival arrival);
// Sends a message: a direct call on the window's own thread; from another
// program, a call run on the window's thread while the sender waits (and
// handles messages sent to it meanwhile); from the driver, the same, with the
// device running until the reply comes (0 when it does not come before the
// device is idle).
LRESULT SendToWindow(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
// Queues a message for the window's program (program threads and the driver).
void PostToWindow(Window& window, UINT message, WPARAM wParam, LPARAM lParam,
                  bool activates = false);

// The program side of the queue. Filters are those of GetMessageW. Returns the
// message taken (or looked at, when remove is false).
std::optional<MSG> TakeMessage(Program& program, HWND filterWindow, UINT filterMin, UINT filterMax,
                               bool remove);
// True when TakeMessage would find something now.
bool HasMessage(Program& program, HWND filterWindow, UINT filterMin, UINT filterMax);
// Parks the program until a message passing the filters or an incoming call is
// there (the wait every message loop uses).
void WaitForMessage(Program& program, HWND filterWindow, UINT filterMin, UINT filterMax);
// After a WM_PAINT was dispatched: a window that keeps asking for paint without
// ever validating is validated by the device (and reported) after a long run.
void NotePaintDispatched(Program& program, Window& window);
// When the program's next timer falls due.
std::optional<DeviceTime> NextTimerDue(const Program& program);

} // namespace sim

// Helpers shared by the device's implementations of the Win32 functions: the
// current device and program, handle lookup that sets the last error, and the
// last error itself.
#pragma once

#include "platform/WinTypes.h"
#include "platform/sim/Device.h"
#include "platform/sim/ProgramThread.h"
#include "platform/sim/WindowManager.h"
#include "platform/sim/WindowObject.h"

namespace sim {

// Sets the calling thread's last error (GetLastError).
void SetThreadError(DWORD error);

// The window of a handle, or null with ERROR_INVALID_WINDOW_HANDLE (also
// without a device).
Window* LookUpWindow(HWND window);
// The calling program, or null with ERROR_INVALID_PARAMETER: calls that act
// for a program (creating windows, timers, hot keys...) need one.
Program* CallingProgram();

} // namespace sim

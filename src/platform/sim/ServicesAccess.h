// What the device's implementations of the system calls share: the current
// device's services and the calling program.
#pragma once

#include "platform/WinTypes.h"
#include "platform/sim/SystemServices.h"

namespace sim {

// The current device's services, or null when no device runs.
SystemServices* CurrentServices();
// The calling program's process and thread ids (0 for the driver).
DWORD CallingPid();
DWORD CallingThread();

} // namespace sim

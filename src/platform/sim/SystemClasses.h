// The device's own window classes (the dialog class, the control host, the
// controls), registered for every program when a device starts. Each area adds
// its installer to the table in SystemClasses.cpp.
#pragma once

#include "platform/Window.h"

namespace sim {

class Device;

void InstallSystemClasses(Device& device);
// Registers a class every program finds; for installers.
ATOM RegisterSystemClass(Device& device, const WNDCLASSW& wndClass);

// The installers.
void InstallDialogClass(Device& device);
void InstallControlHostClass(Device& device);
// The controls, the menu bar, popup menus, the message box and the open-file
// dialog (ControlClasses.cpp).
void InstallControlClasses(Device& device);

} // namespace sim

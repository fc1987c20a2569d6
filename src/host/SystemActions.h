// What the system does for the user outside the player: another program
// coming to the front (or the player coming back), and the system settings
// turning the display.
#pragma once

#include "host/ShellNavigation.h"

namespace host {

class Session;

// player true: the player's main window comes back to the front; false:
// another program comes to the front.
Done BringToFront(Session& session, bool player);

// Turns the display to 0, 90, 180 or 270 degrees.
Done RotateDisplay(Session& session, int degrees);

} // namespace host

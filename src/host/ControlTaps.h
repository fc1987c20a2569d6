// Taps by id: the user's tap on a control, a menu-bar button or a soft key
// of the window in front, found by its control or command id, as a script
// names it.
#pragma once

#include "host/ShellNavigation.h"

namespace host {

class Session;

// Taps the centre of the visible control with that id in the foreground
// window, or else of the visible button with that command id on a menu bar
// of the foreground window (its soft keys), or else, for IDOK, of the OK
// button the task bar shows for it. Fails, naming the id, when there is none.
Done TapById(Session& session, int id);

} // namespace host

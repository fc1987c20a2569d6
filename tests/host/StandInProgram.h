// A small program for the host's own tests, which need a program that does
// exactly what they expect of it: a window under the player's menu bar (from the player's
// resources) holding the movie control with the movie of its command line
// (the default movie without one), a message box for the "Open" soft key,
// full screen for "Toggle Fullscreen", and its window text naming any other
// command it received. "exit N" as its command line ends it at once with
// code N.
#pragma once

#include "platform/sim/ProgramThread.h"

namespace host {

sim::ProgramImage StandInProgram();

} // namespace host

// vantrel from its command line to its exit code: the options and the script,
// the device, the player's run headless or in a window, and the end of the run
// (state, journal and screenshot written, then the player closed).
#pragma once

#include <span>
#include <string>

#include "platform/sim/ProgramThread.h"

namespace host {

// Exit codes of the host's own: a bad option or script line, and a run whose
// outputs could not all be written or whose device could not be set up.
constexpr int kExitUsage = 2;
constexpr int kExitHostFailure = 1;

// args excludes the program's name. program is the program to run on the
// device (the player).
int RunVantrel(std::span<const std::string> args, const sim::ProgramImage& program);

} // namespace host

// The headless run: no window; the host runs the script and lets device time
// pass, as fast as it can on a virtual clock, with the wall clock on a real
// one, until the run's end.
#pragma once

#include <optional>

#include "platform/sim/Clock.h"

namespace host {

class Session;
class ScriptRunner;
class JournalFile;

struct RunLimits {
    // The device time at which the run ends, if any.
    std::optional<sim::DeviceTime> endAt;
    // The end of the script ends the run (headless runs).
    bool endWithScript = false;
};

enum class RunEnd { PlayerExited, TimeUp, ScriptDone, ScriptFailed, WindowClosed };

// script and journal may be null.
RunEnd RunHeadless(Session& session, ScriptRunner* script, const RunLimits& limits,
                   JournalFile* journal);

// The work both drivers do between their waits: the script's due actions and
// the journal so far. Returns the end it reached, if any.
std::optional<RunEnd> StepRun(Session& session, ScriptRunner* script, const RunLimits& limits,
                              JournalFile* journal);

} // namespace host

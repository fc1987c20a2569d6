// Runs a script's actions on the session's device, in device time. The driver
// (the headless loop or the window's) calls RunDue whenever device time has
// moved; actions that take time (wait, hold, drag) say when the next one is
// due, and a launch holds the script until its process has ended.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/ChildProcess.h"
#include "host/Script.h"
#include "platform/sim/Clock.h"

namespace host {

class Session;

struct ScriptFailure {
    int line = 0;
    std::string message;
};

class ScriptRunner {
public:
    ScriptRunner(Session& session, std::vector<ScriptStep> steps, LaunchPlan launchPlan);
    ~ScriptRunner();

    // Carries out every action that is due now.
    void RunDue();

    // Every action has been carried out and has taken its time.
    bool Finished() const;
    const std::optional<ScriptFailure>& Failure() const { return failure; }
    // When the next action is due, while one is waiting for its time.
    std::optional<sim::DeviceTime> NextDue() const;
    // A launched process has not ended yet.
    bool WaitingForProcess() const { return launched != nullptr; }

    // How long a hold keeps the stylus down: past the shell's longer
    // tap-and-hold delay.
    static constexpr sim::DeviceTime kHoldDuration = 1'200;

private:
    // Carries out one action; false when it failed (failure is set).
    bool Carry(const ScriptStep& step);
    bool Fail(const ScriptStep& step, std::string message);
    void FinishLaunch(int exitCode);

    Session& session;
    std::vector<ScriptStep> steps;
    LaunchPlan launchPlan;
    std::size_t next = 0;
    sim::DeviceTime resumeAt = 0;
    std::optional<ScriptFailure> failure;
    std::unique_ptr<ChildProcess> launched;
    std::string launchedCommandLine;
};

} // namespace host

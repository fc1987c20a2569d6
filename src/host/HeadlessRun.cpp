#include "host/HeadlessRun.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "host/JournalFile.h"
#include "host/ScriptRunner.h"
#include "host/Session.h"

namespace host {
namespace {

// While a launched process runs, device time moves with the wall clock in
// steps of this many milliseconds, so both processes see time pass alike.
constexpr sim::DeviceTime kProcessWaitStep = 10;

} // namespace

std::optional<RunEnd> StepRun(Session& session, ScriptRunner* script, const RunLimits& limits,
                              JournalFile* journal) {
    if (script != nullptr) {
        script->RunDue();
    }
    if (journal != nullptr) {
        journal->Append(session.Device().GetJournal());
    }
    if (script != nullptr && script->Failure()) {
        return RunEnd::ScriptFailed;
    }
    if (session.PlayerEnded()) {
        return RunEnd::PlayerExited;
    }
    if (limits.endAt && session.Device().Now() >= *limits.endAt) {
        return RunEnd::TimeUp;
    }
    if (limits.endWithScript && script != nullptr && script->Finished()) {
        return RunEnd::ScriptDone;
    }
    return std::nullopt;
}

RunEnd RunHeadless(Session& session, ScriptRunner* script, const RunLimits& limits,
                   JournalFile* journal) {
    sim::Device& device = session.Device();
    const auto playerEnded = [&session] { return session.PlayerEnded(); };
    device.RunUntilIdle();
    for (;;) {
        if (const auto end = StepRun(session, script, limits, journal)) {
            return *end;
        }
        const sim::DeviceTime now = device.Now();
        if (script != nullptr && script->WaitingForProcess()) {
            sim::DeviceTime step = kProcessWaitStep;
            if (limits.endAt) {
                step = std::min(step, *limits.endAt - now);
            }
            device.RunUntil(playerEnded, step);
            if (device.GetClock().Mode() == sim::ClockMode::Virtual) {
                std::this_thread::sleep_for(std::chrono::milliseconds(kProcessWaitStep));
            }
            continue;
        }
        std::optional<sim::DeviceTime> until = limits.endAt;
        if (script != nullptr) {
            if (const auto due = script->NextDue()) {
                until = until ? std::min(*until, *due) : *due;
            }
        }
        if (!until) {
            // Nothing bounds the run but the player: let it run in long steps.
            until = now + 60'000;
        }
        device.RunUntil(playerEnded, *until > now ? *until - now : 0);
    }
}

} // namespace host

#include "host/ScriptRunner.h"

#include "host/ControlTaps.h"
#include "host/DeviceButtons.h"
#include "host/DeviceState.h"
#include "host/OutputFile.h"
#include "host/Session.h"
#include "host/ShellNavigation.h"
#include "host/SystemActions.h"
#include "platform/Text.h"
#include "platform/sim/Screen.h"
#include "platform/sim/SystemServices.h"

namespace host {
namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

POINT ToPoint(const ScriptPoint& point) {
    return POINT{point.x, point.y};
}

} // namespace

ScriptRunner::ScriptRunner(Session& runSession, std::vector<ScriptStep> scriptSteps,
                           LaunchPlan plan)
    : session(runSession), steps(std::move(scriptSteps)), launchPlan(std::move(plan)) {}

ScriptRunner::~ScriptRunner() = default;

bool ScriptRunner::Finished() const {
    return next >= steps.size() && !launched && session.Device().Now() >= resumeAt;
}

std::optional<sim::DeviceTime> ScriptRunner::NextDue() const {
    if (Finished() || failure || launched) {
        return std::nullopt;
    }
    return resumeAt;
}

void ScriptRunner::RunDue() {
    sim::Device& device = session.Device();
    while (!failure) {
        if (launched) {
            const auto exitCode = launched->Poll();
            if (!exitCode) {
                return;
            }
            FinishLaunch(*exitCode);
        }
        if (next >= steps.size() || device.Now() < resumeAt) {
            return;
        }
        const ScriptStep& step = steps[next++];
        if (!Carry(step)) {
            return;
        }
        device.RunUntilIdle();
    }
}

bool ScriptRunner::Fail(const ScriptStep& step, std::string message) {
    failure = ScriptFailure{step.line, std::move(message)};
    return false;
}

void ScriptRunner::FinishLaunch(int exitCode) {
    JournalLaunch(session.Device(), *launched, launchedCommandLine, exitCode);
    launched.reset();
}

bool ScriptRunner::Carry(const ScriptStep& step) {
    sim::Device& device = session.Device();
    sim::Automation& automation = session.Automation();
    const sim::DeviceTime now = device.Now();
    std::string error;
    return std::visit(
        Overloaded{
            [&](const action::Wait& wait) {
                resumeAt = now + wait.ms;
                return true;
            },
            [&](const action::Tap& tap) {
                automation.Tap(ToPoint(tap.at));
                return true;
            },
            [&](const action::Hold& hold) {
                automation.Hold(ToPoint(hold.at), kHoldDuration);
                resumeAt = now + kHoldDuration;
                return true;
            },
            [&](const action::Drag& drag) {
                automation.Drag(ToPoint(drag.from), ToPoint(drag.to), drag.ms);
                resumeAt = now + drag.ms;
                return true;
            },
            [&](const action::Button& button) {
                PressDeviceButton(automation, button.button);
                return true;
            },
            [&](const action::Key& key) {
                automation.PressKey(key.stroke.key, key.stroke.modifiers);
                return true;
            },
            [&](const action::Type& type) {
                automation.TypeText(text::FromUtf8(type.text));
                return true;
            },
            [&](const action::SoftKey& softKey) {
                const Done done = TapSoftKey(session, softKey.number);
                return done.Ok() || Fail(step, done.GetError().message);
            },
            [&](const action::Menu& menu) {
                const Done done = ChooseMenuItem(session, menu.path);
                return done.Ok() || Fail(step, done.GetError().message);
            },
            [&](const action::Front& front) {
                const Done done = BringToFront(session, front.player);
                return done.Ok() || Fail(step, done.GetError().message);
            },
            [&](const action::Rotate& rotate) {
                const Done done = RotateDisplay(session, rotate.degrees);
                return done.Ok() || Fail(step, done.GetError().message);
            },
            [&](const action::Launch& launch) {
                auto child = ChildProcess::Start(launchPlan.executable,
                                                 launchPlan.ArgumentsFor(launch.commandLine));
                if (!child) {
                    return Fail(step, child.GetError().message);
                }
                launched = std::move(child).Value();
                launchedCommandLine = launch.commandLine;
                return true;
            },
            [&](const action::Open& open) {
                DWORD shellError = 0;
                if (device.Services().OpenDocument(text::FromUtf8(open.path), shellError)) {
                    return true;
                }
                return Fail(step, "the device's shell cannot open " + open.path + " (error " +
                                      std::to_string(shellError) + ")");
            },
            [&](const action::TapId& tapId) {
                const Done done = TapById(session, tapId.id);
                return done.Ok() || Fail(step, done.GetError().message);
            },
            [&](const action::Screenshot& screenshot) {
                const auto png = device.GetScreen().Png();
                const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
                return WriteOutputFile(screenshot.path, bytes, error) || Fail(step, error);
            },
            [&](const action::State& state) {
                return WriteDeviceState(session, state.path, error) || Fail(step, error);
            },
        },
        step.action);
}

} // namespace host

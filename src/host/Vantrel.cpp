#include "host/Vantrel.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>

#include "host/AudioSinks.h"
#include "host/DemoMovie.h"
#include "host/DeviceSetup.h"
#include "host/DeviceState.h"
#include "host/HeadlessRun.h"
#include "host/JournalFile.h"
#include "host/Options.h"
#include "host/OutputFile.h"
#include "host/ScriptRunner.h"
#include "host/Session.h"
#include "host/Version.h"
#include "host/WindowRun.h"
#include "platform/sim/Screen.h"
#include "platform/sim/SystemServices.h"

namespace host {
namespace {

// A headless run with neither a script nor --run-for lasts this long.
constexpr sim::DeviceTime kDefaultHeadlessRun = 10'000;

int UsageError(const std::string& message) {
    std::cerr << "vantrel: " << message << "\nTry 'vantrel --help' for more.\n";
    return kExitUsage;
}

Result<std::string> ReadScriptText(const std::string& path) {
    std::ostringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
        return text.str();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Error{"cannot read the script " + path, 0};
    }
    text << in.rdbuf();
    if (in.bad()) {
        return Error{"cannot read the script " + path, 0};
    }
    return text.str();
}

LaunchPlan PlanLaunches(const Options& options, const DeviceProfile& profile, bool virtualClock) {
    LaunchPlan plan;
    plan.executable = OwnExecutable();
    plan.options = {"--device",
                    options.deviceDirectory.string(),
                    "--screen",
                    std::to_string(profile.screenWidth) + "x" +
                        std::to_string(profile.screenHeight),
                    "--dpi",
                    std::to_string(profile.dpi),
                    virtualClock ? "--headless" : "--realtime"};
    return plan;
}

// The player's exit code as a process exit code: -1 becomes 255.
int ProcessExitCode(std::optional<int> playerCode) {
    return playerCode ? (*playerCode & 0xFF) : kExitHostFailure;
}

// The outputs of the run's end; false when one could not be written.
bool WriteOutputs(Session& session, const Options& options, JournalFile* journal) {
    bool ok = true;
    std::string error;
    if (options.statePath && !WriteDeviceState(session, *options.statePath, error)) {
        std::cerr << "vantrel: " << error << "\n";
        ok = false;
    }
    if (journal != nullptr && !journal->Append(session.Device().GetJournal())) {
        std::cerr << "vantrel: " << journal->Error() << "\n";
        ok = false;
    }
    if (options.screenshotPath) {
        const auto png = session.Device().GetScreen().Png();
        const std::string_view bytes(reinterpret_cast<const char*>(png.data()), png.size());
        if (!WriteOutputFile(*options.screenshotPath, bytes, error)) {
            std::cerr << "vantrel: " << error << "\n";
            ok = false;
        }
    }
    return ok;
}

} // namespace

int RunVantrel(std::span<const std::string> args, const sim::ProgramImage& program) {
    const auto parsed = ParseOptions(args, Environment::FromProcess());
    if (!parsed) {
        return UsageError(parsed.GetError().message);
    }
    const Options& options = parsed.Value();
    if (options.request == Options::Request::Version) {
        std::cout << "Vantrel " << Version() << "\n";
        return 0;
    }
    if (options.request == Options::Request::Help) {
        std::cout << UsageText();
        return 0;
    }

    std::vector<ScriptStep> steps;
    if (options.scriptPath) {
        const auto text = ReadScriptText(*options.scriptPath);
        if (!text) {
            return UsageError(text.GetError().message);
        }
        auto script = ParseScript(*text);
        if (!script) {
            return UsageError("script " + *options.scriptPath + ": " + script.GetError().message);
        }
        steps = std::move(script).Value();
    }
    std::unique_ptr<JournalFile> journal;
    if (options.journalPath) {
        journal = std::make_unique<JournalFile>(*options.journalPath);
        if (!journal->Open()) {
            return UsageError(journal->Error());
        }
    }

    const auto device =
        PrepareDevice(options.deviceDirectory,
                      DeviceProfile{options.screenWidth, options.screenHeight, options.dpi});
    if (!device) {
        std::cerr << "vantrel: " << device.GetError().message << "\n";
        return kExitHostFailure;
    }
    const DeviceProfile& profile = device->profile;

    // The window comes first, so that a display that cannot be opened leaves a
    // headless run instead.
    std::unique_ptr<DeviceWindow> window;
    if (options.mode == RunMode::Automatic && DisplayNamed()) {
        auto opened = DeviceWindow::Open(profile, options.zoom);
        if (opened) {
            window = std::move(opened).Value();
        } else {
            std::cerr << "vantrel: " << opened.GetError().message << "; running headless\n";
        }
    }
    const bool virtualClock = window == nullptr && options.mode != RunMode::Realtime;

    // The device's sound: the window's speaker, the --audio file, or nowhere.
    auto sinks = std::make_unique<SinkSet>();
    bool soundCard = true;
    if (options.audioPath) {
        auto wav = WavFileSink::Create(*options.audioPath);
        if (!wav) {
            std::cerr << "vantrel: " << wav.GetError().message << "\n";
            return kExitHostFailure;
        }
        sinks->Add(std::move(wav).Value());
    }
    if (window != nullptr) {
        auto speaker = SdlSpeaker::Open();
        if (speaker) {
            sinks->Add(std::move(speaker).Value());
        } else if (!options.audioPath) {
            std::cerr << "vantrel: " << speaker.GetError().message << "; playing silently\n";
            soundCard = false;
        }
    }

    std::ofstream traceFile;
    if (options.tracePath) {
        traceFile.open(*options.tracePath, std::ios::binary | std::ios::trunc);
        if (!traceFile) {
            std::cerr << "vantrel: cannot write " << options.tracePath->string() << "\n";
            return kExitHostFailure;
        }
    }

    SessionConfig config;
    if (traceFile.is_open()) {
        config.trace = [&traceFile](std::string_view line) {
            traceFile << line << '\n';
            traceFile.flush();
        };
    }
    config.deviceDirectory = options.deviceDirectory;
    config.profile = profile;
    config.clock = virtualClock ? sim::ClockMode::Virtual : sim::ClockMode::Real;
    config.installMovieControl = !options.noControl;
    config.commandLine = options.commandLine;
    config.defaultMovie = DemoMovie();
    Session session(config, program);
    session.Device().Services().Wave().SetSink(
        sinks->Empty() ? nullptr : std::unique_ptr<sim::AudioSink>(std::move(sinks)), soundCard);

    const LaunchPlan launchPlan = PlanLaunches(options, profile, virtualClock);
    std::unique_ptr<ScriptRunner> script;
    if (options.scriptPath) {
        script = std::make_unique<ScriptRunner>(session, std::move(steps), launchPlan);
    }
    RunLimits limits;
    const sim::DeviceTime start = session.Device().Now();
    if (options.runFor) {
        limits.endAt = start + *options.runFor;
    } else if (window == nullptr && !script) {
        limits.endAt = start + kDefaultHeadlessRun;
    }
    limits.endWithScript = window == nullptr;

    const RunEnd end = window != nullptr
                           ? window->Run(session, script.get(), limits, journal.get(), launchPlan)
                           : RunHeadless(session, script.get(), limits, journal.get());

    bool outputsWritten = WriteOutputs(session, options, journal.get());
    session.ClosePlayer();
    if (journal != nullptr && !journal->Append(session.Device().GetJournal())) {
        outputsWritten = false;
    }
    if (end == RunEnd::ScriptFailed) {
        const ScriptFailure& failure = *script->Failure();
        std::cerr << "vantrel: script " << *options.scriptPath << ": line " << failure.line << ": "
                  << failure.message << "\n";
        return kExitUsage;
    }
    if (!outputsWritten) {
        return kExitHostFailure;
    }
    return ProcessExitCode(session.PlayerExitCode());
}

} // namespace host

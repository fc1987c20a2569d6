#include "host/Session.h"

#include "platform/Messages.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/DevicePath.h"
#include "platform/sim/WindowManager.h"
#include "swf/control/HostFiles.h"
#include "swf/control/MovieControl.h"

namespace host {
namespace {

constexpr char16_t kDefaultMoviePath[] = u"\\Program Files\\Vantrel\\Vantrel.exe.swf";

// How long each closing round waits for the player, in device time.
constexpr sim::DeviceTime kCloseRoundLimit = 2'000;
// Rounds of WM_CLOSE to the window in front: enough for a dialog over a
// message box over the main window.
constexpr int kCloseRounds = 4;

} // namespace

Session::Session(const SessionConfig& sessionConfig, const sim::ProgramImage& program)
    : config(sessionConfig) {
    sim::DeviceConfig deviceConfig;
    deviceConfig.directory = config.deviceDirectory;
    deviceConfig.screenWidth = config.profile.screenWidth;
    deviceConfig.screenHeight = config.profile.screenHeight;
    deviceConfig.pixelsPerInch = config.profile.dpi;
    deviceConfig.clock = config.clock;
    if (!config.defaultMovie.empty()) {
        deviceConfig.services.firstUseFiles.push_back(sim::InstalledFile{
            kDefaultMoviePath, {config.defaultMovie.begin(), config.defaultMovie.end()}});
    }
    device = std::make_unique<sim::Device>(deviceConfig);
    automation = std::make_unique<sim::Automation>(*device);
    if (config.installMovieControl) {
        // The control reads the movies of "file://" URLs; device paths name
        // files of the device's storage.
        const std::filesystem::path storage = device->StorageRoot();
        swf::InstallMovieControl(
            std::make_shared<swf::HostFiles>(
                [storage](const std::string& path) -> std::optional<std::filesystem::path> {
                    const sim::ResolvedPath resolved =
                        sim::ResolvePath(storage, text::FromUtf8(path));
                    if (!resolved.Ok()) {
                        return std::nullopt;
                    }
                    return resolved.host;
                }),
            swf::HttpLimits{}, config.trace);
    }
    player = &device->Launch(program, text::FromUtf8(config.commandLine));
}

Session::~Session() {
    // The device ends what still runs; the automation goes first, as it
    // borrows the device.
    automation.reset();
    device.reset();
}

std::optional<int> Session::PlayerExitCode() const {
    if (!player->Finished()) {
        return std::nullopt;
    }
    return player->ExitCode();
}

HWND Session::PlayerFrontWindow() const {
    sim::WindowManager& windows = device->Windows();
    for (const sim::Window* window : windows.TopLevel()) {
        // The shell's bars belong to the program's windows but are not
        // closed on their own.
        if (window->program == player && window->IsAlive() && windows.IsShown(*window) &&
            (window->style & WS_DISABLED) == 0 &&
            !text::EqualsIgnoringCase(window->windowClass->name, sim::kMenuBarClass)) {
            return window->handle;
        }
    }
    return nullptr;
}

HWND Session::PlayerMainWindow() const {
    for (const sim::Window* window : device->Windows().TopLevel()) {
        if (window->program == player && window->IsAlive() && window->owner == nullptr) {
            return window->handle;
        }
    }
    return nullptr;
}

bool Session::ClosePlayer() {
    auto ended = [this] { return player->Finished(); };
    for (int round = 0; round < kCloseRounds && !ended(); ++round) {
        HWND target = PlayerFrontWindow();
        if (target == nullptr || round == kCloseRounds - 1) {
            target = PlayerMainWindow();
        }
        if (target == nullptr) {
            break;
        }
        PostMessageW(target, WM_CLOSE, 0, 0);
        device->RunUntil(ended, kCloseRoundLimit);
    }
    if (!ended()) {
        // A program without windows left, or one that ignores WM_CLOSE.
        device->ReportProblem("the player did not end when its window was closed; it was stopped");
        return false;
    }
    return true;
}

} // namespace host

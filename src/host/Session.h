// One run of the player on a device: the device on its directory, the movie
// control installed on it, the player launched with its command line, and the
// player's end, by itself or closed the way the device closes a program.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "host/DeviceSetup.h"
#include "platform/sim/Automation.h"
#include "platform/sim/Device.h"
#include "platform/sim/ProgramThread.h"

namespace host {

struct SessionConfig {
    std::filesystem::path deviceDirectory;
    DeviceProfile profile;
    sim::ClockMode clock = sim::ClockMode::Virtual;
    bool installMovieControl = true;
    // UTF-8, unchanged.
    std::string commandLine;
    // Installed as the player's default movie when the device is new.
    std::span<const std::byte> defaultMovie;
    // Gets the movies' trace lines (UTF-8), when set.
    std::function<void(std::string_view line)> trace;
};

class Session {
public:
    // program is copied; the player starts at the first run call.
    Session(const SessionConfig& config, const sim::ProgramImage& program);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    sim::Device& Device() { return *device; }
    sim::Automation& Automation() { return *automation; }
    const SessionConfig& Config() const { return config; }
    sim::Program& Player() { return *player; }

    bool PlayerEnded() const { return player->Finished(); }
    // The player's exit code once it has ended.
    std::optional<int> PlayerExitCode() const;

    // The player's frontmost top-level window that takes input (a dialog or
    // message box when one is up), or null.
    HWND PlayerFrontWindow() const;
    // Its main window: the frontmost top-level window without an owner.
    HWND PlayerMainWindow() const;

    // Closes the player the way the device closes a program: WM_CLOSE to its
    // window in front (a message box or dialog first, then the main window),
    // until it has ended. A player that will not end is stopped (WM_QUIT,
    // then unwound) and reported. Returns whether it ended by itself.
    bool ClosePlayer();

private:
    SessionConfig config;
    std::unique_ptr<sim::Device> device;
    std::unique_ptr<sim::Automation> automation;
    sim::Program* player = nullptr;
};

} // namespace host

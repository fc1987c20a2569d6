// The command line of vantrel: its options, and the player's command line that
// follows them. Tools and tests drive the player through these, so their names
// and meanings stay as they are.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "platform/Result.h"

namespace host {

// How the device's time runs and whether there is a window.
enum class RunMode {
    // A window when a display can be opened, else Headless.
    Automatic,
    // No window; device time is virtual and runs as fast as it can.
    Headless,
    // No window; device time follows the wall clock.
    Realtime,
};

struct Options {
    enum class Request { Run, Version, Help };
    Request request = Request::Run;

    std::filesystem::path deviceDirectory;
    // The screen and pixels per inch for a new device.
    int screenWidth = 240;
    int screenHeight = 320;
    int dpi = 96;
    bool noControl = false;
    RunMode mode = RunMode::Automatic;
    // Device milliseconds after which the run ends.
    std::optional<std::uint64_t> runFor;
    // "-" reads the script from standard input.
    std::optional<std::string> scriptPath;
    std::optional<std::filesystem::path> screenshotPath;
    std::optional<std::filesystem::path> statePath;
    std::optional<std::filesystem::path> journalPath;
    // The device's sound as a WAV file (44.1 kHz stereo, from device time 0).
    std::optional<std::filesystem::path> audioPath;
    // The trace lines of the movies' scripts, one a line.
    std::optional<std::filesystem::path> tracePath;
    // Window pixels per device pixel; 0 picks one for the screen.
    int zoom = 0;
    // Everything after the options, joined by single blanks, in UTF-8.
    std::string commandLine;
};

// What the defaults depend on outside the arguments.
struct Environment {
    // $XDG_STATE_HOME and $HOME; empty when unset.
    std::string stateHome;
    std::string home;

    static Environment FromProcess();
};

// The device directory used when --device is not given.
std::filesystem::path DefaultDeviceDirectory(const Environment& environment);

// args excludes the program name. An error's message says what was wrong, for
// standard error.
Result<Options> ParseOptions(std::span<const std::string> args, const Environment& environment);

// The usage text of --help.
const char* UsageText();

} // namespace host

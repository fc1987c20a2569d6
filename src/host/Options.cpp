#include "host/Options.h"

#include <charconv>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string_view>
#include <utility>

namespace host {
namespace {

constexpr int kMinScreenSide = 64;
constexpr int kMaxScreenSide = 4096;
constexpr int kMinDpi = 48;
constexpr int kMaxDpi = 960;
constexpr int kMaxZoom = 8;

Error Problem(std::string message) {
    return Error{std::move(message), 0};
}

std::optional<std::uint64_t> ParseCount(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ParseInt(std::string_view text, int low, int high) {
    const auto value = ParseCount(text);
    if (!value || *value < static_cast<std::uint64_t>(low) ||
        *value > static_cast<std::uint64_t>(high)) {
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

// "WxH", each side within the limits.
bool ParseScreen(std::string_view text, int& width, int& height) {
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos) {
        return false;
    }
    const auto w = ParseInt(text.substr(0, x), kMinScreenSide, kMaxScreenSide);
    const auto h = ParseInt(text.substr(x + 1), kMinScreenSide, kMaxScreenSide);
    if (!w || !h) {
        return false;
    }
    width = *w;
    height = *h;
    return true;
}

// A high-resolution handheld has a 480 x 640 screen (or 640 x 480 turned).
int DefaultDpi(int width, int height) {
    const bool vga = (width == 480 && height == 640) || (width == 640 && height == 480);
    return vga ? 192 : 96;
}

} // namespace

Environment Environment::FromProcess() {
    Environment environment;
    if (const char* value = std::getenv("XDG_STATE_HOME")) {
        environment.stateHome = value;
    }
    if (const char* value = std::getenv("HOME")) {
        environment.home = value;
    }
    return environment;
}

std::filesystem::path DefaultDeviceDirectory(const Environment& environment) {
    // The base directory specification ignores relative values.
    if (!environment.stateHome.empty() && environment.stateHome.front() == '/') {
        return std::filesystem::path(environment.stateHome) / "vantrel" / "device";
    }
    const std::filesystem::path home = environment.home.empty() ? "." : environment.home;
    return home / ".local" / "state" / "vantrel" / "device";
}

Result<Options> ParseOptions(std::span<const std::string> args, const Environment& environment) {
    Options options;
    std::optional<int> dpi;
    std::size_t i = 0;

    // The value of an option given as "--name VALUE" or "--name=VALUE".
    std::string name;
    std::optional<std::string> inlineValue;
    auto takeValue = [&]() -> std::optional<std::string> {
        if (inlineValue) {
            return std::exchange(inlineValue, std::nullopt);
        }
        if (i + 1 >= args.size()) {
            return std::nullopt;
        }
        return args[++i];
    };

    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            break; // the player's command line starts here
        }
        if (arg.rfind("--", 0) != 0) {
            return Problem("unknown option '" + arg + "'");
        }
        const auto equals = arg.find('=');
        name = arg.substr(0, equals);
        inlineValue = equals == std::string::npos
                          ? std::nullopt
                          : std::optional<std::string>(arg.substr(equals + 1));
        auto flag = [&](auto apply) -> std::optional<Error> {
            if (inlineValue) {
                return Problem("option " + name + " takes no value");
            }
            apply();
            return std::nullopt;
        };
        auto valued =
            [&](const char* what,
                const std::function<bool(const std::string&)>& apply) -> std::optional<Error> {
            const auto value = takeValue();
            if (!value) {
                return Problem("option " + name + " needs " + what);
            }
            if (!apply(*value)) {
                return Problem("option " + name + ": '" + *value + "' is not " + what);
            }
            return std::nullopt;
        };
        auto path = [](std::optional<std::filesystem::path>& into) {
            return [&into](const std::string& value) {
                if (value.empty()) {
                    return false;
                }
                into = value;
                return true;
            };
        };

        std::optional<Error> error;
        if (name == "--version") {
            error = flag([&] { options.request = Options::Request::Version; });
        } else if (name == "--help") {
            error = flag([&] { options.request = Options::Request::Help; });
        } else if (name == "--headless") {
            error = flag([&] {
                if (options.mode != RunMode::Realtime) {
                    options.mode = RunMode::Headless;
                }
            });
        } else if (name == "--realtime") {
            error = flag([&] { options.mode = RunMode::Realtime; });
        } else if (name == "--no-control") {
            error = flag([&] { options.noControl = true; });
        } else if (name == "--device") {
            error = valued("a directory", [&](const std::string& value) {
                options.deviceDirectory = value;
                return !value.empty();
            });
        } else if (name == "--screen") {
            error = valued("a screen size WxH (64 to 4096 pixels a side)",
                           [&](const std::string& value) {
                               return ParseScreen(value, options.screenWidth, options.screenHeight);
                           });
        } else if (name == "--dpi") {
            error =
                valued("a number of pixels per inch (48 to 960)", [&](const std::string& value) {
                    dpi = ParseInt(value, kMinDpi, kMaxDpi);
                    return dpi.has_value();
                });
        } else if (name == "--zoom") {
            error = valued("a zoom factor (1 to 8)", [&](const std::string& value) {
                const auto zoom = ParseInt(value, 1, kMaxZoom);
                options.zoom = zoom.value_or(0);
                return zoom.has_value();
            });
        } else if (name == "--run-for") {
            error = valued("a number of milliseconds", [&](const std::string& value) {
                options.runFor = ParseCount(value);
                return options.runFor.has_value();
            });
        } else if (name == "--script") {
            error = valued("a file ('-' for standard input)", [&](const std::string& value) {
                options.scriptPath = value;
                return !value.empty();
            });
        } else if (name == "--screenshot") {
            error = valued("a file", path(options.screenshotPath));
        } else if (name == "--state") {
            error = valued("a file", path(options.statePath));
        } else if (name == "--journal") {
            error = valued("a file", path(options.journalPath));
        } else if (name == "--audio") {
            error = valued("a file", path(options.audioPath));
        } else if (name == "--trace") {
            error = valued("a file", path(options.tracePath));
        } else {
            error = Problem("unknown option '" + name + "'");
        }
        if (error) {
            return *error;
        }
    }

    for (std::size_t first = i; i < args.size(); ++i) {
        if (i > first) {
            options.commandLine += ' ';
        }
        options.commandLine += args[i];
    }
    if (options.deviceDirectory.empty()) {
        options.deviceDirectory = DefaultDeviceDirectory(environment);
    }
    options.dpi = dpi.value_or(DefaultDpi(options.screenWidth, options.screenHeight));
    return options;
}

const char* UsageText() {
    return "usage: vantrel [OPTIONS] [--] [COMMAND LINE...]\n"
           "Runs the Vantrel movie player on a simulated Pocket PC. The words after the\n"
           "options, joined by single blanks, are the player's command line (a movie).\n"
           "\n"
           "  --device DIR       the device directory (default\n"
           "                     $XDG_STATE_HOME/vantrel/device, else\n"
           "                     ~/.local/state/vantrel/device), set up on first use\n"
           "  --screen WxH       the screen of a new device (default 240x320)\n"
           "  --dpi N            its pixels per inch (default 96; 192 for 480x640)\n"
           "  --no-control       do not install the movie control on this run\n"
           "  --headless         no window; device time runs as fast as it can\n"
           "                     (the default without a display)\n"
           "  --realtime         no window; device time follows the wall clock\n"
           "  --run-for MS       end the run after MS milliseconds of device time\n"
           "  --script FILE      a user's actions, one a line ('-' for standard input)\n"
           "  --screenshot FILE  the screen as PNG at the end of the run\n"
           "  --state FILE       the device's state as JSON at the end of the run\n"
           "  --journal FILE     the device's journal as JSON lines\n"
           "  --audio FILE       the device's sound as a WAV file, in device time\n"
           "  --trace FILE       the movies' trace lines, one a line\n"
           "  --zoom N           window pixels per device pixel\n"
           "  --version          print the version and exit\n"
           "  --help             print this help and exit\n"
           "\n"
           "Script actions: wait MS, tap X Y, hold X Y, drag X1 Y1 X2 Y2 MS,\n"
           "button NAME, key NAME, type TEXT, softkey 1|2, menu TEXT...,\n"
           "front other|vantrel, rotate 0|90|180|270, launch ARGS...,\n"
           "open PATH (the device's shell opens that document), tapid ID (a tap on the\n"
           "control, menu-bar button or soft key with that id in the foreground\n"
           "window), screenshot FILE, state FILE; '#' starts a comment.\n";
}

} // namespace host

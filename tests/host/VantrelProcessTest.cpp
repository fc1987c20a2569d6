// vantrel run as a real process, headless, the way tools and tests drive it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <thread>

#include "ProcessRunner.h"
#include "host/ChildProcess.h"
#include "platform/sim/Automation.h"

namespace host {
namespace {

using testing::PngSize;
using testing::ReadFile;
using testing::RunProcess;
using testing::WriteFile;
using Json = nlohmann::json;

const std::string kVantrel = VANTREL_BINARY_DIR "/vantrel";

// The player's main window: the top-level window titled "Vantrel".
const Json* FindMainWindow(const Json& state) {
    for (const Json& window : state["windows"]) {
        if (window["parent"].is_null() && window["text"] == "Vantrel" &&
            window["class"] != "menu_worker") {
            return &window;
        }
    }
    return nullptr;
}

class VantrelProcess : public ::testing::Test {
protected:
    std::filesystem::path Path(const std::string& name) const { return scratch.Path() / name; }
    std::string Device() const { return Path("device").string(); }
    std::filesystem::path SettingsFile() const {
        return Path("device") / "storage" / "Program Files" / "Vantrel" / "Vantrel.exe.cfg";
    }

    // A headless run on this test's device with the script given.
    testing::ProcessResult Run(const std::string& script, std::vector<std::string> extra = {},
                               const std::string& commandLine = "") {
        WriteFile(Path("script.txt"), script);
        std::vector<std::string> args{"--headless", "--device", Device(), "--script",
                                      Path("script.txt").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        if (!commandLine.empty()) {
            args.push_back("--");
            args.push_back(commandLine);
        }
        return RunProcess(kVantrel, args);
    }

    Json ReadJson(const std::string& name) const {
        return Json::parse(ReadFile(Path(name)), nullptr, false);
    }

    std::vector<Json> Journal(const std::string& name) const {
        std::vector<Json> entries;
        std::istringstream lines(ReadFile(Path(name)));
        for (std::string line; std::getline(lines, line);) {
            entries.push_back(Json::parse(line, nullptr, false));
        }
        return entries;
    }

    sim::TemporaryDirectory scratch;
};

TEST_F(VantrelProcess, VersionHelpAndBadOptions) {
    const auto version = RunProcess(kVantrel, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("Vantrel 1.5", 0), 0u) << version.out;

    const auto help = RunProcess(kVantrel, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--run-for MS"), std::string::npos);
    EXPECT_NE(help.out.find("open PATH"), std::string::npos);
    EXPECT_NE(help.out.find("tapid ID"), std::string::npos);

    const auto bad = RunProcess(kVantrel, {"--headless", "--bogus", "--device", Device()});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("unknown option '--bogus'"), std::string::npos) << bad.err;
    // Nothing ran: the device was never set up.
    EXPECT_FALSE(std::filesystem::exists(Device()));
}

TEST_F(VantrelProcess, BadScriptLineExitsWithTwoBeforeAnythingRuns) {
    const auto result = Run("wait 100\ntap 10\n");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("line 2: tap: expected tap X Y"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists(Device()));

    const auto missing = RunProcess(kVantrel, {"--headless", "--script", Path("none").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("cannot read the script"), std::string::npos) << missing.err;
}

TEST_F(VantrelProcess, ScriptFromStandardInputWritesStateJournalAndScreenshot) {
    testing::ProcessOptions options;
    options.standardInput = "wait 300\nstate " + Path("mid.json").string() + "\nwait 200\n";
    const auto result = RunProcess(
        kVantrel,
        {"--headless", "--device", Device(), "--script", "-", "--state", Path("end.json").string(),
         "--journal", Path("journal.jsonl").string(), "--screenshot", Path("end.png").string()},
        options);
    ASSERT_EQ(result.exitCode, 0) << result.err;

    const Json mid = ReadJson("mid.json");
    ASSERT_TRUE(mid.is_object());
    EXPECT_EQ(mid["time"], 300);
    const Json end = ReadJson("end.json");
    EXPECT_EQ(end["time"], 500);
    EXPECT_EQ(end["screen"],
              (Json{{"width", 240}, {"height", 320}, {"dpi", 96}, {"orientation", 0}}));
    ASSERT_NE(FindMainWindow(end), nullptr) << end.dump(1);
    EXPECT_EQ(end["foreground"], (*FindMainWindow(end))["handle"]);
    EXPECT_FALSE(end.contains("exitCode")); // written before the player was closed

    // The journal has the player's calls, and the end of the run: the player
    // closed as the device closes it, its settings saved on the way.
    std::vector<std::string> calls;
    int settingsWrittenAt = -1;
    for (const Json& entry : Journal("journal.jsonl")) {
        ASSERT_TRUE(entry.is_object());
        calls.push_back(entry["call"]);
        // The settings file is written whole and then put in place.
        const std::string call = entry["call"];
        if ((call == "DeleteAndRenameFile" || call == "MoveFileW") && entry["result"] == 0 &&
            entry["args"][call == "MoveFileW" ? 1 : 0].get<std::string>().ends_with(
                "Vantrel.exe.cfg")) {
            settingsWrittenAt = entry["t"];
        }
    }
    // The main window was closed at once (not a menu bar first).
    EXPECT_GE(settingsWrittenAt, 500);
    EXPECT_LE(settingsWrittenAt, 600);
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetMovieUrl"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "RegisterHotKey"), calls.end());
    EXPECT_TRUE(std::filesystem::exists(SettingsFile()));
    EXPECT_EQ(PngSize(ReadFile(Path("end.png"))), std::make_pair(240, 320));
}

TEST_F(VantrelProcess, RunLengths) {
    // With neither script nor --run-for, a headless run lasts 10 s of device time.
    const auto plain = RunProcess(
        kVantrel, {"--headless", "--device", Device(), "--state", Path("plain.json").string()});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(ReadJson("plain.json")["time"], 10'000);

    // --run-for cuts a script short...
    const auto cut = Run("wait 5000\nstate " + Path("late.json").string() + "\n",
                         {"--run-for", "1234", "--state", Path("cut.json").string()});
    ASSERT_EQ(cut.exitCode, 0) << cut.err;
    EXPECT_EQ(ReadJson("cut.json")["time"], 1234);
    EXPECT_FALSE(std::filesystem::exists(Path("late.json")));

    // ...and the end of a script ends the run.
    const auto shortScript =
        Run("wait 300\n", {"--run-for", "9000", "--state", Path("short.json").string()});
    ASSERT_EQ(shortScript.exitCode, 0) << shortScript.err;
    EXPECT_EQ(ReadJson("short.json")["time"], 300);
}

TEST_F(VantrelProcess, PlayingHeadlessLoadsNeitherTheWindowNorTheSoundNorTheNetworkLibraries) {
    // The loader says which libraries it maps, one log file per process:
    // the player's own, and those of any helper a sanitizer build starts at
    // exit to name what it reports (whose libraries are not the player's).
    const std::filesystem::path log = Path("loader");
    testing::ProcessOptions options;
    options.environment = {"LD_DEBUG=files", "LD_DEBUG_OUTPUT=" + log.string()};
    const auto run =
        RunProcess(kVantrel, {"--headless", "--device", Device(), "--run-for", "2000"}, options);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string mapped;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.Path())) {
        if (entry.path().filename().string().starts_with("loader")) {
            const std::string text = ReadFile(entry.path());
            if (text.find("needed by " + kVantrel) != std::string::npos) {
                mapped += text;
            }
        }
    }
    ASSERT_NE(mapped.find("libcairo"), std::string::npos) << "the loader wrote no log";
    EXPECT_EQ(mapped.find("libSDL2"), std::string::npos);
    EXPECT_EQ(mapped.find("libcurl"), std::string::npos);
}

TEST_F(VantrelProcess, ASecondLaunchHandsItsMovieToTheFirstAndExitsWith255) {
    const auto first = Path("first.swf");
    const auto second = Path("second.swf");
    std::filesystem::copy_file(VANTREL_BINARY_DIR "/demo.swf", first);
    std::filesystem::copy_file(VANTREL_BINARY_DIR "/demo.swf", second);
    WriteFile(Path("first.txt"), "wait 4000\nstate " + Path("first.json").string() + "\n");
    auto running = ChildProcess::Start(kVantrel, {"--realtime", "--device", Device(), "--script",
                                                  Path("first.txt").string(), first.string()});
    ASSERT_TRUE(running) << running.GetError().message;
    // The first player is up once its first tick has written its settings
    // file.
    const auto settings = std::filesystem::path(Device()) / "storage" / "Program Files" /
                          "Vantrel" / "Vantrel.exe.cfg";
    for (int i = 0; i < 600 && !std::filesystem::exists(settings) && !running.Value()->Poll();
         ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(std::filesystem::exists(settings)) << "the first player did not start";

    const auto handOff =
        RunProcess(kVantrel, {"--headless", "--device", Device(), second.string()});
    EXPECT_EQ(handOff.exitCode, 255) << handOff.err;

    std::optional<int> firstExit;
    for (int i = 0; i < 200 && !firstExit; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        firstExit = running.Value()->Poll();
    }
    ASSERT_EQ(firstExit, 0);
    const Json state = ReadJson("first.json");
    EXPECT_EQ(state["movie"]["url"], "file://" + second.string()) << state["movie"].dump();
    EXPECT_EQ(state["movie"]["readyState"], 4);
}

TEST_F(VantrelProcess, AScriptLineThatCannotBeCarriedOutEndsTheRunWithTwo) {
    const auto result =
        Run("wait 100\nmenu Screen Nowhere\nwait 100\n", {"--state", Path("state.json").string()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("line 2: no item \"Nowhere\""), std::string::npos) << result.err;
    // The run's outputs are still written, with the menu closed again.
    const Json state = ReadJson("state.json");
    EXPECT_GE(state["time"], 100);
    for (const Json& window : state["windows"]) {
        EXPECT_NE(window["class"], "#32768") << window.dump();
    }
}

TEST_F(VantrelProcess, AMovieOnTheCommandLineIsPlayingAfterASecond) {
    const auto movie = Path("my movie.swf");
    std::filesystem::copy_file(VANTREL_BINARY_DIR "/demo.swf", movie);
    const auto result = Run("wait 1000\nstate " + Path("s.json").string() + "\n",
                            {"--journal", Path("j.jsonl").string()}, movie.string());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Json state = ReadJson("s.json");
    const Json& played = state["movie"];
    ASSERT_TRUE(played.is_object()) << state.dump(1);
    EXPECT_EQ(played["url"], "file://" + movie.string());
    EXPECT_EQ(played["readyState"], 4);
    EXPECT_EQ(played["playing"], true);
    EXPECT_GT(played["frameNumber"].get<int>(), 5);
    EXPECT_GT(played["framesRendered"].get<int>(), 5);

    // The control's dispatch calls are in the journal under their names,
    // with their dispatch ids (102 is the movie's URL).
    bool urlSet = false;
    for (const Json& entry : Journal("j.jsonl")) {
        urlSet = urlSet || (entry["call"] == "SetMovieUrl" && entry["dispid"] == 102 &&
                            entry["args"].dump().find("my movie.swf") != std::string::npos);
    }
    EXPECT_TRUE(urlSet);
}

TEST_F(VantrelProcess, ToggleFullscreenFromTheMenuHidesTheTaskBar) {
    const auto result =
        Run("wait 200\nmenu Screen \"Toggle Fullscreen\"\nstate " + Path("full.json").string() +
            // In full screen the menu bar is hidden; a hardware
            // button leaves it.
            "\nbutton APP1\nwait 100\nstate " + Path("normal.json").string() + "\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Json full = ReadJson("full.json");
    EXPECT_EQ(full["taskbarVisible"], false);
    EXPECT_EQ(full["sipButtonVisible"], false);
    const Json* main = FindMainWindow(full);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ((*main)["rect"], Json::array({0, 0, 240, 320}));
    const Json normal = ReadJson("normal.json");
    EXPECT_EQ(normal["taskbarVisible"], true);
    ASSERT_NE(FindMainWindow(normal), nullptr);
    EXPECT_EQ((*FindMainWindow(normal))["rect"], Json::array({0, 26, 240, 320 - 52}));
}

TEST_F(VantrelProcess, WithoutTheControlThePlayerSaysSoAndGoesOn) {
    const auto result =
        Run("wait 500\nstate " + Path("box.json").string() + "\nsoftkey 1\nwait 500\nstate " +
                Path("after.json").string() + "\n",
            {"--no-control", "--journal", Path("j.jsonl").string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Json box = ReadJson("box.json");
    ASSERT_EQ(box["messageBoxes"].size(), 1u) << box.dump(1);
    EXPECT_EQ(box["messageBoxes"][0]["text"], "Macromedia Flash ActiveX not installed!");
    EXPECT_EQ(box["messageBoxes"][0]["buttons"], Json::array({"OK"}));
    EXPECT_EQ(box["movie"], nullptr);
    // OK answers it, and the player goes on without a movie.
    const Json after = ReadJson("after.json");
    EXPECT_TRUE(after["messageBoxes"].empty());
    EXPECT_FALSE(after.contains("exitCode"));
    ASSERT_NE(FindMainWindow(after), nullptr);
    EXPECT_EQ(after["foreground"], (*FindMainWindow(after))["handle"]);
    bool answered = false;
    for (const Json& entry : Journal("j.jsonl")) {
        answered = answered || (entry["call"] == "MessageBoxW" && entry["result"] == 1);
    }
    EXPECT_TRUE(answered);
}

TEST_F(VantrelProcess, ALaunchFromTheScriptIsASecondProcessWhoseExitCodeIsJournalled) {
    const auto other = Path("other movie.swf");
    std::filesystem::copy_file(VANTREL_BINARY_DIR "/demo.swf", other);
    const auto result = Run("wait 500\nlaunch " + other.string() + "\nwait 500\nstate " +
                                Path("s.json").string() + "\n",
                            {"--journal", Path("j.jsonl").string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    int launches = 0;
    for (const Json& entry : Journal("j.jsonl")) {
        if (entry["call"] == "launch") {
            ++launches;
            EXPECT_EQ(entry["args"], Json::array({other.string()}));
            EXPECT_EQ(entry["result"], 255); // it found this run's player and handed over
            EXPECT_GT(entry["pid"].get<long>(), 0);
        }
    }
    EXPECT_EQ(launches, 1);
    EXPECT_EQ(ReadJson("s.json")["movie"]["url"], "file://" + other.string());
}

TEST_F(VantrelProcess, TheSystemTurnsTheDisplayAndBringsOtherProgramsForward) {
    const auto result =
        Run("wait 100\nrotate 90\nstate " + Path("turned.json").string() + "\nfront other\nstate " +
            Path("other.json").string() + "\nfront vantrel\nrotate 0\nstate " +
            Path("back.json").string() + "\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Json turned = ReadJson("turned.json");
    EXPECT_EQ(turned["screen"]["width"], 320);
    EXPECT_EQ(turned["screen"]["height"], 240);
    EXPECT_EQ(turned["screen"]["orientation"], 90);

    const Json other = ReadJson("other.json");
    const Json* main = FindMainWindow(other);
    ASSERT_NE(main, nullptr);
    EXPECT_NE(other["foreground"], (*main)["handle"]);

    const Json back = ReadJson("back.json");
    EXPECT_EQ(back["screen"]["orientation"], 0);
    ASSERT_NE(FindMainWindow(back), nullptr);
    EXPECT_EQ(back["foreground"], (*FindMainWindow(back))["handle"]);
}

TEST_F(VantrelProcess, AfterTheAssociationTheShellHandsAnOpenedMovieToThePlayer) {
    const auto documents = Path("device") / "storage" / "My Documents";
    std::filesystem::create_directories(documents);
    std::filesystem::copy_file(VANTREL_BINARY_DIR "/demo.swf", documents / "movie.swf");
    // "Associate SWF with me!", its message's OK, the dialog's OK; then the
    // shell opens the movie.
    const auto result = Run("wait 300\nmenu Options...\ntapid 1014\ntapid 1\ntapid 1\n"
                            "state " +
                            Path("options.json").string() +
                            "\n"
                            "open \"\\My Documents\\movie.swf\"\nwait 500\n"
                            "state " +
                            Path("s.json").string() + "\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Json state = ReadJson("s.json");
    const Json& classes = state["registry"]["HKEY_CLASSES_ROOT"];
    EXPECT_NE(classes.dump().find("ShockwaveFlashFile"), std::string::npos) << classes.dump();
    // The shell's launch handed the movie over and ended with -1.
    ASSERT_EQ(state["programs"].size(), 3u) << state["programs"].dump(1);
    std::vector<Json> players;
    for (const Json& program : state["programs"]) {
        if (program["path"] == "\\Program Files\\Vantrel\\Vantrel.exe") {
            players.push_back(program);
        }
    }
    ASSERT_EQ(players.size(), 2u);
    EXPECT_EQ(players[0]["exitCode"], nullptr);
    EXPECT_EQ(players[1]["commandLine"], "\\My Documents\\movie.swf");
    EXPECT_EQ(players[1]["exitCode"], -1);
    EXPECT_EQ(state["movie"]["url"], "file://\\My Documents\\movie.swf");

    // The menus in the state carry the items' ids and marks.
    const Json options = ReadJson("options.json");
    ASSERT_FALSE(options["menus"].empty());
    const std::string menus = options["menus"].dump();
    EXPECT_NE(menus.find(R"("id":32782,"radio":false,"text":"Options...")"), std::string::npos)
        << menus;
    // The scale mode's radio mark, as the player set it when the menu opened.
    EXPECT_NE(
        menus.find(R"("checked":true,"grayed":false,"id":32806,"radio":true,"text":"Show All")"),
        std::string::npos)
        << menus;
}

TEST_F(VantrelProcess, TheStateHasTheSystemsPowerVolumeAndRegistry) {
    const auto result = Run("state " + Path("s.json").string() + "\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Json state = ReadJson("s.json");
    EXPECT_EQ(state["power"]["backlight"], true);
    EXPECT_EQ(state["power"]["suspended"], false);
    EXPECT_EQ(state["power"]["systemPowerState"], "on");
    EXPECT_TRUE(state["power"]["requirements"].is_array());
    EXPECT_EQ(state["volume"], 0xFFFFFFFFu);
    EXPECT_TRUE(state["registry"]["HKEY_CLASSES_ROOT"].is_object()) << state["registry"].dump();
    EXPECT_TRUE(state["registry"]["HKEY_LOCAL_MACHINE"].is_object());
}

} // namespace
} // namespace host

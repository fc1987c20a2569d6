// vantrel run as a real process, headless, the way tools and tests drive it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ProcessRunner.h"
#include "platform/sim/Automation.h"

namespace host {
namespace {

using testing::PngSize;
using testing::ReadFile;
using testing::RunProcess;
using testing::WriteFile;
using Json = nlohmann::json;

const std::string kVantrel = VANTREL_BINARY_DIR "/vantrel";

class VantrelProcess : public ::testing::Test {
protected:
    std::filesystem::path Path(const std::string& name) const { return scratch.Path() / name; }
    std::string Device() const { return Path("device").string(); }

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
    options.standardInput =
        "softkey 1\nwait 200\nstate " + Path("mid.json").string() + "\nsoftkey 2\nwait 100\n";
    const auto result = RunProcess(
        kVantrel,
        {"--headless", "--device", Device(), "--script", "-", "--state", Path("end.json").string(),
         "--journal", Path("journal.jsonl").string(), "--screenshot", Path("end.png").string()},
        options);
    ASSERT_EQ(result.exitCode, 0) << result.err;

    // The "Open" soft key's message box, open in the middle of the run.
    const Json mid = ReadJson("mid.json");
    ASSERT_TRUE(mid.is_object());
    ASSERT_EQ(mid["messageBoxes"].size(), 1u) << mid.dump(1);
    EXPECT_EQ(mid["messageBoxes"][0]["text"], "Open");
    EXPECT_EQ(mid["messageBoxes"][0]["buttons"], Json::array({"OK", "Cancel"}));
    EXPECT_EQ(mid["time"], 200);

    const Json end = ReadJson("end.json");
    EXPECT_TRUE(end["messageBoxes"].empty());
    EXPECT_EQ(end["screen"],
              (Json{{"width", 240}, {"height", 320}, {"dpi", 96}, {"orientation", 0}}));
    EXPECT_FALSE(end.contains("exitCode")); // written before the player was closed

    // The box's answer (Cancel) is in the journal.
    bool answered = false;
    for (const Json& entry : Journal("journal.jsonl")) {
        ASSERT_TRUE(entry.is_object());
        if (entry["call"] == "MessageBoxW") {
            EXPECT_EQ(entry["args"][1], "Open");
            EXPECT_EQ(entry["result"], 2);
            answered = true;
        }
    }
    EXPECT_TRUE(answered);
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

TEST_F(VantrelProcess, ExitCodeIsThePlayersWithMinusOneAs255) {
    const auto seven = RunProcess(kVantrel, {"--headless", "--device", Device(), "exit", "7"});
    EXPECT_EQ(seven.exitCode, 7) << seven.err;
    const auto minusOne = RunProcess(kVantrel, {"--headless", "--device", Device(), "--state",
                                                Path("ended.json").string(), "exit -1"});
    EXPECT_EQ(minusOne.exitCode, 255) << minusOne.err;
    EXPECT_EQ(ReadJson("ended.json")["exitCode"], -1);
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

const Json* FindWindowOfClass(const Json& state, const std::string& className) {
    for (const Json& window : state["windows"]) {
        if (window["class"] == className) {
            return &window;
        }
    }
    return nullptr;
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

    // The control's dispatch calls are in the journal under their names.
    bool urlSet = false;
    for (const Json& entry : Journal("j.jsonl")) {
        urlSet = urlSet || (entry["call"] == "SetMovieUrl" &&
                            entry["args"].dump().find("my movie.swf") != std::string::npos);
    }
    EXPECT_TRUE(urlSet);
}

TEST_F(VantrelProcess, ToggleFullscreenFromTheMenuHidesTheTaskBar) {
    const auto result = Run("wait 200\nmenu Screen \"Toggle Fullscreen\"\nstate " +
                            Path("full.json").string() + "\nmenu Screen \"Toggle Fullscreen\"\n" +
                            "state " + Path("normal.json").string() + "\n");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Json full = ReadJson("full.json");
    EXPECT_EQ(full["taskbarVisible"], false);
    EXPECT_EQ(full["sipButtonVisible"], false);
    const Json* main = FindWindowOfClass(full, "VantrelStandIn");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ((*main)["rect"], Json::array({0, 0, 240, 320}));
    EXPECT_EQ(ReadJson("normal.json")["taskbarVisible"], true);
}

TEST_F(VantrelProcess, WithoutTheControlTheProgramSaysSoAndGoesOn) {
    const auto result =
        Run("wait 500\nstate " + Path("box.json").string() + "\nsoftkey 1\nwait 500\nstate " +
                Path("after.json").string() + "\n",
            {"--no-control", "--journal", Path("j.jsonl").string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const Json box = ReadJson("box.json");
    ASSERT_EQ(box["messageBoxes"].size(), 1u) << box.dump(1);
    EXPECT_EQ(box["messageBoxes"][0]["text"], "The movie control is not installed.");
    EXPECT_EQ(box["movie"], nullptr);
    const Json after = ReadJson("after.json");
    EXPECT_TRUE(after["messageBoxes"].empty());
    EXPECT_FALSE(after.contains("exitCode"));
    EXPECT_NE(FindWindowOfClass(after, "VantrelStandIn"), nullptr);
}

TEST_F(VantrelProcess, LaunchRunsASecondProcessOnTheDeviceAndJournalsItsExitCode) {
    const auto result = Run("launch exit 5\nwait 10\n", {"--journal", Path("j.jsonl").string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    int launches = 0;
    for (const Json& entry : Journal("j.jsonl")) {
        if (entry["call"] == "launch") {
            ++launches;
            EXPECT_EQ(entry["args"], Json::array({"exit 5"}));
            EXPECT_EQ(entry["result"], 5);
            EXPECT_GT(entry["pid"].get<long>(), 0);
        }
    }
    EXPECT_EQ(launches, 1);
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
    const Json* main = FindWindowOfClass(other, "VantrelStandIn");
    ASSERT_NE(main, nullptr);
    EXPECT_NE(other["foreground"], (*main)["handle"]);

    const Json back = ReadJson("back.json");
    EXPECT_EQ(back["screen"]["orientation"], 0);
    EXPECT_EQ(back["foreground"], (*FindWindowOfClass(back, "VantrelStandIn"))["handle"]);
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

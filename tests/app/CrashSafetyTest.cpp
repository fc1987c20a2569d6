// Nothing lost when the player ends at any moment: the settings file holds
// the old seven numbers or the new ones whatever change of the storage was
// its last, and a launch whose request arrives while the running player takes
// one is served too, the latest last.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/HandoffFile.h"
#include "app/PlayerSettings.h"
#include "platform/sim/ProgramThread.h"
#include "platform/sim/SystemServices.h"
#include "playertest/PlayerFixture.h"

namespace {

using player::PlayerSettings;
using playertest::PlayerFixture;

constexpr char kOldText[] = "1 0 12 34 0 3 8";
constexpr char kNewText[] = "2 1 -7 99 200 1 0";

PlayerSettings NewSettings() {
    PlayerSettings settings;
    settings.backlightOption = 2;
    settings.landscapeInFullScreen = 1;
    settings.storedValue3 = -7;
    settings.storedValue4 = 99;
    settings.storedFlag5 = 200;
    settings.scaleMode = 1;
    settings.toolbarState = 0;
    return settings;
}

class CrashSafetyTest : public PlayerFixture {
protected:
    // Writes the new settings with the storage cut off after `changes`
    // changes; returns whether the cut-off point was reached.
    bool WriteCutOffAfter(std::size_t changes) {
        sim::StorageFault& fault = device->Services().Files().Fault();
        fault.CutOffAfter(changes);
        RunOnDevice([] { player::WriteSettingsFile(playertest::kSettingsPath, NewSettings()); });
        const bool cut = fault.CutOff();
        fault.Reconnect();
        return cut;
    }

    // What the next start reads from the file.
    std::string ReadBack() {
        PlayerSettings read;
        RunOnDevice([&] { player::ReadSettingsFile(playertest::kSettingsPath, read); });
        return std::to_string(read.backlightOption) + " " +
               std::to_string(read.landscapeInFullScreen) + " " +
               std::to_string(read.storedValue3) + " " + std::to_string(read.storedValue4) + " " +
               std::to_string(read.storedFlag5) + " " + std::to_string(read.scaleMode) + " " +
               std::to_string(read.toolbarState);
    }
};

TEST_F(CrashSafetyTest, TheSettingsFileHoldsTheOldOrTheNewNumbersWhereverTheWriteIsCut) {
    std::size_t cut = 0;
    for (; cut < 200; ++cut) {
        WriteText(playertest::kSettingsPath, kOldText);
        const bool reached = WriteCutOffAfter(cut);
        const std::string text = ReadText(playertest::kSettingsPath);
        EXPECT_TRUE(text == kOldText || text == kNewText) << "cut after " << cut << ": " << text;
        const std::string read = ReadBack();
        EXPECT_TRUE(read == kOldText || read == kNewText) << "cut after " << cut << ": " << read;
        if (!reached) {
            EXPECT_EQ(text, kNewText);
            break;
        }
    }
    // The file's creation, each of its bytes, and its taking the name.
    EXPECT_GE(cut, std::string(kNewText).size() + 2);
    EXPECT_LT(cut, 200u);
}

TEST_F(CrashSafetyTest, TheFirstSaveLeavesNoFileOrAWholeOne) {
    for (std::size_t cut = 0; cut < 200; ++cut) {
        std::filesystem::remove(HostPath(playertest::kSettingsPath));
        const bool reached = WriteCutOffAfter(cut);
        const bool exists = FileExists(playertest::kSettingsPath);
        if (exists) {
            EXPECT_EQ(ReadText(playertest::kSettingsPath), kNewText) << "cut after " << cut;
        }
        if (!reached) {
            EXPECT_TRUE(exists);
            break;
        }
    }
}

TEST_F(CrashSafetyTest, APlayingMovieNeverOpensTheSettingsFileItselfForWriting) {
    StartPlayer();
    control->playing = true;
    const std::size_t mark = Mark();
    Ticks(10);
    // Every tick's key release saves; each save replaces the file whole.
    EXPECT_GE(SettingsSaves(mark), 10);
    EXPECT_EQ(WritesOf(playertest::kSettingsPath, mark), 0);
    EXPECT_EQ(ReadText(playertest::kSettingsPath), "0 1 10 560 1 0 0");
}

TEST_F(CrashSafetyTest, ARequestArrivingWhileTheTickTakesOneIsServedAfterIt) {
    WriteText(u"\\one.swf", "FWS");
    WriteText(u"\\two.swf", "FWS");
    StartPlayer();
    Advance(100);
    sim::FileSystem& files = device->Services().Files();
    // The second launch's request arrives after the player's first, second...
    // file call of the tick that takes the first launch's.
    bool arrived = true;
    for (int point = 0; arrived && point < 20; ++point) {
        RunOnDevice([] { player::RecordOpenRequest(u"\\one.swf"); });
        arrived = false;
        int calls = 0;
        sim::Program* const running = player;
        files.SetCallObserver([&](std::string_view, std::u16string_view) {
            if (sim::CurrentProgram() == running && !arrived && calls++ == point) {
                player::RecordOpenRequest(u"\\two.swf");
                arrived = true;
            }
        });
        const std::size_t mark = Mark();
        Ticks(1);
        files.SetCallObserver(nullptr);
        if (!arrived) {
            // The take was over before: the second launch comes afterwards.
            RunOnDevice([] { player::RecordOpenRequest(u"\\two.swf"); });
        }
        Ticks(2);
        std::vector<std::string> urls;
        for (const auto& load : Only(Since(mark), {"SetMovieUrl"})) {
            urls.push_back(load.args[0].Text());
        }
        ASSERT_FALSE(urls.empty()) << "point " << point;
        EXPECT_EQ(urls.back(), "file://\\two.swf") << "point " << point;
        EXPECT_EQ(std::count(urls.begin(), urls.end(), "file://\\two.swf"), 1) << point;
        EXPECT_FALSE(FileExists(playertest::kHandoffPath));
    }
    EXPECT_FALSE(arrived) << "every point of the take was tried";
}

} // namespace

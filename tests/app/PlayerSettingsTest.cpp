// The settings file: what the reader takes from whole, short and damaged
// files, and that the writer's file reads back the same.
#include <gtest/gtest.h>

#include "app/PlayerSettings.h"
#include "platform/Text.h"
#include "platform/sim/Automation.h"
#include "platform/sim/Device.h"
#include "playertest/PlayerFixture.h"

namespace {

using player::PlayerSettings;
using playertest::PlayerFixture;

// The reader runs on a program of the device, as the player's view does.
class SettingsFileTest : public PlayerFixture {
protected:
    PlayerSettings Read(const std::string& content, PlayerSettings start = {}) {
        WriteText(kPath, content);
        return ReadBack(start);
    }

    PlayerSettings ReadBack(PlayerSettings start = {}) {
        RunOnDevice([&] { player::ReadSettingsFile(kPath, start); });
        return start;
    }

    static std::vector<int> Values(const PlayerSettings& s) {
        return {s.backlightOption, s.landscapeInFullScreen, s.storedValue3,
                s.storedValue4,    s.storedFlag5,           s.scaleMode,
                s.toolbarState};
    }

    static constexpr char16_t kPath[] = u"\\Program Files\\Vantrel\\Vantrel.exe.cfg";
};

TEST_F(SettingsFileTest, AMissingFileLeavesTheDefaults) {
    EXPECT_EQ(Values(ReadBack()), (std::vector<int>{0, 1, 10, 560, 1, 0, 0}));
}

TEST_F(SettingsFileTest, AShortOrDamagedFileIsReadAsFarAsItsNumbersGo) {
    EXPECT_EQ(Values(Read("1 0")), (std::vector<int>{1, 0, 10, 560, 1, 0, 0}));
    // A letter in third place: only the first two values are taken.
    EXPECT_EQ(Values(Read("2 0 x 7 0 3 8")), (std::vector<int>{2, 0, 10, 560, 1, 0, 0}));
    // A number runs into a letter: the number counts, the rest does not.
    EXPECT_EQ(Values(Read("1 0 12abc 7")), (std::vector<int>{1, 0, 12, 560, 1, 0, 0}));
    // A lone sign is no number.
    EXPECT_EQ(Values(Read("1 - 5")), (std::vector<int>{1, 1, 10, 560, 1, 0, 0}));
}

TEST_F(SettingsFileTest, TheFifthValueKeepsItsLowEightBits) {
    EXPECT_EQ(Read("0 1 10 560 300 0 8").storedFlag5, 44);
    EXPECT_EQ(Read("0 1 10 560 256 0 8").storedFlag5, 0);
    EXPECT_EQ(Read("0 1 10 560 257 0 8").storedFlag5, 1);
}

TEST_F(SettingsFileTest, SignsBlanksAndLineEndsReadAsTheFormatReadsThem) {
    EXPECT_EQ(Values(Read("\n -3\t+4 10\r\n560 1 -1 99\n")),
              (std::vector<int>{-3, 4, 10, 560, 1, -1, 99}));
    // No range check: a scale mode of 9 stays 9.
    EXPECT_EQ(Read("0 1 10 560 1 9 0").scaleMode, 9);
}

TEST_F(SettingsFileTest, WhatTheWriterWritesReadsBackTheSame) {
    PlayerSettings written;
    written.backlightOption = 2;
    written.landscapeInFullScreen = 0;
    written.storedValue3 = -7;
    written.storedValue4 = 123456;
    written.storedFlag5 = 200;
    written.scaleMode = 3;
    written.toolbarState = 8;
    RunOnDevice([&] { player::WriteSettingsFile(kPath, written); });
    EXPECT_EQ(ReadText(kPath), "2 0 -7 123456 200 3 8");
    EXPECT_EQ(Values(ReadBack()), Values(written));
}

} // namespace

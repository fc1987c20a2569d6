// "Jump to...": which entries move the movie where, the reads of the movie's
// length they take, and the dialog as the user meets it (the current frame
// selected, the movie standing still while it is open and playing on after).
#include <gtest/gtest.h>

#include "movie/JumpEntry.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/Text.h"
#include "platform/sim/MessageBoxQuery.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"

namespace {

using playertest::PlayerFixture;

struct Target {
    std::optional<LONG> frame;
    int lengthReads = 0;
};

Target Jump(std::u16string_view entry, LONG total, LONG current = 7) {
    Target target;
    target.frame = player::JumpTarget(entry, current, [&] {
        ++target.lengthReads;
        return total;
    });
    return target;
}

TEST(JumpEntryTest, PercentagesAreOfTheLengthAndCappedAtAHundred) {
    EXPECT_EQ(Jump(u"50%", 120).frame, 60);
    EXPECT_EQ(Jump(u"0%", 120).frame, 0);
    EXPECT_EQ(Jump(u"100%", 120).frame, 120);
    EXPECT_EQ(Jump(u"250%", 120).frame, 120);
    EXPECT_EQ(Jump(u"33%", 10).frame, 3);
    EXPECT_EQ(Jump(u"99999999999%", 120).frame, 120);
    EXPECT_EQ(Jump(u"50%", 120).lengthReads, 1);
}

TEST(JumpEntryTest, FrameNumbersStopAtTheEndAskingTheLengthAgain) {
    EXPECT_EQ(Jump(u"10", 120).frame, 10);
    EXPECT_EQ(Jump(u"0010", 120).frame, 10);
    EXPECT_EQ(Jump(u"10", 120).lengthReads, 1);
    const Target past = Jump(u"500", 120);
    EXPECT_EQ(past.frame, 120);
    EXPECT_EQ(past.lengthReads, 2);
    EXPECT_EQ(Jump(u"99999999999", 120).frame, 120);
}

TEST(JumpEntryTest, AnEmptyEntryIsTheCurrentFrameAndOtherTextsAskForNothing) {
    EXPECT_EQ(Jump(u"", 120, 37).frame, 37);
    // A control that reports no frame gives no digit string either.
    EXPECT_EQ(Jump(u"", 120, -1).frame, std::nullopt);
    for (const std::u16string_view refused : {u"-5", u"12.5%", u"ten", u" 5", u"%", u"5 ", u"%5"}) {
        const Target target = Jump(refused, 120);
        EXPECT_EQ(target.frame, std::nullopt) << text::ToUtf8(refused);
        EXPECT_EQ(target.lengthReads, 0) << text::ToUtf8(refused);
    }
}

class JumpToTest : public PlayerFixture {
protected:
    void SetUp() override {
        StartPlayer();
        control->totalFrames = 120;
        control->frameNumber = 37;
    }

    HWND OpenJumpDialog() {
        ChooseMenu({u"Seek", u"Jump to..."});
        const HWND dialog = Dialog();
        EXPECT_NE(dialog, nullptr) << Report();
        return dialog;
    }

    HWND Item(HWND dialog, int id) const {
        return automation->FindWindow(sim::WindowQuery().Within(dialog).Id(id));
    }

    // Opens the dialog, types entry over the frame shown and confirms or
    // cancels; returns the calls that move or start the movie since.
    std::vector<std::string> JumpWith(std::u16string_view entry, int softKey = IDOK) {
        const std::size_t mark = Mark();
        OpenJumpDialog();
        Type(entry);
        TapDialogSoftKey(softKey);
        EXPECT_EQ(Dialog(), nullptr) << Report();
        std::vector<std::string> calls;
        for (const auto& call : Only(Since(mark), {"StopMovie", "SetFrameNumber", "PlayMovie"})) {
            calls.push_back(call.call == "SetFrameNumber" ? "SetFrameNumber " + call.args[0].Json()
                                                          : call.call);
        }
        return calls;
    }
};

TEST_F(JumpToTest, TheDialogShowsTheLengthAndTheFrameWithTheFrameSelectedInTheEntry) {
    const HWND dialog = OpenJumpDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(automation->TextOf(dialog), u"Jump to Position:");
    EXPECT_EQ(automation->TextOf(Item(dialog, IDC_JUMP_LENGTH)), u"120");
    EXPECT_EQ(automation->TextOf(Item(dialog, IDC_JUMP_FRAME)), u"37");
    const HWND entry = Item(dialog, IDC_JUMP_ENTRY);
    EXPECT_EQ(automation->Focus(), entry);
    EXPECT_EQ(automation->TextOf(entry), u"37");
    // Typing replaces the frame number.
    Type(u"50%");
    EXPECT_EQ(automation->TextOf(entry), u"50%");
    TapDialogSoftKey(IDOK);
    EXPECT_EQ(control->frameNumber, 60);
}

TEST_F(JumpToTest, APlayingMovieStandsStillWhileTheDialogIsUpAndPlaysOnAfterAnyEnd) {
    control->playing = true;
    EXPECT_EQ(JumpWith(u"10"),
              (std::vector<std::string>{"StopMovie", "SetFrameNumber 10", "PlayMovie"}));
    EXPECT_TRUE(control->playing);
    EXPECT_EQ(JumpWith(u"500"),
              (std::vector<std::string>{"StopMovie", "SetFrameNumber 120", "PlayMovie"}));
    // Cancel and an entry that was not accepted leave the frame alone.
    EXPECT_EQ(JumpWith(u"20", IDCANCEL), (std::vector<std::string>{"StopMovie", "PlayMovie"}));
    EXPECT_EQ(JumpWith(u"12.5%"), (std::vector<std::string>{"StopMovie", "PlayMovie"}));
    EXPECT_TRUE(control->playing);
}

TEST_F(JumpToTest, APausedMovieStaysPausedOnItsNewFrame) {
    EXPECT_EQ(JumpWith(u"25%"), (std::vector<std::string>{"StopMovie", "SetFrameNumber 30"}));
    EXPECT_FALSE(control->playing);
    EXPECT_EQ(control->frameNumber, 30);
    // An empty entry sets the frame the dialog showed again.
    control->frameNumber = 44;
    OpenJumpDialog();
    PressKey(VK_BACK);
    const std::size_t mark = Mark();
    TapDialogSoftKey(IDOK);
    const auto set = Only(Since(mark), {"SetFrameNumber"});
    ASSERT_EQ(set.size(), 1u);
    EXPECT_EQ(set[0].args[0].Int(), 44);
}

TEST_F(JumpToTest, WithoutAMovieTheUserIsToldSoAndNoDialogOpens) {
    control->readyState = 0;
    control->playing = true;
    const std::size_t mark = Mark();
    ChooseMenu({u"Seek", u"Jump to..."});
    const HWND box = Dialog();
    ASSERT_NE(box, nullptr) << Report();
    const auto content = sim::DescribeMessageBox(box);
    ASSERT_TRUE(content);
    EXPECT_EQ(content->text, u"Flash Movie not loaded");
    EXPECT_EQ(content->caption, u"Vantrel");
    EXPECT_EQ(content->type & 0xF, static_cast<UINT>(MB_OK));
    TapDialogSoftKey(IDOK);
    EXPECT_TRUE(Only(Since(mark), {"StopMovie", "SetFrameNumber", "PlayMovie"}).empty());
    EXPECT_TRUE(control->playing);
}

TEST_F(JumpToTest, TheActionKeyStillTogglesFullScreenBehindTheDialog) {
    OpenJumpDialog();
    Press(sim::HardwareButton::Action);
    ASSERT_NE(Dialog(), nullptr);
    TapDialogSoftKey(IDCANCEL);
    Settle();
    EXPECT_EQ(ScreenRect(Frame()), (RECT{0, 0, 240, 320})) << Report();
}

} // namespace

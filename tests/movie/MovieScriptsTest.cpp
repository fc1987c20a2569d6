// Movies with scripts in the player, with the project's own engine as the
// movie control: a stop() holds the movie until the user plays it, a movie
// that never stops scripting leaves the player responsive, and what a movie
// asks of its host (fscommand, getURL) reaches the device's journal.
#include <gtest/gtest.h>

#include <regex>

#include "platform/Text.h"
#include "platform/sim/Automation.h"
#include "platform/sim/WindowManager.h"
#include "platform/sim/WindowObject.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"
#include "swf/control/HostFiles.h"
#include "swf/control/MovieControl.h"
#include "swf/format/TagCodes.h"
#include "swf/runtime/ButtonCondition.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using playertest::PlayerFixture;
using swfwriter::ActionWriter;
namespace action = swfwriter::action;

// frames frames at 10 a second, a square moving on each, and actions on the
// first frame.
std::vector<std::uint8_t> MovieWithFirstFrameActions(const ActionWriter& actions, int frames = 20) {
    swfwriter::MovieWriter movie(6, 240, 200, 10.0);
    movie.SetBackground({255, 255, 255});
    swfwriter::ShapeBuilder square;
    square.SetStyle(0, square.AddFill(swfwriter::Fill::Solid({255, 0, 0})), 0);
    square.Rectangle(0, 0, 400, 400);
    const auto id = movie.DefineShape(square, 3);
    movie.Place(1, id);
    movie.Tag(swf::tag::DoAction, actions.Finish());
    movie.ShowFrame();
    for (int frame = 1; frame < frames; ++frame) {
        movie.Move(1, {.matrix = swfwriter::Matrix::Translate(frame * 40, 1000)});
        movie.ShowFrame();
    }
    return movie.Finish(swfwriter::Compression::Zlib);
}

// Ten frames, held on the first by stop(), with a red square button whose
// release goes to frame 5 and stops there (gotoAndStop(5)).
std::vector<std::uint8_t> GotoButtonMovie() {
    swfwriter::MovieWriter movie(6, 240, 200, 10.0);
    movie.SetBackground({255, 255, 255});
    swfwriter::ShapeBuilder square;
    square.SetStyle(0, square.AddFill(swfwriter::Fill::Solid({255, 0, 0})), 0);
    square.Rectangle(0, 0, 1200, 1200);
    const auto red = movie.DefineShape(square, 3);
    ActionWriter release;
    release.GotoFrame(4).Op(action::Stop);
    const auto button =
        movie.DefineButton2({{.characterId = red, .depth = 1}},
                            {{swf::buttoncondition::OverDownToOverUp, release.Finish()}});
    movie.Place(1, button, {.matrix = swfwriter::Matrix::Translate(1800, 1400)});
    ActionWriter stop;
    stop.Op(action::Stop);
    movie.Tag(swf::tag::DoAction, stop.Finish());
    for (int frame = 0; frame < 10; ++frame) {
        movie.ShowFrame();
    }
    return movie.Finish(swfwriter::Compression::Zlib);
}

class MovieScriptsTest : public PlayerFixture {
protected:
    explicit MovieScriptsTest(playertest::DeviceSpec spec = {}) : PlayerFixture(spec) {}

    void SetUp() override {
        swf::InstallMovieControl(
            std::make_shared<swf::HostFiles>(
                [this](const std::string& path) -> std::optional<std::filesystem::path> {
                    return device->HostPath(text::FromUtf8(path));
                }),
            swf::HttpLimits{}, [this](std::string_view line) { traced.emplace_back(line); });
        StartPlayer(u"", /*withControl=*/false);
        ChooseMenu({u"Screen", u"Show Toolbar"});
    }

    void Open(const std::vector<std::uint8_t>& movie) {
        WriteFile(u"\\My Documents\\scripted.swf", movie);
        ::testing::internal::CaptureStdout();
        OpenLocation(u"\\My Documents\\scripted.swf");
        ::testing::internal::GetCapturedStdout();
    }

    std::string State() const {
        const sim::Window* window = device->Windows().Find(Control());
        return window != nullptr && window->hostedControl ? window->hostedControl->StateJson() : "";
    }
    long FrameShown() const {
        std::smatch found;
        const std::string state = State();
        return std::regex_search(state, found, std::regex("\"frameNumber\":(-?[0-9]+)"))
                   ? std::stol(found[1])
                   : -1;
    }

    // The middle of the red pixels in the control's part of the screen.
    std::optional<POINT> RedCentre() const {
        const RECT area = ScreenRect(Control());
        const auto screen = automation->Screenshot();
        long count = 0;
        double sumX = 0;
        double sumY = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if ((screen->Pixel(x, y) | 0xFF000000) == 0xFFFF0000) {
                    sumX += x;
                    sumY += y;
                    ++count;
                }
            }
        }
        if (count < 50) {
            return std::nullopt;
        }
        return POINT{static_cast<LONG>(sumX / count), static_cast<LONG>(sumY / count)};
    }

    std::vector<std::string> traced;
};

TEST_F(MovieScriptsTest, StopOnTheFirstFrameHoldsTheMovieUntilPlayIsTapped) {
    ActionWriter actions;
    actions.Op(action::Stop).Push("held").Op(action::Trace);
    Open(MovieWithFirstFrameActions(actions));
    Advance(1000);
    EXPECT_EQ(FrameShown(), 0) << State();
    EXPECT_EQ(traced, std::vector<std::string>{"held"});
    TapBarButton(ID_PLAY_PAUSE);
    Advance(1000);
    EXPECT_GE(FrameShown(), 5) << State();
}

// this.onEnterFrame = function () { while (true) {} }
ActionWriter EndlessEnterFrame() {
    ActionWriter loop;
    const auto top = loop.NewLabel();
    loop.Bind(top).Jump(top);
    ActionWriter actions;
    actions.Push("this").Op(action::GetVariable).Push("onEnterFrame");
    actions.DefineFunction("", {}, loop).Op(action::SetMember);
    return actions;
}

// function f() { f(); } f();
ActionWriter EndlessRecursion() {
    ActionWriter recurse;
    recurse.Push(0.0).Push("f").Op(action::CallFunction);
    ActionWriter actions;
    actions.DefineFunction("f", {}, recurse);
    actions.Push(0.0).Push("f").Op(action::CallFunction).Op(action::Pop);
    return actions;
}

TEST_F(MovieScriptsTest, TappingAButtonWhoseReleaseGoesToFrameFiveShowsFrameFive) {
    Open(GotoButtonMovie());
    Advance(500);
    EXPECT_EQ(FrameShown(), 0) << State();
    const auto button = RedCentre();
    ASSERT_TRUE(button) << "no button on the screen\n" << Report();
    Tap(*button);
    Advance(500);
    EXPECT_EQ(FrameShown(), 4) << State();
}

TEST_F(MovieScriptsTest, AnEndlessEnterFrameLeavesThePlayerResponsive) {
    Open(MovieWithFirstFrameActions(EndlessEnterFrame(), 100));
    const std::size_t mark = Mark();
    Advance(2000);
    // The status tick goes on asking the control for its state, and the
    // movie goes on to later frames, its script stopped each time.
    EXPECT_GE(Only(Since(mark), {"GetReadyState"}).size(), 20u);
    EXPECT_GE(FrameShown(), 10) << State();
    EXPECT_FALSE(Calls("ScriptNote").empty());
    ChooseMenu({u"Exit"});
    EXPECT_TRUE(player->Finished());
}

TEST_F(MovieScriptsTest, EndlessRecursionLeavesThePlayerResponsive) {
    Open(MovieWithFirstFrameActions(EndlessRecursion()));
    const std::size_t mark = Mark();
    Advance(2000);
    EXPECT_GE(Only(Since(mark), {"GetReadyState"}).size(), 20u);
    EXPECT_FALSE(Calls("ScriptNote").empty());
    ChooseMenu({u"Exit"});
    EXPECT_TRUE(player->Finished());
}

TEST_F(MovieScriptsTest, FsCommandAndGetUrlReachTheJournal) {
    ActionWriter actions;
    actions.GetUrl("http://example.test/page.html", "_blank");
    actions.GetUrl("FSCommand:quit", "");
    actions.Op(action::Stop);
    Open(MovieWithFirstFrameActions(actions));
    Advance(500);
    const auto commands = Calls("FSCommand");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].args[0].Text(), "quit");
    const auto urls = Calls("GetURL");
    ASSERT_EQ(urls.size(), 1u);
    EXPECT_EQ(urls[0].args[0].Text(), "http://example.test/page.html");
    EXPECT_EQ(urls[0].args[1].Text(), "_blank");
    // A movie's quit is the container's to answer: the player plays on.
    EXPECT_FALSE(player->Finished());
}

// A VGA handheld: what System.capabilities says of the device.
class VgaMovieScriptsTest : public MovieScriptsTest {
protected:
    VgaMovieScriptsTest() : MovieScriptsTest({.width = 480, .height = 640, .pixelsPerInch = 192}) {}
};

TEST_F(VgaMovieScriptsTest, SystemCapabilitiesDescribeTheHandheld) {
    // trace(c.os + " " + c.screenResolutionX + "x" + c.screenResolutionY + " " + c.screenDPI)
    ActionWriter actions;
    actions.Push("c").Push("System").Op(action::GetVariable).Push("capabilities");
    actions.Op(action::GetMember).Op(action::SetVariable);
    const auto member = [&actions](const char* name) {
        actions.Push("c").Op(action::GetVariable).Push(name).Op(action::GetMember);
    };
    member("os");
    actions.Push(" ").Op(action::Add2);
    member("screenResolutionX");
    actions.Op(action::Add2).Push("x").Op(action::Add2);
    member("screenResolutionY");
    actions.Op(action::Add2).Push(" ").Op(action::Add2);
    member("screenDPI");
    actions.Op(action::Add2).Op(action::Trace).Op(action::Stop);
    Open(MovieWithFirstFrameActions(actions));
    Advance(500);
    EXPECT_EQ(traced, std::vector<std::string>{"Windows CE 480x640 192"});
}

} // namespace

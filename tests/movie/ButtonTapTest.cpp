// A tap on a button of a movie in the player, with the project's own movie
// engine as the control: the button is found on the device's screen by its
// colour, and a tap on it gives its press and release with the conditions
// Flash gives them, a tap just off its round hit shape gives neither; at
// 100 %, zoomed to 150 % and turned by -90 degrees in full screen. A hold
// opens the movie's popup instead of pressing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <regex>

#include "platform/sim/Automation.h"
#include "playertest/EngineControl.h"
#include "playertest/PlayerFixture.h"
#include "swf/runtime/ButtonCondition.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using playertest::PlayerFixture;
namespace condition = swf::buttoncondition;

constexpr std::uint32_t kRed = 0xFFFF0000;

swfwriter::ShapeBuilder Disc(swfwriter::Color color) {
    swfwriter::ShapeBuilder disc;
    disc.SetStyle(0, disc.AddFill(swfwriter::Fill::Solid(color)), 0);
    disc.Ellipse(0, 0, 800, 800);
    return disc;
}

// A landscape stage of 320 x 240 with a button near its middle: a red disc
// of 40 pixels across, blue while pressed, hit on the red disc itself.
// Its press and release trace what happened.
std::vector<std::uint8_t> ButtonMovie() {
    swfwriter::MovieWriter movie(8, 320, 240, 12.0);
    movie.SetBackground({255, 255, 255});
    const auto red = movie.DefineShape(Disc({255, 0, 0}), 3);
    const auto blue = movie.DefineShape(Disc({0, 0, 255}), 3);
    const auto trace = [](const char* text) {
        swfwriter::ActionWriter actions;
        actions.Push(text).Op(swfwriter::action::Trace);
        return actions.Finish();
    };
    const auto button = movie.DefineButton2(
        {{.characterId = red, .depth = 1, .down = false},
         {.characterId = blue, .depth = 2, .up = false, .over = false, .hit = false}},
        {{condition::OverUpToOverDown, trace("press")},
         {condition::OverDownToOverUp, trace("release")}});
    movie.Place(1, button, {.matrix = swfwriter::Matrix::Translate(3400, 2200), .name = "pad"});
    movie.ShowFrame();
    return movie.Finish(swfwriter::Compression::Zlib);
}

// Where a colour lies on the screen.
struct Spot {
    int left = 0, top = 0, right = -1, bottom = -1; // inclusive
    long count = 0;
    double sumX = 0, sumY = 0;
    POINT Centre() const {
        return {static_cast<LONG>(std::lround(sumX / count)),
                static_cast<LONG>(std::lround(sumY / count))};
    }
};

class ButtonTapTest : public PlayerFixture {
protected:
    void SetUp() override {
        playertest::InstallEngineControl(*device);
        StartPlayer(u"", /*withControl=*/false);
        WriteFile(u"\\My Documents\\button.swf", ButtonMovie());
        ::testing::internal::CaptureStdout();
        OpenLocation(u"\\My Documents\\button.swf");
        ::testing::internal::GetCapturedStdout();
        Advance(500);
    }

    std::string State() const { return playertest::ControlStateJson(*device, Control()); }
    long Number(const std::string& name) const {
        std::smatch found;
        const std::string state = State();
        return std::regex_search(state, found, std::regex("\"" + name + "\":([0-9]+)"))
                   ? std::stol(found[1])
                   : -1;
    }
    // The last of the entries the pattern's group finds, those after the
    // first `since` of the count's.
    std::vector<std::string> Since(const std::string& pattern, const std::string& count,
                                   long since) const {
        const std::string state = State();
        std::vector<std::string> all;
        const std::regex entry(pattern);
        for (auto it = std::sregex_iterator(state.begin(), state.end(), entry);
             it != std::sregex_iterator(); ++it) {
            all.push_back((*it)[1]);
        }
        const long fresh = std::min<long>(Number(count) - since, static_cast<long>(all.size()));
        return fresh <= 0 ? std::vector<std::string>{}
                          : std::vector<std::string>(all.end() - fresh, all.end());
    }
    long Count() const { return Number("buttonEventCount"); }
    // The conditions of the button's transitions after the first `since`.
    std::vector<std::uint16_t> ConditionsSince(long since) const {
        std::vector<std::uint16_t> conditions;
        for (const std::string& text :
             Since("\\{\"name\":\"pad\",\"condition\":([0-9]+)\\}", "buttonEventCount", since)) {
            conditions.push_back(static_cast<std::uint16_t>(std::stoi(text)));
        }
        return conditions;
    }
    long TraceCount() const { return Number("traceCount"); }
    // The movie's trace lines after the first `since` (the lines here have
    // no quotes or commas of their own).
    std::vector<std::string> TraceSince(long since) const {
        const std::string state = State();
        const std::string opening = "\"trace\":[";
        const auto at = state.find(opening);
        const std::string list =
            at == std::string::npos
                ? std::string()
                : state.substr(at + opening.size(), state.find(']', at) - at - opening.size());
        std::vector<std::string> all;
        const std::regex line("\"([^\"]*)\"");
        for (auto it = std::sregex_iterator(list.begin(), list.end(), line);
             it != std::sregex_iterator(); ++it) {
            all.push_back((*it)[1]);
        }
        const long fresh = std::min<long>(TraceCount() - since, static_cast<long>(all.size()));
        return fresh <= 0 ? std::vector<std::string>{}
                          : std::vector<std::string>(all.end() - fresh, all.end());
    }

    // The red disc in the control's part of the screen.
    Spot FindDisc() const {
        const RECT area = ScreenRect(Control());
        const auto screen = automation->Screenshot();
        Spot spot{area.right, area.bottom, area.left - 1, area.top - 1};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if ((screen->Pixel(x, y) | 0xFF000000) == kRed) {
                    spot.left = std::min(spot.left, x);
                    spot.right = std::max(spot.right, x);
                    spot.top = std::min(spot.top, y);
                    spot.bottom = std::max(spot.bottom, y);
                    spot.sumX += x;
                    spot.sumY += y;
                    ++spot.count;
                }
            }
        }
        return spot;
    }

    // Taps just off the disc, then on it: the first gives no press and no
    // release, the second both, in order, after the pointer came over it.
    void TapOffThenOn(const char* where) {
        SCOPED_TRACE(where);
        const Spot disc = FindDisc();
        ASSERT_GT(disc.count, 100) << "no button on the screen\n" << Report();
        const POINT centre = disc.Centre();
        // Two pixels right of the disc's rim, and the corner of its box.
        const long before = Count();
        const long tracedBefore = TraceCount();
        Tap({disc.right + 2, centre.y});
        Tap({disc.left + 1, disc.top + 1});
        Advance(200);
        for (const std::uint16_t seen : ConditionsSince(before)) {
            EXPECT_NE(seen, condition::OverUpToOverDown) << State();
            EXPECT_NE(seen, condition::OverDownToOverUp) << State();
        }
        EXPECT_TRUE(TraceSince(tracedBefore).empty()) << State();
        const long off = Count();
        const long traced = TraceCount();
        Tap(centre);
        EXPECT_EQ(ConditionsSince(off),
                  (std::vector<std::uint16_t>{condition::IdleToOverUp, condition::OverUpToOverDown,
                                              condition::OverDownToOverUp}))
            << State();
        // The button's own actions ran for its press and its release.
        EXPECT_EQ(TraceSince(traced), (std::vector<std::string>{"press", "release"})) << State();
    }
};

TEST_F(ButtonTapTest, ATapPressesAndReleasesTheButtonAndATapJustOffItDoesNot) {
    ASSERT_NE(State().find("\"readyState\":4"), std::string::npos) << State();
    TapOffThenOn("at 100 %");

    ChooseMenu({u"Zoom", u"150%"});
    Ticks(2);
    TapOffThenOn("zoomed to 150 %");

    ChooseMenu({u"Zoom", u"100%"});
    ChooseMenu({u"Screen", u"Toggle Fullscreen"});
    Ticks(2);
    ASSERT_NE(State().find("\"rotation\":-90"), std::string::npos) << State();
    // Turned, the disc is as tall as it was wide.
    TapOffThenOn("turned by -90 degrees in full screen");
}

TEST_F(ButtonTapTest, AHoldOnTheButtonOpensTheMovieMenuAndPressesNothing) {
    const Spot disc = FindDisc();
    ASSERT_GT(disc.count, 100) << Report();
    const long before = Count();
    HoldOn(disc.Centre());
    EXPECT_FALSE(Popups().empty()) << Report();
    for (const std::uint16_t seen : ConditionsSince(before)) {
        EXPECT_NE(seen, condition::OverUpToOverDown) << State();
    }
    EXPECT_EQ(TraceCount(), 0) << State();
    DismissPopups();
    // The same in full screen, turned.
    ChooseMenu({u"Screen", u"Toggle Fullscreen"});
    Ticks(2);
    const long turned = Count();
    HoldOn(FindDisc().Centre());
    EXPECT_FALSE(Popups().empty()) << Report();
    for (const std::uint16_t seen : ConditionsSince(turned)) {
        EXPECT_NE(seen, condition::OverUpToOverDown) << State();
    }
    EXPECT_EQ(TraceCount(), 0) << State();
}

} // namespace

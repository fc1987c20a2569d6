// Scripts run on the stand-in program: the actions reach the device as a
// user's input, and the shell's bars and menus are worked by taps.
#include "host/ScriptRunner.h"

#include <gtest/gtest.h>

#include "StandInSession.h"
#include "host/DeviceState.h"
#include "host/HeadlessRun.h"
#include "platform/Input.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/InputRouter.h"

namespace host {
namespace {

class ScriptRunnerTest : public ::testing::Test {
protected:
    // Runs script to its end (or its failure) on the stand-in.
    RunEnd Run(const std::string& text) {
        auto steps = ParseScript(text);
        EXPECT_TRUE(steps) << steps.GetError().message;
        runner = std::make_unique<ScriptRunner>(Session(), std::move(steps).Value(), LaunchPlan{});
        RunLimits limits;
        limits.endWithScript = true;
        return RunHeadless(Session(), runner.get(), limits, nullptr);
    }
    host::Session& Session() { return *standIn.session; }
    std::u16string MainText() {
        return Session().Automation().TextOf(Session().PlayerMainWindow());
    }
    std::size_t OpenPopups() {
        return Session()
            .Automation()
            .FindWindows(sim::WindowQuery().Class(sim::kPopupMenuClass).Visible())
            .size();
    }

    testing::StandInSession standIn;
    std::unique_ptr<ScriptRunner> runner;
};

TEST_F(ScriptRunnerTest, MenuChoosesTheItemThroughTheRealPopups) {
    ASSERT_EQ(Run("menu Screen \"Toggle Fullscreen\"\n"), RunEnd::ScriptDone)
        << runner->Failure()->message << Session().Automation().Report();
    // The stand-in goes full screen for it.
    const auto main = Session().Automation().Describe(Session().PlayerMainWindow());
    ASSERT_TRUE(main);
    EXPECT_EQ(main->rect.top, 0);
    EXPECT_EQ(main->rect.bottom, 320);
    EXPECT_EQ(OpenPopups(), 0u);

    // Texts are compared without their '&' marks, at any depth.
    ASSERT_EQ(Run("menu Zoom 125%\n"), RunEnd::ScriptDone) << runner->Failure()->message;
    EXPECT_EQ(MainText(), u"Command 32833");
}

TEST_F(ScriptRunnerTest, AMenuPathThatLeadsNowhereFailsAndClosesTheMenus) {
    const std::pair<std::string, std::string> cases[] = {
        {"menu Screen Sideways", "no item \"Sideways\" in the menu (it has \"Toggle Fullscreen\""},
        {"menu Screen", "opens a menu; name an item in it"},
        {"menu Stop Now", "the item \"Stop\" opens no menu"},
    };
    for (const auto& [script, expected] : cases) {
        ASSERT_EQ(Run(script), RunEnd::ScriptFailed) << script;
        EXPECT_EQ(runner->Failure()->line, 1);
        EXPECT_NE(runner->Failure()->message.find(expected), std::string::npos)
            << runner->Failure()->message;
        EXPECT_EQ(OpenPopups(), 0u) << script;
    }
    // Nothing was chosen on the way.
    EXPECT_EQ(MainText(), u"Stand-in movie.swf");
}

TEST_F(ScriptRunnerTest, SoftKeysActOnWhateverIsInFront) {
    // Soft key 1 of the main bar is "Open": the stand-in shows a message box,
    // whose own soft keys are then in front.
    ASSERT_EQ(Run("softkey 1\nwait 100\n"), RunEnd::ScriptDone);
    auto state = CollectDeviceState(Session());
    ASSERT_EQ(state["messageBoxes"].size(), 1u);
    EXPECT_EQ(state["messageBoxes"][0]["caption"], "Stand-in");

    ASSERT_EQ(Run("softkey 2\n"), RunEnd::ScriptDone);
    state = CollectDeviceState(Session());
    EXPECT_TRUE(state["messageBoxes"].empty());
    const auto answers = Session().Automation().Journal("MessageBoxW");
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].result.Int(), 2); // IDCANCEL
}

TEST_F(ScriptRunnerTest, TapIdFindsSoftKeysAndControlsOfTheWindowInFront) {
    // The main bar's "Open" by its command, then the message box's Cancel.
    ASSERT_EQ(Run("tapid 57600\nwait 100\n"), RunEnd::ScriptDone) << runner->Failure()->message;
    ASSERT_EQ(CollectDeviceState(Session())["messageBoxes"].size(), 1u);
    ASSERT_EQ(Run("tapid 2\n"), RunEnd::ScriptDone) << runner->Failure()->message;
    EXPECT_TRUE(CollectDeviceState(Session())["messageBoxes"].empty());
    EXPECT_EQ(Session().Automation().Journal("MessageBoxW").at(0).result.Int(), 2);

    ASSERT_EQ(Run("wait 10\ntapid 4242\n"), RunEnd::ScriptFailed);
    EXPECT_EQ(runner->Failure()->line, 2);
    EXPECT_NE(runner->Failure()->message.find("with id 4242"), std::string::npos)
        << runner->Failure()->message;
}

TEST_F(ScriptRunnerTest, OpenFailsForADocumentNoProgramOpens) {
    ASSERT_EQ(Run("open \"\\My Documents\\notes.txt\"\n"), RunEnd::ScriptFailed);
    EXPECT_NE(runner->Failure()->message.find("cannot open \\My Documents\\notes.txt"),
              std::string::npos)
        << runner->Failure()->message;
}

TEST_F(ScriptRunnerTest, TimedActionsTakeTheirDeviceTime) {
    const sim::DeviceTime start = Session().Device().Now();
    ASSERT_EQ(Run("wait 250\nhold 100 100\ndrag 10 100 200 100 400\n"), RunEnd::ScriptDone);
    EXPECT_EQ(Session().Device().Now() - start, 250 + ScriptRunner::kHoldDuration + 400);
    EXPECT_FALSE(Session().Device().Input().StylusIsDown());
}

TEST_F(ScriptRunnerTest, KeysAndButtonsReachTheDeviceAsInput) {
    ASSERT_EQ(Run("key ctrl+N\nbutton APP1\nbutton UP\ntype hi\n"), RunEnd::ScriptDone);
    // The device holds no key afterwards: each press was released.
    for (const int key : {int{VK_CONTROL}, int{'N'}, int{VK_APP1}, int{VK_UP}}) {
        EXPECT_GE(Session().Device().Input().KeyState(key), 0) << key;
    }
}

TEST_F(ScriptRunnerTest, OutputsThatCannotBeWrittenFailTheLine) {
    ASSERT_EQ(Run("wait 10\nstate /nonexistent/dir/state.json\n"), RunEnd::ScriptFailed);
    EXPECT_EQ(runner->Failure()->line, 2);
    EXPECT_NE(runner->Failure()->message.find("cannot write"), std::string::npos);
}

} // namespace
} // namespace host

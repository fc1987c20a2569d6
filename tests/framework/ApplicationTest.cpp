// The application object on the device: the start-up hooks in order, the
// command line, the ways a program ends and the code it ends with.
#include "ProgramFixture.h"

#include "framework/Application.h"
#include "platform/Input.h"
#include "platform/sim/WindowManager.h"

namespace {

using testprogram::Behaviour;
using Events = std::vector<std::string>;

class ApplicationTest : public ProgramFixture {
protected:
    int WindowsOfProgram() const {
        int count = 0;
        for (const sim::Window* window : device->Windows().AllWindows()) {
            count += window->program == program ? 1 : 0;
        }
        return count;
    }
};

TEST_F(ApplicationTest, ExitEndsTheProgramWithTheQuitCodeAndReleasesTheFrame) {
    Behaviour behaviour;
    behaviour.exitCode = 7;
    Start(behaviour);
    ASSERT_TRUE(log.frameLoaded) << Diagnostics();
    ASSERT_FALSE(Finished());

    PressKey(VK_F14);

    ASSERT_TRUE(Finished()) << Diagnostics();
    EXPECT_EQ(ExitCode(), 7);
    // The frame went with its window, once; the exit handling ran after it.
    EXPECT_TRUE(log.frameReleased);
    EXPECT_EQ(log.Count("frame:destroy"), 1);
    EXPECT_EQ(log.events.back(), "app:exit");
    EXPECT_EQ(WindowsOfProgram(), 0);
}

// The shell closes a program by closing its main window; nothing of the
// program's own posts a quit message then.
TEST_F(ApplicationTest, TheEndOfTheMainWindowEndsTheLoop) {
    Start();
    ASSERT_TRUE(log.frameLoaded) << Diagnostics();
    ASSERT_TRUE(device->PostFromOutside(log.frame, WM_CLOSE, 0, 0));
    ASSERT_TRUE(device->RunUntilIdle());

    ASSERT_TRUE(Finished()) << Diagnostics();
    EXPECT_EQ(ExitCode(), 0);
    EXPECT_TRUE(log.frameReleased);
    EXPECT_EQ(log.events.back(), "app:exit");
}

TEST_F(ApplicationTest, KeepsTheCommandLineAsGiven) {
    const std::u16string commandLine = u" \"\\My Documents\\a movie.swf\"  -x ";
    Start({}, commandLine);
    EXPECT_EQ(log.commandLine, commandLine);
    EXPECT_EQ(log.events.front(), "app:init-application");
    EXPECT_EQ(log.events.at(1), "app:init-instance");
}

TEST_F(ApplicationTest, StartupThatEndsEarlyEndsWithItsCodeAndRunsNoLoop) {
    Behaviour behaviour;
    behaviour.startup = Behaviour::Startup::EndStartup;
    behaviour.startupCode = 3;
    Start(behaviour);

    ASSERT_TRUE(Finished()) << Diagnostics();
    EXPECT_EQ(ExitCode(), 3);
    // No exit handling: there was no loop to end.
    EXPECT_EQ(log.events, (Events{"app:init-application", "app:init-instance"}));
    EXPECT_EQ(WindowsOfProgram(), 0);
}

TEST_F(ApplicationTest, FailedStartupEndsWithTheFailureCode) {
    Behaviour instance;
    instance.startup = Behaviour::Startup::FailInstance;
    Start(instance);
    ASSERT_TRUE(Finished()) << Diagnostics();
    EXPECT_EQ(ExitCode(), framework::Application::kStartupFailed);
}

TEST_F(ApplicationTest, FailedApplicationInitialisationStopsBeforeInstanceStartup) {
    Behaviour behaviour;
    behaviour.startup = Behaviour::Startup::FailApplication;
    Start(behaviour);
    ASSERT_TRUE(Finished()) << Diagnostics();
    EXPECT_EQ(ExitCode(), framework::Application::kStartupFailed);
    EXPECT_EQ(log.events, (Events{"app:init-application"}));
}

// A main window that cannot be created must not leave a program running with
// no window and a loop nothing can end.
TEST_F(ApplicationTest, AMainWindowThatCannotBeCreatedEndsTheProgram) {
    Behaviour behaviour;
    behaviour.startup = Behaviour::Startup::FailFrameCreation;
    Start(behaviour);

    ASSERT_TRUE(Finished()) << Diagnostics();
    EXPECT_EQ(ExitCode(), 0);
    EXPECT_FALSE(log.frameLoaded);
    // Start-up went on with the object (showing it did nothing), and the
    // application released it at the end.
    EXPECT_TRUE(log.frameReleased);
    EXPECT_EQ(WindowsOfProgram(), 0);
}

} // namespace

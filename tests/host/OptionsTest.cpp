#include "host/Options.h"

#include <gtest/gtest.h>

namespace host {
namespace {

const Environment kEnvironment{"", "/home/user"};

Result<Options> Parse(std::vector<std::string> args,
                      const Environment& environment = kEnvironment) {
    return ParseOptions(args, environment);
}

TEST(Options, CommandLineIsEverythingAfterTheOptionsJoinedBySingleBlanks) {
    const auto options = Parse({"--headless", "~/movies/clock.swf", "two  words", "--zoom"});
    ASSERT_TRUE(options) << options.GetError().message;
    EXPECT_EQ(options->commandLine, "~/movies/clock.swf two  words --zoom");
    EXPECT_EQ(options->mode, RunMode::Headless);

    const auto afterDashes = Parse({"--", "--not-an-option", "b"});
    ASSERT_TRUE(afterDashes);
    EXPECT_EQ(afterDashes->commandLine, "--not-an-option b");

    const auto none = Parse({});
    ASSERT_TRUE(none);
    EXPECT_EQ(none->commandLine, "");
    EXPECT_EQ(none->mode, RunMode::Automatic);
}

TEST(Options, DefaultsFollowTheScreenAndTheEnvironment) {
    const auto plain = Parse({});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->screenWidth, 240);
    EXPECT_EQ(plain->screenHeight, 320);
    EXPECT_EQ(plain->dpi, 96);
    EXPECT_EQ(plain->deviceDirectory, "/home/user/.local/state/vantrel/device");

    const auto vga = Parse({"--screen", "480x640"});
    ASSERT_TRUE(vga);
    EXPECT_EQ(vga->dpi, 192);
    const auto vgaGiven = Parse({"--screen=480x640", "--dpi=120"});
    ASSERT_TRUE(vgaGiven);
    EXPECT_EQ(vgaGiven->dpi, 120);

    const auto stateHome = Parse({}, Environment{"/var/state", "/home/user"});
    ASSERT_TRUE(stateHome);
    EXPECT_EQ(stateHome->deviceDirectory, "/var/state/vantrel/device");
    // A relative XDG_STATE_HOME is to be ignored.
    const auto relative = Parse({}, Environment{"state", "/home/user"});
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->deviceDirectory, "/home/user/.local/state/vantrel/device");
}

TEST(Options, ValuesInBothForms) {
    const auto options =
        Parse({"--device", "/tmp/d", "--run-for=1500", "--script", "-", "--state", "s.json",
               "--journal=j.jsonl", "--screenshot", "shot.png", "--no-control", "--zoom", "3",
               "--realtime", "--headless", "movie.swf"});
    ASSERT_TRUE(options) << options.GetError().message;
    EXPECT_EQ(options->deviceDirectory, "/tmp/d");
    EXPECT_EQ(options->runFor, 1500u);
    EXPECT_EQ(options->scriptPath, "-");
    EXPECT_EQ(options->statePath, "s.json");
    EXPECT_EQ(options->journalPath, "j.jsonl");
    EXPECT_EQ(options->screenshotPath, "shot.png");
    EXPECT_TRUE(options->noControl);
    EXPECT_EQ(options->zoom, 3);
    // --realtime is headless too, whichever comes first.
    EXPECT_EQ(options->mode, RunMode::Realtime);
    EXPECT_EQ(options->commandLine, "movie.swf");
}

TEST(Options, VersionAndHelpAreRequests) {
    EXPECT_EQ(Parse({"--version"})->request, Options::Request::Version);
    EXPECT_EQ(Parse({"--headless", "--help"})->request, Options::Request::Help);
}

TEST(Options, BadOptionsAreErrorsThatSayWhy) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"-x"}, "unknown option '-x'"},
        {{"--screen", "240by320"}, "--screen"},
        {{"--screen", "10x10"}, "--screen"},
        {{"--screen"}, "needs"},
        {{"--dpi", "0"}, "--dpi"},
        {{"--zoom", "9"}, "--zoom"},
        {{"--run-for", "-5"}, "--run-for"},
        {{"--run-for", "12ms"}, "--run-for"},
        {{"--headless=yes"}, "takes no value"},
        {{"--state="}, "--state"},
        {{"--device", ""}, "--device"},
    };
    for (const auto& [args, expected] : cases) {
        const auto options = Parse(args);
        ASSERT_FALSE(options) << args.front();
        EXPECT_NE(options.GetError().message.find(expected), std::string::npos)
            << options.GetError().message;
    }
}

} // namespace
} // namespace host

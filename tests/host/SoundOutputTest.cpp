// vantrel's sound in headless runs: the device's output as a WAV file in
// device time, a movie's tone in it, and a run that plays silently.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ProcessRunner.h"
#include "ToneMovie.h"
#include "platform/sim/Automation.h"

namespace host {
namespace {

const std::string kVantrel = VANTREL_BINARY_DIR "/vantrel";
constexpr std::size_t kWavHeader = 44;

class SoundOutput : public ::testing::Test {
protected:
    std::filesystem::path Path(const std::string& name) const { return scratch.Path() / name; }

    testing::ProcessResult Play(double toneSeconds, std::vector<std::string> extra) {
        testing::WriteFile(Path("tone.swf"), testing::ToneMovie(toneSeconds));
        std::vector<std::string> args{"--headless", "--device", Path("device").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back("--");
        args.push_back(Path("tone.swf").string());
        return testing::RunProcess(kVantrel, args);
    }

    sim::TemporaryDirectory scratch;
};

TEST_F(SoundOutput, AHeadlessRunWritesItsDeviceTimeOfSoundWithTheMoviesTone) {
    const auto run = Play(1.5, {"--run-for", "4000", "--audio", Path("out.wav").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string wav = testing::ReadFile(Path("out.wav"));
    ASSERT_GT(wav.size(), kWavHeader);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    // Four seconds of device time are four seconds of sound, to the frame.
    EXPECT_EQ((wav.size() - kWavHeader) / 4, 4u * 44100);
    const auto heard = testing::Listen(tones::Samples(wav, kWavHeader));
    ASSERT_TRUE(heard);
    EXPECT_NEAR(heard->hertz, 440.0, 1.0);
    // The whole tone, once, starting as the player has opened the movie.
    EXPECT_NEAR(static_cast<double>(heard->loudFrames), 1.5 * 44100, 100.0);
    EXPECT_LT(heard->firstFrame, 44100u);
    EXPECT_GT(heard->peak, 15000);
}

TEST_F(SoundOutput, WithoutAnAudioFileTheMoviePlaysOnAndTheRunEndsInTime) {
    const auto run = Play(1.0, {"--run-for", "2000", "--state", Path("state.json").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto state = nlohmann::json::parse(testing::ReadFile(Path("state.json")), nullptr, false);
    EXPECT_EQ(state["movie"]["playing"], true);
    EXPECT_EQ(state["movie"]["readyState"], 4);
}

} // namespace
} // namespace host

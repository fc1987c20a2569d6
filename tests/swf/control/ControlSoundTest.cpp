// The movie control's sound out of the simulated device's speaker: a
// streamed sound that the main timeline follows for a minute, even when its
// blocks are shorter than the frame period; the device volume another
// program sets, channel by channel; a device without sound, where the
// timeline keeps to the clock; and the sounds scripts start through Sound,
// heard at the volume and pan they set, stopped when told, and followed by
// onSoundComplete when they play out.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "DeviceTestSupport.h"
#include "LevelStream.h"
#include "TestMovies.h"
#include "ToneAnalysis.h"
#include "platform/Sound.h"
#include "platform/Text.h"
#include "platform/sim/SystemServices.h"
#include "platform/sim/WaveOutput.h"
#include "swf/control/HostFiles.h"
#include "swf/control/MovieControl.h"
#include "swf/control/MovieControlState.h"
#include "swfwriter/ActionWriter.h"

namespace {

constexpr double FrameRate = 12.0;

class RecordingSink final : public sim::AudioSink {
public:
    explicit RecordingSink(std::vector<std::int16_t>& heard) : heard(heard) {}
    void Play(std::span<const std::int16_t> frames) override {
        heard.insert(heard.end(), frames.begin(), frames.end());
    }

private:
    std::vector<std::int16_t>& heard;
};

class ControlSound : public simtest::DeviceTest {
protected:
    void SetUp() override {
        auto files = std::make_shared<swf::HostFiles>(
            [this](const std::string& path) -> std::optional<std::filesystem::path> {
                return device->HostPath(text::FromUtf8(path));
            });
        swf::InstallMovieControl(files);
        device->Services().Wave().SetSink(std::make_unique<RecordingSink>(heard));
    }

    // A program with the control in its window.
    simtest::RunningProgram LaunchWithControl() {
        return Launch([this](HINSTANCE) {
            simtest::RegisterTestClass();
            parent = simtest::CreateTestWindow(&none, WS_VISIBLE, RECT{0, 26, 240, 294});
            ASSERT_TRUE(EnableControlHosting());
            control = CreateControlWindow(swf::MovieControlClassId, u"Vantrel", WS_VISIBLE,
                                          RECT{0, 0, 240, 268}, parent, 9907);
            ASSERT_NE(control, nullptr);
        });
    }

    void Play(sim::Program& program, const std::vector<std::uint8_t>& movie) {
        {
            std::ofstream out(device->StorageRoot() / "movie.swf", std::ios::binary);
            out.write(reinterpret_cast<const char*>(movie.data()),
                      static_cast<std::streamsize>(movie.size()));
        }
        Variant result;
        OnProgram(program, [&] {
            InvokeControl(control, swf::dispid::MovieUrl, DISPATCH_PROPERTYPUT,
                          std::vector<Variant>{Variant::Text(u"file://\\movie.swf")}, &result);
        });
        EXPECT_TRUE(device->RunUntilIdle());
    }

    LONG FrameNumber(sim::Program& program) {
        Variant result;
        LONG frame = -1;
        OnProgram(program, [&] {
            InvokeControl(control, swf::dispid::FrameNumber, DISPATCH_PROPERTYGET, {}, &result);
        });
        EXPECT_TRUE(result.ToInt(frame));
        return frame;
    }

    simtest::Handler none = [](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return std::nullopt;
    };
    HWND parent = nullptr;
    HWND control = nullptr;
    std::vector<std::int16_t> heard;
};

// A main timeline that streams throughout; its blocks hold samplesPerFrame
// 44.1 kHz samples, whatever the frame rate says.
std::vector<std::uint8_t> StreamMovie(int frames, std::uint16_t samplesPerFrame) {
    swfwriter::MovieWriter movie(8, 100, 100, FrameRate);
    levelstream::Head(movie, samplesPerFrame);
    for (int frame = 0; frame < frames; ++frame) {
        levelstream::Block(movie, static_cast<std::size_t>(frame), samplesPerFrame);
        movie.ShowFrame();
    }
    return movie.Finish();
}

TEST_F(ControlSound, TheMainTimelineKeepsWithinAFrameOfItsStreamedSoundForAMinute) {
    // 3,600 samples a frame: the sound runs 2 % ahead of the frame clock,
    // which would leave the timeline 14 frames behind after a minute.
    auto program = LaunchWithControl();
    Play(program, StreamMovie(900, 3600));
    int checked = 0;
    long worst = 0;
    for (int step = 0; step < 600; ++step) {
        ASSERT_TRUE(device->Advance(100));
        const LONG shown = FrameNumber(program);
        // The frame whose block sounds now: the last sample heard that is one.
        long sounding = -1;
        for (std::size_t frame = tones::Frames(heard); frame-- > 0 && sounding < 0;) {
            sounding = levelstream::FrameOf(tones::At(heard, frame, 0));
        }
        if (sounding < 0) {
            continue;
        }
        // Levels repeat every 300 frames.
        sounding += 300 * std::lround(static_cast<double>(shown - sounding) / 300.0);
        worst = std::max(worst, std::labs(shown - sounding));
        ++checked;
    }
    RecordProperty("checks", checked);
    RecordProperty("worstFrames", static_cast<int>(worst));
    EXPECT_GE(checked, 590);
    EXPECT_LE(worst, 1);
    // A minute of that sound is 735 frames; the clock alone would show 720.
    const LONG last = FrameNumber(program);
    RecordProperty("framesAfterAMinute", static_cast<int>(last));
    EXPECT_NEAR(last, 60.0 * 44100 / 3600, 2.0);
    // And it was heard without a gap once it began.
    const auto audible = tones::Audible(heard, 0, 50);
    ASSERT_TRUE(audible);
    const auto unbroken = tones::LongestUnbroken(heard, *audible);
    EXPECT_EQ(unbroken.begin, audible->begin);
    EXPECT_EQ(unbroken.end, audible->end);
}

TEST_F(ControlSound, EachChannelFollowsTheVolumeAnotherProgramSets) {
    std::vector<std::int16_t> sine(44100 * 4);
    for (std::size_t i = 0; i < sine.size(); ++i) {
        sine[i] = static_cast<std::int16_t>(
            std::lround(16000.0 * std::sin(2.0 * M_PI * 440.0 * static_cast<double>(i) / 44100.0)));
    }
    swfwriter::MovieWriter movie(8, 100, 100, FrameRate);
    const auto id = movie.DefineRaw(
        swf::tag::DefineSound, swfwriter::DefineSoundBody({.coding = 3, .rateCode = 3},
                                                          static_cast<std::uint32_t>(sine.size()),
                                                          swfwriter::PcmBytes(sine)));
    movie.Tag(swf::tag::StartSound, swfwriter::StartSoundBody(id, {}));
    movie.ShowFrame();
    auto player = LaunchWithControl();
    Play(player, movie.Finish());
    auto other = Launch([](HINSTANCE) {});

    // The peak of each channel over the next half second, once the volume
    // has reached what is queued.
    const auto peaksAt = [&](DWORD volume) {
        OnProgram(other, [volume] { waveOutSetVolume(WaveMapperHandle(), volume); });
        EXPECT_TRUE(device->Advance(200));
        const std::size_t from = tones::Frames(heard);
        EXPECT_TRUE(device->Advance(500));
        std::pair<int, int> peaks{0, 0};
        for (std::size_t frame = from; frame < tones::Frames(heard); ++frame) {
            peaks.first = std::max(peaks.first, std::abs(int{tones::At(heard, frame, 0)}));
            peaks.second = std::max(peaks.second, std::abs(int{tones::At(heard, frame, 1)}));
        }
        return peaks;
    };
    // The volume bar's ends, then a different volume for each channel.
    const auto full = peaksAt(0xFFFFFFFF);
    EXPECT_NEAR(full.first, 16000, 2);
    EXPECT_NEAR(full.second, 16000, 2);
    EXPECT_EQ(peaksAt(0), (std::pair<int, int>{0, 0}));
    const auto uneven = peaksAt(0x4000FFFF);
    EXPECT_NEAR(uneven.first, 16000, 2);
    EXPECT_NEAR(uneven.second, 4000, 2);
}

TEST_F(ControlSound, WithoutASoundCardTheTimelineKeepsToTheClock) {
    device->Services().Wave().SetSink(nullptr, false);
    auto program = LaunchWithControl();
    Play(program, StreamMovie(100, 3600));
    const LONG start = FrameNumber(program);
    ASSERT_TRUE(device->Advance(2000));
    EXPECT_EQ(FrameNumber(program) - start, 24);
}

// A movie exporting a mono sound as "level", constant at 20000 for
// seconds; each frame runs its actions (none where the list is empty), and
// the last frame stops the timeline.
std::vector<std::uint8_t> ScriptedSoundMovie(double seconds,
                                             const std::vector<swfwriter::ActionWriter>& frames) {
    swfwriter::MovieWriter movie(8, 100, 100, FrameRate);
    const std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * 44100), 20000);
    const auto id =
        movie.DefineRaw(swf::tag::DefineSound,
                        swfwriter::DefineSoundBody({.coding = 3, .rateCode = 3},
                                                   static_cast<std::uint32_t>(samples.size()),
                                                   swfwriter::PcmBytes(samples)));
    std::vector<std::uint8_t> exports = {1, 0, static_cast<std::uint8_t>(id & 0xFF),
                                         static_cast<std::uint8_t>(id >> 8)};
    for (const char c : std::string_view("level")) {
        exports.push_back(static_cast<std::uint8_t>(c));
    }
    exports.push_back(0);
    movie.Tag(swf::tag::Exports, exports);
    for (std::size_t frame = 0; frame < frames.size(); ++frame) {
        swfwriter::ActionWriter actions = frames[frame];
        if (frame + 1 == frames.size()) {
            actions.Op(swfwriter::action::Stop);
        }
        movie.Tag(swf::tag::DoAction, actions.Finish());
        movie.ShowFrame();
    }
    return movie.Finish();
}

// target.method(number...), its result dropped; target a variable or this.
void CallWith(swfwriter::ActionWriter& a, std::string_view target, std::string_view method,
              const std::vector<double>& args = {}) {
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
        a.Push(*it);
    }
    a.Push(double(args.size())).Push(target).Op(swfwriter::action::GetVariable).Push(method);
    a.Op(swfwriter::action::CallMethod).Op(swfwriter::action::Pop);
}

// variable = new Sound(on) with "level" attached; on a variable, or none.
void AttachedSound(swfwriter::ActionWriter& a, std::string_view variable,
                   std::string_view on = {}) {
    a.Push(variable);
    if (on.empty()) {
        a.Push(0.0);
    } else {
        a.Push(on).Op(swfwriter::action::GetVariable).Push(1.0);
    }
    a.Push("Sound").Op(swfwriter::action::NewObject).Op(swfwriter::action::SetVariable);
    a.Push("level").Push(1.0).Push(variable).Op(swfwriter::action::GetVariable);
    a.Push("attachSound").Op(swfwriter::action::CallMethod).Op(swfwriter::action::Pop);
}

// The distinct levels heard on a channel, in the order they began, each
// with the frames it lasted.
std::vector<std::pair<int, std::size_t>> LevelRuns(const std::vector<std::int16_t>& heard,
                                                   int channel) {
    std::vector<std::pair<int, std::size_t>> runs;
    for (std::size_t frame = 0; frame < tones::Frames(heard); ++frame) {
        const int level = tones::At(heard, frame, channel);
        if (level == 0) {
            continue;
        }
        if (runs.empty() || runs.back().first != level) {
            runs.emplace_back(level, 0);
        }
        ++runs.back().second;
    }
    return runs;
}

constexpr std::size_t PeriodFrames = 3675; // 44.1 kHz frames in a frame period

TEST_F(ControlSound, AScriptsSoundPlaysAtTheVolumeItSetsUntilItIsStopped) {
    std::vector<swfwriter::ActionWriter> frames(12);
    AttachedSound(frames[0], "s");
    CallWith(frames[0], "s", "start");
    CallWith(frames[4], "s", "setVolume", {50});
    CallWith(frames[8], "s", "stop");
    auto program = LaunchWithControl();
    Play(program, ScriptedSoundMovie(2.0, frames));
    ASSERT_TRUE(device->Advance(2500));
    for (const int channel : {0, 1}) {
        const auto runs = LevelRuns(heard, channel);
        ASSERT_EQ(runs.size(), 2u) << "channel " << channel;
        // The device's volume scales both alike; the script's halves the second.
        EXPECT_NEAR(runs[1].first, runs[0].first / 2, 1);
        // Four frame periods each, give or take what the output had queued;
        // the sound itself would last 24.
        EXPECT_NEAR(double(runs[0].second), 4.0 * PeriodFrames, 1.5 * PeriodFrames);
        EXPECT_NEAR(double(runs[1].second), 4.0 * PeriodFrames, 1.5 * PeriodFrames);
    }
}

TEST_F(ControlSound, AScriptsPanAndAClipsSoundTransformReachWhatIsHeard) {
    std::vector<swfwriter::ActionWriter> frames(6);
    // createEmptyMovieClip("c", 1): its sounds are muted, and a pan to the
    // left turns the movie's other sounds off on the right.
    frames[0].Push(1.0).Push("c").Push(2.0).Push("createEmptyMovieClip");
    frames[0].Op(swfwriter::action::CallFunction).Op(swfwriter::action::Pop);
    AttachedSound(frames[0], "muted", "c");
    CallWith(frames[0], "muted", "setVolume", {0});
    CallWith(frames[0], "muted", "start");
    // Were the clip's sound heard, it would begin before this one and
    // overlap it.
    AttachedSound(frames[1], "s");
    CallWith(frames[1], "s", "setPan", {-100});
    CallWith(frames[1], "s", "start");
    auto program = LaunchWithControl();
    Play(program, ScriptedSoundMovie(0.25, frames));
    ASSERT_TRUE(device->Advance(1000));
    const auto left = LevelRuns(heard, 0);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_NEAR(double(left[0].second), 11025, 2);
    EXPECT_TRUE(LevelRuns(heard, 1).empty());
}

TEST_F(ControlSound, OnSoundCompleteRunsWhenTheSoundHasPlayedOut) {
    std::vector<swfwriter::ActionWriter> frames(24);
    AttachedSound(frames[0], "s");
    // s.onSoundComplete = function () { this.setVolume(50); this.start(); }
    swfwriter::ActionWriter again;
    CallWith(again, "this", "setVolume", {50});
    CallWith(again, "this", "start");
    frames[0].Push("s").Op(swfwriter::action::GetVariable).Push("onSoundComplete");
    frames[0].DefineFunction("", {}, again).Op(swfwriter::action::SetMember);
    CallWith(frames[0], "s", "start");
    auto program = LaunchWithControl();
    Play(program, ScriptedSoundMovie(0.25, frames));
    ASSERT_TRUE(device->Advance(1000));
    const auto runs = LevelRuns(heard, 0);
    ASSERT_GE(runs.size(), 2u);
    EXPECT_NEAR(double(runs[0].second), 11025, 2);
    EXPECT_NEAR(runs[1].first, runs[0].first / 2, 1);
}

} // namespace

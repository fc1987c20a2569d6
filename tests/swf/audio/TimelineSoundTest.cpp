// Sounds as the runtime's timelines reach them: streamed blocks in their
// frames' periods without gaps (also across a loop and in a clip's own
// timeline), a goto or a stop ending a stream, a removed clip taking its
// sounds with it, and the button sounds of a button's state changes.
#include <gtest/gtest.h>

#include "LevelStream.h"
#include "TestMovies.h"
#include "ToneAnalysis.h"
#include "swf/audio/MovieAudio.h"
#include "swf/audio/OfflineMix.h"
#include "swfwriter/SoundWriter.h"

namespace {

constexpr double FrameRate = 12.0;
constexpr std::size_t PerFrame = 3675; // 44.1 kHz samples in a frame period

using levelstream::Level;

// What each frame period of a mix holds: its one level, or -1 when the
// period holds more than one.
std::vector<int> PeriodLevels(const std::vector<std::int16_t>& stereo) {
    std::vector<int> levels;
    for (std::size_t begin = 0; begin + PerFrame <= tones::Frames(stereo); begin += PerFrame) {
        int level = tones::At(stereo, begin, 0);
        for (std::size_t frame = begin; frame < begin + PerFrame; ++frame) {
            if (tones::At(stereo, frame, 0) != level || tones::At(stereo, frame, 1) != level) {
                level = -1;
                break;
            }
        }
        levels.push_back(level);
    }
    return levels;
}

// A movie and its player with the sound following it, mixed a frame period
// at a time as an output would.
class Rig {
public:
    explicit Rig(const std::vector<std::uint8_t>& bytes)
        : parser(testmovies::Parse(bytes)), player(parser->GetMovie()) {
        audio.Attach(parser->GetMovie());
        player.SetComplete(true);
        player.FramesAdded();
        audio.Follow(player);
    }
    // Mixes the period of the frame shown; then the player ticks.
    int Period(bool tick = true) {
        std::vector<std::int16_t> out(PerFrame * 2);
        audio.GetMixer().Mix(out);
        if (tick) {
            player.Tick();
            audio.Follow(player);
        }
        return PeriodLevels(out).at(0);
    }

    std::unique_ptr<swf::MovieParser> parser;
    swf::MoviePlayer player;
    swf::MovieAudio audio;
};

// Twenty frames of the main timeline; its stream's head is on headFrame and
// the frames from there to lastBlock hold their blocks.
std::vector<std::uint8_t> RootStream(std::size_t headFrame, std::size_t lastBlock) {
    swfwriter::MovieWriter movie(8, 100, 100, FrameRate);
    for (std::size_t frame = 0; frame < 20; ++frame) {
        if (frame == headFrame) {
            levelstream::Head(movie, PerFrame);
        }
        if (frame >= headFrame && frame <= lastBlock) {
            levelstream::Block(movie, frame, PerFrame);
        }
        movie.ShowFrame();
    }
    return movie.Finish();
}

TEST(TimelineSound, StreamBlocksPlayInTheirFramesPeriodsWithoutGapsAndOnAcrossALoop) {
    {
        const auto bytes = RootStream(2, 11);
        const auto parser = testmovies::Parse(bytes);
        const auto levels = PeriodLevels(swf::MixMovie(parser->GetMovie(), 15).samples);
        std::vector<int> expected(15, 0);
        for (std::size_t frame = 2; frame <= 11; ++frame) {
            expected[frame] = Level(frame);
        }
        EXPECT_EQ(levels, expected);
    }
    // The whole timeline streams: the loop goes on with frame 0's block.
    const auto bytes = RootStream(0, 19);
    const auto parser = testmovies::Parse(bytes);
    const auto levels = PeriodLevels(swf::MixMovie(parser->GetMovie(), 45).samples);
    for (std::size_t period = 0; period < levels.size(); ++period) {
        ASSERT_EQ(levels[period], Level(period % 20)) << "period " << period;
    }
}

TEST(TimelineSound, AGotoOrAStopEndsTheStreamAndPlayingOnStartsItFromTheFrameReached) {
    Rig rig(RootStream(0, 19));
    EXPECT_EQ(rig.Period(), Level(0));
    EXPECT_EQ(rig.Period(), Level(1));
    EXPECT_EQ(rig.Period(false), Level(2));

    // The host's goto shows a frame and stops there: nothing streams.
    rig.player.GotoFrame(9);
    rig.audio.Follow(rig.player);
    EXPECT_EQ(rig.Period(false), 0);
    rig.player.Play();
    rig.player.Tick();
    rig.audio.Follow(rig.player);
    EXPECT_EQ(rig.Period(), Level(10));
    EXPECT_EQ(rig.Period(false), Level(11));

    // A goto that plays on starts from its frame's block, not from what
    // the stream had read ahead.
    rig.player.Root().GotoFrame(4, true);
    rig.audio.Follow(rig.player);
    EXPECT_EQ(rig.Period(), Level(4));
    EXPECT_EQ(rig.Period(false), Level(5));

    // Stopped, the timeline's sound stops with it.
    rig.player.Stop();
    rig.audio.Follow(rig.player);
    EXPECT_EQ(rig.Period(), 0);
}

TEST(TimelineSound, AClipsOwnStreamAndSoundsPlayWhileItIsThereAndStopWhenItGoes) {
    swfwriter::MovieWriter movie(8, 100, 100, FrameRate);
    const std::vector<std::int16_t> click(PerFrame, 7);
    const auto clickId = movie.DefineRaw(
        swf::tag::DefineSound, swfwriter::DefineSoundBody({.coding = 3, .rateCode = 3}, PerFrame,
                                                          swfwriter::PcmBytes(click)));
    swfwriter::TimelineWriter sprite;
    for (std::size_t frame = 0; frame < 8; ++frame) {
        if (frame == 0) {
            levelstream::Head(sprite, PerFrame);
        }
        if (frame == 1) {
            sprite.Tag(swf::tag::StartSound, swfwriter::StartSoundBody(clickId, {}));
        }
        levelstream::Block(sprite, frame, PerFrame);
        sprite.ShowFrame();
    }
    const auto spriteId = movie.DefineSprite(sprite);
    movie.ShowFrame();
    movie.Place(1, spriteId);
    movie.ShowFrame();
    movie.ShowFrame();
    movie.ShowFrame();
    movie.Remove(1);
    movie.ShowFrame();
    movie.ShowFrame();
    const auto bytes = movie.Finish();
    const auto parser = testmovies::Parse(bytes);
    const auto levels = PeriodLevels(swf::MixMovie(parser->GetMovie(), 6).samples);
    EXPECT_EQ(levels, (std::vector<int>{0, Level(0), Level(1) + 7, Level(2), 0, 0}));
}

TEST(TimelineSound, AnEventSoundPlaysThroughItsClipsAndTheMoviesSoundTransforms) {
    swfwriter::MovieWriter movie(8, 100, 100, FrameRate);
    const std::vector<std::int16_t> level(PerFrame * 20, 2000);
    const auto id = movie.DefineRaw(
        swf::tag::DefineSound, swfwriter::DefineSoundBody({.coding = 3, .rateCode = 3},
                                                          static_cast<std::uint32_t>(level.size()),
                                                          swfwriter::PcmBytes(level)));
    movie.Tag(swf::tag::StartSound, swfwriter::StartSoundBody(id, {}));
    for (int frame = 0; frame < 10; ++frame) {
        movie.ShowFrame();
    }
    Rig rig(movie.Finish());
    // The next period's first frame, left and right, with transforms as set.
    const auto heard = [&rig] {
        rig.audio.Follow(rig.player);
        std::vector<std::int16_t> out(PerFrame * 2);
        rig.audio.GetMixer().Mix(out);
        return std::pair<int, int>{tones::At(out, 0, 0), tones::At(out, 0, 1)};
    };
    EXPECT_EQ(heard(), (std::pair<int, int>{2000, 2000}));
    rig.player.GlobalSound().volume = 50;
    EXPECT_EQ(heard(), (std::pair<int, int>{1000, 1000}));
    // The root's own transform comes under the movie's: half again, and the
    // left channel sent to the right alone.
    rig.player.Root().SetSoundTransform(
        {.leftToLeft = 0, .leftToRight = 100, .rightToLeft = 0, .rightToRight = 0, .volume = 50});
    EXPECT_EQ(heard(), (std::pair<int, int>{0, 500}));
    rig.player.GlobalSound() = {};
    rig.player.Root().SetSoundTransform({});
    EXPECT_EQ(heard(), (std::pair<int, int>{2000, 2000}));
}

// DefineButton2 showing character in every state, with no actions.
std::vector<std::uint8_t> ButtonBody(std::uint16_t character) {
    return {0,
            0,
            0, // not a menu; no actions
            0x0F,
            static_cast<std::uint8_t>(character),
            static_cast<std::uint8_t>(character >> 8),
            1,
            0,
            0, // depth 1, the identity matrix
            0, // no colour transform
            0};
}

TEST(TimelineSound, AButtonsStateChangesPlayTheSoundsItsButtonSoundGivesThem) {
    swfwriter::MovieWriter movie(8, 100, 100, FrameRate);
    const auto square = movie.DefineShape(testmovies::Square({255, 0, 0}));
    const auto soundOf = [&](std::int16_t level) {
        const std::vector<std::int16_t> samples(PerFrame, level);
        return movie.DefineRaw(swf::tag::DefineSound,
                               swfwriter::DefineSoundBody({.coding = 3, .rateCode = 3}, PerFrame,
                                                          swfwriter::PcmBytes(samples)));
    };
    const auto enter = soundOf(11);
    const auto press = soundOf(22);
    const auto release = soundOf(33);
    const auto button = movie.DefineRaw(swf::tag::DefineButton2, ButtonBody(square));
    // Over up to idle: none; idle to over up; over up to over down; over
    // down to over up.
    std::vector<std::uint8_t> sounds{static_cast<std::uint8_t>(button), 0, 0, 0};
    for (const auto id : {enter, press, release}) {
        sounds.push_back(static_cast<std::uint8_t>(id));
        sounds.push_back(0);
        sounds.push_back(0); // sound info: no fields
    }
    movie.Tag(swf::tag::DefineButtonSound, sounds);
    movie.Place(1, button);
    movie.ShowFrame();
    Rig rig(movie.Finish());

    // The stylus comes over the button, presses it, lifts and goes away;
    // the stage is in twips, the button a 20-pixel square at the origin.
    const auto after = [&](auto input) {
        input();
        rig.audio.Follow(rig.player);
        return rig.Period(false);
    };
    EXPECT_EQ(after([&] { rig.player.PointerMoved(200, 200); }), 11);
    EXPECT_EQ(after([&] { rig.player.PointerDown(200, 200); }), 22);
    EXPECT_EQ(after([&] { rig.player.PointerUp(200, 200); }), 33);
    EXPECT_EQ(after([&] { rig.player.PointerMoved(3000, 3000); }), 0);
}

} // namespace

namespace {

// The MP3 file's frames (MPEG layer III headers), whole.
std::vector<std::span<const std::uint8_t>> Mp3Frames(const std::vector<std::uint8_t>& file) {
    static constexpr int mpeg1Rates[] = {0,   32,  40,  48,  56,  64,  80, 96,
                                         112, 128, 160, 192, 224, 256, 320};
    static constexpr int mpeg2Rates[] = {0,  8,  16, 24,  32,  40,  48, 56,
                                         64, 80, 96, 112, 128, 144, 160};
    static constexpr int hertz[3][3] = {
        {11025, 12000, 8000}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    std::vector<std::span<const std::uint8_t>> frames;
    std::size_t at = 0;
    while (at + 4 <= file.size()) {
        const std::uint8_t* h = &file[at];
        const int version = (h[1] >> 3) & 3; // 0 2.5, 2 MPEG-2, 3 MPEG-1
        const int bitrate = h[2] >> 4;
        const int rate = (h[2] >> 2) & 3;
        if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0 || version == 1 || bitrate == 0 ||
            bitrate == 15 || rate == 3) {
            ++at;
            continue;
        }
        const bool one = version == 3;
        const int kbps = one ? mpeg1Rates[bitrate] : mpeg2Rates[bitrate];
        const int sampleRate = hertz[version == 0 ? 0 : version - 1][rate];
        const std::size_t length = static_cast<std::size_t>(
            (one ? 144 : 72) * kbps * 1000 / sampleRate + ((h[2] >> 1) & 1));
        if (at + length > file.size()) {
            break;
        }
        frames.emplace_back(&file[at], length);
        at += length;
    }
    return frames;
}

} // namespace

TEST(TimelineSound, AStreamWithDamagedMp3BlocksPlaysTheRest) {
    const auto file = testmovies::ReadFileBytes(std::string(VANTREL_TONES_DIR) + "/tone440.mp3");
    const auto frames = Mp3Frames(file);
    ASSERT_GE(frames.size(), 30u); // a second of 576-sample frames at 22,050 Hz
    swfwriter::MovieWriter movie(8, 100, 100, FrameRate);
    movie.Tag(swf::tag::SoundStreamHead2,
              swfwriter::StreamHeadBody({.coding = 2, .rateCode = 2}, 1728));
    std::size_t block = 0;
    for (std::size_t first = 0; first + 3 <= frames.size(); first += 3, ++block) {
        std::vector<std::uint8_t> data;
        for (std::size_t i = first; i < first + 3; ++i) {
            data.insert(data.end(), frames[i].begin(), frames[i].end());
        }
        if (block == 2) {
            std::fill(data.begin() + 4, data.end(), 0x5A); // garbage behind a good header
        } else if (block == 4) {
            data.resize(data.size() / 2); // cut short
        }
        if (block == 6) {
            movie.Tag(swf::tag::SoundStreamBlock,
                      std::vector<std::uint8_t>{0x01}); // no room for its counts
        } else {
            movie.Tag(swf::tag::SoundStreamBlock, swfwriter::Mp3StreamBlockBody(1728, 0, data));
        }
        movie.ShowFrame();
    }
    const auto bytes = movie.Finish();
    const auto parser = testmovies::Parse(bytes);
    const auto mixed = swf::MixMovie(parser->GetMovie(), static_cast<long>(block) + 4);
    EXPECT_NE(mixed.problems, "");
    const auto audible = tones::Audible(mixed.samples);
    ASSERT_TRUE(audible);
    EXPECT_LT(audible->begin, PerFrame);
    // The blocks after the damage play on, at the tone's pitch.
    const std::size_t after = 7 * 1728 * 2;
    ASSERT_GT(audible->end, after + 8000);
    EXPECT_NEAR(tones::Frequency(mixed.samples, after, audible->end - 1000), 440.0, 1.0);
}

TEST(TimelineSound, AnMp3StreamSkipsTheCodersDelayItsHeadAndBlockGive) {
    const auto file = testmovies::ReadFileBytes(std::string(VANTREL_TONES_DIR) + "/tone440.mp3");
    const auto frames = Mp3Frames(file);
    ASSERT_GE(frames.size(), 30u);
    // The encoder's delay, as the defined sound's seek samples give it.
    constexpr std::int16_t Delay = 1105;
    const auto streamStart = [&](std::int16_t latencySeek, std::int16_t seekSamples) {
        swfwriter::MovieWriter movie(8, 100, 100, FrameRate);
        movie.ShowFrame();
        movie.Tag(swf::tag::SoundStreamHead2,
                  swfwriter::StreamHeadBody({.coding = 2, .rateCode = 2}, 1728, latencySeek));
        for (std::size_t first = 0; first + 3 <= frames.size(); first += 3) {
            std::vector<std::uint8_t> data;
            for (std::size_t i = first; i < first + 3; ++i) {
                data.insert(data.end(), frames[i].begin(), frames[i].end());
            }
            movie.Tag(swf::tag::SoundStreamBlock,
                      swfwriter::Mp3StreamBlockBody(1728, first == 0 ? seekSamples : 0, data));
            movie.ShowFrame();
        }
        const auto bytes = movie.Finish();
        const auto parser = testmovies::Parse(bytes);
        const auto audible = tones::Audible(swf::MixMovie(parser->GetMovie(), 8).samples);
        EXPECT_TRUE(audible);
        return audible ? static_cast<long>(audible->begin) - static_cast<long>(PerFrame) : -1L;
    };
    // Without a seek the delay is heard as silence; the head's latency seek
    // or the first block's seek samples take it off.
    EXPECT_GT(streamStart(0, 0), 2 * Delay - 200);
    EXPECT_LT(streamStart(Delay, 0), 16);
    EXPECT_LT(streamStart(0, Delay), 16);
}

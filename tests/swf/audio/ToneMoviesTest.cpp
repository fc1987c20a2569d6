// Writer movies that start a 440 Hz tone on their third frame, in each
// coding: the tone must come out at 440 Hz, at its length, from that frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "TestMovies.h"
#include "ToneAnalysis.h"
#include "swf/audio/FlvReader.h"
#include "swf/audio/OfflineMix.h"
#include "swf/format/TagCodes.h"
#include "swfwriter/SoundWriter.h"

namespace {

constexpr double FrameRate = 10.0;
constexpr int StartFrame = 2; // 0-based: the tone starts two frame periods in

std::vector<std::uint8_t> ToneFile(const std::string& name) {
    return testmovies::ReadFileBytes(std::string(VANTREL_TONES_DIR) + "/" + name);
}

// A movie that starts the sound on StartFrame and runs a few seconds.
std::vector<std::uint8_t> ToneMovie(const std::vector<std::uint8_t>& defineSoundBody) {
    swfwriter::MovieWriter movie(8, 100, 100, FrameRate);
    const auto id = movie.DefineRaw(swf::tag::DefineSound, defineSoundBody);
    for (int frame = 0; frame < 40; ++frame) {
        if (frame == StartFrame) {
            movie.Tag(swf::tag::StartSound, swfwriter::StartSoundBody(id, {}));
        }
        movie.ShowFrame();
    }
    return movie.Finish();
}

// The FLV's audio packets' data, one after the other.
std::vector<std::uint8_t> Packets(const std::vector<std::uint8_t>& flv,
                                  std::size_t most = SIZE_MAX) {
    const auto file = swf::ReadFlv(flv);
    EXPECT_TRUE(file.Ok());
    std::vector<std::uint8_t> data;
    if (file) {
        for (std::size_t i = 0; i < file->audio.size() && i < most; ++i) {
            data.insert(data.end(), file->audio[i].data.begin(), file->audio[i].data.end());
        }
    }
    return data;
}

struct ToneCase {
    const char* name;
    std::vector<std::uint8_t> body;
    std::size_t expectedFrames; // 44.1 kHz frames the tone lasts
    std::size_t startSlack;     // frames a coding may take to rise
    double lengthSlack = 441.0; // frames a coding's delay may take off the end
};

void ExpectTone(const ToneCase& tone) {
    SCOPED_TRACE(tone.name);
    const auto bytes = ToneMovie(tone.body);
    const auto parser = testmovies::Parse(bytes);
    const auto mixed = swf::MixMovie(parser->GetMovie(), 30);
    EXPECT_EQ(mixed.problems, "");
    const auto audible = tones::Audible(mixed.samples);
    ASSERT_TRUE(audible);
    const std::size_t start = swf::PeriodBoundary(FrameRate, StartFrame);
    EXPECT_GE(audible->begin, start);
    EXPECT_LE(audible->begin, start + tone.startSlack);
    const double length = static_cast<double>(audible->end - audible->begin);
    EXPECT_NEAR(length, static_cast<double>(tone.expectedFrames), tone.lengthSlack);
    // Away from the edges, where codings ramp in and out.
    const double hertz =
        tones::Frequency(mixed.samples, audible->begin + 2000, audible->end - 2000);
    EXPECT_NEAR(hertz, 440.0, 1.0);
    // A mono sound plays on both speakers alike.
    for (std::size_t frame = audible->begin; frame < audible->end; frame += 97) {
        ASSERT_EQ(tones::At(mixed.samples, frame, 0), tones::At(mixed.samples, frame, 1));
    }
}

TEST(ToneMovies, EachCodingPlays440HzAtItsLengthFromItsFrame) {
    std::vector<std::int16_t> sine(11025);
    for (std::size_t i = 0; i < sine.size(); ++i) {
        sine[i] = static_cast<std::int16_t>(
            std::lround(12000.0 * std::sin(2.0 * M_PI * 440.0 * static_cast<double>(i) / 11025.0)));
    }
    const swfwriter::SoundFormatFields pcm{.coding = 3, .rateCode = 1};
    ExpectTone({"uncompressed", swfwriter::DefineSoundBody(pcm, 11025, swfwriter::PcmBytes(sine)),
                44100, 8});

    // One ADPCM packet: 4096 samples with one header, as a defined sound holds.
    const swfwriter::SoundFormatFields adpcm{.coding = 1, .rateCode = 1};
    ExpectTone({"ADPCM",
                swfwriter::DefineSoundBody(adpcm, 4096, Packets(ToneFile("tone440-adpcm.flv"), 1)),
                4096 * 4, 40});

    // Nellymoser's coding delays the sound by part of a block of 256 samples.
    const swfwriter::SoundFormatFields nellymoser{.coding = 6, .rateCode = 1};
    ExpectTone(
        {"Nellymoser",
         swfwriter::DefineSoundBody(nellymoser, 11025, Packets(ToneFile("tone440-nellymoser.flv"))),
         44100, 1024, 1024.0});

    // The encoder's delay is the MP3's seek samples, as authoring tools write them.
    const swfwriter::SoundFormatFields mp3{.coding = 2, .rateCode = 2};
    ExpectTone(
        {"MP3", swfwriter::DefineSoundBody(mp3, 22050, ToneFile("tone440.mp3"), 1105), 44100, 8});
}

} // namespace

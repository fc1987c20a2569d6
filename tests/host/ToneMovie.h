// A movie that sounds a 440 Hz tone, uncompressed at 22,050 Hz, from its first
// frame for seconds seconds, and the measures the sound tests take of what
// came out (16-bit stereo at 44.1 kHz).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "ToneAnalysis.h"
#include "swfwriter/MovieWriter.h"
#include "swfwriter/SoundWriter.h"

namespace host::testing {

inline std::string ToneMovie(double seconds, int amplitude = 16000) {
    const auto count = static_cast<std::size_t>(seconds * 22050);
    std::vector<std::int16_t> sine(count);
    for (std::size_t i = 0; i < count; ++i) {
        sine[i] = static_cast<std::int16_t>(std::lround(
            amplitude * std::sin(2.0 * M_PI * 440.0 * static_cast<double>(i) / 22050.0)));
    }
    swfwriter::MovieWriter movie(8, 100, 100, 12.0);
    const auto id =
        movie.DefineRaw(14, swfwriter::DefineSoundBody({.coding = 3, .rateCode = 2},
                                                       static_cast<std::uint32_t>(count),
                                                       swfwriter::PcmBytes(sine)));
    movie.Tag(15, swfwriter::StartSoundBody(id, {}));
    // One frame: the timeline never enters it again, so the tone sounds once.
    movie.ShowFrame();
    const auto bytes = movie.Finish();
    return {bytes.begin(), bytes.end()};
}

struct Heard {
    std::size_t firstFrame = 0;     // the first loud frame
    std::size_t loudFrames = 0;     // frames from the first loud one to the last
    std::size_t unbrokenFrames = 0; // the longest stretch without a gap in it
    double hertz = 0.0;             // of the left channel over that stretch
    int peak = 0;
};

// What the left channel of stereo samples holds; nothing when it is silent.
inline std::optional<Heard> Listen(const std::vector<std::int16_t>& stereo) {
    const auto audible = tones::Audible(stereo, 0, 1000);
    if (!audible) {
        return std::nullopt;
    }
    Heard heard;
    heard.firstFrame = audible->begin;
    heard.loudFrames = audible->end - audible->begin;
    const auto unbroken = tones::LongestUnbroken(stereo, *audible);
    heard.unbrokenFrames = unbroken.end - unbroken.begin;
    heard.hertz = tones::Frequency(stereo, unbroken.begin, unbroken.end);
    for (std::size_t frame = 0; frame < tones::Frames(stereo); ++frame) {
        heard.peak = std::max(heard.peak, std::abs(int{tones::At(stereo, frame, 0)}));
    }
    return heard;
}

} // namespace host::testing

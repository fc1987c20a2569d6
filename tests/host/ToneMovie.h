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

// Samples of 16-bit stereo bytes (a WAV file's data, or raw output).
inline std::vector<std::int16_t> Samples(const std::string& bytes, std::size_t skip = 0) {
    std::vector<std::int16_t> samples;
    for (std::size_t at = skip; at + 1 < bytes.size(); at += 2) {
        samples.push_back(static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                                    static_cast<std::uint8_t>(bytes[at + 1]) << 8));
    }
    return samples;
}

struct Heard {
    std::size_t firstFrame = 0; // the first loud frame
    std::size_t loudFrames = 0; // frames from the first loud one to the last
    double hertz = 0.0;         // of the left channel over the loud part
    int peak = 0;
};

// What the left channel of stereo samples holds.
inline std::optional<Heard> Listen(const std::vector<std::int16_t>& stereo) {
    std::optional<std::size_t> first;
    std::size_t last = 0;
    Heard heard;
    for (std::size_t frame = 0; 2 * frame < stereo.size(); ++frame) {
        const int sample = stereo[2 * frame];
        heard.peak = std::max(heard.peak, std::abs(sample));
        if (std::abs(sample) > 1000) {
            first = first.value_or(frame);
            last = frame;
        }
    }
    if (!first) {
        return std::nullopt;
    }
    heard.firstFrame = *first;
    heard.loudFrames = last - *first + 1;
    std::optional<double> firstCrossing;
    double lastCrossing = 0.0;
    int crossings = 0;
    for (std::size_t frame = *first + 1; frame <= last; ++frame) {
        const double before = stereo[2 * (frame - 1)];
        const double now = stereo[2 * frame];
        if (before < 0.0 && now >= 0.0) {
            const double at = static_cast<double>(frame - 1) + before / (before - now);
            firstCrossing = firstCrossing.value_or(at);
            lastCrossing = at;
            ++crossings;
        }
    }
    if (firstCrossing && crossings > 1) {
        heard.hertz = (crossings - 1) * 44100.0 / (lastCrossing - *firstCrossing);
    }
    return heard;
}

} // namespace host::testing

// Measures what a test hears in 44.1 kHz stereo: a mix, a WAV file's data,
// what a speaker was fed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tones {

// One channel's samples, from interleaved stereo.
inline std::int16_t At(std::span<const std::int16_t> stereo, std::size_t frame, int channel) {
    return stereo[2 * frame + static_cast<std::size_t>(channel)];
}

inline std::size_t Frames(std::span<const std::int16_t> stereo) {
    return stereo.size() / 2;
}

// The first and one past the last frame louder than threshold on channel.
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
};
inline std::optional<Span> Audible(std::span<const std::int16_t> stereo, int channel = 0,
                                   int threshold = 200) {
    std::optional<Span> found;
    for (std::size_t frame = 0; frame < Frames(stereo); ++frame) {
        if (std::abs(At(stereo, frame, channel)) > threshold) {
            if (!found) {
                found = Span{frame, frame + 1};
            }
            found->end = frame + 1;
        }
    }
    return found;
}

// The frequency of a tone between two frames, from its upward zero
// crossings (interpolated between samples), in hertz.
inline double Frequency(std::span<const std::int16_t> stereo, std::size_t begin, std::size_t end,
                        int channel = 0) {
    std::optional<double> first;
    double last = 0.0;
    int crossings = 0;
    for (std::size_t frame = begin + 1; frame < end; ++frame) {
        const double before = At(stereo, frame - 1, channel);
        const double now = At(stereo, frame, channel);
        if (before < 0.0 && now >= 0.0) {
            const double at = static_cast<double>(frame - 1) + before / (before - now);
            if (!first) {
                first = at;
            }
            last = at;
            ++crossings;
        }
    }
    if (!first || crossings < 2) {
        return 0.0;
    }
    return (crossings - 1) * 44100.0 / (last - *first);
}

// The longest stretch between begin and end with no gap: no run of gapFrames
// frames or more that are exactly 0 on channel. A speaker that ran dry for a
// moment (a host too busy to feed it) fills the moment with such silence.
inline Span LongestUnbroken(std::span<const std::int16_t> stereo, Span within, int channel = 0,
                            std::size_t gapFrames = 32) {
    Span best{within.begin, within.begin};
    std::size_t start = within.begin; // where the stretch in hand began
    std::size_t zeros = 0;            // zeros just before the frame
    for (std::size_t frame = within.begin; frame < within.end; ++frame) {
        if (At(stereo, frame, channel) == 0) {
            ++zeros;
            continue;
        }
        if (zeros >= gapFrames) {
            start = frame;
        }
        zeros = 0;
        if (frame + 1 - start > best.end - best.begin) {
            best = Span{start, frame + 1};
        }
    }
    return best;
}

// Samples of 16-bit little-endian stereo bytes (a WAV file's data, a raw
// recording), from skip on.
inline std::vector<std::int16_t> Samples(const std::string& bytes, std::size_t skip = 0) {
    std::vector<std::int16_t> samples;
    for (std::size_t at = skip; at + 1 < bytes.size(); at += 2) {
        samples.push_back(static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                                    static_cast<std::uint8_t>(bytes[at + 1]) << 8));
    }
    return samples;
}

} // namespace tones

// Decoded sound: 16-bit sample frames, the channels interleaved, at the rate
// the coded sound has. What the decoder gives and the mixer plays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace swf {

struct PcmSound {
    double rate = 44100.0; // sample frames per second
    int channels = 1;      // 1 or 2
    std::vector<std::int16_t> samples;

    std::size_t Frames() const { return samples.size() / static_cast<std::size_t>(channels); }
    // Channel 0 is left; a mono sound gives its one channel for both.
    std::int16_t Sample(std::size_t frame, int channel) const {
        return samples[frame * static_cast<std::size_t>(channels) +
                       static_cast<std::size_t>(channel < channels ? channel : 0)];
    }
};

} // namespace swf

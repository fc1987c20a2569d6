// Flash brings a sound to 44.1 kHz by holding each sample for as long as it
// lasts: output frame n plays the source frame that is sounding at n / 44100
// seconds, with no interpolation (the reference sounds match this exactly).
// Positions are counted in output frames from the sound's start.
#pragma once

#include <cstddef>
#include <cstdint>

namespace swf {

class HoldResampler {
public:
    // rate: the source's frames per second (5512.5 is 44100 / 8).
    explicit HoldResampler(double rate);

    // The source frame that sounds at output frame position.
    std::uint64_t SourceFrame(std::uint64_t position) const {
        return position * halfHertz / outputHalfHertz;
    }
    // The output frames that sourceFrames source frames last (rounded up).
    std::uint64_t OutputFrames(std::uint64_t sourceFrames) const {
        return (sourceFrames * outputHalfHertz + halfHertz - 1) / halfHertz;
    }

private:
    // Rates in half hertz, so that 5512.5 is exact.
    std::uint64_t halfHertz;
    static constexpr std::uint64_t outputHalfHertz = 2 * 44100;
};

} // namespace swf

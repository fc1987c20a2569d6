// The control's sound out of the device's wave output: it opens the output
// when the movie first has something to play (a movie without sound leaves
// the device alone), keeps a few buffers queued, and refills each with the
// mixer's next frames as the device hands it back (MM_WOM_DONE to the
// control's window). A device with no wave output plays the movie silently:
// the mixer is still drawn from in device time, so that sounds end when
// they would have been heard to.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Sound.h"
#include "platform/Window.h"
#include "swf/audio/Mixer.h"

namespace swf {

class WaveSpeaker {
public:
    // Frames a buffer holds, and the buffers queued: about 93 ms ahead.
    static constexpr std::size_t BufferFrames = 1024;
    static constexpr std::size_t BufferCount = 4;

    WaveSpeaker() = default;
    ~WaveSpeaker();
    WaveSpeaker(const WaveSpeaker&) = delete;
    WaveSpeaker& operator=(const WaveSpeaker&) = delete;

    // After each tick: opens the output once the mixer has voices (window
    // gets the output's messages). When the movie changed (generation),
    // what was queued for the one before is dropped at once.
    void Feed(HWND window, Mixer& mixer, std::uint64_t generation);
    // MM_WOM_DONE from an output: the buffer goes back to the device with
    // the next frames.
    void BufferDone(HWAVEOUT from, WAVEHDR* header, Mixer& mixer);
    // Stops and closes the output (the window goes).
    void Close();
    bool Open() const { return output != nullptr; }
    // The mixer frames queued on the output that have not been heard yet;
    // nothing while no output is open.
    std::optional<std::uint64_t> Unheard() const;

private:
    void Refill(WAVEHDR& header, Mixer& mixer);
    // Without an output: mixes what device time has played, into nothing.
    void Drain(Mixer& mixer);

    HWAVEOUT output = nullptr;
    bool unavailable = false; // the device has no output to give
    std::uint64_t generation = 0;
    std::uint64_t written = 0;               // frames written since the open or the last reset
    std::optional<std::uint64_t> drainStart; // device milliseconds
    std::uint64_t drained = 0;               // frames drained since then
    std::vector<std::int16_t> drainBuffer;
    std::array<WAVEHDR, BufferCount> headers{};
    std::array<std::vector<std::int16_t>, BufferCount> buffers;
};

} // namespace swf

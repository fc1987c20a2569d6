// A streamed sound playing: the timeline hands it each block's samples as
// the frames holding them are reached, and it plays them without a gap.
// When the blocks come late it waits for them (the sound pauses rather
// than skipping); the timeline reads how far it has played to keep up.
#pragma once

#include <deque>
#include <optional>

#include "swf/audio/EventVoice.h"
#include "swf/audio/PcmSound.h"
#include "swf/audio/Resampling.h"
#include "swf/audio/Voice.h"

namespace swf {

class StreamVoice : public Voice {
public:
    StreamVoice() = default;

    // Appends decoded samples; the first block sets the rate and channels
    // (later blocks of another shape are brought to them frame by frame).
    void Append(const PcmSound& block);
    // No more blocks: the voice ends once it has played what it holds.
    void End() { ended = true; }
    bool Ended() const { return ended; }

    bool MixInto(std::span<std::int32_t> mix) override;

    void SetTransform(const SoundTransform& value) override { soundTransform = value; }
    // Output frames played (waiting for blocks does not count).
    std::uint64_t Played() const { return position; }
    // Output frames of the blocks appended so far.
    std::uint64_t Received() const;

private:
    std::optional<HoldResampler> resampler;
    int channels = 1;
    std::deque<std::int16_t> samples; // source frames from `first` on, interleaved
    std::uint64_t first = 0;          // the source frame samples starts with
    std::uint64_t received = 0;       // source frames appended
    std::uint64_t position = 0;       // output frames played
    SoundTransform soundTransform;
    bool ended = false;
};

} // namespace swf

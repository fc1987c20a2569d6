// An event sound playing: a decoded sound with its sound info record (in and
// out points, loops, envelope), held to 44.1 kHz as Flash does.
#pragma once

#include <memory>

#include "swf/audio/PcmSound.h"
#include "swf/audio/Resampling.h"
#include "swf/audio/SoundTags.h"
#include "swf/audio/Voice.h"

namespace swf {

class EventVoice : public Voice {
public:
    EventVoice(std::shared_ptr<const PcmSound> sound, const SoundInfo& info);

    bool MixInto(std::span<std::int32_t> mix) override;

    void SetTransform(const SoundTransform& value) override { soundTransform = value; }
    // Output frames played since the start, loops included.
    std::uint64_t Elapsed() const { return elapsed; }
    // Where in the sound it plays, in output frames from the sound's start.
    std::uint64_t Position() const { return position; }
    // The sound's whole length, in output frames.
    std::uint64_t Length() const { return length; }

private:
    // The envelope's levels (0 to 32768) at a position.
    std::pair<std::int32_t, std::int32_t> Levels(std::uint64_t at) const;

    std::shared_ptr<const PcmSound> sound;
    HoldResampler resampler;
    std::vector<EnvelopePoint> envelope;
    SoundTransform soundTransform;
    std::uint64_t length;    // the sound, in output frames
    std::uint64_t start;     // where each loop starts (the in point)
    std::uint64_t end;       // where each loop ends (the out point, or the sound's end)
    std::uint32_t loopsLeft; // after this one
    std::uint64_t position;  // in output frames from the sound's start
    std::uint64_t elapsed = 0;
};

// Adds a frame (left, right) to a mix through a pan, as Flash pans and
// mixes: the pan's percentages, then its volume.
void MixFrame(std::int32_t left, std::int32_t right, const SoundTransform& pan, std::int32_t* mix);

} // namespace swf

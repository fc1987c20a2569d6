// A sound the mixer plays: it adds its next sample frames, already at the
// mixer's 44.1 kHz, into the mix. Event sounds and streams are its kinds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "swf/runtime/SoundControl.h"

namespace swf {

// The mixer's rate: every sound is brought to it.
constexpr int MixRate = 44100;

class Voice {
public:
    virtual ~Voice() = default;
    // Adds the voice's next frames to mix (left and right interleaved, one
    // pair per frame, full scale 32767 per sound); false once it has ended
    // (the frames after its end are left alone).
    virtual bool MixInto(std::span<std::int32_t> mix) = 0;
    // What the voice's channels pass through from now on.
    virtual void SetTransform(const SoundTransform& value) = 0;
};

} // namespace swf

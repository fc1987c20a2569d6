// What scripts do to the movie's sound, declared here so that the script
// engine and the mixer need not see each other: the transformation each clip's
// sounds pass through (and the movie's own, over every sound), and the
// sounds a script starts. Whoever plays the movie with sound gives the
// player a SoundPlayback; without one, scripts start nothing.
#pragma once

#include <cstdint>
#include <optional>

#include "swf/format/Basics.h"
#include "swf/runtime/DisplayHandle.h"

namespace swf {

// How a sound's two channels reach the speakers, in percent, as scripts set
// it: leftToLeft, leftToRight, rightToLeft, rightToRight; volume scales all.
// Scripts may store any 32-bit value and read it back as they stored it.
struct SoundTransform {
    std::int32_t leftToLeft = 100;
    std::int32_t leftToRight = 0;
    std::int32_t rightToLeft = 0;
    std::int32_t rightToRight = 100;
    std::int32_t volume = 100;
    bool operator==(const SoundTransform&) const = default;
};

// outer applied after inner (a parent's transformation over its child's), as a
// single transformation: the channel matrices multiply, as do the volumes.
SoundTransform CombineSoundTransforms(const SoundTransform& outer, const SoundTransform& inner);

using SoundVoiceId = std::uint64_t;

// The sounds scripts start, as the mixer plays them.
class SoundPlayback {
public:
    virtual ~SoundPlayback() = default;
    // Starts the movie's defined sound for owner (none: the movie's own
    // sound), offsetSeconds into it, played loops times in all; 0 when
    // nothing started (not a sound, or nothing to hear).
    virtual SoundVoiceId StartScriptSound(std::optional<DisplayHandle> owner, CharacterId sound,
                                          double offsetSeconds, int loops) = 0;
    // Stops the sounds scripts started for owner (none: every sound of the
    // movie, the timelines' too), or only those playing sound.
    virtual void StopScriptSounds(std::optional<DisplayHandle> owner,
                                  std::optional<CharacterId> sound) = 0;
    virtual bool VoicePlaying(SoundVoiceId voice) const = 0;
    // How far into its sound the voice is, in milliseconds.
    virtual double VoicePositionMs(SoundVoiceId voice) const = 0;
};

} // namespace swf

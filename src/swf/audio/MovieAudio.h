// The sound of a playing movie, for whatever plays it (the control on the
// device, swfsound, the tests): the mixer, and the movie's sounds fed from
// what happens in its player (frames entered, sound tags reached, buttons
// changing state, clips stopping and leaving). The output pulls the mixer.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <unordered_map>

#include "swf/audio/Mixer.h"
#include "swf/audio/MovieSound.h"
#include "swf/format/Movie.h"
#include "swf/runtime/MoviePlayer.h"
#include "swf/runtime/SoundControl.h"

namespace swf {

class MovieAudio final : public SoundPlayback {
public:
    // A movie starts playing (movie is borrowed until Detach); the previous
    // one's sounds stop.
    void Attach(const Movie& movie);
    // The movie goes: its sounds stop.
    void Detach();

    // After the player moved (a tick, a goto, the first frame shown, a play
    // state changed): takes the player's events and plays what they start.
    void Follow(MoviePlayer& player);
    // The same with the events already taken from player. Each sound then
    // plays through the sound settings (volume, pan, channel mix) of the
    // clip that started it, its parents' and the movie's own.
    void Follow(const MoviePlayer& player, std::span<const RuntimeEvent> events);

    SoundVoiceId StartScriptSound(std::optional<DisplayHandle> owner, CharacterId sound,
                                  double offsetSeconds, int loops) override;
    void StopScriptSounds(std::optional<DisplayHandle> owner,
                          std::optional<CharacterId> sound) override;
    bool VoicePlaying(SoundVoiceId voice) const override;
    double VoicePositionMs(SoundVoiceId voice) const override;

    // How many frames the main timeline's streamed sound, as heard, is ahead
    // of the timeline (see MovieSound::StreamLead); nothing without one.
    std::optional<long> RootStreamLead(const MoviePlayer& player, std::uint64_t unheard) const;

    Mixer& GetMixer() { return mixer; }
    // Changes whenever a movie comes or goes: what an output queued ahead
    // for the movie before is stale then.
    std::uint64_t Generation() const { return generation; }
    // Null while no movie is attached.
    MovieSound* Sounds() { return sounds.get(); }

private:
    void ButtonChanged(const MoviePlayer& player, const ButtonStateChanged& change);
    void ApplyTransforms(const MoviePlayer& player);

    // Who started an event sound: the clip (or button) whose sound settings
    // it plays through, none for the movie's own sound; and which sound.
    struct Started {
        std::optional<DisplayHandle> owner;
        CharacterId sound = 0;
        bool byScript = false;
    };

    Mixer mixer;
    std::unordered_map<VoiceId, Started> started;
    std::unique_ptr<MovieSound> sounds;
    std::uint64_t generation = 0;
};

} // namespace swf

// A movie's sound: the sound tags its timelines reach (event sounds, stream
// heads and blocks) and the button sounds, played through the mixer. It
// decodes each defined sound once, on its first start. Every clip's
// timeline may have a stream of its own; clips are known by a key the
// runtime gives them (a display handle's value).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "swf/audio/Mixer.h"
#include "swf/audio/PcmSound.h"
#include "swf/audio/SoundDecoder.h"
#include "swf/audio/SoundTags.h"
#include "swf/format/Movie.h"

namespace swf {

using ClipKey = std::uint64_t;

class MovieSound {
public:
    // movie and mixer are borrowed and outlive this.
    MovieSound(const Movie& movie, Mixer& mixer);
    ~MovieSound();
    MovieSound(const MovieSound&) = delete;
    MovieSound& operator=(const MovieSound&) = delete;

    // A sound tag of a frame that clip entered: StartSound, StartSound2,
    // SoundStreamHead(2) or SoundStreamBlock. Damaged tags are skipped.
    void TagReached(ClipKey clip, const RawTag& tag);
    // Starts (or, with info.stop, stops) a defined sound; 0 when nothing
    // started. Button sounds and scripts come here.
    VoiceId Start(CharacterId sound, const SoundInfo& info);
    // The sound of an exported class name (StartSound2), if any.
    std::optional<CharacterId> SoundOfClass(const std::string& className) const;

    // The clip's stream stops (a goto, the clip removed); the next block
    // starts it again.
    void StopStream(ClipKey clip);
    // Everything stops, as when the movie is stopped or unloaded.
    void StopAll();

    // How far the clip's stream has played, in its timeline's frames since
    // the stream started (fractional); nothing when the clip has no stream
    // playing. The timeline follows this.
    std::optional<double> StreamFramesPlayed(ClipKey clip) const;
    // The decoded samples of a defined sound (empty when it is not a sound
    // or could not be decoded); decoded once.
    std::shared_ptr<const PcmSound> Decoded(CharacterId sound);
    // Problems met (damaged tags, sounds that would not decode), one a line.
    const std::string& Problems() const { return problems; }

private:
    struct Stream;
    void StreamHeadReached(ClipKey clip, const RawTag& tag);
    void StreamBlockReached(ClipKey clip, const RawTag& tag);
    void Note(const std::string& problem);

    const Movie& movie;
    Mixer& mixer;
    std::unordered_map<CharacterId, std::shared_ptr<const PcmSound>> decoded;
    std::unordered_map<ClipKey, std::unique_ptr<Stream>> streams;
    std::string problems;
};

} // namespace swf

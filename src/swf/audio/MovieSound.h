// A movie's sound: the sound tags its timelines reach (event sounds, stream
// heads and blocks) and the button sounds, played through the mixer. It
// decodes each defined sound once, on its first start. Every clip's
// timeline may have a stream of its own; clips are known by a key the
// runtime gives them (a display handle's value).
//
// A stream reads ahead: when a block is reached, the blocks of the frames
// after it are decoded too, a quarter of a second's worth, so that the
// output never waits for the timeline and the timeline can follow what is
// heard (see StreamLead).
#pragma once

#include <cstdint>
#include <map>
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

// Where a clip's timeline is: the frames it plays and the one it entered.
struct TimelinePlace {
    const Timeline* timeline = nullptr; // borrowed from the movie
    std::size_t frame = 0;
};

class MovieSound {
public:
    // Mixer frames a stream decodes ahead of what has been mixed.
    static constexpr std::uint64_t ReadAheadFrames = MixRate / 4;

    // movie and mixer are borrowed and outlive this.
    MovieSound(const Movie& movie, Mixer& mixer);
    ~MovieSound();
    MovieSound(const MovieSound&) = delete;
    MovieSound& operator=(const MovieSound&) = delete;

    // The clip entered a frame (jumped: by a goto, which stops its stream).
    // A stream whose timeline enters a frame without its block plays out
    // what it holds and ends.
    // place.timeline is null when the clip has gone since.
    void FrameEntered(ClipKey clip, const TimelinePlace& place, const Frame& entered, bool jumped);
    // A sound tag of a frame that clip entered: StartSound, StartSound2,
    // SoundStreamHead(2) or SoundStreamBlock. place is where the clip is,
    // for a stream to read ahead (none: it reads no further than the block).
    // Damaged tags are skipped. Returns the event sound's voice, if one
    // started.
    VoiceId TagReached(ClipKey clip, const RawTag& tag, const TimelinePlace* place = nullptr);
    // Starts (or, with info.stop, stops) a defined sound; 0 when nothing
    // started. Button sounds and scripts come here.
    VoiceId Start(CharacterId sound, const SoundInfo& info);
    // The sound of an exported class name (StartSound2), if any.
    std::optional<CharacterId> SoundOfClass(const std::string& className) const;

    // The clip's stream stops (a goto, the clip stopped); the next block
    // starts it again.
    void StopStream(ClipKey clip);
    // The clip is gone: its stream stops and is forgotten.
    void ForgetClip(ClipKey clip);
    // Everything stops, as when the movie is stopped or unloaded.
    void StopAll();
    // The clips that have a stream playing.
    std::vector<ClipKey> StreamingClips() const;
    // The voice of the clip's stream (0: none plays).
    VoiceId StreamVoiceOf(ClipKey clip) const;

    // How many frames the clip's stream, as heard, is ahead of the frame its
    // timeline entered last (negative: behind). unheard is the mixer frames
    // the output holds that have not been heard yet. Nothing when the clip
    // has no stream playing, or the stream has run out of blocks: then the
    // timeline goes by the clock.
    std::optional<long> StreamLead(ClipKey clip, std::uint64_t unheard) const;
    // The decoded samples of a defined sound (empty when it is not a sound
    // or could not be decoded); decoded once.
    std::shared_ptr<const PcmSound> Decoded(CharacterId sound);
    // Problems met (damaged tags, sounds that would not decode), one a line.
    const std::string& Problems() const { return problems; }

private:
    struct Stream;
    void StreamHeadReached(ClipKey clip, const RawTag& tag);
    void StreamBlockReached(ClipKey clip, const RawTag& tag, const TimelinePlace* place);
    // Decodes a block into the stream's voice, starting the voice when none
    // plays; false when the block is damaged.
    bool Feed(Stream& stream, const RawTag& tag, std::optional<std::size_t> frame);
    void ReadAhead(Stream& stream, const TimelinePlace& place);
    void Note(const std::string& problem);

    const Movie& movie;
    Mixer& mixer;
    std::unordered_map<CharacterId, std::shared_ptr<const PcmSound>> decoded;
    std::unordered_map<ClipKey, std::unique_ptr<Stream>> streams;
    std::string problems;
};

} // namespace swf

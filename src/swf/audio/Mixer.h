// The one mixer: the output asks it for sample frames at 44.1 kHz stereo,
// and it asks each playing voice for its frames, adds them and clips the sum
// to 16 bits. Voices are known by an id; event sounds also by the sound
// they play (a key), for "no multiple" and for stopping a sound everywhere.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "swf/audio/Voice.h"

namespace swf {

using VoiceId = std::uint64_t;

// What a voice plays, for stopping it or asking whether it plays: the owner
// (a movie, or a script's sound object) and the sound's id within it.
struct SoundKey {
    const void* owner = nullptr;
    std::uint32_t sound = 0;
    bool operator==(const SoundKey&) const = default;
};

class Mixer {
public:
    // Starts a voice; it plays from the next frame mixed.
    VoiceId Play(std::unique_ptr<Voice> voice, SoundKey key = {});
    void Stop(VoiceId id);
    // Stops every voice playing that sound.
    void Stop(const SoundKey& key);
    // Stops every voice of the owner (all its sounds).
    void StopOwner(const void* owner);
    void StopAll() { voices.clear(); }

    bool Playing(VoiceId id) const { return Find(id) != nullptr; }
    bool Playing(const SoundKey& key) const;
    // The voice, while it plays; nullptr once it has ended or been stopped.
    Voice* Find(VoiceId id) const;
    std::size_t VoiceCount() const { return voices.size(); }

    // Mixes the next frames: left and right interleaved; voices that end
    // are let go.
    void Mix(std::span<std::int16_t> out);
    // Frames mixed since the mixer was made.
    std::uint64_t FramesMixed() const { return framesMixed; }

private:
    struct Entry {
        VoiceId id;
        SoundKey key;
        std::unique_ptr<Voice> voice;
    };
    std::vector<Entry> voices;
    std::vector<std::int32_t> sum;
    VoiceId nextId = 1;
    std::uint64_t framesMixed = 0;
};

} // namespace swf

#include "swf/audio/Mixer.h"

#include <algorithm>

namespace swf {

VoiceId Mixer::Play(std::unique_ptr<Voice> voice, SoundKey key) {
    const VoiceId id = nextId++;
    voices.push_back(Entry{id, key, std::move(voice)});
    return id;
}

void Mixer::Stop(VoiceId id) {
    std::erase_if(voices, [id](const Entry& entry) { return entry.id == id; });
}

void Mixer::Stop(const SoundKey& key) {
    std::erase_if(voices, [&key](const Entry& entry) { return entry.key == key; });
}

void Mixer::StopOwner(const void* owner) {
    std::erase_if(voices, [owner](const Entry& entry) { return entry.key.owner == owner; });
}

bool Mixer::Playing(const SoundKey& key) const {
    return std::any_of(voices.begin(), voices.end(),
                       [&key](const Entry& entry) { return entry.key == key; });
}

Voice* Mixer::Find(VoiceId id) const {
    const auto found = std::find_if(voices.begin(), voices.end(),
                                    [id](const Entry& entry) { return entry.id == id; });
    return found == voices.end() ? nullptr : found->voice.get();
}

void Mixer::Mix(std::span<std::int16_t> out) {
    sum.assign(out.size(), 0);
    std::erase_if(voices, [this](Entry& entry) { return !entry.voice->MixInto(sum); });
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<std::int16_t>(std::clamp(sum[i], -32768, 32767));
    }
    framesMixed += out.size() / 2;
}

} // namespace swf

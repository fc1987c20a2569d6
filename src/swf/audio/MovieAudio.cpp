#include "swf/audio/MovieAudio.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

#include "swf/audio/EventVoice.h"

#include "swf/runtime/ButtonObject.h"
#include "swf/runtime/MovieClip.h"

namespace swf {

namespace {

template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
// Spelt out for compilers that do not deduce an aggregate's arguments.
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

// The sound DefineButtonSound gives a state change, if any.
const ButtonSound* SoundOfChange(const ButtonSounds& sounds, ButtonState from, ButtonState to) {
    struct Transition {
        ButtonState from;
        ButtonState to;
        const ButtonSound ButtonSounds::*sound;
    };
    static constexpr Transition transitions[] = {
        {ButtonState::Over, ButtonState::Up, &ButtonSounds::overUpToIdle},
        {ButtonState::Up, ButtonState::Over, &ButtonSounds::idleToOverUp},
        {ButtonState::Over, ButtonState::Down, &ButtonSounds::overUpToOverDown},
        {ButtonState::Down, ButtonState::Over, &ButtonSounds::overDownToOverUp},
    };
    for (const Transition& transition : transitions) {
        if (transition.from == from && transition.to == to) {
            return &(sounds.*transition.sound);
        }
    }
    return nullptr;
}

const MovieClip* ClipOf(const MoviePlayer& player, DisplayHandle handle) {
    const DisplayObject* object = player.Find(handle);
    return object != nullptr && object->Kind() == DisplayKind::MovieClip
               ? static_cast<const MovieClip*>(object)
               : nullptr;
}

} // namespace

void MovieAudio::Attach(const Movie& value) {
    Detach();
    sounds = std::make_unique<MovieSound>(value, mixer);
}

void MovieAudio::Detach() {
    if (sounds) {
        ++generation;
    }
    sounds.reset();
    started.clear();
}

void MovieAudio::Follow(MoviePlayer& player) {
    const auto events = player.TakeEvents();
    Follow(player, events);
}

void MovieAudio::Follow(const MoviePlayer& player, std::span<const RuntimeEvent> events) {
    if (!sounds) {
        return;
    }
    // Where each clip's timeline is, as its frames are entered: its stream
    // reads ahead from there.
    std::unordered_map<ClipKey, TimelinePlace> places;
    const auto placeOf = [&](DisplayHandle clip) -> const TimelinePlace* {
        const auto found = places.find(clip.id);
        return found == places.end() ? nullptr : &found->second;
    };
    for (const RuntimeEvent& event : events) {
        std::visit(Overloaded{
                       [&](const FrameEntered& entered) {
                           const MovieClip* clip = ClipOf(player, entered.clip);
                           const TimelinePlace place{clip ? clip->GetTimeline() : nullptr,
                                                     entered.frameIndex};
                           places[entered.clip.id] = place;
                           if (entered.frame != nullptr) {
                               sounds->FrameEntered(entered.clip.id, place, *entered.frame,
                                                    entered.jumped);
                           }
                       },
                       [&](const EventSoundStarted& reached) {
                           const VoiceId voice = sounds->TagReached(reached.clip.id, *reached.tag);
                           if (voice != 0) {
                               started[voice] = Started{reached.clip, 0, false};
                           }
                       },
                       [&](const SoundStreamReached& reached) {
                           // A clip gone by the end of the tick streams no more.
                           const TimelinePlace* place = placeOf(reached.clip);
                           if (place != nullptr && place->timeline != nullptr) {
                               sounds->TagReached(reached.clip.id, *reached.tag, place);
                           }
                       },
                       [&](const ObjectRemoved& removed) { sounds->ForgetClip(removed.object.id); },
                       [&](const ButtonStateChanged& change) { ButtonChanged(player, change); },
                       [](const ObjectCreated&) {},
                   },
                   event);
    }
    // A stream plays while its timeline does.
    for (const ClipKey clip : sounds->StreamingClips()) {
        const MovieClip* owner = ClipOf(player, DisplayHandle{clip});
        if (owner == nullptr) {
            sounds->ForgetClip(clip);
        } else if (!owner->Playing()) {
            sounds->StopStream(clip);
        }
    }
    ApplyTransforms(player);
}

void MovieAudio::ApplyTransforms(const MoviePlayer& player) {
    const auto through = [&player](std::optional<DisplayHandle> owner) {
        SoundTransform combined;
        const DisplayObject* object = owner ? player.Find(*owner) : nullptr;
        for (; object != nullptr; object = object->Parent()) {
            combined = CombineSoundTransforms(object->GetSoundTransform(), combined);
        }
        return CombineSoundTransforms(player.GlobalSound(), combined);
    };
    for (auto it = started.begin(); it != started.end();) {
        Voice* voice = mixer.Find(it->first);
        if (voice == nullptr) {
            it = started.erase(it);
            continue;
        }
        voice->SetTransform(through(it->second.owner));
        ++it;
    }
    for (const ClipKey clip : sounds->StreamingClips()) {
        if (Voice* voice = mixer.Find(sounds->StreamVoiceOf(clip))) {
            voice->SetTransform(through(DisplayHandle{clip}));
        }
    }
}

SoundVoiceId MovieAudio::StartScriptSound(std::optional<DisplayHandle> owner, CharacterId sound,
                                          double offsetSeconds, int loops) {
    if (!sounds) {
        return 0;
    }
    SoundInfo info;
    info.loops = static_cast<std::uint16_t>(std::clamp(loops, 1, 0xFFFF));
    if (offsetSeconds > 0) {
        info.inPoint = static_cast<std::uint32_t>(
            std::min(offsetSeconds * MixRate, double(std::numeric_limits<std::uint32_t>::max())));
    }
    const VoiceId voice = sounds->Start(sound, info);
    if (voice != 0) {
        started[voice] = Started{owner, sound, true};
    }
    return voice;
}

void MovieAudio::StopScriptSounds(std::optional<DisplayHandle> owner,
                                  std::optional<CharacterId> sound) {
    if (!sounds) {
        return;
    }
    if (!owner) {
        if (sound) {
            SoundInfo stop;
            stop.stop = true;
            sounds->Start(*sound, stop);
        } else {
            sounds->StopAll();
        }
        return;
    }
    for (auto it = started.begin(); it != started.end();) {
        const Started& what = it->second;
        if (what.byScript && what.owner == owner && (!sound || what.sound == *sound)) {
            mixer.Stop(it->first);
            it = started.erase(it);
        } else {
            ++it;
        }
    }
}

bool MovieAudio::VoicePlaying(SoundVoiceId voice) const {
    return voice != 0 && mixer.Playing(voice);
}

double MovieAudio::VoicePositionMs(SoundVoiceId voice) const {
    const auto found = started.find(voice);
    if (found == started.end() || !found->second.byScript) {
        return 0;
    }
    // Scripts start event voices only.
    const auto* playing = static_cast<const EventVoice*>(mixer.Find(voice));
    return playing == nullptr ? 0 : double(playing->Position()) * 1000.0 / MixRate;
}

void MovieAudio::ButtonChanged(const MoviePlayer& player, const ButtonStateChanged& change) {
    const DisplayObject* object = player.Find(change.button);
    if (object == nullptr || object->Kind() != DisplayKind::Button) {
        return;
    }
    const Button& button = static_cast<const ButtonObject*>(object)->GetButton();
    if (button.soundTagBody.empty()) {
        return;
    }
    const auto buttonSounds = ReadButtonSounds(button.soundTagBody);
    if (!buttonSounds) {
        return;
    }
    const ButtonSound* sound = SoundOfChange(*buttonSounds, change.from, change.to);
    if (sound != nullptr && sound->soundId != 0) {
        if (const VoiceId voice = sounds->Start(sound->soundId, sound->info); voice != 0) {
            started[voice] = Started{change.button, sound->soundId, false};
        }
    }
}

std::optional<long> MovieAudio::RootStreamLead(const MoviePlayer& player,
                                               std::uint64_t unheard) const {
    return sounds ? sounds->StreamLead(player.Root().Handle().id, unheard) : std::nullopt;
}

} // namespace swf

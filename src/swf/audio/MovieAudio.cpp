#include "swf/audio/MovieAudio.h"

#include <unordered_map>

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
                       [&](const EventSoundStarted& started) {
                           sounds->TagReached(started.clip.id, *started.tag);
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
        sounds->Start(sound->soundId, sound->info);
    }
}

std::optional<long> MovieAudio::RootStreamLead(const MoviePlayer& player,
                                               std::uint64_t unheard) const {
    return sounds ? sounds->StreamLead(player.Root().Handle().id, unheard) : std::nullopt;
}

} // namespace swf

// A Sound's own state, kept natively so that scripts listing its members
// see none of it.
#pragma once

#include <optional>

#include "swf/format/Basics.h"
#include "swf/runtime/SoundControl.h"
#include "swf/script/Object.h"

namespace swf::script::sound {

class SoundObject final : public Object {
public:
    SoundObject() : Object(ObjectClass::Other) {}

    // What the Sound was made on, as given: a clip (held by reference, so
    // found again by its path once the clip is replaced), a target path
    // found again on every call, or undefined for the movie's own sound.
    Value target;
    // loadSound gives the Sound a transformation of its own, apart from its
    // target's.
    std::optional<SoundTransform> ownTransform;
    // attachSound's sound, and the voice the last start began.
    CharacterId attached = 0;
    SoundVoiceId voice = 0;
    double lastPositionMs = 0;

    // duration and position (from SWF 6): the attached sound's length and
    // how far it has played, in milliseconds; read-only, and not listed.
    bool GetSpecial(Vm& vm, String* member, Value& out) override;

    void Trace(Tracer& tracer) const override {
        Object::Trace(tracer);
        tracer.Visit(target);
    }
    std::size_t Footprint() const override {
        return sizeof(SoundObject) + Properties().Footprint();
    }
};

} // namespace swf::script::sound

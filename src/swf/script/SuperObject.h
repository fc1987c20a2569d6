// What "super" is in a method: lookups start at the prototype above the one
// the method was found in, with this kept; calling it calls the constructor
// of the class above.
#pragma once

#include "swf/script/Object.h"

namespace swf::script {

class SuperObject : public Object {
public:
    SuperObject(Value thisValue, Object* holder)
        : Object(ObjectClass::Super), thisValue(thisValue), holder(holder) {}

    // The object the method was found in; lookups start at its prototype.
    Object* Holder() const { return holder; }
    const Value& This() const { return thisValue; }

    void Trace(Tracer& tracer) const override {
        Object::Trace(tracer);
        tracer.Visit(thisValue);
        tracer.Visit(holder);
    }

private:
    Value thisValue;
    Object* holder;
};

} // namespace swf::script

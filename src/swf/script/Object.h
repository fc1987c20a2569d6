// A script object: its properties in order of creation, its prototype (the
// cached value of its "__proto__" property, which is an ordinary property
// with flags of its own), the primitive a wrapper object holds, and the
// watchers set by Object.watch. Kinds with behaviour of their own (arrays,
// functions, movie clips) derive from it and use the hooks below; the
// lookup rules themselves live in the engine (Vm::GetMember and friends),
// because they may run script code.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "swf/script/Heap.h"
#include "swf/script/PropertyMap.h"
#include "swf/script/Value.h"

namespace swf::script {

class Vm;

// What kind of object this is, for typeof and for the built-in methods that
// only work on their own kind.
enum class ObjectClass : std::uint8_t {
    Object,
    Function,
    Array,
    Boolean,
    Number,
    String,
    Date,
    Error,
    Clip,   // a movie clip's script object
    Button, // a button's script object
    TextField,
    Super, // what "super" refers to in a method
    Other, // built-in kinds with state of their own (Color, Sound, ...)
};

struct Watcher {
    String* name = nullptr;
    Object* callback = nullptr;
    Value userData;
    bool running = false; // a set inside the callback does not call it again
};

class Object : public Cell {
public:
    explicit Object(ObjectClass objectClass = ObjectClass::Object) : objectClass(objectClass) {}

    ObjectClass Class() const { return objectClass; }
    bool IsFunction() const { return objectClass == ObjectClass::Function; }

    PropertyMap& Properties() { return properties; }
    const PropertyMap& Properties() const { return properties; }

    // The object "__proto__" refers to, if it is an object.
    Object* Prototype() const { return prototype; }
    // The prototype as code of a version sees it: ASSetPropFlags can hide
    // "__proto__" from some versions, and with it the whole chain.
    Object* PrototypeIn(int version) const {
        return ChainVisibleIn(prototypeFlags, version) ? prototype : nullptr;
    }
    // The prototype when "__proto__" itself is visible to the version, as
    // instanceof and isPrototypeOf walk the chain.
    Object* VisiblePrototypeIn(int version) const {
        return PrototypeVisibleIn(prototypeFlags, version) ? prototype : nullptr;
    }
    // Called whenever the "__proto__" property or its flags change.
    void SetPrototypeCache(Object* value) { prototype = value; }
    void SetPrototypeFlags(std::uint16_t flags) { prototypeFlags = flags; }

    // The value a Boolean, Number, String or Date object wraps.
    const Value& Primitive() const { return primitive; }
    void SetPrimitive(Value value) { primitive = value; }

    std::vector<Watcher>& Watchers();
    // The interfaces ImplementsOp gave this prototype's class.
    std::vector<Object*>& Interfaces();
    bool HasInterfaces() const { return interfaces && !interfaces->empty(); }
    bool HasWatchers() const { return watchers && !watchers->empty(); }

    // Hooks for kinds with properties of their own (a clip's _x, its
    // children by name). GetSpecial is asked before the object's own
    // properties; SetSpecial returns whether it took the value.
    virtual bool GetSpecial(Vm&, String* /*name*/, Value& /*out*/) { return false; }
    virtual bool SetSpecial(Vm&, String* /*name*/, const Value& /*value*/) { return false; }
    // After an own property was set by a script (arrays keep their length).
    virtual void OwnPropertySet(Vm&, String* /*name*/, const Value& /*value*/) {}
    // Names that for..in lists beyond the properties (a clip's children).
    virtual void ExtraEnumerable(Vm&, std::vector<String*>& /*names*/) {}

    void Trace(Tracer& tracer) const override;
    std::size_t Footprint() const override { return sizeof(Object) + properties.Footprint(); }

protected:
    void SetClass(ObjectClass value) { objectClass = value; }

private:
    PropertyMap properties;
    Object* prototype = nullptr;
    std::uint16_t prototypeFlags = 0;
    Value primitive;
    std::unique_ptr<std::vector<Watcher>> watchers;
    std::unique_ptr<std::vector<Object*>> interfaces;
    ObjectClass objectClass;
};

// One link of a scope chain: the object that a with block, a function's
// activation or a closure's outer function adds to name lookups.
class Scope : public Cell {
public:
    Scope(Object* object, Scope* parent) : object(object), parent(parent) {}
    Object* const object;
    Scope* const parent;
    void Trace(Tracer& tracer) const override {
        tracer.Visit(object);
        tracer.Visit(parent);
    }
    std::size_t Footprint() const override { return sizeof(Scope); }
};

// The object stands for something on the stage: a clip, button or text field.
inline bool IsClip(const Object* object) {
    return object->Class() == ObjectClass::Clip || object->Class() == ObjectClass::Button ||
           object->Class() == ObjectClass::TextField;
}

} // namespace swf::script

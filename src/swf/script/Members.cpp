// Reading, writing and deleting members: the prototype chain, getters and
// setters made by addProperty, watchers, __resolve, and the version rules
// for names.
#include <algorithm>
#include <unordered_set>

#include "swf/script/ArrayObject.h"
#include "swf/script/SuperObject.h"
#include "swf/script/TextEncoding.h"
#include "swf/script/Vm.h"

namespace swf::script {

namespace {

// Prototype chains longer than this are treated as cut, so that a chain a
// script made circular cannot hang a lookup.
constexpr int maxChain = 256;
// Reading or writing a member stops the script when it would look past
// this many links of the chain, found or not beyond.
constexpr int maxLinksFollowed = 256;
constexpr std::string_view chainTooLong = "prototype chain too long";

bool SameName(const String* a, const String* b, int version) {
    return version >= 7 ? a == b : a->Folded() == b->Folded();
}

} // namespace

Property* Vm::FindOwn(Object* object, String* name) {
    return object->Properties().Find(Intern(name), Version());
}

bool Vm::HasOwnProperty(Object* object, String* name) {
    return FindOwn(object, name) != nullptr;
}

Property* Vm::FindInChain(Object* object, String* name, Object** holder) {
    name = Intern(name);
    const int version = Version();
    int depth = 0;
    for (Object* o = object; o && depth < maxChain; o = o->PrototypeIn(version), ++depth) {
        // A clip is no prototype: the chain ends where one stands in it.
        if (depth > 0 && IsClip(o)) {
            break;
        }
        if (Property* p = o->Properties().Find(name, version)) {
            if (holder) {
                *holder = o;
            }
            return p;
        }
    }
    return nullptr;
}

Completion Vm::CallGetter(Object* getter, const Value& thisValue) {
    return Call(Value(getter), thisValue, {});
}

Completion Vm::GetFromChain(Object* start, String* name, const Value& thisValue, int) {
    const int version = Version();
    int depth = 0;
    for (Object* o = start; o; o = o->PrototypeIn(version)) {
        if (depth > 0 && IsClip(o)) {
            break;
        }
        Value special;
        if (o->GetSpecial(*this, name, special)) {
            return special;
        }
        if (const Property* p = o->Properties().Find(name, version)) {
            if (p->IsAccessor()) {
                return CallGetter(p->getter, thisValue);
            }
            return p->value;
        }
        if (++depth > maxLinksFollowed) {
            return AbortForLimit(chainTooLong);
        }
    }
    if (name != names->resolve) {
        return Resolve(start, name, thisValue);
    }
    return Value();
}

// An object's own __resolve, whatever version bits it has.
const Property* Vm::FindResolver(Object* object, int version) {
    PropertyMap& properties = object->Properties();
    const Property* p = properties.Find(names->resolve, version);
    return p ? p : properties.FindHidden(names->resolve, version);
}

Completion Vm::Resolve(Object* start, String* name, const Value& thisValue) {
    // __resolve is read from its stored value, never through a getter
    // addProperty put over it. From SWF 7 the first one along the chain
    // that is an object answers; before, the first one there is answers,
    // and one that is no object gives undefined.
    const int version = Version();
    int depth = 0;
    for (Object* o = start; o && depth < maxChain; o = o->PrototypeIn(version), ++depth) {
        const Property* p = FindResolver(o, version);
        if (!p || (version >= 7 && !p->value.IsObject())) {
            continue;
        }
        const Value args[] = {Value(name)};
        return Call(p->value, thisValue, args);
    }
    return Value();
}

bool Vm::HasResolver(Object* start) {
    const int version = Version();
    int depth = 0;
    for (Object* o = start; o && depth < maxChain; o = o->PrototypeIn(version), ++depth) {
        const Property* p = FindResolver(o, version);
        if (p && (version < 7 || p->value.IsObject())) {
            return true;
        }
    }
    return false;
}

Completion Vm::PrimitiveMember(const Value& base, String* name, Object* prototype, Object* maker) {
    // A primitive has the links its wrapper object has: __proto__ is its
    // class's prototype, and __constructor__ its class from SWF 6.
    if (SameName(name, names->proto, Version())) {
        return Value(prototype);
    }
    if (Version() >= 6 && SameName(name, names->constructorHidden, Version())) {
        return Value(maker);
    }
    return GetFromChain(prototype, name, base, 0);
}

Completion Vm::GetMember(const Value& base, String* name) {
    name = Intern(name);
    switch (base.Kind()) {
    case ValueKind::Object: {
        Object* object = base.AsObject();
        if (object->Class() == ObjectClass::Super) {
            const auto* super = static_cast<SuperObject*>(object);
            Object* start = super->Holder() ? super->Holder()->Prototype() : nullptr;
            return GetFromChain(start, name, super->This(), 0);
        }
        return GetFromChain(object, name, base, 0);
    }
    case ValueKind::String: {
        // A string's members are those of what _global.String makes of it,
        // whatever a script put there.
        const Property* current = global->Properties().Find(names->stringClass, Version());
        const Value maker = current && !current->IsAccessor() ? current->value : Value();
        if (maker.ObjectOrNull() != builtins.stringConstructor) {
            Object* f = maker.ObjectOrNull();
            if (!f || !f->IsFunction()) {
                return Value();
            }
            const Value args[] = {base};
            const Completion made = Construct(maker, args);
            if (made.IsAbrupt() || !made.GetValue().IsObject()) {
                return made.IsAbrupt() ? made : Completion(Value());
            }
            return GetMember(made.GetValue(), name);
        }
    }
        if (SameName(name, names->length, Version())) {
            return Value(double(CharacterCount(base.AsString()->View(), Version())));
        }
        return PrimitiveMember(base, name, builtins.stringPrototype, builtins.stringConstructor);
    case ValueKind::Number:
        return PrimitiveMember(base, name, builtins.numberPrototype, builtins.numberConstructor);
    case ValueKind::Boolean:
        return PrimitiveMember(base, name, builtins.booleanPrototype, builtins.booleanConstructor);
    default:
        return Value();
    }
}

Completion Vm::GetMemberWithThis(Object* object, String* name, const Value& thisValue) {
    return GetFromChain(object, Intern(name), thisValue, 0);
}

Completion Vm::RunWatchers(Object* object, String* name, Value& value, bool& handled) {
    handled = false;
    const int version = Version();
    auto& watchers = object->Watchers();
    for (std::size_t i = 0; i < watchers.size(); ++i) {
        if (!SameName(watchers[i].name, name, version) || watchers[i].running) {
            continue;
        }
        Value old;
        if (const Property* p = object->Properties().Find(name, version)) {
            old = p->IsAccessor() ? Value() : p->value;
        }
        const Value callback = Value(watchers[i].callback);
        const Value args[] = {Value(name), old, value, watchers[i].userData};
        watchers[i].running = true;
        const Completion result = Call(callback, Value(object), args);
        // The callback may have removed watchers; find this one again.
        auto& after = object->Watchers();
        for (Watcher& w : after) {
            if (SameName(w.name, name, version)) {
                w.running = false;
            }
        }
        if (result.IsAbrupt()) {
            return result;
        }
        value = result.GetValue();
        break;
    }
    return Value();
}

Completion Vm::SetMember(const Value& base, String* name, const Value& value) {
    if (Object* object = base.ObjectOrNull()) {
        return SetMember(object, name, value);
    }
    // Members set on a primitive go to a wrapper nobody keeps.
    return Value();
}

Completion Vm::SetMember(Object* object, String* name, const Value& input) {
    name = Intern(name);
    if (object->Class() == ObjectClass::Super) {
        Object* self = static_cast<SuperObject*>(object)->This().ObjectOrNull();
        if (!self) {
            return Value();
        }
        object = self;
    }
    Value value = input;
    const int version = Version();
    if (object->HasWatchers()) {
        bool handled = false;
        const Completion watched = RunWatchers(object, name, value, handled);
        if (watched.IsAbrupt()) {
            return watched;
        }
    }
    if (object->SetSpecial(*this, name, value)) {
        return Value();
    }
    // An accessor's setter is the write; one without a setter ignores it.
    const auto writeThrough = [&](const Property& accessor) -> Completion {
        if (accessor.setter) {
            const Value args[] = {value};
            const Completion set = Call(Value(accessor.setter), Value(object), args);
            if (set.IsAbrupt()) {
                return set;
            }
        }
        return Value();
    };
    if (Property* p = object->Properties().Find(name, version)) {
        if (p->IsAccessor()) {
            return writeThrough(*p);
        }
        if (p->flags & PropertyFlag::ReadOnly) {
            return Value();
        }
        p->value = value;
        if (SameName(name, names->proto, version)) {
            object->SetPrototypeCache(value.ObjectOrNull());
            object->SetPrototypeFlags(p->flags);
        }
        object->OwnPropertySet(*this, p->name, value);
        return Value();
    }
    // The chain is searched for a property with a setter: a plain one on
    // the way hides none further up.
    int depth = 1;
    for (Object* o = object->PrototypeIn(version); o; o = o->PrototypeIn(version)) {
        const Property* p = o->Properties().Find(name, version);
        if (p && p->IsAccessor()) {
            return writeThrough(*p);
        }
        if (++depth > maxLinksFollowed) {
            return AbortForLimit(chainTooLong);
        }
    }
    // A property hidden from this version gives way to the new one, except
    // that SWF 6 writes through to one hidden only as SWF 7's.
    if (Property* hidden = object->Properties().FindHidden(name, version)) {
        if (version == 6 &&
            (hidden->flags & (PropertyFlag::Version6 | PropertyFlag::NotVersion6 |
                              PropertyFlag::Version8 | PropertyFlag::Version9)) == 0 &&
            !hidden->IsAccessor()) {
            hidden->value = value;
            return Value();
        }
        // SWF 5 takes over a member of a later version, value and all, and
        // sees it from then on; its other flags stay.
        if (version == 5 && !hidden->IsAccessor()) {
            if (hidden->flags & PropertyFlag::ReadOnly) {
                return Value();
            }
            hidden->value = value;
            hidden->flags &= ~(PropertyFlag::Version6 | PropertyFlag::Version7 |
                               PropertyFlag::Version8 | PropertyFlag::Version9);
            if (SameName(name, names->proto, version)) {
                object->SetPrototypeCache(value.ObjectOrNull());
                object->SetPrototypeFlags(hidden->flags);
            }
            object->OwnPropertySet(*this, hidden->name, value);
            return Value();
        }
        object->Properties().Remove(hidden);
    }
    object->Properties().Add(name, value, 0);
    heap.NoteGrowth(sizeof(Property));
    if (SameName(name, names->proto, version)) {
        object->SetPrototypeCache(value.ObjectOrNull());
        object->SetPrototypeFlags(0);
    }
    object->OwnPropertySet(*this, name, value);
    return Value();
}

bool Vm::DeleteMember(Object* object, String* name) {
    name = Intern(name);
    Property* p = object->Properties().Find(name, Version());
    if (!p || (p->flags & PropertyFlag::DontDelete)) {
        return false;
    }
    const bool wasProto = SameName(p->name, names->proto, Version());
    object->Properties().Remove(p);
    if (wasProto) {
        object->SetPrototypeCache(nullptr);
    }
    return true;
}

std::vector<String*> Vm::EnumerableNames(Object* object) {
    // for..in pops what Enumerate pushed: the newest own property comes
    // first, then the prototype's, newest first. Returned in push order.
    const int version = Version();
    std::vector<String*> order;
    std::unordered_set<const String*> seen;
    std::vector<String*> extra;
    object->ExtraEnumerable(*this, extra);
    for (String* name : extra) {
        const String* key = version >= 7 ? name : name->Folded();
        if (seen.insert(key).second) {
            order.push_back(name);
        }
    }
    int depth = 0;
    for (Object* o = object; o && depth < maxChain; o = o->PrototypeIn(version), ++depth) {
        std::vector<const Property*> own;
        o->Properties().ForEach([&](const Property& p) {
            if (ListedIn(p.flags, version)) {
                own.push_back(&p);
            }
        });
        for (auto it = own.rbegin(); it != own.rend(); ++it) {
            const Property* p = *it;
            const String* key = version >= 7 ? p->name : p->name->Folded();
            if (seen.insert(key).second && p->Enumerable()) {
                order.push_back(p->name);
            }
        }
    }
    std::reverse(order.begin(), order.end());
    return order;
}

} // namespace swf::script

// The properties of one object, in the order they were made (the order
// for..in walks, backwards). Names are interned strings; before SWF 7 names
// compare without regard to ASCII case, so lookups go through each name's
// folded form and, from SWF 7, then compare exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "swf/script/String.h"
#include "swf/script/Value.h"

namespace swf::script {

class Object;

// The attribute bits of a property, as ASSetPropFlags sets them. The
// version bits hide a property completely from code of other versions.
namespace PropertyFlag {
constexpr std::uint16_t DontEnum = 0x01;
constexpr std::uint16_t DontDelete = 0x02;
constexpr std::uint16_t ReadOnly = 0x04;
constexpr std::uint16_t Version6 = 0x80;     // hidden from SWF 5
constexpr std::uint16_t NotVersion6 = 0x100; // hidden from SWF 6
constexpr std::uint16_t Version7 = 0x400;    // hidden from SWF 5 and 6
constexpr std::uint16_t Version8 = 0x1000;   // hidden from SWF 7 and older
constexpr std::uint16_t Version9 = 0x2000;   // hidden from SWF 8 and older
constexpr std::uint16_t Settable = 0x3FFF;   // what ASSetPropFlags may change
} // namespace PropertyFlag

// Whether code of an SWF version sees a property with these flags.
inline bool VisibleIn(std::uint16_t flags, int version) {
    if (version < 6 && (flags & PropertyFlag::Version6)) {
        return false;
    }
    if (version == 6 && (flags & PropertyFlag::NotVersion6)) {
        return false;
    }
    if (version < 7 && (flags & PropertyFlag::Version7)) {
        return false;
    }
    if (version < 8 && (flags & PropertyFlag::Version8)) {
        return false;
    }
    return version >= 9 || (flags & PropertyFlag::Version9) == 0;
}

// Whether for..in and hasOwnProperty see a property with these flags: the
// bits that hide a property from older versions only hide its value, so
// such a property is still listed (and found) by name; only "not SWF 6"
// keeps it out of SWF 6's lists too.
inline bool ListedIn(std::uint16_t flags, int version) {
    return version != 6 || (flags & PropertyFlag::NotVersion6) == 0;
}

// Whether the chain through a "__proto__" with these flags is followed:
// fewer of the version bits count there than for other properties.
inline bool ChainVisibleIn(std::uint16_t flags, int version) {
    if (version < 6) {
        return (flags & (PropertyFlag::Version6 | PropertyFlag::Version7 | PropertyFlag::Version8 |
                         PropertyFlag::Version9)) == 0;
    }
    return version > 6 || (flags & PropertyFlag::Version7) == 0;
}

// Whether instanceof and isPrototypeOf follow a "__proto__" with these
// flags: each version stops at the bit of the version after it.
inline bool PrototypeVisibleIn(std::uint16_t flags, int version) {
    switch (version) {
    case 5:
        return ChainVisibleIn(flags, 5);
    case 6:
        return (flags & PropertyFlag::Version7) == 0;
    case 7:
        return (flags & PropertyFlag::Version8) == 0;
    case 8:
        return (flags & PropertyFlag::Version9) == 0;
    default:
        return version > 8 || ChainVisibleIn(flags, version);
    }
}

struct Property {
    String* name = nullptr; // interned; null in a removed slot
    Value value;
    // A property made by addProperty reads through getter and writes
    // through setter (which may be absent).
    Object* getter = nullptr;
    Object* setter = nullptr;
    std::uint16_t flags = 0;
    std::int32_t nextSameFold = -1; // the next slot whose name folds alike

    bool IsAccessor() const { return getter != nullptr; }
    bool Enumerable() const { return (flags & PropertyFlag::DontEnum) == 0; }
};

class PropertyMap {
public:
    // The property of this name that code of this version sees, or null.
    Property* Find(const String* name, int version);
    const Property* Find(const String* name, int version) const {
        return const_cast<PropertyMap*>(this)->Find(name, version);
    }
    // A property of this name that the version bits hide from this version.
    Property* FindHidden(const String* name, int version);
    // The property of this name that for..in and hasOwnProperty see in this
    // version, visible or not.
    const Property* FindListed(const String* name, int version) const;
    // A new property at the end (the caller checked there was none).
    Property& Add(String* name, Value value, std::uint16_t flags = 0);
    // Removes the property; the caller checked its flags.
    void Remove(Property* property);
    void Clear();

    std::size_t Count() const { return slots.size() - removed; }

    // The properties in the order they were made.
    template <typename F>
    void ForEach(F&& visit) const {
        for (const Property& p : slots) {
            if (p.name) {
                visit(p);
            }
        }
    }
    template <typename F>
    void ForEachMutable(F&& visit) {
        for (Property& p : slots) {
            if (p.name) {
                visit(p);
            }
        }
    }

    void Trace(Tracer& tracer) const;
    std::size_t Footprint() const { return slots.capacity() * sizeof(Property); }

private:
    static constexpr std::size_t indexThreshold = 8;
    void Reindex();
    void Compact();

    std::vector<Property> slots;
    std::size_t removed = 0;
    // Folded name to the first slot of its chain; only for larger maps.
    std::unordered_map<const String*, std::int32_t> index;
};

} // namespace swf::script

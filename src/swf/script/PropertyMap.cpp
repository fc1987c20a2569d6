#include "swf/script/PropertyMap.h"

#include "swf/script/Object.h"

namespace swf::script {

namespace {

bool NameMatches(const String* have, const String* want, int version) {
    if (version >= 7) {
        return have == want;
    }
    return have->Folded() == want->Folded();
}

} // namespace

Property* PropertyMap::Find(const String* name, int version) {
    if (index.empty()) {
        for (Property& p : slots) {
            if (p.name && NameMatches(p.name, name, version) && VisibleIn(p.flags, version)) {
                return &p;
            }
        }
        return nullptr;
    }
    const auto found = index.find(name->Folded());
    if (found == index.end()) {
        return nullptr;
    }
    for (std::int32_t i = found->second; i >= 0; i = slots[i].nextSameFold) {
        Property& p = slots[i];
        if (NameMatches(p.name, name, version) && VisibleIn(p.flags, version)) {
            return &p;
        }
    }
    return nullptr;
}

Property* PropertyMap::FindHidden(const String* name, int version) {
    for (Property& p : slots) {
        if (p.name && NameMatches(p.name, name, version) && !VisibleIn(p.flags, version)) {
            return &p;
        }
    }
    return nullptr;
}

const Property* PropertyMap::FindListed(const String* name, int version) const {
    if (const Property* visible = Find(name, version)) {
        return visible;
    }
    const Property* hidden = const_cast<PropertyMap*>(this)->FindHidden(name, version);
    return hidden && ListedIn(hidden->flags, version) ? hidden : nullptr;
}

Property& PropertyMap::Add(String* name, Value value, std::uint16_t flags) {
    if (removed > 16 && removed * 2 > slots.size()) {
        Compact();
    }
    Property property;
    property.name = name;
    property.value = value;
    property.flags = flags;
    slots.push_back(property);
    const std::int32_t at = static_cast<std::int32_t>(slots.size() - 1);
    if (!index.empty()) {
        auto [entry, isNew] = index.emplace(name->Folded(), at);
        if (!isNew) {
            std::int32_t last = entry->second;
            while (slots[last].nextSameFold >= 0) {
                last = slots[last].nextSameFold;
            }
            slots[last].nextSameFold = at;
        }
    } else if (slots.size() > indexThreshold) {
        Reindex();
    }
    return slots.back();
}

void PropertyMap::Remove(Property* property) {
    const std::int32_t at = static_cast<std::int32_t>(property - slots.data());
    if (!index.empty()) {
        const auto entry = index.find(property->name->Folded());
        if (entry != index.end()) {
            if (entry->second == at) {
                if (property->nextSameFold >= 0) {
                    entry->second = property->nextSameFold;
                } else {
                    index.erase(entry);
                }
            } else {
                for (std::int32_t i = entry->second; i >= 0; i = slots[i].nextSameFold) {
                    if (slots[i].nextSameFold == at) {
                        slots[i].nextSameFold = property->nextSameFold;
                        break;
                    }
                }
            }
        }
    }
    *property = Property();
    ++removed;
    if (removed == slots.size()) {
        Clear();
    }
}

void PropertyMap::Clear() {
    slots.clear();
    index.clear();
    removed = 0;
}

void PropertyMap::Reindex() {
    index.clear();
    for (Property& p : slots) {
        p.nextSameFold = -1;
    }
    if (slots.size() <= indexThreshold) {
        return;
    }
    std::unordered_map<const String*, std::int32_t> last;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        Property& p = slots[i];
        if (!p.name) {
            continue;
        }
        const std::int32_t at = static_cast<std::int32_t>(i);
        auto [entry, isNew] = index.emplace(p.name->Folded(), at);
        if (!isNew) {
            slots[last[p.name->Folded()]].nextSameFold = at;
        }
        last[p.name->Folded()] = at;
    }
}

void PropertyMap::Compact() {
    std::erase_if(slots, [](const Property& p) { return p.name == nullptr; });
    removed = 0;
    Reindex();
}

void PropertyMap::Trace(Tracer& tracer) const {
    for (const Property& p : slots) {
        if (p.name) {
            tracer.Visit(p.name);
            tracer.Visit(p.value);
            tracer.Visit(p.getter);
            tracer.Visit(p.setter);
        }
    }
}

} // namespace swf::script

// The display objects of one player by handle. An object enters the table
// when it is made and leaves it when it is destroyed, so a handle resolves
// to nothing from then on.
#pragma once

#include <cstddef>
#include <unordered_map>

#include "swf/runtime/DisplayHandle.h"

namespace swf {

class DisplayObject;

class ObjectTable {
public:
    // A new handle, never given out before.
    DisplayHandle Add(DisplayObject& object);
    void Remove(DisplayHandle handle);
    // nullptr once the object is gone.
    DisplayObject* Find(DisplayHandle handle) const;
    std::size_t Size() const { return objects.size(); }

private:
    std::unordered_map<DisplayHandle, DisplayObject*> objects; // borrowed: objects own themselves
    std::uint64_t nextId = 1;
};

} // namespace swf

#include "swf/runtime/ObjectTable.h"

namespace swf {

DisplayHandle ObjectTable::Add(DisplayObject& object) {
    const DisplayHandle handle{nextId++};
    objects.emplace(handle, &object);
    return handle;
}

void ObjectTable::Remove(DisplayHandle handle) {
    objects.erase(handle);
}

DisplayObject* ObjectTable::Find(DisplayHandle handle) const {
    const auto found = objects.find(handle);
    return found == objects.end() ? nullptr : found->second;
}

} // namespace swf

#include "swf/script/Object.h"

namespace swf::script {

std::vector<Watcher>& Object::Watchers() {
    if (!watchers) {
        watchers = std::make_unique<std::vector<Watcher>>();
    }
    return *watchers;
}

std::vector<Object*>& Object::Interfaces() {
    if (!interfaces) {
        interfaces = std::make_unique<std::vector<Object*>>();
    }
    return *interfaces;
}

void Object::Trace(Tracer& tracer) const {
    properties.Trace(tracer);
    tracer.Visit(prototype);
    tracer.Visit(primitive);
    if (watchers) {
        for (const Watcher& w : *watchers) {
            tracer.Visit(w.name);
            tracer.Visit(w.callback);
            tracer.Visit(w.userData);
        }
    }
    if (interfaces) {
        for (const Object* o : *interfaces) {
            tracer.Visit(o);
        }
    }
}

} // namespace swf::script

// The names the engine itself looks up, interned once per engine so that
// comparing a name with one of them compares pointers.
#pragma once

#include "swf/script/String.h"

namespace swf::script {

struct Names {
    explicit Names(StringTable& strings);
    void Trace(Tracer& tracer) const;

    String* empty;
    String* proto; // __proto__
    String* prototype;
    String* constructor;
    String* constructorHidden; // __constructor__
    String* length;
    String* toString;
    String* valueOf;
    String* resolve; // __resolve
    String* arguments;
    String* callee;
    String* caller;
    String* thisName; // this
    String* super;
    String* global; // _global
    String* root;   // _root
    String* parent; // _parent
    String* level0; // _level0
    String* message;
    String* name;
    String* undefined;
    String* null;
    String* trueName;
    String* falseName;
    String* nan;
    String* infinity;
    String* negativeInfinity;
    String* number;
    String* boolean;
    String* string;
    String* object;
    String* function;
    String* movieclip;
    String* objectObject; // [object Object]
    String* typeFunction; // [type Function]
    String* onEnterFrame;
    String* onLoad;
    String* onUnload;
    String* interfaces;  // __interfaces__ (ImplementsOp)
    String* stringClass; // String, as _global holds it
};

} // namespace swf::script

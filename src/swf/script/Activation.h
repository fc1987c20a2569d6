// One running piece of script: an action block run on a clip, or a call of
// a script function. The interpreter keeps its state here; the engine lists
// the running activations as roots.
#pragma once

#include <cstddef>
#include <vector>

#include "swf/script/Function.h"
#include "swf/script/Object.h"

namespace swf::script {

struct Activation {
    ActionBytes bytes;
    std::size_t begin = 0;
    std::size_t end = 0;
    int version = 0;
    ConstantPool* pool = nullptr;
    std::vector<Value> registers;
    // The with blocks and function activations names are looked up in,
    // innermost first; the target clip and _global come after them.
    Scope* scope = nullptr;
    // The clip timeline actions act on (tellTarget changes it) and the clip
    // the code was started on.
    Object* target = nullptr;
    Object* originalTarget = nullptr;
    Value thisValue;
    // A function's own variables (null for an action block).
    Object* locals = nullptr;
    FunctionObject* callee = nullptr;
    // Where the running method was found, for super.
    Object* superHolder = nullptr;
    std::size_t stackBase = 0;

    void Trace(Tracer& tracer) const {
        tracer.Visit(pool);
        for (const Value& v : registers) {
            tracer.Visit(v);
        }
        tracer.Visit(scope);
        tracer.Visit(target);
        tracer.Visit(originalTarget);
        tracer.Visit(thisValue);
        tracer.Visit(locals);
        tracer.Visit(callee);
        tracer.Visit(superHolder);
    }
};

} // namespace swf::script

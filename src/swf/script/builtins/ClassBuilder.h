// Helpers that make built-in functions and classes the way Flash has them:
// every function carries its own "__proto__" and "constructor"; a class's
// prototype is hidden, permanent and read-only; members are hidden and
// permanent, and visible from the SWF version their table gives.
#pragma once

#include <span>
#include <string_view>

#include "swf/script/Vm.h"

namespace swf::script::builtins {

// A member function of a built-in: its name, its code, and the first SWF
// version whose code sees it. Some of Flash's built-ins were written in
// script: like every script function they carry a prototype object.
struct Method {
    std::string_view name;
    NativeFunction function;
    int version = 5;
    bool withPrototype = false;
};

// The version bits that hide a property from code older than version.
std::uint16_t VersionFlags(int version);

// A native function with "__proto__" and "constructor" as methods have them.
FunctionObject* MakeFunction(Vm& vm, NativeFunction function, int version = 5);
// Gives a function the prototype object a script function has (hidden and
// permanent, as on Flash's own script-written methods).
void GiveFunctionPrototype(Vm& vm, FunctionObject* function);
// Adds methods to an object, hidden and permanent (plus extraFlags).
void AddMethods(Vm& vm, Object* target, std::span<const Method> methods,
                std::uint16_t extraFlags = 0);
// A constant or other value member, hidden and permanent (plus extraFlags).
void AddValue(Vm& vm, Object* target, std::string_view name, Value value, int version = 5,
              std::uint16_t extraFlags = 0);

// A class: the constructor function and its prototype object (made here,
// inheriting from parentPrototype), linked both ways.
struct ClassParts {
    FunctionObject* constructor = nullptr;
    Object* prototype = nullptr;
};
// readOnly: the constructor's prototype, __proto__ and constructor are
// read-only too (most classes; String's are not).
ClassParts MakeClass(Vm& vm, NativeFunction constructor, Object* parentPrototype,
                     bool readOnly = true);
// Puts a class (or any value) on _global, hidden, from a version.
void AddGlobal(Vm& vm, std::string_view name, Value value, int version = 5);

// The this of a method as an object of a kind, or null.
Object* ThisOfClass(const NativeCall& call, ObjectClass kind);

} // namespace swf::script::builtins

// What the flash.geom and flash.filters classes share: the packages they
// live in on _global (from SWF 8), getter and setter properties made of
// native functions, methods that look like script functions (each with a
// prototype of its own, as the player's geometry classes have), reading and
// writing members as a script would, and the text of "(x=1, y=2)".
#pragma once

#include <initializer_list>
#include <span>
#include <string_view>

#include "swf/script/Vm.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::geom {

// _global.flash.<name>, made on first use; null when a script put
// something else there.
Object* Package(Vm& vm, std::string_view name);
// _global.flash.<name> as scripts left it (null when it is gone), for the
// lookups the classes make while they run.
Object* FindPackage(Vm& vm, std::string_view name);

// A getter and setter property (setter may be null), as addProperty makes.
void AddAccessor(Vm& vm, Object* target, std::string_view name, NativeFunction getter,
                 NativeFunction setter, std::uint16_t flags = 0);

// A native method with a prototype object of its own, hidden and
// permanent (the way a function a script defines looks).
FunctionObject* MakeScriptLikeFunction(Vm& vm, NativeFunction function);
struct ScriptMethod {
    std::string_view name;
    NativeFunction function;
};
// Adds enumerable methods made by MakeScriptLikeFunction.
void AddScriptMethods(Vm& vm, Object* target, std::span<const ScriptMethod> methods);

// A class made the way a script defines one: constructor and prototype
// from MakeScriptLikeFunction, put on the package under name.
builtins::ClassParts MakeScriptLikeClass(Vm& vm, Object* package, std::string_view name,
                                         NativeFunction constructor);

// A member name with a number for it.
struct LabelledNumber {
    std::string_view name;
    double value;
};

// new flash.geom.<className>(args...), the class looked up as a script
// naming it would find it now.
Completion ConstructGeom(Vm& vm, std::string_view className, std::span<const Value> args);

// What new leaves on an instance of these classes beyond the engine's
// links: SWF 6 code gets a hidden "constructor" too.
void MarkInstance(NativeCall& call);

// obj.name, getters and __resolve included.
Completion Read(Vm& vm, const Value& base, std::string_view name);
// obj.name = value.
Completion Write(Vm& vm, Object* object, std::string_view name, const Value& value);

// "(x=1, y=2)": the members named, each as the + operator joins it.
// Each member is shown under its label.
struct LabelledMember {
    std::string_view label;
    std::string_view name;
};
Completion JoinMembers(Vm& vm, const Value& self, std::initializer_list<LabelledMember> members);

} // namespace swf::script::geom

// Functions: native ones (the built-in methods, a C++ function with the
// call's arguments) and script ones (DefineFunction and DefineFunction2: a
// range of an action block with its parameters, the scope chain and
// constant pool they closed over, and the clip they were defined on).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "swf/script/Completion.h"
#include "swf/script/Object.h"

namespace swf::script {

class Vm;
class FunctionObject;

// One call of a native function.
struct NativeCall {
    Vm& vm;
    Value thisValue;
    std::span<const Value> args;
    FunctionObject* callee = nullptr;
    bool constructing = false; // called by new, with a fresh this

    std::size_t Count() const { return args.size(); }
    Value Arg(std::size_t i) const { return i < args.size() ? args[i] : Value(); }
    bool Has(std::size_t i) const { return i < args.size(); }
    Object* ThisObject() const { return thisValue.ObjectOrNull(); }
    int Version() const;
};

using NativeFunction = Completion (*)(NativeCall& call);

// A constant pool as ConstantPool set it, shared by the functions defined
// while it was current.
class ConstantPool : public Cell {
public:
    std::vector<Value> values;
    void Trace(Tracer& tracer) const override {
        for (const Value& v : values) {
            tracer.Visit(v);
        }
    }
    std::size_t Footprint() const override {
        return sizeof(ConstantPool) + values.capacity() * sizeof(Value);
    }
};

// The bytes of one action block (a DoAction body, a clip event handler, a
// button condition), shared by every function defined in it.
using ActionBytes = std::shared_ptr<const std::vector<std::uint8_t>>;

// DefineFunction2's flags, as the record stores them.
namespace Function2Flag {
constexpr std::uint16_t PreloadThis = 0x0001;
constexpr std::uint16_t SuppressThis = 0x0002;
constexpr std::uint16_t PreloadArguments = 0x0004;
constexpr std::uint16_t SuppressArguments = 0x0008;
constexpr std::uint16_t PreloadSuper = 0x0010;
constexpr std::uint16_t SuppressSuper = 0x0020;
constexpr std::uint16_t PreloadRoot = 0x0040;
constexpr std::uint16_t PreloadParent = 0x0080;
constexpr std::uint16_t PreloadGlobal = 0x0100;
} // namespace Function2Flag

struct ScriptParameter {
    String* name = nullptr;
    std::uint8_t registerIndex = 0; // 0: not in a register
};

struct ScriptCode {
    ActionBytes bytes;
    std::size_t begin = 0; // the body's range in bytes
    std::size_t end = 0;
    int version = 0;
    bool isFunction2 = false;
    std::uint16_t flags = 0; // Function2Flag
    std::uint8_t registerCount = 0;
    String* name = nullptr; // may be empty
    std::vector<ScriptParameter> parameters;
};

class FunctionObject : public Object {
public:
    FunctionObject() : Object(ObjectClass::Function) {}

    // Native functions.
    NativeFunction native = nullptr;
    // For native constructors whose instances are of a kind of their own
    // (Array, Date, ...): makes the object new gives to the constructor.
    Object* (*makeInstance)(Vm& vm, Object* prototype) = nullptr;

    // Script functions.
    std::shared_ptr<const ScriptCode> code;
    Scope* scope = nullptr;       // the chain it closed over
    Object* target = nullptr;     // the clip it was defined on
    ConstantPool* pool = nullptr; // the pool current at its definition

    bool IsNative() const { return native != nullptr; }

    void Trace(Tracer& tracer) const override {
        Object::Trace(tracer);
        tracer.Visit(scope);
        tracer.Visit(target);
        tracer.Visit(pool);
        if (code) {
            tracer.Visit(code->name);
            for (const auto& p : code->parameters) {
                tracer.Visit(p.name);
            }
        }
    }
};

} // namespace swf::script

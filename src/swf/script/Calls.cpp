// Calling and constructing: native functions get a NativeCall; script
// functions get an activation with their parameters, registers, arguments
// and the preloads DefineFunction2 asks for.
#include <vector>

#include "swf/script/Activation.h"
#include "swf/script/ArrayObject.h"
#include "swf/script/Interpreter.h"
#include "swf/script/SuperObject.h"
#include "swf/script/Vm.h"

namespace swf::script {

Completion Vm::Call(const Value& function, const Value& thisValue, std::span<const Value> args) {
    return CallWithHolder(function, thisValue, args, nullptr);
}

Completion Vm::CallWithHolder(const Value& function, const Value& thisValue,
                              std::span<const Value> args, Object* holder) {
    Object* object = function.ObjectOrNull();
    if (!object) {
        return Value();
    }
    if (object->Class() == ObjectClass::Super) {
        // super(...): the constructor of the class above the method's.
        auto* super = static_cast<SuperObject*>(object);
        Object* home = super->Holder();
        if (!home) {
            return Value();
        }
        const Completion constructor =
            GetMemberWithThis(home, names->constructorHidden, super->This());
        if (constructor.IsAbrupt()) {
            return constructor;
        }
        return CallWithHolder(constructor.GetValue(), super->This(), args, home->Prototype());
    }
    if (!object->IsFunction()) {
        return Value();
    }
    auto* f = static_cast<FunctionObject*>(object);
    if (callDepth >= limits.recursionDepth) {
        return AbortForRecursion();
    }
    if (f->IsNative()) {
        return CallNative(f, thisValue, args, false);
    }
    if (!f->code) {
        return Value();
    }
    pendingHolder = holder;
    return CallScript(f, thisValue, args, false);
}

Completion Vm::CallNative(FunctionObject* function, const Value& thisValue,
                          std::span<const Value> args, bool constructing) {
    // Arguments are copied: the stack they came from may grow during the call.
    const std::vector<Value> copied(args.begin(), args.end());
    NativeCall call{*this, thisValue, copied, function, constructing};
    ++callDepth;
    const Completion result = function->native(call);
    --callDepth;
    return result;
}

Completion Vm::CallScript(FunctionObject* f, const Value& thisValue, std::span<const Value> args,
                          bool /*constructing*/) {
    if (callDepth >= limits.recursionDepth) {
        return AbortForRecursion();
    }
    const ScriptCode& code = *f->code;
    // super looks up from above this's prototype, or from above the level
    // a call through super started at; a plain call has none.
    Object* holder = pendingHolder;
    const bool plain = pendingPlainCall;
    pendingHolder = nullptr;
    pendingPlainCall = false;
    if (!holder && !plain) {
        if (Object* self = thisValue.ObjectOrNull()) {
            holder = self->Prototype();
        }
    }
    Activation a;
    a.bytes = code.bytes;
    a.begin = code.begin;
    a.end = std::min(code.end, code.bytes->size());
    a.version = code.version;
    a.pool = f->pool;
    a.target = f->target ? f->target : CurrentTarget();
    a.originalTarget = a.target;
    a.thisValue = thisValue;
    a.callee = f;
    a.superHolder = holder;
    a.locals = heap.Make<Object>();
    a.scope = heap.Make<Scope>(a.locals, f->scope);
    a.stackBase = stack.size();

    const std::vector<Value> copied(args.begin(), args.end());
    ArrayObject* arguments = NewArray(copied);
    DefineOwn(arguments, names->callee, Value(f), PropertyFlag::DontEnum);
    Value caller = Value::Null();
    if (!activations.empty() && activations.back()->callee) {
        caller = Value(activations.back()->callee);
    }
    DefineOwn(arguments, names->caller, caller, PropertyFlag::DontEnum);

    auto makeSuper = [&]() -> Value {
        return holder ? Value(heap.Make<SuperObject>(thisValue, holder)) : Value();
    };
    if (!code.isFunction2) {
        a.registers.resize(4);
        DefineOwn(a.locals, names->arguments, Value(arguments));
        for (std::size_t i = 0; i < code.parameters.size(); ++i) {
            DefineOwn(a.locals, code.parameters[i].name, i < copied.size() ? copied[i] : Value());
        }
    } else {
        // A function that asks for no registers gets the four of a block.
        a.registers.resize(code.registerCount == 0 ? 4 : code.registerCount);
        std::size_t r = 1;
        auto preload = [&](std::uint16_t flag, Value value) {
            if ((code.flags & flag) && r < a.registers.size()) {
                a.registers[r++] = value;
            }
        };
        Object* parent = clips && a.target ? clips->Parent(a.target) : nullptr;
        // A function that suppresses this has none to preload either.
        if (!(code.flags & Function2Flag::SuppressThis)) {
            preload(Function2Flag::PreloadThis, thisValue);
        }
        preload(Function2Flag::PreloadArguments, Value(arguments));
        if (code.flags & Function2Flag::PreloadSuper) {
            preload(Function2Flag::PreloadSuper, makeSuper());
        }
        preload(Function2Flag::PreloadRoot, Value(clips ? clips->Level(0) : nullptr));
        preload(Function2Flag::PreloadParent, parent ? Value(parent) : Value());
        preload(Function2Flag::PreloadGlobal, Value(global));
        if (!(code.flags & (Function2Flag::PreloadArguments | Function2Flag::SuppressArguments))) {
            DefineOwn(a.locals, names->arguments, Value(arguments));
        }
        for (std::size_t i = 0; i < code.parameters.size(); ++i) {
            const Value arg = i < copied.size() ? copied[i] : Value();
            const ScriptParameter& p = code.parameters[i];
            if (p.registerIndex != 0) {
                if (p.registerIndex < a.registers.size()) {
                    a.registers[p.registerIndex] = arg;
                }
            } else {
                DefineOwn(a.locals, p.name, arg);
            }
        }
    }
    ++callDepth;
    const Completion result = Interpret(*this, a);
    --callDepth;
    stack.resize(a.stackBase);
    switch (result.Kind()) {
    case CompletionKind::Return:
        return Completion(result.GetValue());
    case CompletionKind::Normal:
        return Value();
    default:
        return result;
    }
}

Completion Vm::CallMethod(const Value& base, String* name, std::span<const Value> args) {
    if (!name || name->Empty()) {
        return CallWithHolder(base, base, args, nullptr);
    }
    name = Intern(name);
    Value self = base;
    Object* start = base.ObjectOrNull();
    if (start && start->Class() == ObjectClass::Super) {
        auto* super = static_cast<SuperObject*>(start);
        self = super->This();
        start = super->Holder() ? super->Holder()->Prototype() : nullptr;
        const Completion method = GetMemberWithThis(start, name, self);
        if (method.IsAbrupt()) {
            return method;
        }
        // The method's own super goes on from where this lookup started,
        // wherever along the chain the method was found.
        if (!start) {
            return Value();
        }
        return CallWithHolder(method.GetValue(), self, args, start);
    }
    const Completion method = GetMember(base, name);
    if (method.IsAbrupt()) {
        return method;
    }
    return CallWithHolder(method.GetValue(), self, args, nullptr);
}

Completion Vm::CallPlain(const Value& function, const Value& thisValue,
                         std::span<const Value> args) {
    Object* object = function.ObjectOrNull();
    if (object && object->IsFunction() && !static_cast<FunctionObject*>(object)->IsNative()) {
        pendingPlainCall = true;
    }
    const Completion result = CallWithHolder(function, thisValue, args, nullptr);
    pendingPlainCall = false;
    return result;
}

Object* Vm::MakeInstance(FunctionObject* function) {
    const Property* p = function->Properties().Find(names->prototype, Version());
    Object* prototype = p && !p->IsAccessor() ? p->value.ObjectOrNull() : nullptr;
    if (function->makeInstance) {
        return function->makeInstance(*this, prototype);
    }
    Object* instance = heap.Make<Object>();
    if (prototype) {
        SetPrototype(instance, prototype);
    }
    return instance;
}

Completion Vm::ConstructWith(FunctionObject* function, std::span<const Value> args,
                             Object* instance) {
    // SWF 5 code cannot see "__constructor__", but the object has it.
    DefineOwn(instance, names->constructorHidden, Value(function),
              PropertyFlag::DontEnum | PropertyFlag::Version6);
    // SWF 6 objects have both; "constructor" is the only one before.
    if (Version() < 7) {
        DefineOwn(instance, names->constructor, Value(function), PropertyFlag::DontEnum);
    }
    if (callDepth >= limits.recursionDepth) {
        return AbortForRecursion();
    }
    Completion result;
    if (function->IsNative()) {
        result = CallNative(function, Value(instance), args, true);
    } else if (function->code) {
        pendingHolder = instance->Prototype();
        result = CallScript(function, Value(instance), args, true);
    }
    if (result.IsAbrupt()) {
        return result;
    }
    if (function->IsNative() && result.GetValue().IsObject()) {
        return result.GetValue();
    }
    return Value(instance);
}

Completion Vm::Construct(const Value& function, std::span<const Value> args) {
    Object* object = function.ObjectOrNull();
    if (!object || !object->IsFunction()) {
        return Value();
    }
    auto* f = static_cast<FunctionObject*>(object);
    Object* instance = MakeInstance(f);
    return ConstructWith(f, args, instance);
}

} // namespace swf::script

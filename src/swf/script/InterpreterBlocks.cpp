// Actions that open blocks or make calls: DefineFunction and
// DefineFunction2, with, try/catch/finally, and the call and new actions.
#include <memory>

#include "swf/script/ActionData.h"
#include "swf/script/InterpreterCore.h"

namespace swf::script {

Completion Interpreter::DefineFunction(const Record& r, bool isFunction2, std::size_t& next) {
    auto code = std::make_shared<ScriptCode>();
    const auto& d = r.data;
    std::size_t pos = 0;
    code->name = vm.Intern(ReadCString(d, pos));
    const std::size_t count = ReadU16(d, pos);
    pos += 2;
    code->isFunction2 = isFunction2;
    if (isFunction2) {
        code->registerCount = pos < d.size() ? d[pos] : 0;
        pos += 1;
        code->flags = ReadU16(d, pos);
        pos += 2;
    }
    for (std::size_t i = 0; i < count && pos < d.size(); ++i) {
        ScriptParameter p;
        if (isFunction2) {
            p.registerIndex = d[pos++];
        }
        p.name = vm.Intern(ReadCString(d, pos));
        code->parameters.push_back(p);
    }
    const std::size_t size = ReadU16(d, pos);
    code->bytes = a.bytes;
    code->begin = r.next;
    code->end = std::min(r.next + size, a.bytes->size());
    code->version = a.version;
    next = code->end;

    FunctionObject* f = vm.NewNativeFunction(nullptr);
    f->code = std::move(code);
    // SWF 5 functions close over nothing: their names are the timeline's.
    f->scope = a.version >= 6 ? a.scope : nullptr;
    f->target = a.originalTarget;
    f->pool = a.pool;
    Object* prototype = vm.NewObject();
    vm.DefineOwn(prototype, vm.N().constructor, Value(f), PropertyFlag::DontEnum);
    vm.DefineOwn(f, vm.N().prototype, Value(prototype), PropertyFlag::DontEnum);
    if (f->code->name->Empty()) {
        Push(Value(f));
        return Value();
    }
    if (a.locals) {
        return vm.SetMember(a.locals, f->code->name, Value(f));
    }
    if (a.originalTarget) {
        return vm.SetMember(a.originalTarget, f->code->name, Value(f));
    }
    return vm.SetMember(vm.Global(), f->code->name, Value(f));
}

Completion Interpreter::RunWith(const Record& r, std::size_t& next) {
    const std::size_t size = ReadU16(r.data, 0);
    const std::size_t end = std::min(r.next + size, a.end);
    Object* object = vm.ToObject(Pop());
    // with (undefined) and with (null) skip their block.
    if (!object) {
        next = end;
        return Value();
    }
    Scope* saved = a.scope;
    a.scope = vm.GetHeap().Make<Scope>(object, a.scope);
    const Completion c = Run(r.next, end);
    a.scope = saved;
    next = pc;
    return c;
}

Completion Interpreter::RunTry(const Record& r, std::size_t& next) {
    const auto& d = r.data;
    if (d.size() < 7) {
        return Value();
    }
    const std::uint8_t flags = d[0];
    const bool hasCatch = flags & 1;
    const bool hasFinally = flags & 2;
    const bool catchInRegister = flags & 4;
    const std::size_t tryBegin = r.next;
    const std::size_t catchBegin = std::min(tryBegin + ReadU16(d, 1), a.end);
    // A block whose flag is clear takes no room: the code that follows
    // the blocks present comes next, whatever size the record gives it.
    const std::size_t finallyBegin = std::min(catchBegin + (hasCatch ? ReadU16(d, 3) : 0), a.end);
    const std::size_t after = std::min(finallyBegin + (hasFinally ? ReadU16(d, 5) : 0), a.end);
    std::uint8_t catchRegister = 0;
    String* catchName = nullptr;
    if (catchInRegister) {
        catchRegister = d.size() > 7 ? d[7] : 0;
    } else {
        std::size_t pos = 7;
        catchName = vm.Intern(ReadCString(d, pos));
    }
    const std::size_t stackHeight = stack.size();

    // A jump out of a block leaves the whole statement at once: Flash runs
    // no finally then.
    bool jumpedOut = false;
    auto exitOf = [&](const Completion& c, std::size_t rangeEnd) {
        jumpedOut = c.IsNormal() && pc != rangeEnd;
        return jumpedOut ? pc : after;
    };
    Completion c = Run(tryBegin, catchBegin);
    std::size_t exit = exitOf(c, catchBegin);
    if (c.IsAbort()) {
        return c;
    }
    if (c.IsThrow() && hasCatch) {
        stack.resize(std::max(stackHeight, a.stackBase));
        const Value thrown = c.GetValue();
        if (catchInRegister) {
            if (catchRegister < a.registers.size()) {
                a.registers[catchRegister] = thrown;
            }
        } else {
            const Completion bound = DefineLocal(catchName, thrown);
            if (bound.IsAbrupt()) {
                return bound;
            }
        }
        c = Run(catchBegin, finallyBegin);
        exit = exitOf(c, finallyBegin);
        if (c.IsAbort()) {
            return c;
        }
    }
    if (hasFinally && !jumpedOut) {
        if (c.IsThrow()) {
            stack.resize(std::max(stackHeight, a.stackBase));
        }
        const Completion f = Run(finallyBegin, after);
        if (!f.IsNormal()) {
            return f;
        }
        if (pc != after) {
            exit = pc;
        }
    }
    if (!c.IsNormal()) {
        return c;
    }
    next = exit;
    return Value();
}

Completion Interpreter::CallFunction() {
    const Value nameValue = Pop();
    const std::vector<Value> args = PopArguments();
    Value function;
    Value self;
    if (Object* direct = nameValue.ObjectOrNull()) {
        function = Value(direct);
    } else {
        const auto name = NameOf(nameValue);
        if (!name) {
            return name.Abrupt();
        }
        Object* holder = nullptr;
        const Completion found = (*name)->View().find_first_of(":/.") == std::string_view::npos
                                     ? LookupName(*name, &holder)
                                     : GetVariable(*name);
        if (found.IsAbrupt()) {
            return found;
        }
        function = found.GetValue();
        self = holder ? Value(holder) : Value();
    }
    const Completion result = vm.CallPlain(function, self, args);
    if (result.IsAbrupt()) {
        return result;
    }
    Push(result.GetValue());
    return Value();
}

Completion Interpreter::CallMethodAction() {
    const Value nameValue = Pop();
    const Value object = Pop();
    const std::vector<Value> args = PopArguments();
    Completion result;
    // No name, or one that is empty as a string, calls the object itself,
    // with no this.
    String* name = nullptr;
    if (!nameValue.IsUndefined()) {
        const auto converted = NameOf(nameValue);
        if (!converted) {
            return converted.Abrupt();
        }
        name = *converted;
    }
    if (!name || name->Empty()) {
        Object* o = object.ObjectOrNull();
        result = o && o->Class() == ObjectClass::Super ? vm.CallMethod(object, nullptr, args)
                                                       : vm.Call(object, Value(), args);
    } else {
        result = vm.CallMethod(object, name, args);
    }
    if (result.IsAbrupt()) {
        return result;
    }
    Push(result.GetValue());
    return Value();
}

Completion Interpreter::NewObjectAction() {
    const Value nameValue = Pop();
    const std::vector<Value> args = PopArguments();
    const auto name = NameOf(nameValue);
    if (!name) {
        return name.Abrupt();
    }
    const Completion constructor = GetVariable(*name);
    if (constructor.IsAbrupt()) {
        return constructor;
    }
    const Completion made = vm.Construct(constructor.GetValue(), args);
    if (made.IsAbrupt()) {
        return made;
    }
    Push(made.GetValue());
    return Value();
}

Completion Interpreter::NewMethodAction() {
    const Value nameValue = Pop();
    const Value object = Pop();
    const std::vector<Value> args = PopArguments();
    Value constructor = object;
    // No name, or one that is empty as a string, constructs the object.
    String* name = nullptr;
    if (!nameValue.IsUndefined()) {
        const auto converted = NameOf(nameValue);
        if (!converted) {
            return converted.Abrupt();
        }
        name = *converted;
    }
    if (name && !name->Empty()) {
        const Completion got = vm.GetMember(object, name);
        if (got.IsAbrupt()) {
            return got;
        }
        constructor = got.GetValue();
    }
    const Completion made = vm.Construct(constructor, args);
    if (made.IsAbrupt()) {
        return made;
    }
    Push(made.GetValue());
    return Value();
}

} // namespace swf::script

#include "swf/script/Vm.h"

#include <algorithm>
#include <string>

#include "swf/script/Activation.h"
#include "swf/script/ArrayObject.h"
#include "swf/script/Interpreter.h"
#include "swf/script/builtins/Builtins.h"

namespace swf::script {

void BuiltinObjects::Trace(Tracer& t) const {
    for (const Object* o : {objectPrototype, functionPrototype, arrayPrototype, stringPrototype,
                            numberPrototype, booleanPrototype, datePrototype, errorPrototype,
                            clipPrototype, buttonPrototype, textFieldPrototype}) {
        t.Visit(o);
    }
    for (const FunctionObject* f :
         {objectConstructor, functionConstructor, arrayConstructor, stringConstructor,
          numberConstructor, booleanConstructor, errorConstructor, clipConstructor}) {
        t.Visit(f);
    }
}

int NativeCall::Version() const {
    return vm.Version();
}

Vm::Vm(VmHost& host, int version, VmLimits limits)
    : host(host), movieVersion(version), limits(limits), strings(heap) {
    names = std::make_unique<Names>(strings);
    heap.AddRoots(this);
    random.seed(0x5eed);
    builtins::InstallAll(*this);
}

Vm::~Vm() {
    heap.RemoveRoots(this);
}

int Vm::Version() const {
    return activations.empty() ? movieVersion : activations.back()->version;
}

Object* Vm::CurrentTarget() const {
    if (!activations.empty() && activations.back()->target) {
        return activations.back()->target;
    }
    return clips ? clips->Level(0) : nullptr;
}

String* Vm::NewString(std::string bytes) {
    if (bytes.empty()) {
        return names->empty;
    }
    return heap.Make<String>(std::move(bytes));
}

String* Vm::IndexName(std::size_t index) {
    if (index < 4096) {
        if (index >= indexNames.size()) {
            indexNames.resize(index + 1, nullptr);
        }
        if (!indexNames[index]) {
            indexNames[index] = strings.Intern(std::to_string(index));
        }
        return indexNames[index];
    }
    return strings.Intern(std::to_string(index));
}

Object* Vm::NewObject() {
    return NewObject(builtins.objectPrototype);
}

Object* Vm::NewObject(Object* prototype) {
    Object* object = heap.Make<Object>();
    if (prototype) {
        SetPrototype(object, prototype);
    }
    return object;
}

ArrayObject* Vm::NewArray() {
    ArrayObject* array = heap.Make<ArrayObject>();
    SetPrototype(array, builtins.arrayPrototype);
    array->SetLength(*this, 0);
    return array;
}

ArrayObject* Vm::NewArray(std::span<const Value> elements) {
    ArrayObject* array = NewArray();
    for (std::size_t i = 0; i < elements.size(); ++i) {
        array->SetElement(*this, i, elements[i]);
    }
    return array;
}

ArrayObject* Vm::NewArrayOfGlobalArray(std::span<const Value> elements) {
    ArrayObject* array = NewArray(elements);
    Object* prototype = nullptr;
    const Property* constructor = FindOwn(global, Intern("Array"));
    if (constructor && !constructor->IsAccessor() && constructor->value.IsObject()) {
        const Property* p = FindOwn(constructor->value.AsObject(), names->prototype);
        if (p && !p->IsAccessor() && p->value.IsObject()) {
            prototype = p->value.AsObject();
        }
    }
    if (prototype == builtins.arrayPrototype) {
        return array;
    }
    if (prototype) {
        SetPrototype(array, prototype);
    } else if (Property* proto = FindOwn(array, names->proto)) {
        array->Properties().Remove(proto);
        array->SetPrototypeCache(nullptr);
    }
    return array;
}

FunctionObject* Vm::NewNativeFunction(NativeFunction function) {
    FunctionObject* f = heap.Make<FunctionObject>();
    f->native = function;
    if (builtins.functionPrototype) {
        SetPrototype(f, builtins.functionPrototype);
    }
    return f;
}

void Vm::SetPrototype(Object* object, Object* prototype) {
    DefineOwn(object, names->proto, Value(prototype),
              PropertyFlag::DontEnum | PropertyFlag::DontDelete);
}

void Vm::DefineOwn(Object* object, String* name, Value value, std::uint16_t flags) {
    name = strings.Intern(name);
    Property* existing = object->Properties().Find(name, 7);
    if (existing) {
        existing->value = value;
        existing->getter = nullptr;
        existing->setter = nullptr;
        existing->flags = flags;
    } else {
        object->Properties().Add(name, value, flags);
    }
    if (name == names->proto) {
        object->SetPrototypeCache(value.ObjectOrNull());
        object->SetPrototypeFlags(flags);
    }
}

bool Vm::ChargeActions(std::uint64_t count) {
    actionsThisFrame += count;
    return actionsThisFrame <= limits.actionsPerFrame;
}

Completion Vm::AbortForLimit(std::string_view what) {
    if (!limitNoted) {
        host.Note(std::string("script stopped: ") + std::string(what));
        limitNoted = true;
    }
    return Completion::Abort();
}

Completion Vm::AbortForRecursion() {
    scriptsDisabled = true;
    return AbortForLimit("recursion too deep; the movie's scripts are disabled");
}

void Vm::Collect() {
    heap.Collect();
    limitNoted = false;
}

void Vm::TraceRoots(Tracer& tracer) const {
    names->Trace(tracer);
    builtins.Trace(tracer);
    tracer.Visit(global);
    for (const String* s : indexNames) {
        tracer.Visit(s);
    }
    for (const Activation* a : activations) {
        a->Trace(tracer);
    }
    for (const Value& v : stack) {
        tracer.Visit(v);
    }
    for (const Value& v : temporaryRoots) {
        tracer.Visit(v);
    }
    for (const auto& [name, constructor] : registeredClasses) {
        tracer.Visit(name);
        tracer.Visit(constructor);
    }
    for (const auto& [frames, t] : frameStartCalls) {
        tracer.Visit(t.function);
        tracer.Visit(t.method);
        for (const Value& v : t.args) {
            tracer.Visit(v);
        }
    }
    for (const Timer& t : timers) {
        tracer.Visit(t.function);
        tracer.Visit(t.method);
        for (const Value& v : t.args) {
            tracer.Visit(v);
        }
    }
}

Completion Vm::RunActions(const ActionBytes& bytes, std::size_t begin, std::size_t end,
                          Object* target, int version, Object* thisObject) {
    Activation activation;
    activation.bytes = bytes;
    activation.begin = begin;
    activation.end = std::min(end, bytes->size());
    activation.version = version;
    activation.registers.resize(4);
    activation.target = target;
    activation.originalTarget = target;
    activation.thisValue = Value(thisObject ? thisObject : target);
    activation.stackBase = stack.size();
    // The block itself is the first of the levels the recursion limit
    // counts.
    ++callDepth;
    const Completion result = Interpret(*this, activation);
    --callDepth;
    stack.resize(activation.stackBase);
    if (result.Kind() == CompletionKind::Return) {
        return Completion(result.GetValue());
    }
    return result;
}

void Vm::RunTimers(double nowMs) {
    // Timers set or cleared by the timers themselves take effect at once;
    // each due timer runs once per call, as one frame runs each at most once.
    std::vector<int> due;
    for (const Timer& t : timers) {
        if (t.dueMs <= nowMs) {
            due.push_back(t.id);
        }
    }
    for (const int id : due) {
        auto it =
            std::find_if(timers.begin(), timers.end(), [id](const Timer& t) { return t.id == id; });
        if (it == timers.end()) {
            continue;
        }
        Timer timer = *it;
        if (timer.repeat) {
            const double period = std::max(timer.intervalMs, 1.0);
            it->dueMs = std::max(it->dueMs + period, nowMs - period * 10);
            while (it->dueMs <= nowMs - period) {
                it->dueMs += period;
            }
        } else {
            timers.erase(it);
        }
        NewFrame();
        if (timer.method) {
            CallMethod(timer.function, timer.method, timer.args);
        } else {
            Call(timer.function, Value::Null(), timer.args);
        }
    }
}

void Vm::CallAtFrameStart(Timer call, int frames) {
    frameStartCalls.emplace_back(std::max(frames, 1), std::move(call));
}

void Vm::RunFrameStartCalls() {
    std::vector<Timer> due;
    for (auto it = frameStartCalls.begin(); it != frameStartCalls.end();) {
        if (--it->first <= 0) {
            due.push_back(std::move(it->second));
            it = frameStartCalls.erase(it);
        } else {
            ++it;
        }
    }
    for (const Timer& call : due) {
        NewFrame();
        if (call.method) {
            CallMethod(call.function, call.method, call.args);
        } else {
            Call(call.function, Value::Null(), call.args);
        }
    }
}

} // namespace swf::script

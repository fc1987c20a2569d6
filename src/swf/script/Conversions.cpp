// Conversions between the kinds of values, and the comparisons, by the SWF
// version of the running code.
#include <cmath>
#include <limits>
#include <vector>

#include "swf/script/NumberText.h"
#include "swf/script/SuperObject.h"
#include "swf/script/Vm.h"

namespace swf::script {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

} // namespace

bool Value::SameAs(const Value& other) const {
    if (kind != other.kind) {
        return false;
    }
    switch (kind) {
    case ValueKind::Undefined:
    case ValueKind::Null:
        return true;
    case ValueKind::Boolean:
        return boolean == other.boolean;
    case ValueKind::Number:
        return number == other.number || (std::isnan(number) && std::isnan(other.number));
    case ValueKind::String:
        return string == other.string || string->View() == other.string->View();
    case ValueKind::Object:
        return object == other.object;
    }
    return false;
}

double Vm::PrimitiveToNumber(const Value& v) {
    switch (v.Kind()) {
    case ValueKind::Undefined:
    case ValueKind::Null:
        return Version() >= 7 ? nan : 0.0;
    case ValueKind::Boolean:
        return v.AsBoolean() ? 1.0 : 0.0;
    case ValueKind::Number:
        return v.AsNumber();
    case ValueKind::String:
        return StringToNumber(v.AsString()->View(), Version());
    case ValueKind::Object:
        return nan;
    }
    return nan;
}

String* Vm::PrimitiveToString(const Value& v) {
    switch (v.Kind()) {
    case ValueKind::Undefined:
        return Version() >= 7 ? names->undefined : names->empty;
    case ValueKind::Null:
        return names->null;
    case ValueKind::Boolean:
        return v.AsBoolean() ? names->trueName : names->falseName;
    case ValueKind::Number: {
        const double n = v.AsNumber();
        if (n >= 0 && n < 4096 && n == std::floor(n) && !std::signbit(n)) {
            return IndexName(static_cast<std::size_t>(n));
        }
        return NewString(NumberToString(n));
    }
    case ValueKind::String:
        return v.AsString();
    case ValueKind::Object:
        return names->objectObject;
    }
    return names->empty;
}

Value Vm::ClipPrimitive(Object* clip) {
    if (clips && clips->Alive(clip)) {
        return Value(NewString(clips->DotPath(clip)));
    }
    return Value(names->empty);
}

ScriptResult<Value> Vm::ToPrimitive(const Value& value, PrimitiveHint hint) {
    Object* object = value.ObjectOrNull();
    if (!object) {
        return value;
    }
    // A clip is its path as text and no number; none of its methods is asked.
    if (IsClip(object)) {
        return hint == PrimitiveHint::Addend ? value : ClipPrimitive(object);
    }
    // A String object is its string to whoever asks for one.
    if (hint == PrimitiveHint::String && object->Class() == ObjectClass::String &&
        object->Primitive().IsString()) {
        return object->Primitive();
    }
    const bool wantsNumber = hint == PrimitiveHint::Number;
    const bool addend = hint == PrimitiveHint::Addend;
    if (hint == PrimitiveHint::None || addend) {
        // Dates are text to + from SWF 6.
        hint = object->Class() == ObjectClass::Date && Version() >= 6 ? PrimitiveHint::String
                                                                      : PrimitiveHint::Number;
    }
    // A string is asked of toString alone, a number of valueOf alone, and
    // with no preference valueOf, then toString.
    std::vector<String*> methods;
    if (hint == PrimitiveHint::String) {
        methods = {names->toString};
    } else if (wantsNumber) {
        methods = {names->valueOf};
    } else if (addend) {
        methods = {names->valueOf};
    } else {
        methods = {names->valueOf, names->toString};
    }
    bool called = false;
    for (String* method : methods) {
        const Completion function = GetMember(value, method);
        if (function.IsAbrupt()) {
            return function;
        }
        const Object* callable = function.GetValue().ObjectOrNull();
        if (!callable || !callable->IsFunction()) {
            continue;
        }
        called = true;
        const Value self = object->Class() == ObjectClass::Super
                               ? static_cast<SuperObject*>(object)->This()
                               : value;
        const Completion result = Call(function.GetValue(), self, {});
        if (result.IsAbrupt()) {
            return result;
        }
        if (addend && result.GetValue().IsObject() && !IsClip(result.GetValue().AsObject())) {
            return value;
        }
        // Asked for a string, only a string will do.
        if (hint == PrimitiveHint::String && !addend) {
            if (result.GetValue().IsString()) {
                return result.GetValue();
            }
            break;
        }
        if (!result.GetValue().IsObject()) {
            return result.GetValue();
        }
        // A clip given back stands for its path, as a clip itself does.
        if (IsClip(result.GetValue().AsObject())) {
            return ClipPrimitive(result.GetValue().AsObject());
        }
    }
    // An object without the methods converts as undefined would, when no
    // string was asked for; so does a function before SWF 6.
    if (!called && hint != PrimitiveHint::String && (!object->IsFunction() || Version() < 6)) {
        return Value();
    }
    // None gave a primitive: Flash falls back to the object's kind; a
    // function counts as 0 in SWF 5.
    if (wantsNumber && object->IsFunction() && Version() < 6) {
        return Value(0.0);
    }
    if (!wantsNumber || object->IsFunction()) {
        return Value(object->IsFunction() ? names->typeFunction : Intern("[type Object]"));
    }
    return Value(nan);
}

ScriptResult<String*> Vm::AddendToString(const Value& value) {
    Object* object = value.ObjectOrNull();
    if (!object) {
        return PrimitiveToString(value);
    }
    if (object->Class() == ObjectClass::String && object->Primitive().IsString()) {
        return object->Primitive().AsString();
    }
    if (IsClip(object)) {
        return PrimitiveToString(ClipPrimitive(object));
    }
    const Completion function = GetMember(value, names->toString);
    if (function.IsAbrupt()) {
        return function;
    }
    const Object* callable = function.GetValue().ObjectOrNull();
    if (callable && callable->IsFunction()) {
        const Completion result = Call(function.GetValue(), value, {});
        if (result.IsAbrupt()) {
            return result;
        }
        if (!result.GetValue().IsObject()) {
            return PrimitiveToString(result.GetValue());
        }
        if (IsClip(result.GetValue().AsObject())) {
            return PrimitiveToString(ClipPrimitive(result.GetValue().AsObject()));
        }
    }
    return object->IsFunction() ? names->typeFunction : Intern("[type Object]");
}

ScriptResult<double> Vm::ToNumber(const Value& value) {
    if (!value.IsObject()) {
        return PrimitiveToNumber(value);
    }
    if (IsClip(value.AsObject())) {
        return nan;
    }
    const auto primitive = ToPrimitive(value, PrimitiveHint::Number);
    if (!primitive) {
        return primitive.Abrupt();
    }
    return PrimitiveToNumber(*primitive);
}

ScriptResult<String*> Vm::ToString(const Value& value) {
    if (!value.IsObject()) {
        return PrimitiveToString(value);
    }
    const auto primitive = ToPrimitive(value, PrimitiveHint::String);
    if (!primitive) {
        return primitive.Abrupt();
    }
    return PrimitiveToString(*primitive);
}

bool Vm::ToBoolean(const Value& value) {
    switch (value.Kind()) {
    case ValueKind::Undefined:
    case ValueKind::Null:
        return false;
    case ValueKind::Boolean:
        return value.AsBoolean();
    case ValueKind::Number:
        return value.AsNumber() != 0 && !std::isnan(value.AsNumber());
    case ValueKind::String:
        if (Version() >= 7) {
            return !value.AsString()->Empty();
        } else {
            const double n = StringToNumber(value.AsString()->View(), Version());
            return n != 0 && !std::isnan(n);
        }
    case ValueKind::Object:
        return true;
    }
    return false;
}

Object* Vm::ToObject(const Value& value) {
    Object* wrapper = nullptr;
    FunctionObject* maker = nullptr;
    switch (value.Kind()) {
    case ValueKind::Object:
        return value.AsObject();
    case ValueKind::String:
        wrapper = heap.Make<Object>(ObjectClass::String);
        SetPrototype(wrapper, builtins.stringPrototype);
        DefineOwn(wrapper, names->length, Value(double(value.AsString()->Size())),
                  PropertyFlag::DontEnum | PropertyFlag::DontDelete | PropertyFlag::ReadOnly);
        maker = builtins.stringConstructor;
        break;
    case ValueKind::Number:
        wrapper = heap.Make<Object>(ObjectClass::Number);
        SetPrototype(wrapper, builtins.numberPrototype);
        maker = builtins.numberConstructor;
        break;
    case ValueKind::Boolean:
        wrapper = heap.Make<Object>(ObjectClass::Boolean);
        SetPrototype(wrapper, builtins.booleanPrototype);
        maker = builtins.booleanConstructor;
        break;
    default:
        return nullptr;
    }
    wrapper->SetPrimitive(value);
    // The wrapper knows its class as an object new made would.
    if (maker) {
        DefineOwn(wrapper, names->constructorHidden, Value(maker),
                  PropertyFlag::DontEnum | PropertyFlag::Version6);
        if (Version() < 7) {
            DefineOwn(wrapper, names->constructor, Value(maker), PropertyFlag::DontEnum);
        }
    }
    return wrapper;
}

String* Vm::TypeOf(const Value& value) {
    switch (value.Kind()) {
    case ValueKind::Undefined:
        return names->undefined;
    case ValueKind::Null:
        return names->null;
    case ValueKind::Boolean:
        return names->boolean;
    case ValueKind::Number:
        return names->number;
    case ValueKind::String:
        return names->string;
    case ValueKind::Object: {
        const Object* object = value.AsObject();
        if (object->IsFunction()) {
            return names->function;
        }
        if (object->Class() == ObjectClass::Clip) {
            return names->movieclip;
        }
        return names->object;
    }
    }
    return names->undefined;
}

bool Vm::StrictEquals(const Value& a, const Value& b) {
    if (a.Kind() != b.Kind()) {
        return false;
    }
    if (a.IsNumber()) {
        return a.AsNumber() == b.AsNumber();
    }
    // Clip references are alike when they stand for the same clip now; two
    // that stand for nothing are alike too.
    if (a.IsObject() && clips && IsClip(a.AsObject()) && IsClip(b.AsObject())) {
        return clips->Live(a.AsObject()) == clips->Live(b.AsObject());
    }
    return a.SameAs(b);
}

ScriptResult<bool> Vm::LooseEquals(const Value& a, const Value& b) {
    // SWF 5 asks every object its valueOf, even one compared with itself,
    // and an object that stays one is asked again for a number.
    auto plainObject = [&](const Value& v) { return v.IsObject() && !IsClip(v.AsObject()); };
    if (Version() < 6 && (plainObject(a) || plainObject(b))) {
        const auto pa = ToPrimitive(a, PrimitiveHint::Addend);
        if (!pa) {
            return pa.Abrupt();
        }
        const auto pb = ToPrimitive(b, PrimitiveHint::Addend);
        if (!pb) {
            return pb.Abrupt();
        }
        if (pa->IsObject() && pb->IsObject()) {
            return pa->AsObject() == pb->AsObject();
        }
        if (pa->IsObject() || pb->IsObject()) {
            const auto na = ToNumber(*pa);
            if (!na) {
                return na.Abrupt();
            }
            const auto nb = ToNumber(*pb);
            if (!nb) {
                return nb.Abrupt();
            }
            return *na == *nb;
        }
        return LooseEquals(*pa, *pb);
    }
    if (a.Kind() == b.Kind()) {
        return StrictEquals(a, b);
    }
    if (a.IsNullish() && b.IsNullish()) {
        return true;
    }
    if (a.IsNullish() || b.IsNullish()) {
        return false;
    }
    if (a.IsObject() || b.IsObject()) {
        if (a.IsObject() && b.IsObject()) {
            return a.AsObject() == b.AsObject();
        }
        const Value& object = a.IsObject() ? a : b;
        const Value& other = a.IsObject() ? b : a;
        const auto primitive = ToPrimitive(object, PrimitiveHint::Number);
        if (!primitive) {
            return primitive.Abrupt();
        }
        if (primitive->IsObject()) {
            return false;
        }
        return a.IsObject() ? LooseEquals(*primitive, other) : LooseEquals(other, *primitive);
    }
    if (a.IsBoolean() || b.IsBoolean() || a.IsNumber() || b.IsNumber()) {
        return PrimitiveToNumber(a) == PrimitiveToNumber(b);
    }
    return false;
}

ScriptResult<Value> Vm::LessThan(const Value& a, const Value& b) {
    const auto pa = ToPrimitive(a, PrimitiveHint::Number);
    if (!pa) {
        return pa.Abrupt();
    }
    const auto pb = ToPrimitive(b, PrimitiveHint::Number);
    if (!pb) {
        return pb.Abrupt();
    }
    if (pa->IsString() && pb->IsString()) {
        return Value(pa->AsString()->View() < pb->AsString()->View());
    }
    const double x = PrimitiveToNumber(*pa);
    const double y = PrimitiveToNumber(*pb);
    if (std::isnan(x) || std::isnan(y)) {
        return Value();
    }
    return Value(x < y);
}

namespace {

bool ImplementsInterface(Vm& vm, Object* prototype, Object* wanted, int depth) {
    if (!prototype || depth > 32 || !prototype->HasInterfaces()) {
        return false;
    }
    for (Object* face : prototype->Interfaces()) {
        const Property* p = face->Properties().Find(vm.N().prototype, 7);
        Object* faceProto = p ? p->value.ObjectOrNull() : nullptr;
        if (faceProto == wanted || ImplementsInterface(vm, faceProto, wanted, depth + 1)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool Vm::InstanceOf(const Value& value, Object* constructor) {
    Object* object = value.ObjectOrNull();
    if (!object || !constructor) {
        return false;
    }
    const Completion prototypeValue = GetMember(constructor, names->prototype);
    Object* prototype = prototypeValue.GetValue().ObjectOrNull();
    if (!prototype) {
        return false;
    }
    int depth = 0;
    for (Object* o = object->VisiblePrototypeIn(Version()); o && depth < 256;
         o = o->VisiblePrototypeIn(Version()), ++depth) {
        if (o == prototype || ImplementsInterface(*this, o, prototype, 0)) {
            return true;
        }
    }
    return false;
}

Completion Vm::ThrowError(std::string_view className, std::string_view message) {
    const Completion constructor = GetMember(global, Intern(className));
    const Value args[] = {Value(NewString(message))};
    const Completion error = Construct(constructor.GetValue(), args);
    if (error.IsAbrupt()) {
        return error;
    }
    return Completion::Throw(error.GetValue());
}

ScriptResult<Value> Vm::Add(const Value& a, const Value& b) {
    // The right operand is converted first, as Flash Player does.
    const auto pb = ToPrimitive(b, PrimitiveHint::Addend);
    if (!pb) {
        return pb.Abrupt();
    }
    const auto pa = ToPrimitive(a, PrimitiveHint::Addend);
    if (!pa) {
        return pa.Abrupt();
    }
    if (pa->IsString() || pb->IsString()) {
        const auto textB = AddendToString(*pb);
        if (!textB) {
            return textB.Abrupt();
        }
        const auto textA = AddendToString(*pa);
        if (!textA) {
            return textA.Abrupt();
        }
        std::string joined;
        joined.reserve((*textA)->Size() + (*textB)->Size());
        joined += (*textA)->View();
        joined += (*textB)->View();
        if (joined.size() > Limits().heapBytes / 4) {
            return AbortForLimit("string too long");
        }
        return Value(NewString(std::move(joined)));
    }
    const auto nb = ToNumber(*pb);
    if (!nb) {
        return nb.Abrupt();
    }
    const auto na = ToNumber(*pa);
    if (!na) {
        return na.Abrupt();
    }
    return Value(*na + *nb);
}

} // namespace swf::script

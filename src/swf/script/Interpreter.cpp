// The action loop: decoding each record, the stack, arithmetic, comparison,
// strings, members, and the timeline actions.
#include "swf/script/Interpreter.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "swf/script/ActionCodes.h"
#include "swf/script/ActionData.h"
#include "swf/script/ArrayObject.h"
#include "swf/script/InterpreterCore.h"
#include "swf/script/NumberText.h"
#include "swf/script/TextEncoding.h"

namespace swf::script {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// Keeps the engine's list of running activations.
class ActivationScope {
public:
    ActivationScope(Vm& vm, Activation& a) : list(vm.Activations()) { list.push_back(&a); }
    ~ActivationScope() { list.pop_back(); }
    ActivationScope(const ActivationScope&) = delete;
    ActivationScope& operator=(const ActivationScope&) = delete;

private:
    std::vector<Activation*>& list;
};

} // namespace

Completion Interpret(Vm& vm, Activation& activation) {
    ActivationScope registered(vm, activation);
    Interpreter interpreter(vm, activation);
    return interpreter.Run(activation.begin, activation.end);
}

Value Interpreter::Pop() {
    if (stack.size() <= a.stackBase) {
        return Value();
    }
    const Value v = stack.back();
    stack.pop_back();
    return v;
}

Value& Interpreter::Top() {
    if (stack.size() <= a.stackBase) {
        stack.push_back(Value());
    }
    return stack.back();
}

std::vector<Value> Interpreter::PopArguments() {
    const double count = vm.PrimitiveToNumber(Pop());
    std::vector<Value> args;
    if (!(count > 0)) {
        return args;
    }
    const std::size_t available = stack.size() - a.stackBase;
    const std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(std::min(count, 1e9)), available);
    args.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        args.push_back(Pop());
    }
    return args;
}

ScriptResult<String*> Interpreter::NameOf(const Value& v) {
    if (v.IsString()) {
        return vm.Intern(v.AsString());
    }
    if (v.IsNumber()) {
        const double n = v.AsNumber();
        if (n >= 0 && n < 1e9 && n == std::floor(n)) {
            return vm.IndexName(static_cast<std::size_t>(n));
        }
    }
    const auto s = vm.ToString(v);
    if (!s) {
        return s;
    }
    return vm.Intern(*s);
}

bool Interpreter::Decode(std::size_t at, Record& r) const {
    const std::vector<std::uint8_t>& bytes = *a.bytes;
    if (at >= bytes.size()) {
        return false;
    }
    r.code = bytes[at];
    if (r.code < 0x80) {
        r.data = {};
        r.next = at + 1;
        return true;
    }
    if (at + 3 > bytes.size()) {
        return false;
    }
    const std::size_t length = bytes[at + 1] | (bytes[at + 2] << 8);
    if (at + 3 + length > bytes.size()) {
        return false;
    }
    r.data = std::span<const std::uint8_t>(bytes.data() + at + 3, length);
    r.next = at + 3 + length;
    return true;
}

Completion Interpreter::Run(std::size_t begin, std::size_t end) {
    pc = begin;
    Record r;
    while (pc >= begin && pc < end) {
        if (!vm.ChargeActions(1)) {
            return vm.AbortForLimit("too many actions in one frame");
        }
        // What scripts hold is bounded too; garbage goes between frames.
        if (vm.OverMemory()) {
            return vm.AbortForLimit("script memory full");
        }
        if (!Decode(pc, r) || r.code == 0) {
            pc = end;
            return Value();
        }
        std::size_t next = r.next;
        const Completion c = Execute(r, next);
        if (!c.IsNormal()) {
            return c;
        }
        if (stack.size() > vm.Limits().stackValues) {
            return vm.AbortForLimit("script stack too deep");
        }
        pc = next;
    }
    return Value();
}

Completion Interpreter::SkipActions(int count, std::size_t& next) {
    Record r;
    for (int i = 0; i < count; ++i) {
        if (!Decode(next, r)) {
            next = a.end;
            break;
        }
        next = r.next;
    }
    return Value();
}

Completion Interpreter::Execute(const Record& r, std::size_t& next) {
    ClipHost* clips = vm.Clips();
    const Op op = static_cast<Op>(r.code);
    switch (op) {
    // Timeline actions of SWF 3.
    case Op::NextFrame:
        if (clips && a.target) {
            clips->NextFrame(a.target);
        }
        return Value();
    case Op::PrevFrame:
        if (clips && a.target) {
            clips->PrevFrame(a.target);
        }
        return Value();
    case Op::Play:
        if (clips && a.target) {
            clips->Play(a.target);
        }
        return Value();
    case Op::Stop:
        if (clips && a.target) {
            clips->Stop(a.target);
        }
        return Value();
    case Op::ToggleQuality:
        if (clips) {
            clips->ToggleQuality();
        }
        return Value();
    case Op::StopSounds:
        if (clips) {
            clips->StopSounds();
        }
        return Value();
    case Op::GotoFrame:
        if (clips && a.target) {
            clips->GotoFrame(a.target, ReadU16(r.data, 0), false);
        }
        return Value();
    case Op::GoToLabel: {
        std::size_t pos = 0;
        const std::string_view label = ReadCString(r.data, pos);
        if (clips && a.target) {
            clips->GotoLabel(a.target, label, false);
        }
        return Value();
    }
    case Op::GetUrl: {
        std::size_t pos = 0;
        UrlRequest request;
        request.url = std::string(ReadCString(r.data, pos));
        request.target = std::string(ReadCString(r.data, pos));
        if (clips) {
            clips->RequestUrl(a.target, request);
        }
        return Value();
    }
    case Op::WaitForFrame: {
        const std::size_t frame = ReadU16(r.data, 0);
        const int skip = r.data.size() > 2 ? r.data[2] : 0;
        if (clips && a.target && frame >= clips->FramesLoaded(a.target) &&
            frame < clips->TotalFrames(a.target)) {
            return SkipActions(skip, next);
        }
        return Value();
    }
    case Op::WaitForFrame2: {
        const Value frameValue = Pop();
        const int skip = r.data.empty() ? 0 : r.data[0];
        if (clips && a.target) {
            const auto frame = vm.ToNumber(frameValue);
            if (!frame) {
                return frame.Abrupt();
            }
            const double f = *frame - 1;
            if (f >= double(clips->FramesLoaded(a.target)) &&
                f < double(clips->TotalFrames(a.target))) {
                return SkipActions(skip, next);
            }
        }
        return Value();
    }
    case Op::SetTarget: {
        std::size_t pos = 0;
        const std::string_view path = ReadCString(r.data, pos);
        return TargetPath(path);
    }
    case Op::SetTarget2: {
        // A clip is taken by its path, as Flash takes it: the first clip of
        // that name is the target.
        const Value target = Pop();
        const auto path = vm.ToString(target);
        if (!path) {
            return path.Abrupt();
        }
        return TargetPath((*path)->View());
    }

    // Arithmetic.
    case Op::Add:
    case Op::Subtract:
    case Op::Multiply:
    case Op::Divide:
    case Op::Modulo: {
        const Value bv = Pop();
        const Value av = Pop();
        const auto y = vm.ToNumber(bv);
        if (!y) {
            return y.Abrupt();
        }
        const auto x = vm.ToNumber(av);
        if (!x) {
            return x.Abrupt();
        }
        double result = 0;
        switch (op) {
        case Op::Add:
            result = *x + *y;
            break;
        case Op::Subtract:
            result = *x - *y;
            break;
        case Op::Multiply:
            result = *x * *y;
            break;
        case Op::Divide:
            if (*y == 0 && a.version < 5) {
                Push(Value(vm.Intern("#ERROR#")));
                return Value();
            }
            // Flash divides by a zero of either sign alike.
            result = *y == 0 ? (*x > 0   ? std::numeric_limits<double>::infinity()
                                : *x < 0 ? -std::numeric_limits<double>::infinity()
                                         : nan)
                             : *x / *y;
            break;
        default:
            result = std::fmod(*x, *y);
            break;
        }
        Push(Value(result));
        return Value();
    }
    case Op::Add2: {
        const Value bv = Pop();
        const Value av = Pop();
        const auto sum = vm.Add(av, bv);
        if (!sum) {
            return sum.Abrupt();
        }
        Push(*sum);
        return Value();
    }
    case Op::Increment:
    case Op::Decrement: {
        const auto x = vm.ToNumber(Pop());
        if (!x) {
            return x.Abrupt();
        }
        Push(Value(op == Op::Increment ? *x + 1 : *x - 1));
        return Value();
    }
    case Op::BitAnd:
    case Op::BitOr:
    case Op::BitXor:
    case Op::BitLShift:
    case Op::BitRShift:
    case Op::BitURShift: {
        const Value bv = Pop();
        const Value av = Pop();
        const auto y = vm.ToNumber(bv);
        if (!y) {
            return y.Abrupt();
        }
        const auto x = vm.ToNumber(av);
        if (!x) {
            return x.Abrupt();
        }
        const int xi = ToInt32(*x);
        const int yi = ToInt32(*y);
        double result = 0;
        switch (op) {
        case Op::BitAnd:
            result = xi & yi;
            break;
        case Op::BitOr:
            result = xi | yi;
            break;
        case Op::BitXor:
            result = xi ^ yi;
            break;
        case Op::BitLShift:
            result = static_cast<int>(static_cast<unsigned>(xi) << (yi & 31));
            break;
        case Op::BitRShift:
            result = xi >> (yi & 31);
            break;
        default:
            // A shift by nothing leaves the signed value as it was.
            result = (yi & 31) == 0 ? double(xi) : double(static_cast<unsigned>(xi) >> (yi & 31));
            break;
        }
        Push(Value(result));
        return Value();
    }

    // Comparison and logic.
    case Op::Equals:
    case Op::Less: {
        const Value bv = Pop();
        const Value av = Pop();
        const auto y = vm.ToNumber(bv);
        if (!y) {
            return y.Abrupt();
        }
        const auto x = vm.ToNumber(av);
        if (!x) {
            return x.Abrupt();
        }
        PushBool(op == Op::Equals ? *x == *y : *x < *y);
        return Value();
    }
    case Op::And:
    case Op::Or: {
        const bool y = vm.ToBoolean(Pop());
        const bool x = vm.ToBoolean(Pop());
        PushBool(op == Op::And ? (x && y) : (x || y));
        return Value();
    }
    case Op::Not:
        PushBool(!vm.ToBoolean(Pop()));
        return Value();
    case Op::Equals2: {
        const Value bv = Pop();
        const Value av = Pop();
        const auto equal = vm.LooseEquals(av, bv);
        if (!equal) {
            return equal.Abrupt();
        }
        PushBool(*equal);
        return Value();
    }
    case Op::StrictEquals: {
        const Value bv = Pop();
        const Value av = Pop();
        PushBool(vm.StrictEquals(av, bv));
        return Value();
    }
    case Op::Less2:
    case Op::Greater: {
        const Value bv = Pop();
        const Value av = Pop();
        const auto less = op == Op::Less2 ? vm.LessThan(av, bv) : vm.LessThan(bv, av);
        if (!less) {
            return less.Abrupt();
        }
        if (op == Op::Greater && less->IsUndefined()) {
            PushBool(false);
        } else {
            Push(*less);
        }
        return Value();
    }
    case Op::StringEquals:
    case Op::StringLess:
    case Op::StringGreater: {
        const Value bv = Pop();
        const Value av = Pop();
        const auto y = vm.ToString(bv);
        if (!y) {
            return y.Abrupt();
        }
        const auto x = vm.ToString(av);
        if (!x) {
            return x.Abrupt();
        }
        const int order = (*x)->View().compare((*y)->View());
        PushBool(op == Op::StringEquals ? order == 0
                 : op == Op::StringLess ? order < 0
                                        : order > 0);
        return Value();
    }

    // Strings.
    case Op::StringAdd: {
        const Value bv = Pop();
        const Value av = Pop();
        const auto y = vm.ToString(bv);
        if (!y) {
            return y.Abrupt();
        }
        const auto x = vm.ToString(av);
        if (!x) {
            return x.Abrupt();
        }
        Push(Value(vm.NewString(std::string((*x)->View()) + std::string((*y)->View()))));
        return Value();
    }
    case Op::StringLength:
    case Op::MbStringLength: {
        const auto s = vm.ToString(Pop());
        if (!s) {
            return s.Abrupt();
        }
        Push(Value(double(CharacterCount((*s)->View(), a.version))));
        return Value();
    }
    case Op::StringExtract:
    case Op::MbStringExtract: {
        const Value countValue = Pop();
        const Value indexValue = Pop();
        const auto s = vm.ToString(Pop());
        if (!s) {
            return s.Abrupt();
        }
        const auto count = vm.ToNumber(countValue);
        if (!count) {
            return count.Abrupt();
        }
        const auto index = vm.ToNumber(indexValue);
        if (!index) {
            return index.Abrupt();
        }
        const std::vector<std::uint32_t> chars = Characters((*s)->View(), a.version);
        double start = double(ToInt32(*index)) - 1;
        double length = double(ToInt32(*count));
        if (start < 0) {
            start = 0;
        }
        if (start > double(chars.size())) {
            start = double(chars.size());
        }
        if (length < 0 || start + length > double(chars.size())) {
            length = double(chars.size()) - start;
        }
        const std::vector<std::uint32_t> part(chars.begin() + std::size_t(start),
                                              chars.begin() + std::size_t(start + length));
        Push(Value(vm.NewString(FromCharacters(part, a.version))));
        return Value();
    }
    case Op::CharToAscii:
    case Op::MbCharToAscii: {
        const auto s = vm.ToString(Pop());
        if (!s) {
            return s.Abrupt();
        }
        const std::vector<std::uint32_t> chars = Characters((*s)->View(), a.version);
        Push(chars.empty() ? Value(0.0) : Value(double(chars[0])));
        return Value();
    }
    case Op::AsciiToChar:
    case Op::MbAsciiToChar: {
        const auto n = vm.ToNumber(Pop());
        if (!n) {
            return n.Abrupt();
        }
        const std::uint32_t code =
            static_cast<std::uint32_t>(ToInt32(*n)) & (a.version < 6 ? 0xFFu : 0xFFFFu);
        if (code == 0) {
            Push(Value(vm.N().empty));
            return Value();
        }
        Push(Value(vm.NewString(FromCharacters({code}, a.version))));
        return Value();
    }

    // Conversions.
    case Op::ToInteger: {
        const auto n = vm.ToNumber(Pop());
        if (!n) {
            return n.Abrupt();
        }
        Push(Value(double(ToInt32(*n))));
        return Value();
    }
    case Op::ToNumber: {
        const auto n = vm.ToNumber(Pop());
        if (!n) {
            return n.Abrupt();
        }
        Push(Value(*n));
        return Value();
    }
    case Op::ToString: {
        const auto s = vm.ToString(Pop());
        if (!s) {
            return s.Abrupt();
        }
        Push(Value(*s));
        return Value();
    }
    case Op::TypeOf:
        Push(Value(vm.TypeOf(Pop())));
        return Value();

    // The stack.
    case Op::Pop:
        Pop();
        return Value();
    case Op::PushDuplicate: {
        const Value v = Top();
        Push(v);
        return Value();
    }
    case Op::StackSwap: {
        const Value b = Pop();
        const Value a2 = Pop();
        Push(b);
        Push(a2);
        return Value();
    }
    case Op::Push: {
        std::size_t pos = 0;
        const auto& d = r.data;
        while (pos < d.size()) {
            const std::uint8_t type = d[pos++];
            switch (type) {
            case 0: {
                const std::string_view s = ReadCString(d, pos);
                Push(Value(vm.Intern(s)));
                break;
            }
            case 1: {
                if (pos + 4 > d.size()) {
                    return Value();
                }
                float f = 0;
                std::memcpy(&f, d.data() + pos, 4);
                pos += 4;
                Push(Value(double(f)));
                break;
            }
            case 2:
                Push(Value::Null());
                break;
            case 3:
                Push(Value());
                break;
            case 4: {
                if (pos >= d.size()) {
                    return Value();
                }
                const std::uint8_t reg = d[pos++];
                Push(reg < a.registers.size() ? a.registers[reg] : Value());
                break;
            }
            case 5:
                if (pos >= d.size()) {
                    return Value();
                }
                Push(Value(d[pos++] != 0));
                break;
            case 6: {
                if (pos + 8 > d.size()) {
                    return Value();
                }
                // Stored as two little-endian words, the high one first.
                std::uint8_t swapped[8];
                std::memcpy(swapped, d.data() + pos + 4, 4);
                std::memcpy(swapped + 4, d.data() + pos, 4);
                double v = 0;
                std::memcpy(&v, swapped, 8);
                pos += 8;
                Push(Value(v));
                break;
            }
            case 7: {
                if (pos + 4 > d.size()) {
                    return Value();
                }
                std::int32_t v = 0;
                std::memcpy(&v, d.data() + pos, 4);
                pos += 4;
                Push(Value(double(v)));
                break;
            }
            case 8:
            case 9: {
                std::size_t index = 0;
                if (type == 8) {
                    if (pos >= d.size()) {
                        return Value();
                    }
                    index = d[pos++];
                } else {
                    if (pos + 2 > d.size()) {
                        return Value();
                    }
                    index = ReadU16(d, pos);
                    pos += 2;
                }
                if (a.pool && index < a.pool->values.size()) {
                    Push(a.pool->values[index]);
                } else {
                    Push(Value());
                }
                break;
            }
            default:
                // An unknown type: the rest of the record cannot be read.
                return Value();
            }
        }
        return Value();
    }
    case Op::StoreRegister: {
        const std::uint8_t reg = r.data.empty() ? 0 : r.data[0];
        if (reg < a.registers.size()) {
            a.registers[reg] = Top();
        }
        return Value();
    }
    case Op::ConstantPool: {
        ConstantPool* pool = vm.GetHeap().Make<ConstantPool>();
        const std::size_t count = ReadU16(r.data, 0);
        std::size_t pos = 2;
        for (std::size_t i = 0; i < count && pos < r.data.size(); ++i) {
            pool->values.push_back(Value(vm.Intern(ReadCString(r.data, pos))));
        }
        a.pool = pool;
        return Value();
    }

    // Control flow.
    case Op::Jump: {
        const auto offset = static_cast<std::int16_t>(ReadU16(r.data, 0));
        next = std::size_t(std::int64_t(r.next) + offset);
        return Value();
    }
    case Op::If: {
        const auto offset = static_cast<std::int16_t>(ReadU16(r.data, 0));
        if (vm.ToBoolean(Pop())) {
            next = std::size_t(std::int64_t(r.next) + offset);
        }
        return Value();
    }
    case Op::Return:
        return Completion::Return(Pop());
    case Op::Throw:
        return Completion::Throw(Pop());
    case Op::With:
        return RunWith(r, next);
    case Op::Try:
        return RunTry(r, next);
    case Op::DefineFunction:
        return DefineFunction(r, false, next);
    case Op::DefineFunction2:
        return DefineFunction(r, true, next);

    // Variables and members.
    case Op::GetVariable: {
        const auto name = NameOf(Pop());
        if (!name) {
            return name.Abrupt();
        }
        const Completion got = GetVariable(*name);
        if (got.IsAbrupt()) {
            return got;
        }
        Push(got.GetValue());
        return Value();
    }
    case Op::SetVariable: {
        const Value value = Pop();
        const auto name = NameOf(Pop());
        if (!name) {
            return name.Abrupt();
        }
        return SetVariable(*name, value);
    }
    case Op::DefineLocal: {
        const Value value = Pop();
        const auto name = NameOf(Pop());
        if (!name) {
            return name.Abrupt();
        }
        return DefineLocal(*name, value);
    }
    case Op::DefineLocal2: {
        const auto name = NameOf(Pop());
        if (!name) {
            return name.Abrupt();
        }
        Object* scope = a.locals ? a.locals : a.target;
        if (scope && !vm.HasOwnProperty(scope, *name)) {
            return DefineLocal(*name, Value());
        }
        return Value();
    }
    case Op::GetMember: {
        const auto name = NameOf(Pop());
        if (!name) {
            return name.Abrupt();
        }
        const Value object = Pop();
        const Completion got = vm.GetMember(object, *name);
        if (got.IsAbrupt()) {
            return got;
        }
        Push(got.GetValue());
        return Value();
    }
    case Op::SetMember: {
        const Value value = Pop();
        const auto name = NameOf(Pop());
        if (!name) {
            return name.Abrupt();
        }
        const Value object = Pop();
        return vm.SetMember(object, *name, value);
    }
    case Op::Delete: {
        const auto name = NameOf(Pop());
        if (!name) {
            return name.Abrupt();
        }
        Object* object = Pop().ObjectOrNull();
        PushBool(object && vm.DeleteMember(object, *name));
        return Value();
    }
    case Op::Delete2: {
        const auto name = NameOf(Pop());
        if (!name) {
            return name.Abrupt();
        }
        PushBool(DeleteVariable(*name));
        return Value();
    }
    case Op::InitArray: {
        const std::vector<Value> elements = PopArguments();
        Object* array = vm.NewArrayOfGlobalArray(elements);
        // An array literal names Array as its constructor, hidden and permanent.
        vm.DefineOwn(array, vm.N().constructor, Value(vm.Builtins().arrayConstructor),
                     PropertyFlag::DontEnum | PropertyFlag::DontDelete);
        Push(Value(array));
        return Value();
    }
    case Op::InitObject: {
        const double count = vm.PrimitiveToNumber(Pop());
        Object* object = vm.NewObject();
        // An object literal names Object as its constructor, hidden and permanent.
        vm.DefineOwn(object, vm.N().constructor, Value(vm.Builtins().objectConstructor),
                     PropertyFlag::DontEnum | PropertyFlag::DontDelete);
        const std::size_t n = count > 0 ? std::size_t(std::min(count, 1e9)) : 0;
        for (std::size_t i = 0; i < n && stack.size() > a.stackBase; ++i) {
            const Value value = Pop();
            const auto name = NameOf(Pop());
            if (!name) {
                return name.Abrupt();
            }
            const Completion set = vm.SetMember(object, *name, value);
            if (set.IsAbrupt()) {
                return set;
            }
        }
        Push(Value(object));
        return Value();
    }
    case Op::Enumerate: {
        const auto name = NameOf(Pop());
        if (!name) {
            return name.Abrupt();
        }
        const Completion object = GetVariable(*name);
        if (object.IsAbrupt()) {
            return object;
        }
        return Enumerate(object.GetValue());
    }
    case Op::Enumerate2:
        return Enumerate(Pop());
    case Op::TargetPath: {
        const Value v = Pop();
        Object* o = v.ObjectOrNull();
        if (clips && o && o->Class() == ObjectClass::Clip) {
            Push(Value(vm.NewString(clips->DotPath(o))));
        } else {
            Push(Value());
        }
        return Value();
    }

    // Calls and objects.
    case Op::CallFunction:
        return CallFunction();
    case Op::CallMethod:
        return CallMethodAction();
    case Op::NewObject:
        return NewObjectAction();
    case Op::NewMethod:
        return NewMethodAction();
    case Op::InstanceOf: {
        Object* constructor = Pop().ObjectOrNull();
        const Value object = Pop();
        PushBool(vm.InstanceOf(object, constructor));
        return Value();
    }
    case Op::CastOp: {
        const Value object = Pop();
        Object* constructor = Pop().ObjectOrNull();
        Push(vm.InstanceOf(object, constructor) ? object : Value::Null());
        return Value();
    }
    case Op::ImplementsOp: {
        Object* constructor = Pop().ObjectOrNull();
        const std::vector<Value> faces = PopArguments();
        if (!constructor) {
            return Value();
        }
        const Completion prototype = vm.GetMember(constructor, vm.N().prototype);
        if (prototype.IsAbrupt()) {
            return prototype;
        }
        if (Object* p = prototype.GetValue().ObjectOrNull()) {
            auto& list = p->Interfaces();
            list.clear();
            for (const Value& face : faces) {
                if (Object* f = face.ObjectOrNull()) {
                    list.push_back(f);
                }
            }
        }
        return Value();
    }
    case Op::Extends: {
        Object* superclass = Pop().ObjectOrNull();
        Object* subclass = Pop().ObjectOrNull();
        if (!superclass || !subclass) {
            return Value();
        }
        const Completion superPrototype = vm.GetMember(superclass, vm.N().prototype);
        if (superPrototype.IsAbrupt()) {
            return superPrototype;
        }
        Object* prototype = vm.GetHeap().Make<Object>();
        if (Object* sp = superPrototype.GetValue().ObjectOrNull()) {
            vm.SetPrototype(prototype, sp);
        }
        vm.DefineOwn(prototype, vm.N().constructorHidden, Value(superclass),
                     PropertyFlag::DontEnum);
        return vm.SetMember(subclass, vm.N().prototype, Value(prototype));
    }

    // Clips and the movie.
    case Op::GetProperty: {
        const Value index = Pop();
        const Value target = Pop();
        const auto n = vm.ToNumber(index);
        if (!n) {
            return n.Abrupt();
        }
        Object* clip = TargetClip(target);
        const int property = ToInt32(*n);
        if (!clips || !clip || property < 0 || property >= ClipPropertyCount) {
            Push(Value());
            return Value();
        }
        Push(clips->GetProperty(clip, static_cast<ClipProperty>(property)));
        return Value();
    }
    case Op::SetProperty: {
        const Value value = Pop();
        const Value index = Pop();
        const Value target = Pop();
        const auto n = vm.ToNumber(index);
        if (!n) {
            return n.Abrupt();
        }
        Object* clip = TargetClip(target);
        const int property = ToInt32(*n);
        if (clips && clip && property >= 0 && property < ClipPropertyCount) {
            clips->SetProperty(clip, static_cast<ClipProperty>(property), value);
        }
        return Value();
    }
    case Op::CloneSprite: {
        const Value depth = Pop();
        const Value target = Pop();
        const Value source = Pop();
        const auto d = vm.ToNumber(depth);
        if (!d) {
            return d.Abrupt();
        }
        const auto name = vm.ToString(target);
        if (!name) {
            return name.Abrupt();
        }
        Object* clip = TargetClip(source);
        if (clips && clip) {
            clips->Duplicate(clip, (*name)->View(), ToInt32(*d));
        }
        return Value();
    }
    case Op::RemoveSprite: {
        Object* clip = TargetClip(Pop());
        if (clips && clip) {
            clips->Remove(clip);
        }
        return Value();
    }
    case Op::StartDrag: {
        Object* clip = TargetClip(Pop());
        const bool lockCenter = vm.ToBoolean(Pop());
        const bool constrain = vm.ToBoolean(Pop());
        std::optional<std::array<double, 4>> bounds;
        if (constrain) {
            std::array<double, 4> box{};
            for (int i = 3; i >= 0; --i) {
                const auto n = vm.ToNumber(Pop());
                if (!n) {
                    return n.Abrupt();
                }
                box[std::size_t(i)] = *n;
            }
            bounds = box;
        }
        if (clips && clip) {
            clips->StartDrag(clip, lockCenter, bounds);
        }
        return Value();
    }
    case Op::EndDrag:
        if (clips) {
            clips->StopDrag();
        }
        return Value();
    case Op::GotoFrame2:
        return GotoFrame2(r);
    case Op::GetUrl2:
        return GetUrl2(r);
    case Op::Call: {
        const auto text = vm.ToString(Pop());
        if (!text) {
            return text.Abrupt();
        }
        if (!clips || !a.target) {
            return Value();
        }
        const auto frame = FrameOf((*text)->View());
        if (!frame) {
            return frame.Abrupt();
        }
        if (!frame->clip) {
            return Value();
        }
        if (frame->number) {
            clips->CallFrame(frame->clip, *frame->number);
        } else if (const auto labelled = clips->FindLabel(frame->clip, frame->label)) {
            clips->CallFrame(frame->clip, *labelled);
        }
        return Value();
    }
    case Op::Trace: {
        const Value v = Pop();
        String* text = nullptr;
        if (v.IsUndefined()) {
            text = vm.N().undefined;
        } else {
            const auto s = vm.ToString(v);
            if (!s) {
                return s.Abrupt();
            }
            text = *s;
        }
        if (a.version < 6) {
            vm.Host().Trace(Latin1ToUtf8(text->View()));
        } else {
            vm.Host().Trace(text->View());
        }
        return Value();
    }
    case Op::GetTime:
        Push(Value(double(vm.Host().MovieMilliseconds())));
        return Value();
    case Op::RandomNumber: {
        const auto n = vm.ToNumber(Pop());
        if (!n) {
            return n.Abrupt();
        }
        const int max = ToInt32(*n);
        if (max <= 0) {
            Push(Value(0.0));
        } else {
            Push(Value(double(vm.Random()() % unsigned(max))));
        }
        return Value();
    }
    default:
        // Codes no version defines are skipped, as Flash skips them.
        return Value();
    }
}

ScriptResult<Interpreter::FrameReference> Interpreter::FrameOf(std::string_view text) {
    FrameReference frame;
    frame.clip = a.target;
    const std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        const auto found = ResolvePath(text.substr(0, colon));
        if (!found) {
            return found.Abrupt();
        }
        frame.clip = *found;
        text = text.substr(colon + 1);
    }
    const double number = StringToNumber(text, 7);
    if (std::isnan(number)) {
        frame.label = text;
    } else if (number >= 1) {
        frame.number = std::size_t(std::min(number, 1e9)) - 1;
    } else {
        frame.clip = nullptr;
    }
    return frame;
}

Completion Interpreter::GotoFrame2(const Record& r) {
    const Value frameValue = Pop();
    ClipHost* clips = vm.Clips();
    if (!clips || !a.target || r.data.empty()) {
        return Value();
    }
    const bool play = (r.data[0] & 1) != 0;
    const std::size_t bias = (r.data[0] & 2) ? ReadU16(r.data, 1) : 0;
    Object* clip = a.target;
    if (frameValue.IsString()) {
        const auto frame = FrameOf(frameValue.AsString()->View());
        if (!frame) {
            return frame.Abrupt();
        }
        if (!frame->clip) {
            return Value();
        }
        if (frame->number) {
            clips->GotoFrame(frame->clip, *frame->number + bias, play);
        } else {
            clips->GotoLabel(frame->clip, frame->label, play);
        }
        return Value();
    }
    const auto number = vm.ToNumber(frameValue);
    if (!number) {
        return number.Abrupt();
    }
    if (*number >= 1) {
        clips->GotoFrame(clip, std::size_t(std::min(*number, 1e9)) - 1 + bias, play);
    }
    return Value();
}

Completion Interpreter::GetUrl2(const Record& r) {
    const Value targetValue = Pop();
    const Value urlValue = Pop();
    const auto target = vm.ToString(targetValue);
    if (!target) {
        return target.Abrupt();
    }
    const auto url = vm.ToString(urlValue);
    if (!url) {
        return url.Abrupt();
    }
    const std::uint8_t flags = r.data.empty() ? 0 : r.data[0];
    UrlRequest request;
    request.url = std::string((*url)->View());
    request.target = std::string((*target)->View());
    request.method = flags & 3;
    request.loadTarget = (flags & 0x40) != 0;
    request.loadVariables = (flags & 0x80) != 0;
    if (vm.Clips()) {
        vm.Clips()->RequestUrl(a.target, request);
    }
    return Value();
}

Completion Interpreter::Enumerate(const Value& value) {
    Push(Value::Null());
    Object* object = value.ObjectOrNull();
    if (!object) {
        return Value();
    }
    for (String* name : vm.EnumerableNames(object)) {
        Push(Value(name));
    }
    return Value();
}

} // namespace swf::script

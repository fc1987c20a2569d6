// Array: the constructor, every method, and sort and sortOn with their
// flags. The methods work on any object with a length, as Flash's do; on
// arrays they read the elements directly.
#include <algorithm>
#include <cmath>
#include <limits>

#include "swf/script/ArrayObject.h"
#include "swf/script/NumberText.h"
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

namespace SortFlag {
constexpr int CaseInsensitive = 1;
constexpr int Descending = 2;
constexpr int UniqueSort = 4;
constexpr int ReturnIndexedArray = 8;
constexpr int Numeric = 16;
} // namespace SortFlag

Object* MakeInstance(Vm& vm, Object* prototype) {
    ArrayObject* array = vm.GetHeap().Make<ArrayObject>();
    if (prototype) {
        vm.SetPrototype(array, prototype);
    }
    array->SetLength(vm, 0);
    return array;
}

Completion Construct(NativeCall& call) {
    Vm& vm = call.vm;
    ArrayObject* array = nullptr;
    if (call.constructing && call.ThisObject() &&
        call.ThisObject()->Class() == ObjectClass::Array) {
        array = static_cast<ArrayObject*>(call.ThisObject());
    } else {
        array = vm.NewArrayOfGlobalArray({});
    }
    if (call.Count() == 1 && call.Arg(0).IsNumber()) {
        const double n = call.Arg(0).AsNumber();
        const int length = ToInt32(n);
        array->SetLength(vm, length > 0 ? std::size_t(length) : 0);
    } else {
        for (std::size_t i = 0; i < call.Count(); ++i) {
            array->SetElement(vm, i, call.args[i]);
        }
    }
    return Value(array);
}

// The elements of this, as a list, and writing them back.
struct Elements {
    Object* object = nullptr;
    ArrayObject* array = nullptr; // when this is an array
    std::vector<Value> values;
};

ScriptResult<Elements> ReadThis(NativeCall& call) {
    Vm& vm = call.vm;
    Elements e;
    e.object = call.ThisObject();
    if (!e.object) {
        return e;
    }
    if (e.object->Class() == ObjectClass::Array) {
        e.array = static_cast<ArrayObject*>(e.object);
        e.values = e.array->Elements(vm);
        return e;
    }
    const Completion length = vm.GetMember(e.object, vm.N().length);
    if (length.IsAbrupt()) {
        return length;
    }
    const auto n = vm.ToNumber(length.GetValue());
    if (!n) {
        return n.Abrupt();
    }
    const double count = *n > 0 ? std::min(*n, 1e6) : 0;
    for (std::size_t i = 0; i < std::size_t(count); ++i) {
        const Completion v = vm.GetMember(e.object, vm.IndexName(i));
        if (v.IsAbrupt()) {
            return v;
        }
        e.values.push_back(v.GetValue());
    }
    return e;
}

Completion WriteBack(NativeCall& call, Elements& e, std::size_t oldLength) {
    Vm& vm = call.vm;
    if (e.array) {
        e.array->Assign(vm, e.values);
        return Value();
    }
    for (std::size_t i = 0; i < e.values.size(); ++i) {
        const Completion set = vm.SetMember(e.object, vm.IndexName(i), e.values[i]);
        if (set.IsAbrupt()) {
            return set;
        }
    }
    for (std::size_t i = e.values.size(); i < oldLength; ++i) {
        vm.DeleteMember(e.object, vm.IndexName(i));
    }
    return vm.SetMember(e.object, vm.N().length, Value(double(e.values.size())));
}

ScriptResult<String*> Join(NativeCall& call, const std::vector<Value>& values,
                           std::string_view separator) {
    Vm& vm = call.vm;
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            out += separator;
        }
        const auto s = vm.ToString(values[i]);
        if (!s) {
            return s;
        }
        out += (*s)->View();
        if (out.size() > vm.Limits().heapBytes / 4) {
            return Completion(vm.AbortForLimit("string too long"));
        }
    }
    return vm.NewString(std::move(out));
}

Completion JoinMethod(NativeCall& call) {
    auto e = ReadThis(call);
    if (!e) {
        return e.Abrupt();
    }
    std::string separator = ",";
    if (call.Has(0) && !call.Arg(0).IsUndefined()) {
        const auto s = call.vm.ToString(call.Arg(0));
        if (!s) {
            return s.Abrupt();
        }
        separator = std::string((*s)->View());
    }
    const auto joined = Join(call, e->values, separator);
    if (!joined) {
        return joined.Abrupt();
    }
    return Value(*joined);
}

Completion ToString(NativeCall& call) {
    auto e = ReadThis(call);
    if (!e) {
        return e.Abrupt();
    }
    const auto joined = Join(call, e->values, ",");
    if (!joined) {
        return joined.Abrupt();
    }
    return Value(*joined);
}

Completion Push(NativeCall& call) {
    auto e = ReadThis(call);
    if (!e || !e->object) {
        return e ? Value() : e.Abrupt();
    }
    const std::size_t old = e->values.size();
    for (const Value& v : call.args) {
        e->values.push_back(v);
    }
    if (e->array) {
        for (std::size_t i = old; i < e->values.size(); ++i) {
            e->array->SetElement(call.vm, i, e->values[i]);
        }
    } else {
        const Completion w = WriteBack(call, *e, old);
        if (w.IsAbrupt()) {
            return w;
        }
    }
    return Value(double(e->values.size()));
}

Completion Pop(NativeCall& call) {
    auto e = ReadThis(call);
    if (!e || !e->object) {
        return e ? Value() : e.Abrupt();
    }
    if (e->values.empty()) {
        return Value();
    }
    const std::size_t old = e->values.size();
    const Value last = e->values.back();
    e->values.pop_back();
    if (e->array) {
        e->array->SetLength(call.vm, e->values.size());
    } else {
        const Completion w = WriteBack(call, *e, old);
        if (w.IsAbrupt()) {
            return w;
        }
    }
    return last;
}

Completion Shift(NativeCall& call) {
    auto e = ReadThis(call);
    if (!e || !e->object) {
        return e ? Value() : e.Abrupt();
    }
    if (e->values.empty()) {
        return Value();
    }
    const std::size_t old = e->values.size();
    const Value first = e->values.front();
    e->values.erase(e->values.begin());
    const Completion w = WriteBack(call, *e, old);
    if (w.IsAbrupt()) {
        return w;
    }
    return first;
}

Completion Unshift(NativeCall& call) {
    auto e = ReadThis(call);
    if (!e || !e->object) {
        return e ? Value() : e.Abrupt();
    }
    const std::size_t old = e->values.size();
    e->values.insert(e->values.begin(), call.args.begin(), call.args.end());
    const Completion w = WriteBack(call, *e, old);
    if (w.IsAbrupt()) {
        return w;
    }
    return Value(double(e->values.size()));
}

Completion Reverse(NativeCall& call) {
    auto e = ReadThis(call);
    if (!e || !e->object) {
        return e ? Value() : e.Abrupt();
    }
    std::reverse(e->values.begin(), e->values.end());
    const Completion w = WriteBack(call, *e, e->values.size());
    if (w.IsAbrupt()) {
        return w;
    }
    return call.thisValue;
}

// A start or end index of slice and splice: from the end when negative.
ScriptResult<std::size_t> Position(NativeCall& call, std::size_t arg, std::size_t size,
                                   std::size_t fallback) {
    if (!call.Has(arg) || call.Arg(arg).IsUndefined()) {
        return fallback;
    }
    const auto n = call.vm.ToNumber(call.Arg(arg));
    if (!n) {
        return n.Abrupt();
    }
    double p = ToIntegerValue(*n);
    if (p < 0) {
        p += double(size);
    }
    return std::size_t(std::clamp(p, 0.0, double(size)));
}

Completion Slice(NativeCall& call) {
    auto e = ReadThis(call);
    if (!e) {
        return e.Abrupt();
    }
    const std::size_t size = e->values.size();
    const auto start = Position(call, 0, size, 0);
    if (!start) {
        return start.Abrupt();
    }
    const auto end = Position(call, 1, size, size);
    if (!end) {
        return end.Abrupt();
    }
    ArrayObject* result = call.vm.NewArray();
    for (std::size_t i = *start; i < *end; ++i) {
        result->Push(call.vm, e->values[i]);
    }
    return Value(result);
}

Completion Splice(NativeCall& call) {
    Vm& vm = call.vm;
    auto e = ReadThis(call);
    if (!e || !e->object) {
        return e ? Value() : e.Abrupt();
    }
    if (!call.Has(0)) {
        return Value();
    }
    const std::size_t size = e->values.size();
    const auto start = Position(call, 0, size, 0);
    if (!start) {
        return start.Abrupt();
    }
    std::size_t count = size - *start;
    if (call.Has(1)) {
        const auto n = vm.ToNumber(call.Arg(1));
        if (!n) {
            return n.Abrupt();
        }
        const double c = ToIntegerValue(*n);
        if (c < 0) {
            return Value();
        }
        count = std::size_t(std::min(c, double(size - *start)));
    }
    ArrayObject* removed = vm.NewArray();
    for (std::size_t i = 0; i < count; ++i) {
        removed->Push(vm, e->values[*start + i]);
    }
    e->values.erase(e->values.begin() + std::ptrdiff_t(*start),
                    e->values.begin() + std::ptrdiff_t(*start + count));
    if (call.Count() > 2) {
        e->values.insert(e->values.begin() + std::ptrdiff_t(*start), call.args.begin() + 2,
                         call.args.end());
    }
    const Completion w = WriteBack(call, *e, size);
    if (w.IsAbrupt()) {
        return w;
    }
    return Value(removed);
}

Completion Concat(NativeCall& call) {
    Vm& vm = call.vm;
    auto e = ReadThis(call);
    if (!e) {
        return e.Abrupt();
    }
    ArrayObject* result = vm.NewArray(e->values);
    for (const Value& v : call.args) {
        Object* o = v.ObjectOrNull();
        if (o && o->Class() == ObjectClass::Array) {
            for (const Value& element : static_cast<ArrayObject*>(o)->Elements(vm)) {
                result->Push(vm, element);
            }
        } else {
            result->Push(vm, v);
        }
    }
    return Value(result);
}

// Sorting. The comparison is a custom function's result, or the flags'.
struct Sorter {
    NativeCall& call;
    Value compare; // a function, or undefined
    int flags = 0;
    Completion failure;
    bool failed = false;
    bool sawEqual = false;

    // <0, 0, >0 as a before b.
    int Compare(const Value& a, const Value& b) {
        if (failed) {
            return 0;
        }
        Vm& vm = call.vm;
        int order = 0;
        if (compare.IsObject()) {
            const Value args[] = {a, b};
            const Completion result = vm.Call(compare, Value(), args);
            if (result.IsAbrupt()) {
                failure = result;
                failed = true;
                return 0;
            }
            const double n = vm.PrimitiveToNumber(result.GetValue());
            order = n < 0 ? -1 : n > 0 ? 1 : 0;
        } else if (flags & SortFlag::Numeric && a.IsNumber() && b.IsNumber()) {
            const double x = a.AsNumber();
            const double y = b.AsNumber();
            order = x < y ? -1 : x > y ? 1 : 0;
        } else {
            const auto sa = vm.ToString(a);
            const auto sb = sa ? vm.ToString(b) : sa;
            if (!sa || !sb) {
                failure = !sa ? sa.Abrupt() : sb.Abrupt();
                failed = true;
                return 0;
            }
            std::string x((*sa)->View());
            std::string y((*sb)->View());
            if (flags & SortFlag::CaseInsensitive) {
                for (char& c : x) {
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                }
                for (char& c : y) {
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                }
            }
            order = x < y ? -1 : x > y ? 1 : 0;
        }
        if (order == 0) {
            sawEqual = true;
        }
        return (flags & SortFlag::Descending) ? -order : order;
    }
};

// Flash's own quicksort, whose order of comparisons scripts can see: the
// first element of a range is the pivot and always the first argument; the
// left scan stops before the range's end and at anything not below the
// pivot, the right one passes over what equals it. Ranges are kept on a
// list rather than recursed into, and every comparison counts against the
// frame's actions, so no array can hang the player. compare(x, y) orders
// the elements of indices x and y.
template <typename Compare>
void Quicksort(Sorter& sorter, std::vector<std::size_t>& order, Compare&& compare) {
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    if (order.size() > 1) {
        ranges.emplace_back(0, order.size() - 1);
    }
    auto against = [&](std::size_t pivot, std::size_t at) {
        if (!sorter.call.vm.ChargeActions(1)) {
            sorter.failure = sorter.call.vm.AbortForLimit("too many actions in one frame");
            sorter.failed = true;
        }
        return sorter.failed ? 0 : compare(pivot, order[at]);
    };
    while (!ranges.empty() && !sorter.failed) {
        const auto [lo, hi] = ranges.back();
        ranges.pop_back();
        const std::size_t pivot = order[lo];
        std::size_t i = lo + 1;
        std::size_t j = hi;
        while (!sorter.failed) {
            while (i < hi && against(pivot, i) > 0) {
                ++i;
            }
            while (j > lo && against(pivot, j) <= 0) {
                --j;
            }
            if (i >= j) {
                break;
            }
            std::swap(order[i], order[j]);
        }
        std::swap(order[lo], order[j]);
        // The left part is sorted first, as recursion would.
        if (j + 1 < hi) {
            ranges.emplace_back(j + 1, hi);
        }
        if (j > lo + 1) {
            ranges.emplace_back(lo, j - 1);
        }
    }
}

// UNIQUESORT fails when two neighbours of the result are equal by the
// flags' comparison, whatever a custom function said.
template <typename Compare>
bool HasEqualNeighbours(const std::vector<std::size_t>& order, Compare&& equalByFlags) {
    for (std::size_t i = 1; i < order.size(); ++i) {
        if (equalByFlags(order[i - 1], order[i])) {
            return true;
        }
    }
    return false;
}

// Applies the flags' results to the sorted indices: the sorted array, the
// indices, or 0 when UNIQUESORT found equal elements.
Completion SortResult(NativeCall& call, Elements& e, const std::vector<std::size_t>& order,
                      int flags, bool equalFound) {
    Vm& vm = call.vm;
    if ((flags & SortFlag::UniqueSort) && equalFound) {
        return Value(0.0);
    }
    if (flags & SortFlag::ReturnIndexedArray) {
        ArrayObject* indices = vm.NewArray();
        for (const std::size_t i : order) {
            indices->Push(vm, Value(double(i)));
        }
        return Value(indices);
    }
    std::vector<Value> sorted;
    sorted.reserve(order.size());
    for (const std::size_t i : order) {
        sorted.push_back(e.values[i]);
    }
    const std::size_t old = e.values.size();
    e.values = std::move(sorted);
    const Completion w = WriteBack(call, e, old);
    if (w.IsAbrupt()) {
        return w;
    }
    return call.thisValue;
}

std::vector<std::size_t> Identity(std::size_t n) {
    std::vector<std::size_t> order(n);
    for (std::size_t i = 0; i < n; ++i) {
        order[i] = i;
    }
    return order;
}

Completion Sort(NativeCall& call) {
    auto e = ReadThis(call);
    if (!e || !e->object) {
        return e ? Value() : e.Abrupt();
    }
    Sorter sorter{call, Value(), 0, {}, false, false};
    std::size_t flagsArg = 0;
    if (Object* f = call.Arg(0).ObjectOrNull(); f && f->IsFunction()) {
        sorter.compare = call.Arg(0);
        flagsArg = 1;
    }
    if (call.Has(flagsArg)) {
        sorter.flags = ToInt32(call.vm.PrimitiveToNumber(call.Arg(flagsArg)));
    }
    const std::vector<Value>& keys = e->values;
    std::vector<std::size_t> order = Identity(keys.size());
    Quicksort(sorter, order,
              [&](std::size_t x, std::size_t y) { return sorter.Compare(keys[x], keys[y]); });
    bool equal = false;
    if (!sorter.failed && (sorter.flags & SortFlag::UniqueSort)) {
        sorter.compare = Value();
        equal = HasEqualNeighbours(order, [&](std::size_t x, std::size_t y) {
            return sorter.Compare(keys[x], keys[y]) == 0;
        });
    }
    if (sorter.failed) {
        return sorter.failure;
    }
    return SortResult(call, *e, order, sorter.flags, equal);
}

Completion SortOn(NativeCall& call) {
    Vm& vm = call.vm;
    auto e = ReadThis(call);
    if (!e || !e->object) {
        return e ? Value() : e.Abrupt();
    }
    if (!call.Has(0)) {
        return call.thisValue;
    }
    std::vector<String*> fields;
    std::vector<int> fieldFlags;
    int flags = call.Has(1) ? ToInt32(vm.PrimitiveToNumber(call.Arg(1))) : 0;
    if (Object* list = call.Arg(0).ObjectOrNull(); list && list->Class() == ObjectClass::Array) {
        for (const Value& v : static_cast<ArrayObject*>(list)->Elements(vm)) {
            const auto name = vm.ToString(v);
            if (!name) {
                return name.Abrupt();
            }
            fields.push_back(vm.Intern(*name));
        }
        // Flags by field only from an array of one per field; any other
        // object is no flags at all.
        if (Object* fl = call.Arg(1).ObjectOrNull()) {
            flags = 0;
            if (fl->Class() == ObjectClass::Array) {
                const auto values = static_cast<ArrayObject*>(fl)->Elements(vm);
                if (values.size() == fields.size()) {
                    for (const Value& v : values) {
                        fieldFlags.push_back(ToInt32(vm.PrimitiveToNumber(v)));
                    }
                    flags = fieldFlags[0];
                }
            }
        }
    } else {
        const auto name = vm.ToString(call.Arg(0));
        if (!name) {
            return name.Abrupt();
        }
        fields.push_back(vm.Intern(*name));
    }
    if (fields.empty()) {
        return call.thisValue;
    }
    // Each element's keys, one per field.
    std::vector<std::vector<Value>> keys;
    for (const Value& element : e->values) {
        std::vector<Value> row;
        for (String* field : fields) {
            if (element.IsObject()) {
                const Completion got = vm.GetMember(element, field);
                if (got.IsAbrupt()) {
                    return got;
                }
                row.push_back(got.GetValue());
            } else {
                row.push_back(Value());
            }
        }
        keys.push_back(std::move(row));
    }
    Sorter sorter{call, Value(), flags, {}, false, false};
    auto byFields = [&](std::size_t x, std::size_t y) {
        for (std::size_t f = 0; f < fields.size(); ++f) {
            sorter.flags = f < fieldFlags.size() ? fieldFlags[f] : flags;
            const int c = sorter.Compare(keys[x][f], keys[y][f]);
            if (c != 0) {
                return c;
            }
        }
        return 0;
    };
    std::vector<std::size_t> order = Identity(e->values.size());
    Quicksort(sorter, order, byFields);
    const bool equal = !sorter.failed && (flags & SortFlag::UniqueSort) &&
                       HasEqualNeighbours(order, [&](std::size_t x, std::size_t y) {
                           return byFields(x, y) == 0;
                       });
    if (sorter.failed) {
        return sorter.failure;
    }
    return SortResult(call, *e, order, flags, equal);
}

constexpr Method prototypeMethods[] = {
    {"concat", Concat, 5}, {"join", JoinMethod, 5},   {"pop", Pop, 5},
    {"push", Push, 5},     {"reverse", Reverse, 5},   {"shift", Shift, 5},
    {"slice", Slice, 5},   {"sort", Sort, 5},         {"sortOn", SortOn, 5},
    {"splice", Splice, 5}, {"toString", ToString, 5}, {"unshift", Unshift, 5},
};

} // namespace

void InstallArray(Vm& vm) {
    const ClassParts parts = MakeClass(vm, Construct, vm.Builtins().objectPrototype);
    parts.constructor->makeInstance = MakeInstance;
    AddMethods(vm, parts.prototype, prototypeMethods);
    vm.RegisterNative(252, 1, Push);
    Object* c = parts.constructor;
    AddValue(vm, c, "CASEINSENSITIVE", Value(double(SortFlag::CaseInsensitive)), 5,
             PropertyFlag::ReadOnly);
    AddValue(vm, c, "DESCENDING", Value(double(SortFlag::Descending)), 5, PropertyFlag::ReadOnly);
    AddValue(vm, c, "UNIQUESORT", Value(double(SortFlag::UniqueSort)), 5, PropertyFlag::ReadOnly);
    AddValue(vm, c, "RETURNINDEXEDARRAY", Value(double(SortFlag::ReturnIndexedArray)), 5,
             PropertyFlag::ReadOnly);
    AddValue(vm, c, "NUMERIC", Value(double(SortFlag::Numeric)), 5, PropertyFlag::ReadOnly);
    vm.Builtins().arrayPrototype = parts.prototype;
    vm.Builtins().arrayConstructor = parts.constructor;
    AddGlobal(vm, "Array", Value(parts.constructor));
}

} // namespace swf::script::builtins

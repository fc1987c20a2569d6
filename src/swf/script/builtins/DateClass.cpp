// Date: a moment in milliseconds since 1970 UTC, read and set in UTC or in
// the device's local time (its clock and time zone come from the host).
// Flash reads a constructor's or setter's arguments up to the first one that
// is undefined, adds 1900 to years below 100 (negative ones too), and keeps
// moments of any size.
#include <cmath>
#include <limits>

#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/builtins/DateMath.h"

namespace swf::script::builtins {

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double msPerMinute = 60000.0;

// The fields in the order setters and constructors take them.
enum Field { Year, Month, Date, Hours, Minutes, Seconds, Milliseconds, FieldCount };

double OffsetMinutes(Vm& vm, double utc) {
    if (!std::isfinite(utc)) {
        return 0;
    }
    return vm.Host().TimeZoneOffsetMinutes(utc);
}

double LocalFromUtc(Vm& vm, double utc) {
    return utc + OffsetMinutes(vm, utc) * msPerMinute;
}

double UtcFromLocal(Vm& vm, double local) {
    const double guess = local - OffsetMinutes(vm, local) * msPerMinute;
    return local - OffsetMinutes(vm, guess) * msPerMinute;
}

double Now(Vm& vm) {
    return std::floor(vm.Host().WallClockMilliseconds());
}

// How many arguments count: those before the first undefined one.
std::size_t DefinedCount(const NativeCall& call) {
    std::size_t n = 0;
    while (n < call.Count() && !call.Arg(n).IsUndefined()) {
        ++n;
    }
    return n;
}

double YearOf(double year) {
    return year < 100 ? year + 1900 : year;
}

// Reads up to count fields from the arguments into fields, from first on.
Completion ReadFields(NativeCall& call, std::size_t count, Field first, double* fields) {
    for (std::size_t i = 0; i < count && first + i < FieldCount; ++i) {
        const auto n = call.vm.ToNumber(call.Arg(i));
        if (!n) {
            return n.Abrupt();
        }
        fields[first + i] = *n;
    }
    return Value();
}

double TimeOfFields(const double* f) {
    return MakeTime(f[Year], f[Month], f[Date], f[Hours], f[Minutes], f[Seconds], f[Milliseconds]);
}

Object* MakeInstance(Vm& vm, Object* prototype) {
    Object* object = vm.GetHeap().Make<Object>(ObjectClass::Date);
    if (prototype) {
        vm.SetPrototype(object, prototype);
    }
    object->SetPrimitive(Value(nan));
    return object;
}

Completion Construct(NativeCall& call) {
    Vm& vm = call.vm;
    const std::size_t count = DefinedCount(call);
    double time = nan;
    if (count == 0) {
        time = Now(vm);
    } else if (count == 1) {
        const auto n = vm.ToNumber(call.Arg(0));
        if (!n) {
            return n.Abrupt();
        }
        time = *n;
    } else {
        double fields[FieldCount] = {0, 0, 1, 0, 0, 0, 0};
        const Completion read = ReadFields(call, count, Year, fields);
        if (read.IsAbrupt()) {
            return read;
        }
        fields[Year] = YearOf(fields[Year]);
        time = UtcFromLocal(vm, TimeOfFields(fields));
    }
    if (call.constructing) {
        if (Object* self = call.ThisObject()) {
            self->SetPrimitive(Value(time));
        }
        return call.thisValue;
    }
    // Called as a function, Date gives the present as text.
    const double now = Now(vm);
    return Value(vm.NewString(FormatDate(LocalFromUtc(vm, now), int(OffsetMinutes(vm, now)))));
}

Completion Utc(NativeCall& call) {
    const std::size_t count = DefinedCount(call);
    double fields[FieldCount] = {0, 0, 1, 0, 0, 0, 0};
    const Completion read = ReadFields(call, count, Year, fields);
    if (read.IsAbrupt()) {
        return read;
    }
    if (count < 2) {
        return Value();
    }
    fields[Year] = YearOf(fields[Year]);
    return Value(TimeOfFields(fields));
}

Object* ThisDate(const NativeCall& call) {
    return ThisOfClass(call, ObjectClass::Date);
}

double TimeOf(const Object* date) {
    return date->Primitive().IsNumber() ? date->Primitive().AsNumber() : nan;
}

// Getters: one field of the local or UTC fields.
template <bool utc, double DateFields::*field, int bias = 0>
Completion Get(NativeCall& call) {
    Object* self = ThisDate(call);
    if (!self) {
        return Value();
    }
    const double time = TimeOf(self);
    const DateFields f = FieldsOf(utc ? time : LocalFromUtc(call.vm, time));
    return Value(f.*field - bias);
}

Completion GetTime(NativeCall& call) {
    Object* self = ThisDate(call);
    return self ? Value(TimeOf(self)) : Value();
}

Completion GetTimezoneOffset(NativeCall& call) {
    Object* self = ThisDate(call);
    if (!self) {
        return Value();
    }
    const double time = TimeOf(self);
    if (std::isnan(time)) {
        return Value(nan);
    }
    return Value(-OffsetMinutes(call.vm, time));
}

// Setters: up to most fields from first on, in local time or UTC; with no
// arguments the date becomes invalid.
template <bool utc, Field first, std::size_t most, bool shortYear = false>
Completion Set(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = ThisDate(call);
    if (!self) {
        return Value();
    }
    const std::size_t count = std::min(DefinedCount(call), most);
    double time = TimeOf(self);
    if (count == 0) {
        self->SetPrimitive(Value(nan));
        return Value(nan);
    }
    // Setting the year of an invalid date starts from 1970.
    if (std::isnan(time) && first == Year) {
        time = 0;
    }
    const DateFields f = FieldsOf(utc ? time : LocalFromUtc(vm, time));
    double fields[FieldCount] = {f.year,    f.month,   f.date,        f.hours,
                                 f.minutes, f.seconds, f.milliseconds};
    const Completion read = ReadFields(call, count, first, fields);
    if (read.IsAbrupt()) {
        return read;
    }
    if (shortYear) {
        fields[Year] = YearOf(fields[Year]);
    }
    double result = TimeOfFields(fields);
    if (!utc) {
        result = UtcFromLocal(vm, result);
    }
    if (std::isnan(time)) {
        result = nan;
    }
    self->SetPrimitive(Value(result));
    return Value(result);
}

Completion SetTime(NativeCall& call) {
    Object* self = ThisDate(call);
    if (!self) {
        return Value();
    }
    double time = nan;
    if (!call.Arg(0).IsUndefined()) {
        const auto n = call.vm.ToNumber(call.Arg(0));
        if (!n) {
            return n.Abrupt();
        }
        time = std::isfinite(*n) ? std::trunc(*n) : nan;
    }
    self->SetPrimitive(Value(time));
    return Value(time);
}

Completion ToString(NativeCall& call) {
    Object* self = ThisDate(call);
    if (!self) {
        return Value();
    }
    const double time = TimeOf(self);
    const double offset = OffsetMinutes(call.vm, time);
    return Value(call.vm.NewString(FormatDate(LocalFromUtc(call.vm, time), int(offset))));
}

using F = DateFields;

constexpr Method prototypeMethods[] = {
    {"getDate", Get<false, &F::date>},
    {"getDay", Get<false, &F::weekDay>},
    {"getFullYear", Get<false, &F::year>},
    {"getHours", Get<false, &F::hours>},
    {"getMilliseconds", Get<false, &F::milliseconds>},
    {"getMinutes", Get<false, &F::minutes>},
    {"getMonth", Get<false, &F::month>},
    {"getSeconds", Get<false, &F::seconds>},
    {"getTime", GetTime},
    {"getTimezoneOffset", GetTimezoneOffset},
    {"getUTCDate", Get<true, &F::date>},
    {"getUTCDay", Get<true, &F::weekDay>},
    {"getUTCFullYear", Get<true, &F::year>},
    {"getUTCHours", Get<true, &F::hours>},
    {"getUTCMilliseconds", Get<true, &F::milliseconds>},
    {"getUTCMinutes", Get<true, &F::minutes>},
    {"getUTCMonth", Get<true, &F::month>},
    {"getUTCSeconds", Get<true, &F::seconds>},
    {"getUTCYear", Get<true, &F::year, 1900>},
    {"getYear", Get<false, &F::year, 1900>},
    {"setDate", Set<false, Date, 1>},
    {"setFullYear", Set<false, Year, 3>},
    {"setHours", Set<false, Hours, 4>},
    {"setMilliseconds", Set<false, Milliseconds, 1>},
    {"setMinutes", Set<false, Minutes, 3>},
    {"setMonth", Set<false, Month, 2>},
    {"setSeconds", Set<false, Seconds, 2>},
    {"setTime", SetTime},
    {"setUTCDate", Set<true, Date, 1>},
    {"setUTCFullYear", Set<true, Year, 3>},
    {"setUTCHours", Set<true, Hours, 4>},
    {"setUTCMilliseconds", Set<true, Milliseconds, 1>},
    {"setUTCMinutes", Set<true, Minutes, 3>},
    {"setUTCMonth", Set<true, Month, 2>},
    {"setUTCSeconds", Set<true, Seconds, 2>},
    {"setYear", Set<false, Year, 3, true>},
    {"toString", ToString},
    {"valueOf", GetTime},
};

constexpr Method staticMethods[] = {
    {"UTC", Utc},
};

} // namespace

void InstallDate(Vm& vm) {
    const ClassParts parts = MakeClass(vm, Construct, vm.Builtins().objectPrototype);
    parts.constructor->makeInstance = MakeInstance;
    AddMethods(vm, parts.prototype, prototypeMethods);
    AddMethods(vm, parts.constructor, staticMethods);
    vm.Builtins().datePrototype = parts.prototype;
    AddGlobal(vm, "Date", Value(parts.constructor));
}

} // namespace swf::script::builtins

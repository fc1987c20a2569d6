// The script engine of one movie: its heap, the global object and the
// built-in classes, the rules for reading and writing members, calling and
// constructing, converting values by SWF version, and the limits that keep
// any movie from hanging or exhausting the player.
//
// Built-in classes are written against this API (see builtins/): a native
// function gets a NativeCall (the engine, this, the arguments, the callee)
// and returns a Completion (a value, or a throw made with Throw...).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "swf/script/ClipHost.h"
#include "swf/script/Completion.h"
#include "swf/script/Function.h"
#include "swf/script/Heap.h"
#include "swf/script/Names.h"
#include "swf/script/Object.h"
#include "swf/script/ScriptResult.h"
#include "swf/script/String.h"

namespace swf::script {

class ArrayObject;
struct Activation;

// What the engine needs from where it runs.
class VmHost {
public:
    virtual ~VmHost() = default;
    // One trace line, as UTF-8.
    virtual void Trace(std::string_view line) = 0;
    // Milliseconds since the movie started (getTimer), on the device clock.
    virtual std::uint64_t MovieMilliseconds() = 0;
    // The local wall clock: milliseconds since 1970 UTC, and the time zone's
    // offset from UTC in minutes east (Date).
    virtual double WallClockMilliseconds() = 0;
    virtual int TimeZoneOffsetMinutes(double utcMilliseconds) = 0;
    // Something the user may want to know about (a script stopped by a
    // limit), for the journal.
    virtual void Note(std::string_view text) = 0;
    // getURL and its variants; "FSCommand:" URLs are the host's commands.
    virtual void RequestUrl(const UrlRequest&) {}
    // The movie's own URL (_url).
    virtual std::string MovieUrl() { return {}; }
};

struct VmLimits {
    // Actions one frame's scripts may run before the one running is stopped.
    std::uint64_t actionsPerFrame = 4'000'000;
    int recursionDepth = 256;
    std::size_t heapBytes = std::size_t{96} << 20;
    std::size_t stackValues = 1u << 20;
};

// The prototypes and constructors the engine itself refers to.
struct BuiltinObjects {
    Object* objectPrototype = nullptr;
    Object* functionPrototype = nullptr;
    Object* arrayPrototype = nullptr;
    Object* stringPrototype = nullptr;
    Object* numberPrototype = nullptr;
    Object* booleanPrototype = nullptr;
    Object* datePrototype = nullptr;
    Object* errorPrototype = nullptr;
    Object* clipPrototype = nullptr;
    Object* buttonPrototype = nullptr;
    Object* textFieldPrototype = nullptr;
    FunctionObject* objectConstructor = nullptr;
    FunctionObject* functionConstructor = nullptr;
    FunctionObject* arrayConstructor = nullptr;
    FunctionObject* stringConstructor = nullptr;
    FunctionObject* numberConstructor = nullptr;
    FunctionObject* booleanConstructor = nullptr;
    FunctionObject* errorConstructor = nullptr;
    FunctionObject* clipConstructor = nullptr;
    void Trace(Tracer& tracer) const;
};

// Addend: what + asks of an operand first, the first method alone; an
// object that method gives back is returned as it is, for + to convert
// again once it knows whether it joins strings or adds numbers.
enum class PrimitiveHint : std::uint8_t { None, Number, String, Addend };

class Vm : public RootSource {
public:
    // version: the SWF version of the movie (of _level0).
    Vm(VmHost& host, int version, VmLimits limits = {});
    ~Vm() override;
    Vm(const Vm&) = delete;
    Vm& operator=(const Vm&) = delete;

    VmHost& Host() { return host; }
    Heap& GetHeap() { return heap; }
    const Names& N() const { return *names; }
    BuiltinObjects& Builtins() { return builtins; }
    Object* Global() { return global; }
    void SetGlobal(Object* value) { global = value; }

    // The display side, once there is one (null in tests of the language).
    void SetClipHost(ClipHost* value) { clips = value; }
    ClipHost* Clips() { return clips; }

    // The SWF version of the code running now (the movie's when none runs).
    int Version() const;
    int MovieVersion() const { return movieVersion; }

    // Strings.
    String* Intern(std::string_view bytes) { return strings.Intern(bytes); }
    String* Intern(String* string) { return strings.Intern(string); }
    String* NewString(std::string bytes);
    String* NewString(std::string_view bytes) { return NewString(std::string(bytes)); }
    String* IndexName(std::size_t index); // "0", "1", ... interned

    // Objects.
    Object* NewObject(); // with Object.prototype
    Object* NewObject(Object* prototype);
    ArrayObject* NewArray();
    ArrayObject* NewArray(std::span<const Value> elements);
    // An array as [a, b] and Array(a, b) make it: its prototype is what
    // _global.Array.prototype is now, none when that is gone.
    ArrayObject* NewArrayOfGlobalArray(std::span<const Value> elements);
    FunctionObject* NewNativeFunction(NativeFunction function);
    // Sets "__proto__" as the engine does for new objects (hidden, permanent).
    void SetPrototype(Object* object, Object* prototype);
    // Makes an own property, replacing any of the name, without setters,
    // watchers or read-only checks (for the built-ins and the engine).
    void DefineOwn(Object* object, String* name, Value value, std::uint16_t flags = 0);
    void DefineOwn(Object* object, std::string_view name, Value value, std::uint16_t flags = 0) {
        DefineOwn(object, Intern(name), value, flags);
    }

    // Members. base may be a primitive: its wrapper class's prototype is
    // searched. Names are looked up by the running code's version.
    Completion GetMember(const Value& base, String* name);
    Completion GetMember(Object* object, String* name) { return GetMember(Value(object), name); }
    // Reads with a given this for getters (super.x reads the prototype's x
    // with this kept).
    Completion GetMemberWithThis(Object* object, String* name, const Value& thisValue);
    Completion SetMember(Object* object, String* name, const Value& value);
    Completion SetMember(const Value& base, String* name, const Value& value);
    // delete: false when there was no such own property or it is permanent.
    bool DeleteMember(Object* object, String* name);
    // An own property (or a clip's special one) code of this version sees.
    Property* FindOwn(Object* object, String* name);
    bool HasOwnProperty(Object* object, String* name);
    // The property found along the prototype chain (no getters run).
    Property* FindInChain(Object* object, String* name, Object** holder = nullptr);
    // __resolve: what the chain's resolver gives for a name nothing has, and
    // whether there is one.
    Completion Resolve(Object* start, String* name, const Value& thisValue);
    bool HasResolver(Object* start);
    const Property* FindResolver(Object* object, int version);
    // The names for..in lists, in the order Enumerate pushes them.
    std::vector<String*> EnumerableNames(Object* object);

    // Calls. function must be a FunctionObject to be called; otherwise the
    // call does nothing and gives undefined, as Flash does.
    Completion Call(const Value& function, const Value& thisValue, std::span<const Value> args);
    Completion CallMethod(const Value& base, String* name, std::span<const Value> args);
    // A call not made on an object (CallFunction): the function gets no super.
    Completion CallPlain(const Value& function, const Value& thisValue,
                         std::span<const Value> args);
    Completion Construct(const Value& function, std::span<const Value> args);
    // new: with the prototype and constructor properties set up, calling
    // function (which may be a plain object: then no call is made).
    Completion ConstructWith(FunctionObject* function, std::span<const Value> args,
                             Object* instance);
    // Makes the instance new gives a constructor.
    Object* MakeInstance(FunctionObject* function);

    // Conversions, by the running code's version.
    ScriptResult<Value> ToPrimitive(const Value& value, PrimitiveHint hint = PrimitiveHint::None);
    // The string + joins for an operand its first conversion left an
    // object: toString once, its primitive as text, else the object's kind.
    ScriptResult<String*> AddendToString(const Value& value);
    // a + b as the + operator (Add2) computes it: strings joined, else numbers added.
    ScriptResult<Value> Add(const Value& a, const Value& b);
    ScriptResult<double> ToNumber(const Value& value);
    ScriptResult<String*> ToString(const Value& value);
    bool ToBoolean(const Value& value);
    double PrimitiveToNumber(const Value& primitive);
    String* PrimitiveToString(const Value& primitive);
    // Converting a value to an object for member access (null for
    // undefined and null).
    Object* ToObject(const Value& value);
    String* TypeOf(const Value& value);
    // ==, ===, <: as Equals2, StrictEquals and Less2 do (Less2 returns
    // undefined when a side is NaN).
    ScriptResult<bool> LooseEquals(const Value& a, const Value& b);
    bool StrictEquals(const Value& a, const Value& b);
    ScriptResult<Value> LessThan(const Value& a, const Value& b);
    bool InstanceOf(const Value& value, Object* constructor);

    // Throws: an Error object of the named class with the message.
    Completion ThrowError(std::string_view className, std::string_view message);

    // Runs an action block's range on a clip (DoAction, DoInitAction, clip
    // and button actions). Sets the running code's version.
    Completion RunActions(const ActionBytes& bytes, std::size_t begin, std::size_t end,
                          Object* target, int version, Object* thisObject = nullptr);

    // Limits.
    // Counts actions; false once this frame's budget is spent.
    bool ChargeActions(std::uint64_t count);
    // A new frame's budget.
    void NewFrame() { actionsThisFrame = 0; }
    bool OverMemory() const { return heap.Bytes() > limits.heapBytes; }
    // Aborts with a note in the journal (once per kind of limit a frame).
    Completion AbortForLimit(std::string_view what);
    // Recursion past the limit aborts, and no script of the movie runs
    // again (Flash disables the movie's actions then).
    Completion AbortForRecursion();
    bool ScriptsDisabled() const { return scriptsDisabled; }
    const VmLimits& Limits() const { return limits; }
    int CallDepth() const { return callDepth; }

    // Collects the heap (at a safe point, when no script is running).
    void Collect();

    // The engine's random numbers (random(), Math.random), seeded.
    std::mt19937& Random() { return random; }
    void SeedRandom(std::uint32_t seed) { random.seed(seed); }

    // ASnative(group, index): the built-ins by the numbers Flash gives them,
    // registered by each built-in class; unknown numbers give null.
    void RegisterNative(int group, int index, NativeFunction function) {
        nativeTable[{group, index}] = function;
    }
    NativeFunction FindNative(int group, int index) const {
        const auto found = nativeTable.find({group, index});
        return found == nativeTable.end() ? nullptr : found->second;
    }

    // Object.registerClass: the class each exported symbol's clips get.
    std::vector<std::pair<String*, Object*>>& RegisteredClasses() { return registeredClasses; }

    // Roots outside the heap that built-ins keep (intervals, listeners).
    void TraceRoots(Tracer& tracer) const override;
    // Values a native holds while it calls back into scripts.
    std::vector<Value>& TemporaryRoots() { return temporaryRoots; }

    // The running activations, innermost last (for the interpreter).
    std::vector<Activation*>& Activations() { return activations; }
    std::vector<Value>& Stack() { return stack; }

    // The clip the running code acts on (the root when none runs).
    Object* CurrentTarget() const;

    // Interval timers (setInterval, setTimeout): their ids and due times
    // live with the built-in; the engine keeps them as roots.
    struct Timer {
        int id = 0;
        Value function; // a function, or an object whose method is named
        String* method = nullptr;
        std::vector<Value> args;
        double intervalMs = 0;
        double dueMs = 0;
        bool repeat = true;
    };
    std::vector<Timer>& Timers() { return timers; }
    int NextTimerId() { return ++lastTimerId; }
    // Runs the timers due by now (movie milliseconds).
    void RunTimers(double nowMs);
    // Calls the player makes at the start of a later frame, before that
    // frame's scripts: what a load reports when it ends (the timer's
    // function or method, with its arguments; its times are not used).
    void CallAtFrameStart(Timer call, int frames);
    // Counts a frame down for each such call and makes those now due.
    void RunFrameStartCalls();

    // Called by the interpreter on every call into script code.
    Completion CallScript(FunctionObject* function, const Value& thisValue,
                          std::span<const Value> args, bool constructing);

private:
    friend struct NativeCall;
    Completion CallWithHolder(const Value& function, const Value& thisValue,
                              std::span<const Value> args, Object* holder);
    Completion CallNative(FunctionObject* function, const Value& thisValue,
                          std::span<const Value> args, bool constructing);
    Completion GetFromChain(Object* start, String* name, const Value& thisValue, int depth);
    // A member of a string, number or boolean, read as its wrapper has it.
    Completion PrimitiveMember(const Value& base, String* name, Object* prototype, Object* maker);
    Completion CallGetter(Object* getter, const Value& thisValue);
    // A clip as a primitive: its path while it lives, else "".
    Value ClipPrimitive(Object* clip);
    Completion RunWatchers(Object* object, String* name, Value& value, bool& handled);

    VmHost& host;
    const int movieVersion;
    VmLimits limits;
    Heap heap;
    StringTable strings;
    std::unique_ptr<Names> names;
    BuiltinObjects builtins;
    Object* global = nullptr;
    ClipHost* clips = nullptr;
    std::vector<String*> indexNames;
    std::vector<Activation*> activations;
    std::vector<Value> stack;
    std::vector<Value> temporaryRoots;
    std::vector<Timer> timers;
    std::vector<std::pair<int, Timer>> frameStartCalls; // frames left, call
    std::vector<std::pair<String*, Object*>> registeredClasses;
    std::map<std::pair<int, int>, NativeFunction> nativeTable;
    int lastTimerId = 0;
    // Where CallMethod found the method it is about to call, for super.
    Object* pendingHolder = nullptr;
    bool pendingPlainCall = false;
    int callDepth = 0;
    std::uint64_t actionsThisFrame = 0;
    bool limitNoted = false;
    bool scriptsDisabled = false;
    std::mt19937 random;
};

// Keeps values reachable while a native calls back into scripts.
class TemporaryRoot {
public:
    TemporaryRoot(Vm& vm, const Value& value) : roots(vm.TemporaryRoots()) {
        roots.push_back(value);
    }
    ~TemporaryRoot() { roots.pop_back(); }
    TemporaryRoot(const TemporaryRoot&) = delete;
    TemporaryRoot& operator=(const TemporaryRoot&) = delete;

private:
    std::vector<Value>& roots;
};

} // namespace swf::script

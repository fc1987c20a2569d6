// The interpreter's working state, shared by the files that implement it:
// the loop and the stack (Interpreter.cpp), names and target paths
// (InterpreterVariables.cpp), and functions, with, try (InterpreterBlocks.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "swf/script/Activation.h"
#include "swf/script/Vm.h"

namespace swf::script {

class Interpreter {
public:
    Interpreter(Vm& vm, Activation& a) : vm(vm), a(a), stack(vm.Stack()) {}

    // Runs [begin, end); pc is left where the range was left.
    Completion Run(std::size_t begin, std::size_t end);

private:
    // One action: code, its data, and where the next one starts.
    struct Record {
        std::uint8_t code = 0;
        std::span<const std::uint8_t> data;
        std::size_t next = 0;
    };
    bool Decode(std::size_t at, Record& record) const;
    Completion Execute(const Record& r, std::size_t& next);

    // The stack. Popping below this activation's part gives undefined.
    void Push(const Value& v) { stack.push_back(v); }
    void PushBool(bool b) { stack.push_back(a.version < 5 ? Value(b ? 1.0 : 0.0) : Value(b)); }
    Value Pop();
    Value& Top();
    std::vector<Value> PopArguments();

    // Values to names.
    ScriptResult<String*> NameOf(const Value& v);

    // Variables and paths.
    Completion GetVariable(String* name);
    Completion SetVariable(String* name, const Value& value);
    // holder: the scope object the name was found in (null for _global's
    // members and names not found).
    Completion LookupName(String* name, Object** holder = nullptr);
    Completion DefineLocal(String* name, const Value& value);
    bool DeleteVariable(String* name);
    // Finds a member if the object (or its chain) has it.
    Completion GetIfPresent(Object* object, String* name, bool& found);
    bool Has(Object* object, String* name);
    // A clip or object by target path ("/a/b", "a.b", "../c", "_level1"),
    // from the current target; null when the path leads nowhere.
    ScriptResult<Object*> ResolvePath(std::string_view path);
    // One named step of a path from current; fromTarget: the step is the
    // first, taken from the current target.
    ScriptResult<Object*> PathStepTarget(Object* current, String* stepName, bool fromTarget);
    // SetTarget: the path is taken from the timeline running the script,
    // not from an earlier target; an empty path or one leading nowhere
    // brings that timeline back.
    Completion TargetPath(std::string_view path);
    // A frame as Call and GotoFrame2 name it: "path:frame" or "frame", by
    // number (from 1) or label; no clip when it leads nowhere.
    struct FrameReference {
        Object* clip = nullptr;
        std::optional<std::size_t> number; // 0-based
        std::string_view label;
    };
    ScriptResult<FrameReference> FrameOf(std::string_view text);
    // The clip a timeline action names ("" is the current target).
    Object* TargetClip(const Value& target);

    // Blocks.
    Completion DefineFunction(const Record& r, bool isFunction2, std::size_t& next);
    Completion RunWith(const Record& r, std::size_t& next);
    Completion RunTry(const Record& r, std::size_t& next);
    Completion Enumerate(const Value& object);
    Completion CallFunction();
    Completion CallMethodAction();
    Completion NewObjectAction();
    Completion NewMethodAction();
    Completion GotoFrame2(const Record& r);
    Completion GetUrl2(const Record& r);
    Completion SkipActions(int count, std::size_t& next);

    Vm& vm;
    Activation& a;
    std::vector<Value>& stack;
    std::size_t pc = 0;
};

} // namespace swf::script

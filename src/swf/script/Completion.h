// How an operation that may run script code ended: normally with a value, by
// a throw the script can catch (the value is what was thrown), or by an
// abort no script can catch (the action limit, the recursion limit, the
// memory limit, or the movie quitting). Nothing is thrown as a C++
// exception through the interpreter; every caller looks at the completion
// and passes on what it cannot handle.
#pragma once

#include <cstdint>

#include "swf/script/Value.h"

namespace swf::script {

enum class CompletionKind : std::uint8_t { Normal, Return, Throw, Abort };

class Completion {
public:
    Completion() = default;
    Completion(Value value) : value(value) {}

    static Completion Throw(Value thrown) { return {CompletionKind::Throw, thrown}; }
    static Completion Abort() { return {CompletionKind::Abort, Value()}; }
    static Completion Return(Value value) { return {CompletionKind::Return, value}; }

    CompletionKind Kind() const { return kind; }
    bool IsNormal() const { return kind == CompletionKind::Normal; }
    // A throw or an abort: the caller stops what it was doing.
    bool IsAbrupt() const { return kind == CompletionKind::Throw || kind == CompletionKind::Abort; }
    bool IsThrow() const { return kind == CompletionKind::Throw; }
    bool IsAbort() const { return kind == CompletionKind::Abort; }
    const Value& GetValue() const { return value; }

private:
    Completion(CompletionKind kind, Value value) : kind(kind), value(value) {}
    CompletionKind kind = CompletionKind::Normal;
    Value value;
};

} // namespace swf::script

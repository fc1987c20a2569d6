// The result of an operation that may run script code and yields a value of
// its own type: that value, or the throw or abort that ended it.
#pragma once

#include <utility>

#include "swf/script/Completion.h"

namespace swf::script {

template <typename T>
class ScriptResult {
public:
    ScriptResult(T value) : value(std::move(value)) {}
    // Only for throw and abort completions.
    ScriptResult(Completion abrupt) : completion(abrupt), failed(true) {}

    bool Ok() const { return !failed; }
    explicit operator bool() const { return !failed; }
    const T& operator*() const { return value; }
    T& operator*() { return value; }
    const T* operator->() const { return &value; }
    T* operator->() { return &value; }
    const Completion& Abrupt() const { return completion; }

private:
    T value{};
    Completion completion;
    bool failed = false;
};

} // namespace swf::script

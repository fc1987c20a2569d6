// An array: an object whose elements are properties named by their index,
// and whose "length" follows them (setting an element past the end lengthens
// it; setting length shorter removes the elements past it).
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "swf/script/Object.h"

namespace swf::script {

class ArrayObject : public Object {
public:
    ArrayObject() : Object(ObjectClass::Array) {}

    std::size_t Length() const { return length; }
    // Sets length, removing elements at and past it when it shrinks.
    void SetLength(Vm& vm, std::size_t value);
    // Reads element i without running getters (undefined when absent).
    Value Element(Vm& vm, std::size_t i);
    void SetElement(Vm& vm, std::size_t i, const Value& value);
    void Push(Vm& vm, const Value& value) { SetElement(vm, length, value); }
    // The elements 0..length-1, holes as undefined.
    std::vector<Value> Elements(Vm& vm);
    // Replaces all elements.
    void Assign(Vm& vm, const std::vector<Value>& values);

    void OwnPropertySet(Vm& vm, String* name, const Value& value) override;

private:
    void StoreLength(Vm& vm);
    std::size_t length = 0;
};

// The index a property name stands for ("12" is 12; "012" and "-1" are not
// indices).
std::optional<std::size_t> ArrayIndex(std::string_view name);

} // namespace swf::script

// A bitmap filter as a script object: its class's table of parameters and
// the values it keeps natively, in the table's order.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "swf/script/Object.h"

namespace swf::script::filters {

// Number: clamped to [low, high]; Whole: a 32-bit integer so clamped;
// Color: 24 bits; Flag: a boolean; Text: a string; List: an array, kept as
// a copy; Thing: an object kept as given (a bitmap, a point).
enum class Rule : std::uint8_t { Number, Whole, Color, Flag, Text, List, Thing };

struct Parameter {
    std::string_view name;
    Rule rule;
    double low = 0;  // the range of a number
    double high = 0; // (both 0: any number)
    double initial = 0;
    std::string_view initialText = {};
    std::span<const double> initialList = {};
};

struct FilterSpec {
    std::string_view className;
    std::vector<Parameter> parameters; // in the constructor's order
};

// Every filter class, BlurFilter first.
const std::vector<FilterSpec>& Specs();

// A filter's parameters, kept in the order of its class's table.
class FilterObject : public Object {
public:
    explicit FilterObject(const FilterSpec& spec) : Object(ObjectClass::Other), spec(spec) {}
    const FilterSpec& spec;
    std::vector<Value> values;

    // The parameter of a name, or null.
    Value* Find(std::string_view name) {
        for (std::size_t i = 0; i < spec.parameters.size() && i < values.size(); ++i) {
            if (spec.parameters[i].name == name) {
                return &values[i];
            }
        }
        return nullptr;
    }

    void Trace(Tracer& tracer) const override {
        Object::Trace(tracer);
        for (const Value& v : values) {
            tracer.Visit(v);
        }
    }
};

// The object as a filter, or null.
inline FilterObject* AsFilter(Object* object) {
    return object && object->Class() == ObjectClass::Other ? dynamic_cast<FilterObject*>(object)
                                                           : nullptr;
}

} // namespace swf::script::filters

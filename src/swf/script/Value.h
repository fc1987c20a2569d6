// A script value: undefined, null, a boolean, a number (an IEEE double), a
// string or an object (movie clips are objects too). Values are small and
// copied freely; strings and objects live in the heap.
#pragma once

#include <cstdint>

namespace swf::script {

class String;
class Object;

enum class ValueKind : std::uint8_t { Undefined, Null, Boolean, Number, String, Object };

class Value {
public:
    Value() : kind(ValueKind::Undefined), number(0.0) {}
    Value(bool value) : kind(ValueKind::Boolean), boolean(value) {}
    Value(double value) : kind(ValueKind::Number), number(value) {}
    Value(int value) : kind(ValueKind::Number), number(value) {}
    Value(String* value) : kind(ValueKind::String), string(value) {}
    Value(Object* value) : kind(value ? ValueKind::Object : ValueKind::Null), object(value) {}

    static Value Undefined() { return Value(); }
    static Value Null() {
        Value v;
        v.kind = ValueKind::Null;
        return v;
    }

    ValueKind Kind() const { return kind; }
    bool IsUndefined() const { return kind == ValueKind::Undefined; }
    bool IsNull() const { return kind == ValueKind::Null; }
    bool IsNullish() const { return kind == ValueKind::Undefined || kind == ValueKind::Null; }
    bool IsBoolean() const { return kind == ValueKind::Boolean; }
    bool IsNumber() const { return kind == ValueKind::Number; }
    bool IsString() const { return kind == ValueKind::String; }
    bool IsObject() const { return kind == ValueKind::Object; }

    // Only valid for the matching kind.
    bool AsBoolean() const { return boolean; }
    double AsNumber() const { return number; }
    String* AsString() const { return string; }
    Object* AsObject() const { return object; }

    // The object, or null for any other kind.
    Object* ObjectOrNull() const { return kind == ValueKind::Object ? object : nullptr; }

    // Same kind and same content (strings by content, objects by identity,
    // NaN equal to itself): what "the same value" means to the engine's own
    // bookkeeping, not to a script's == or ===.
    bool SameAs(const Value& other) const;

private:
    ValueKind kind;
    union {
        bool boolean;
        double number;
        String* string;
        Object* object;
    };
};

} // namespace swf::script

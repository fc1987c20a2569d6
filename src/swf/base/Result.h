// A value or the reason there is none: what the engine's readers, decoders
// and host services return. The engine keeps its own so that nothing below
// the control depends on the device's headers.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <variant>

namespace swf {

struct Error {
    std::string message;
    // Where in the input the problem was found, in bytes from its start.
    std::size_t offset = 0;
};

template <typename T>
class Result {
public:
    Result(T value) : state(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state(std::in_place_index<1>, std::move(error)) {}

    bool Ok() const { return state.index() == 0; }
    explicit operator bool() const { return Ok(); }

    // Only valid when Ok().
    const T& Value() const& { return std::get<0>(state); }
    T& Value() & { return std::get<0>(state); }
    T&& Value() && { return std::get<0>(std::move(state)); }
    const T& operator*() const& { return Value(); }
    const T* operator->() const { return &Value(); }

    // Only valid when !Ok().
    const Error& GetError() const { return std::get<1>(state); }

private:
    std::variant<T, Error> state;
};

} // namespace swf

// UTF-16 text, the device's text encoding, and its conversion to and from
// UTF-8, the host's.
#pragma once

#include <string>
#include <string_view>

#include "platform/WinTypes.h"

namespace text {

// Invalid sequences become U+FFFD; nothing is dropped silently.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// The length of a null-terminated UTF-16 string (0 for nullptr).
std::size_t Length(LPCWSTR text);
// A null-terminated UTF-16 string as a string (empty for nullptr).
std::u16string FromWide(LPCWSTR text);

// Compares two texts with ASCII letters folded to one case, as the device
// compares class names, mutex names and URL schemes.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);
// The text with ASCII letters folded to that one case: equal for two texts
// exactly when EqualsIgnoringCase holds.
std::u16string FoldedCase(std::u16string_view text);

// The two halves of a UTF-16 surrogate pair.
constexpr bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The decimal text of a number, as "%d" writes it.
std::u16string FromInt(long long value);

} // namespace text

// Text in the two encodings movies use: UTF-8 (the strings of SWF 6 and
// later, and the engine's own) and UTF-16 (the host's dispatch strings and
// the character codes of fonts). A damaged sequence becomes U+FFFD, one for
// each unit that cannot start a character, so that nothing is dropped.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace swf::text {

constexpr char32_t ReplacementCharacter = 0xFFFD;

// The code point that starts at text[at], moving at past it; a damaged
// sequence yields ReplacementCharacter and moves at by one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& at);
void AppendUtf8(char32_t codePoint, std::string& out);

std::u16string Utf8ToUtf16(std::string_view text);

// The text with its ASCII letters in lower or upper case, other bytes kept.
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);
// An unpaired surrogate becomes ReplacementCharacter.
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace swf::text

// The two string models of movies: SWF 5 code reads a string as one
// character per byte, the byte's value its code; SWF 6 and later read it as
// UTF-8. Script string operations work on
// characters, which these helpers turn the bytes into and back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace swf::script {

// Each byte as the Latin-1 character of its value, in UTF-8 (for the trace
// output of SWF 5 movies, whose strings are bytes).
std::string Latin1ToUtf8(std::string_view bytes);

// UTF-8 to characters. A byte that does not start a valid sequence stands
// for itself (as its Latin-1 character), so no byte is lost.
std::vector<std::uint32_t> DecodeUtf8(std::string_view bytes);
void AppendUtf8(std::string& out, std::uint32_t character);
std::string EncodeUtf8(const std::vector<std::uint32_t>& characters);

// The characters of a string as code of a version reads them.
std::vector<std::uint32_t> Characters(std::string_view bytes, int version);
std::string FromCharacters(const std::vector<std::uint32_t>& characters, int version);
// The number of characters.
std::size_t CharacterCount(std::string_view bytes, int version);

// Equal when ASCII letters are compared without regard to case, as names
// are before SWF 7.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace swf::script

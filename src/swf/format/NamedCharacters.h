// The tables that name characters: the linkage names a movie exports its
// characters under, and the class names SymbolClass gives them. Both are a
// count, then each character's id and its name.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "swf/format/Basics.h"

namespace swf {

struct NamedCharacter {
    CharacterId id = 0;
    std::string name;
};

// The entries of such a table; a damaged one gives those read before the
// damage.
std::vector<NamedCharacter> ReadNamedCharacters(std::span<const std::uint8_t> body);

} // namespace swf

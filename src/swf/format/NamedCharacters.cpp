#include "swf/format/NamedCharacters.h"

#include "swf/base/ByteReader.h"

namespace swf {

std::vector<NamedCharacter> ReadNamedCharacters(std::span<const std::uint8_t> body) {
    ByteReader reader(body);
    const unsigned count = reader.U16();
    std::vector<NamedCharacter> named;
    for (unsigned i = 0; reader.Ok() && i < count; ++i) {
        const CharacterId id = reader.U16();
        std::string name = reader.String();
        if (!reader.Ok()) {
            break;
        }
        named.push_back({id, std::move(name)});
    }
    return named;
}

} // namespace swf

#include "swf/script/display/ExportNames.h"

#include "swf/format/NamedCharacters.h"
#include "swf/format/TagCodes.h"
#include "swf/script/TextEncoding.h"

namespace swf::script {

void ExportNames::Update(const Movie& movie) {
    const std::vector<RawTag>& tags = movie.otherTags;
    for (; tagsRead < tags.size(); ++tagsRead) {
        const RawTag& tag = tags[tagsRead];
        if (tag.code != tag::Exports) {
            continue;
        }
        for (NamedCharacter& named : ReadNamedCharacters(tag.body)) {
            exports.push_back({named.id, std::move(named.name)});
        }
    }
}

std::optional<CharacterId> ExportNames::Find(const Movie& movie, std::string_view name) {
    Update(movie);
    for (const Export& e : exports) {
        if (EqualsIgnoringAsciiCase(e.name, name)) {
            return e.id;
        }
    }
    return std::nullopt;
}

const std::string* ExportNames::NameOf(const Movie& movie, CharacterId id) {
    Update(movie);
    for (const Export& e : exports) {
        if (e.id == id) {
            return &e.name;
        }
    }
    return nullptr;
}

} // namespace swf::script

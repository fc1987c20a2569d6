#include "swf/script/display/ExportNames.h"

#include "swf/base/ByteReader.h"
#include "swf/format/TagCodes.h"
#include "swf/script/TextEncoding.h"

namespace swf::script {

void ExportNames::Update(const Movie& movie) {
    const std::vector<RawTag>& tags = movie.otherTags;
    for (; tagsRead < tags.size(); ++tagsRead) {
        const RawTag& tag = tags[tagsRead];
        if (tag.code != tag::ExportAssets) {
            continue;
        }
        // A count, then each export's character id and its name; a damaged
        // tag gives the exports read before the damage.
        ByteReader reader(tag.body);
        const unsigned count = reader.U16();
        for (unsigned i = 0; reader.Ok() && i < count; ++i) {
            const CharacterId id = reader.U16();
            std::string name = reader.String();
            if (!reader.Ok()) {
                break;
            }
            exports.push_back({id, std::move(name)});
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

// The names the export tag gives characters (attachMovie's linkage names, the
// symbols Object.registerClass names). Flash matches them without regard to
// ASCII case in every version; the first export of a name wins.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "swf/format/Movie.h"

namespace swf::script {

class ExportNames {
public:
    // The character exported under name.
    std::optional<CharacterId> Find(const Movie& movie, std::string_view name);
    // The name a character was exported under, or null.
    const std::string* NameOf(const Movie& movie, CharacterId id);

private:
    struct Export {
        CharacterId id = 0;
        std::string name;
    };
    // Reads the movie's exports again when tags were added since.
    void Update(const Movie& movie);

    std::vector<Export> exports;
    std::size_t tagsRead = 0;
};

} // namespace swf::script

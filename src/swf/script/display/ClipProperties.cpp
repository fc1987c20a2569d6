#include "swf/script/display/ClipProperties.h"

#include <array>
#include <cstddef>

#include "swf/script/TextEncoding.h"

namespace swf::script {

namespace {

// In the order of their numbers.
constexpr std::array<std::string_view, ClipPropertyCount> names = {
    "_x",           "_y",           "_xscale",       "_yscale",       "_currentframe",
    "_totalframes", "_alpha",       "_visible",      "_width",        "_height",
    "_rotation",    "_target",      "_framesloaded", "_name",         "_droptarget",
    "_url",         "_highquality", "_focusrect",    "_soundbuftime", "_quality",
    "_xmouse",      "_ymouse",
};

} // namespace

std::optional<ClipProperty> ClipPropertyByName(std::string_view name) {
    if (name.size() < 2 || name[0] != '_') {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (EqualsIgnoringAsciiCase(name, names[i])) {
            return static_cast<ClipProperty>(i);
        }
    }
    return std::nullopt;
}

std::string_view ClipPropertyName(ClipProperty property) {
    return names[static_cast<std::size_t>(property)];
}

} // namespace swf::script

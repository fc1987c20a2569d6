// The display properties of clips, buttons and text fields by name ("_x",
// "_alpha", ...): the names a script reads as members and the numbers
// GetProperty and SetProperty use are one table. Flash matches these names
// without regard to case in every version.
#pragma once

#include <optional>
#include <string_view>

#include "swf/script/ClipHost.h"

namespace swf::script {

std::optional<ClipProperty> ClipPropertyByName(std::string_view name);
std::string_view ClipPropertyName(ClipProperty property);

} // namespace swf::script

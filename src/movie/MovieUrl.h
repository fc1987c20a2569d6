// The URL the control gets for a location typed or browsed in the Open
// dialog.
#pragma once

#include <string>

namespace player {

// "http://" locations (in any letter case) unchanged; every other location,
// even one that already begins with "file://", behind "file://".
std::u16string FormMovieUrl(const std::u16string& location);

} // namespace player

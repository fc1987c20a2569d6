#include "movie/MovieUrl.h"

#include "platform/Text.h"

namespace player {

std::u16string FormMovieUrl(const std::u16string& location) {
    constexpr std::u16string_view kHttp = u"http://";
    if (location.size() >= kHttp.size() &&
        text::EqualsIgnoringCase(std::u16string_view(location).substr(0, kHttp.size()), kHttp)) {
        return location;
    }
    return u"file://" + location;
}

} // namespace player

#include "swf/format/TimelineModel.h"

#include <algorithm>
#include <cctype>

namespace swf {

std::optional<std::size_t> Timeline::FindLabel(const std::string& label) const {
    const auto same = [&](const std::string& other) {
        return std::equal(
            label.begin(), label.end(), other.begin(), other.end(),
            [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
    };
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (std::any_of(frames[i].labels.begin(), frames[i].labels.end(), same)) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace swf

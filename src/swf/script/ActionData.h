// Reading the fields of an action record's data. Short data reads as zero
// or as the empty string, so a damaged record cannot read past its end.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace swf::script {

inline std::uint16_t ReadU16(std::span<const std::uint8_t> d, std::size_t at) {
    return at + 1 < d.size() ? std::uint16_t(d[at] | (d[at + 1] << 8)) : 0;
}

// A null-terminated string at pos; pos moves past it. Without a terminator
// the rest of the data is the string.
inline std::string_view ReadCString(std::span<const std::uint8_t> d, std::size_t& pos) {
    const std::size_t start = std::min(pos, d.size());
    pos = start;
    while (pos < d.size() && d[pos] != 0) {
        ++pos;
    }
    const std::string_view s(reinterpret_cast<const char*>(d.data()) + start, pos - start);
    if (pos < d.size()) {
        ++pos;
    }
    return s;
}

} // namespace swf::script

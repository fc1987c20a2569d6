#include "swf/script/TextEncoding.h"

namespace swf::script {

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        AppendUtf8(out, static_cast<unsigned char>(c));
    }
    return out;
}

std::vector<std::uint32_t> DecodeUtf8(std::string_view bytes) {
    std::vector<std::uint32_t> out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        std::uint32_t value = 0;
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1;
            value = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            value = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            value = b & 0x07;
        } else {
            out.push_back(b);
            ++i;
            continue;
        }
        bool valid = i + static_cast<std::size_t>(extra) < bytes.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                valid = false;
            } else {
                value = (value << 6) | (next & 0x3F);
            }
        }
        if (!valid) {
            out.push_back(b);
            ++i;
            continue;
        }
        out.push_back(value);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

// Unlike the engine's text helpers, surrogates are written as they are:
// a string holds whatever character codes a script made.
void AppendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | ((c >> 18) & 0x07));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string EncodeUtf8(const std::vector<std::uint32_t>& characters) {
    std::string out;
    out.reserve(characters.size());
    for (const std::uint32_t c : characters) {
        AppendUtf8(out, c);
    }
    return out;
}

std::vector<std::uint32_t> Characters(std::string_view bytes, int version) {
    if (version >= 6) {
        return DecodeUtf8(bytes);
    }
    std::vector<std::uint32_t> out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        out.push_back(static_cast<unsigned char>(c));
    }
    return out;
}

std::string FromCharacters(const std::vector<std::uint32_t>& characters, int version) {
    if (version >= 6) {
        return EncodeUtf8(characters);
    }
    std::string out;
    out.reserve(characters.size());
    for (const std::uint32_t c : characters) {
        out += static_cast<char>(c & 0xFF);
    }
    return out;
}

std::size_t CharacterCount(std::string_view bytes, int version) {
    if (version < 6) {
        return bytes.size();
    }
    return DecodeUtf8(bytes).size();
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace swf::script

#include "swf/script/TextEncoding.h"

namespace swf::script {

namespace {

// Windows-1252's characters for the bytes 0x80 to 0x9F (0 where undefined:
// those bytes stand for the same code point).
constexpr std::uint16_t cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else if (b < 0xA0 && cp1252High[b - 0x80] != 0) {
            AppendUtf8(out, cp1252High[b - 0x80]);
        } else {
            AppendUtf8(out, b);
        }
    }
    return out;
}

int Utf8CharToCp1252(std::uint32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF)) {
        return static_cast<int>(character);
    }
    for (int i = 0; i < 32; ++i) {
        if (cp1252High[i] == character) {
            return 0x80 + i;
        }
    }
    if (character >= 0x80 && character < 0xA0 && cp1252High[character - 0x80] == 0) {
        return static_cast<int>(character);
    }
    return -1;
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

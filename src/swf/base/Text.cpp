#include "swf/base/Text.h"

namespace swf::text {

namespace {

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// How many bytes a sequence with this lead byte has, and the lead's payload;
// 0 for a byte that cannot lead.
int SequenceLength(unsigned char lead, char32_t& payload) {
    if (lead < 0x80) {
        payload = lead;
        return 1;
    }
    static constexpr struct {
        unsigned char mask;
        unsigned char value;
        int length;
    } leads[] = {{0xE0, 0xC0, 2}, {0xF0, 0xE0, 3}, {0xF8, 0xF0, 4}};
    for (const auto& form : leads) {
        if ((lead & form.mask) == form.value) {
            payload = lead & static_cast<unsigned char>(~form.mask);
            return form.length;
        }
    }
    return 0;
}

} // namespace

char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    char32_t c = 0;
    const int length = SequenceLength(static_cast<unsigned char>(text[at]), c);
    if (length == 0 || at + length > text.size()) {
        ++at;
        return ReplacementCharacter;
    }
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) {
            ++at;
            return ReplacementCharacter;
        }
        c = (c << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not text.
    static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[length] || c > 0x10FFFF || IsSurrogate(c)) {
        ++at;
        return ReplacementCharacter;
    }
    at += length;
    return c;
}

void AppendUtf8(char32_t c, std::string& out) {
    if (c > 0x10FFFF || IsSurrogate(c)) {
        c = ReplacementCharacter;
    }
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    // Continuation bytes from the last backwards, then the lead.
    char bytes[4];
    int count = 0;
    char32_t leadLimit = 0x40; // payload a lead byte can still take
    unsigned char leadMark = 0x80;
    while (c >= leadLimit) {
        bytes[count++] = static_cast<char>(0x80 | (c & 0x3F));
        c >>= 6;
        leadLimit >>= 1;
        leadMark = static_cast<unsigned char>(0x80 | (leadMark >> 1));
    }
    out += static_cast<char>(leadMark | c);
    while (count > 0) {
        out += bytes[--count];
    }
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = NextCodePoint(text, at);
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        }
        AppendUtf8(c, out); // a lone surrogate becomes the replacement
    }
    return out;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

} // namespace swf::text

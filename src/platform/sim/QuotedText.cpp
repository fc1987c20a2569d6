#include "platform/sim/QuotedText.h"

#include <cstdio>

#include "platform/Text.h"

namespace sim {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string EscapeText(std::u16string_view text, std::u16string_view alsoEscaped) {
    std::string out;
    std::size_t plainStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (text::IsHighSurrogate(c) && i + 1 < text.size() && text::IsLowSurrogate(text[i + 1])) {
            ++i;
            continue;
        }
        const bool special = c < 0x20 || c == 0x7F || c == u'%' || c == u'"' ||
                             text::IsHighSurrogate(c) || text::IsLowSurrogate(c) ||
                             alsoEscaped.find(c) != std::u16string_view::npos;
        if (special) {
            out += text::ToUtf8(text.substr(plainStart, i - plainStart));
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "%%%04X", static_cast<unsigned>(c));
            out += escaped;
            plainStart = i + 1;
        }
    }
    out += text::ToUtf8(text.substr(plainStart));
    return out;
}

std::optional<std::u16string> UnescapeText(std::string_view text) {
    std::u16string out;
    std::size_t plainStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            continue;
        }
        out += text::FromUtf8(text.substr(plainStart, i - plainStart));
        if (i + 4 >= text.size()) {
            return std::nullopt;
        }
        unsigned unit = 0;
        for (std::size_t k = 1; k <= 4; ++k) {
            const int digit = HexDigitValue(text[i + k]);
            if (digit < 0) {
                return std::nullopt;
            }
            unit = unit * 16 + static_cast<unsigned>(digit);
        }
        out += static_cast<char16_t>(unit);
        i += 4;
        plainStart = i + 1;
    }
    out += text::FromUtf8(text.substr(plainStart));
    return out;
}

std::string QuoteText(std::u16string_view text) {
    std::string quoted(1, '"');
    quoted += EscapeText(text);
    quoted += '"';
    return quoted;
}

std::optional<std::u16string> TakeQuotedText(std::string_view& rest) {
    while (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
    }
    if (rest.empty() || rest.front() != '"') {
        return std::nullopt;
    }
    const std::size_t close = rest.find('"', 1);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    auto text = UnescapeText(rest.substr(1, close - 1));
    rest.remove_prefix(close + 1);
    return text;
}

} // namespace sim

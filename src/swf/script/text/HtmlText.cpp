// The HTML of text fields: the tags Flash reads (P, BR, FONT, B, I, U, A,
// LI, TEXTFORMAT; others are skipped) and the form it writes back.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "swf/base/Text.h"
#include "swf/script/NumberText.h"
#include "swf/script/TextEncoding.h"
#include "swf/script/text/FieldModel.h"

namespace swf::script::text {

namespace {

struct Tag {
    std::string name; // lower case
    bool closing = false;
    std::vector<std::pair<std::string, std::string>> attributes; // names lower case

    const std::string* Attribute(std::string_view attributeName) const {
        for (const auto& [key, value] : attributes) {
            if (key == attributeName) {
                return &value;
            }
        }
        return nullptr;
    }
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads the tag whose "<" is at html[at]; at ends past its ">".
Tag ReadTag(std::string_view html, std::size_t& at) {
    Tag tag;
    std::size_t i = at + 1;
    if (i < html.size() && html[i] == '/') {
        tag.closing = true;
        ++i;
    }
    const std::size_t nameStart = i;
    while (i < html.size() && !IsSpace(html[i]) && html[i] != '>' && html[i] != '/') {
        ++i;
    }
    tag.name = swf::text::LowerAscii(html.substr(nameStart, i - nameStart));
    while (i < html.size() && html[i] != '>') {
        if (IsSpace(html[i]) || html[i] == '/') {
            ++i;
            continue;
        }
        const std::size_t keyStart = i;
        while (i < html.size() && !IsSpace(html[i]) && html[i] != '=' && html[i] != '>') {
            ++i;
        }
        std::string key = swf::text::LowerAscii(html.substr(keyStart, i - keyStart));
        std::string value;
        if (i < html.size() && html[i] == '=') {
            ++i;
            if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                const char quote = html[i++];
                const std::size_t valueStart = i;
                while (i < html.size() && html[i] != quote) {
                    ++i;
                }
                value = std::string(html.substr(valueStart, i - valueStart));
                if (i < html.size()) {
                    ++i;
                }
            } else {
                const std::size_t valueStart = i;
                while (i < html.size() && !IsSpace(html[i]) && html[i] != '>') {
                    ++i;
                }
                value = std::string(html.substr(valueStart, i - valueStart));
            }
        }
        tag.attributes.emplace_back(std::move(key), std::move(value));
    }
    at = i < html.size() ? i + 1 : i;
    return tag;
}

// The character an entity at html[at] ("&lt;") stands for; at ends past it.
std::optional<std::uint32_t> ReadEntity(std::string_view html, std::size_t& at) {
    const std::size_t semicolon = html.find(';', at);
    if (semicolon == std::string_view::npos || semicolon - at > 8) {
        return std::nullopt;
    }
    const std::string name = swf::text::LowerAscii(html.substr(at + 1, semicolon - at - 1));
    std::optional<std::uint32_t> c;
    if (name == "lt") {
        c = '<';
    } else if (name == "gt") {
        c = '>';
    } else if (name == "amp") {
        c = '&';
    } else if (name == "quot") {
        c = '"';
    } else if (name == "apos") {
        c = '\'';
    } else if (name == "nbsp") {
        c = 0xA0;
    } else if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        const std::string digits = name.substr(hex ? 2 : 1);
        if (!digits.empty() && std::all_of(digits.begin(), digits.end(), [hex](unsigned char d) {
                return hex ? std::isxdigit(d) != 0 : std::isdigit(d) != 0;
            })) {
            c = static_cast<std::uint32_t>(std::stoul(digits, nullptr, hex ? 16 : 10));
        }
    }
    if (c) {
        at = semicolon + 1;
    }
    return c;
}

std::optional<std::uint32_t> ParseColor(const std::string& value) {
    if (value.size() < 2 || value[0] != '#') {
        return std::nullopt;
    }
    std::uint32_t color = 0;
    for (std::size_t i = 1; i < value.size(); ++i) {
        const auto d = static_cast<unsigned char>(value[i]);
        if (!std::isxdigit(d)) {
            return std::nullopt;
        }
        color = (color << 4) |
                static_cast<std::uint32_t>(std::isdigit(d) ? d - '0' : std::tolower(d) - 'a' + 10);
    }
    return color & 0xFFFFFF;
}

std::optional<double> ParseNumber(const std::string& value) {
    char* end = nullptr;
    const double n = std::strtod(value.c_str(), &end);
    if (end == value.c_str()) {
        return std::nullopt;
    }
    return n;
}

// Applies an opening tag's attributes to the format it starts.
void ApplyTag(const Tag& tag, CharFormat& format) {
    if (tag.name == "b") {
        format.bold = true;
    } else if (tag.name == "i") {
        format.italic = true;
    } else if (tag.name == "u") {
        format.underline = true;
    } else if (tag.name == "li") {
        format.bullet = true;
    } else if (tag.name == "p") {
        if (const std::string* align = tag.Attribute("align")) {
            const std::string a = swf::text::LowerAscii(*align);
            if (a == "left" || a == "right" || a == "center" || a == "justify") {
                format.align = a;
            }
        }
    } else if (tag.name == "a") {
        if (const std::string* href = tag.Attribute("href")) {
            format.url = *href;
        }
        if (const std::string* target = tag.Attribute("target")) {
            format.target = *target;
        }
    } else if (tag.name == "font") {
        if (const std::string* face = tag.Attribute("face")) {
            format.font = *face;
        }
        if (const std::string* size = tag.Attribute("size")) {
            if (const auto n = ParseNumber(*size)) {
                // "+2" and "-2" are relative to the size in force.
                const bool relative = !size->empty() && ((*size)[0] == '+' || (*size)[0] == '-');
                format.size = relative ? format.size + *n : *n;
            }
        }
        if (const std::string* color = tag.Attribute("color")) {
            if (const auto c = ParseColor(*color)) {
                format.color = *c;
            }
        }
        if (const std::string* spacing = tag.Attribute("letterspacing")) {
            if (const auto n = ParseNumber(*spacing)) {
                format.letterSpacing = *n;
            }
        }
        if (const std::string* kerning = tag.Attribute("kerning")) {
            format.kerning = ParseNumber(*kerning).value_or(0.0) != 0.0;
        }
    } else if (tag.name == "textformat") {
        const std::pair<const char*, double CharFormat::*> numbers[] = {
            {"leftmargin", &CharFormat::leftMargin},   {"rightmargin", &CharFormat::rightMargin},
            {"indent", &CharFormat::indent},           {"leading", &CharFormat::leading},
            {"blockindent", &CharFormat::blockIndent},
        };
        for (const auto& [attributeName, member] : numbers) {
            if (const std::string* value = tag.Attribute(attributeName)) {
                if (const auto n = ParseNumber(*value)) {
                    format.*member = *n;
                }
            }
        }
    }
}

bool StartsFormat(const std::string& name) {
    return name == "b" || name == "i" || name == "u" || name == "li" || name == "p" ||
           name == "a" || name == "font" || name == "textformat" || name == "span";
}

std::string Number(double value) {
    return NumberToString(value);
}

std::string ColorText(std::uint32_t color) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%06X", static_cast<unsigned>(color & 0xFFFFFF));
    return buffer;
}

void AppendEscaped(std::string& out, std::uint32_t c, int version) {
    switch (c) {
    case '<':
        out += "&lt;";
        return;
    case '>':
        out += "&gt;";
        return;
    case '&':
        out += "&amp;";
        return;
    default:
        out += FromCharacters({c}, version);
    }
}

std::string FontAttributes(const CharFormat& format, const CharFormat* base) {
    std::string out;
    if (!base || base->font != format.font) {
        out += " FACE=\"" + format.font + "\"";
    }
    if (!base || base->size != format.size) {
        out += " SIZE=\"" + Number(format.size) + "\"";
    }
    if (!base || base->color != format.color) {
        out += " COLOR=\"" + ColorText(format.color) + "\"";
    }
    if (!base || base->letterSpacing != format.letterSpacing) {
        out += " LETTERSPACING=\"" + Number(format.letterSpacing) + "\"";
    }
    if (!base || base->kerning != format.kerning) {
        out += std::string(" KERNING=\"") + (format.kerning ? "1" : "0") + "\"";
    }
    return out;
}

std::string TextFormatAttributes(const CharFormat& format) {
    std::string out;
    const std::pair<const char*, double> numbers[] = {
        {"LEFTMARGIN", format.leftMargin},   {"RIGHTMARGIN", format.rightMargin},
        {"INDENT", format.indent},           {"LEADING", format.leading},
        {"BLOCKINDENT", format.blockIndent},
    };
    for (const auto& [attributeName, value] : numbers) {
        if (value != 0.0) {
            out += std::string(" ") + attributeName + "=\"" + Number(value) + "\"";
        }
    }
    return out;
}

// The runs of text between tags as a field reads them: a run of nothing but
// white space goes; with condenseWhite the white space of the others comes
// to a single space, without it a "\r\n" is one line end.
std::string TextRuns(std::string_view html, bool condense) {
    std::string out;
    std::string run;
    const auto flush = [&]() {
        std::string condensed;
        bool onlySpace = true;
        for (std::size_t k = 0; k < run.size(); ++k) {
            const char c = run[k];
            if (!IsSpace(c)) {
                condensed += c;
                onlySpace = false;
            } else if (!condense) {
                if (!(c == '\r' && k + 1 < run.size() && run[k + 1] == '\n')) {
                    condensed += c;
                }
            } else if (condensed.empty() || condensed.back() != ' ') {
                condensed += ' ';
            }
        }
        if (!onlySpace) {
            out += condensed;
        }
        run.clear();
    };
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] != '<') {
            run += html[i];
            continue;
        }
        flush();
        const std::size_t end = html.find('>', i);
        const std::size_t stop = end == std::string_view::npos ? html.size() : end + 1;
        out += html.substr(i, stop - i);
        i = stop - 1;
    }
    flush();
    return out;
}

} // namespace

void FieldModel::SetHtml(std::string_view html, const CharFormat& base, int version) {
    characters.clear();
    formats.clear();
    // Each open tag with the format it started, innermost last.
    std::vector<std::pair<std::string, CharFormat>> open;
    CharFormat current = base;
    // A closed paragraph ends its line only when more text follows.
    bool pendingBreak = false;
    const auto add = [&](std::uint32_t c) {
        if (pendingBreak && c != '\r') {
            characters.push_back('\r');
            formats.push_back(current);
        }
        pendingBreak = false;
        characters.push_back(c);
        formats.push_back(current);
    };
    const std::string text = TextRuns(html, condenseWhite);
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '<') {
            const Tag tag = ReadTag(text, i);
            if (tag.closing) {
                // Before SWF 7 a closed paragraph ends its line at once, in
                // its own format.
                if ((tag.name == "p" || tag.name == "li") && version < 7) {
                    add('\r');
                }
                const auto found = std::find_if(open.rbegin(), open.rend(), [&](const auto& entry) {
                    return entry.first == tag.name;
                });
                if (found != open.rend()) {
                    current = found->second;
                    open.erase(std::next(found).base(), open.end());
                }
                if ((tag.name == "p" || tag.name == "li") && version >= 7) {
                    pendingBreak = true;
                }
            } else if (tag.name == "br") {
                // A single-line field has no line to break.
                if (multiline) {
                    add('\r');
                }
            } else if (tag.name == "tab") {
                add('\t');
            } else if (StartsFormat(tag.name)) {
                open.emplace_back(tag.name, current);
                ApplyTag(tag, current);
            }
            continue;
        }
        if (c == '&') {
            std::size_t at = i;
            if (const auto entity = ReadEntity(text, at)) {
                add(*entity);
                i = at;
                continue;
            }
        }
        // One character of the movie's encoding.
        std::size_t next = i + 1;
        if (version >= 6) {
            while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) {
                ++next;
            }
        }
        for (const std::uint32_t decoded :
             FieldCharacters(std::string_view(text).substr(i, next - i), version)) {
            add(decoded);
        }
        i = next;
    }
    if (!formats.empty()) {
        newFormat = formats.back();
    }
}

std::string FieldModel::Html(int version) const {
    std::string out;
    // An empty field has no paragraph to write.
    if (characters.empty()) {
        return out;
    }
    std::size_t start = 0;
    do {
        std::size_t end = start;
        while (end < characters.size() && characters[end] != '\r') {
            ++end;
        }
        const CharFormat& base = start < formats.size() ? formats[start] : newFormat;
        const std::string textFormat = TextFormatAttributes(base);
        if (!textFormat.empty()) {
            out += "<TEXTFORMAT" + textFormat + ">";
        }
        out += base.bullet ? "<LI>" : "<P ALIGN=\"" + swf::text::UpperAscii(base.align) + "\">";
        out += "<FONT" + FontAttributes(base, nullptr) + ">";
        std::size_t run = start;
        while (run < end) {
            std::size_t runEnd = run;
            while (runEnd < end && formats[runEnd] == formats[run]) {
                ++runEnd;
            }
            const CharFormat& f = formats[run];
            const std::string font = FontAttributes(f, &base);
            std::string closing;
            if (!font.empty()) {
                out += "<FONT" + font + ">";
                closing = "</FONT>" + closing;
            }
            if (!f.url.empty()) {
                out += "<A HREF=\"" + f.url + "\" TARGET=\"" + f.target + "\">";
                closing = "</A>" + closing;
            }
            if (f.bold) {
                out += "<B>";
                closing = "</B>" + closing;
            }
            if (f.italic) {
                out += "<I>";
                closing = "</I>" + closing;
            }
            if (f.underline) {
                out += "<U>";
                closing = "</U>" + closing;
            }
            for (std::size_t k = run; k < runEnd; ++k) {
                AppendEscaped(out, characters[k], version);
            }
            out += closing;
            run = runEnd;
        }
        out += "</FONT>";
        out += base.bullet ? "</LI>" : "</P>";
        if (!textFormat.empty()) {
            out += "</TEXTFORMAT>";
        }
        start = end + 1;
    } while (start < characters.size());
    return out;
}

} // namespace swf::script::text

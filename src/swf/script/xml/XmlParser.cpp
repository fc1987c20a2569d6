#include "swf/script/xml/XmlParser.h"

#include <cstdint>

namespace swf::script::xml {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool AllSpace(std::string_view text) {
    for (char c : text) {
        if (!IsSpace(c)) {
            return false;
        }
    }
    return true;
}

void AppendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The entity a "&...;" at the start of text names, or nothing.
bool DecodeEntity(std::string_view text, std::string& out, std::size_t& length) {
    const std::size_t end = text.find(';');
    if (end == std::string_view::npos || end > 10) {
        return false;
    }
    const std::string_view name = text.substr(1, end - 1);
    struct Named {
        std::string_view name;
        char c;
    };
    constexpr Named named[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const Named& n : named) {
        if (name == n.name) {
            out += n.c;
            length = end + 1;
            return true;
        }
    }
    if (name.size() >= 2 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        std::uint32_t code = 0;
        const std::string_view digits = name.substr(hex ? 2 : 1);
        if (digits.empty()) {
            return false;
        }
        for (char c : digits) {
            int digit = -1;
            if (c >= '0' && c <= '9') {
                digit = c - '0';
            } else if (hex && c >= 'a' && c <= 'f') {
                digit = c - 'a' + 10;
            } else if (hex && c >= 'A' && c <= 'F') {
                digit = c - 'A' + 10;
            }
            if (digit < 0 || code > 0x10FFFF) {
                return false;
            }
            code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
        }
        AppendUtf8(out, code);
        length = end + 1;
        return true;
    }
    return false;
}

// Text with its entities read; an "&" that starts none stays as it is.
std::string Unentity(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 0;
        if (text[i] == '&' && DecodeEntity(text.substr(i), out, length)) {
            i += length;
        } else {
            out += text[i++];
        }
    }
    return out;
}

class Parser {
public:
    Parser(std::string_view text, bool ignoreWhite, XmlSink& sink, ParseResult& document)
        : text(text), ignoreWhite(ignoreWhite), sink(sink), document(document) {}

    void Run() {
        while (pos < text.size() && document.status == XmlStatus::Ok && !document.stopped) {
            if (text[pos] != '<') {
                const std::size_t end = std::min(text.find('<', pos), text.size());
                AddText(Unentity(text.substr(pos, end - pos)), false);
                pos = end;
            } else if (StartsWith("<?")) {
                Declaration();
            } else if (StartsWith("<!--")) {
                Skip("-->", XmlStatus::CommentNotEnded);
            } else if (StartsWith("<![CDATA[")) {
                Cdata();
            } else if (StartsWith("<!")) {
                Doctype();
            } else if (StartsWith("</")) {
                EndTag();
            } else {
                StartTag();
            }
        }
        if (document.status == XmlStatus::Ok && !document.stopped && !open.empty()) {
            document.status = XmlStatus::StartTagNotEnded;
        }
    }

private:
    bool StartsWith(std::string_view prefix) const {
        return text.substr(pos, prefix.size()) == prefix;
    }

    void Fail(XmlStatus status) { document.status = status; }

    void AddText(std::string value, bool cdata) {
        if (value.empty() || (!cdata && ignoreWhite && AllSpace(value))) {
            return;
        }
        sink.Text(std::move(value));
    }

    void Skip(std::string_view terminator, XmlStatus failure) {
        const std::size_t end = text.find(terminator, pos);
        if (end == std::string_view::npos) {
            Fail(failure);
            return;
        }
        pos = end + terminator.size();
    }

    void Declaration() {
        const std::size_t end = text.find("?>", pos);
        if (end == std::string_view::npos) {
            Fail(XmlStatus::DeclarationNotEnded);
            return;
        }
        document.xmlDecl += text.substr(pos, end + 2 - pos);
        document.hasXmlDecl = true;
        pos = end + 2;
    }

    void Doctype() {
        const std::size_t end = text.find('>', pos);
        if (end == std::string_view::npos) {
            Fail(XmlStatus::DoctypeNotEnded);
            return;
        }
        document.docTypeDecl = std::string(text.substr(pos, end + 1 - pos));
        document.hasDocTypeDecl = true;
        pos = end + 1;
    }

    void Cdata() {
        const std::size_t start = pos + 9;
        const std::size_t end = text.find("]]>", start);
        if (end == std::string_view::npos) {
            Fail(XmlStatus::CdataNotEnded);
            return;
        }
        AddText(std::string(text.substr(start, end - start)), true);
        pos = end + 3;
    }

    void EndTag() {
        std::size_t i = pos + 2;
        const std::size_t nameStart = i;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != '>' && text[i] != '/') {
            ++i;
        }
        const std::string_view name = text.substr(nameStart, i - nameStart);
        const std::size_t close = text.find('>', i);
        if (name.empty() || close == std::string_view::npos) {
            Fail(XmlStatus::MalformedElement);
            return;
        }
        if (!open.empty() && open.back() == name) {
            open.pop_back();
            sink.EndElement();
            pos = close + 1;
            return;
        }
        // Closing an outer element leaves an inner one open; closing none
        // that is open is a stray end tag.
        for (const std::string& outer : open) {
            if (outer == name) {
                Fail(XmlStatus::StartTagNotEnded);
                return;
            }
        }
        Fail(XmlStatus::EndTagWithoutStart);
    }

    void StartTag() {
        std::size_t i = pos + 1;
        const std::size_t nameStart = i;
        while (i < text.size() && !IsSpace(text[i]) && text[i] != '>' &&
               text.substr(i, 2) != "/>") {
            ++i;
        }
        std::string name(text.substr(nameStart, i - nameStart));
        std::vector<std::pair<std::string, std::string>> attributes;
        if (name.empty()) {
            Fail(XmlStatus::MalformedElement);
            return;
        }
        for (;;) {
            while (i < text.size() && IsSpace(text[i])) {
                ++i;
            }
            if (i >= text.size()) {
                Fail(XmlStatus::MalformedElement);
                return;
            }
            if (text[i] == '>' || text.substr(i, 2) == "/>") {
                break;
            }
            const std::size_t attributeStart = i;
            while (i < text.size() && !IsSpace(text[i]) && text[i] != '=' && text[i] != '>' &&
                   text[i] != '/') {
                ++i;
            }
            const std::string_view attributeName = text.substr(attributeStart, i - attributeStart);
            while (i < text.size() && IsSpace(text[i])) {
                ++i;
            }
            if (attributeName.empty() || i >= text.size() || text[i] != '=') {
                Fail(XmlStatus::MalformedElement);
                return;
            }
            ++i;
            while (i < text.size() && IsSpace(text[i])) {
                ++i;
            }
            if (i >= text.size() || (text[i] != '"' && text[i] != '\'')) {
                Fail(XmlStatus::MalformedElement);
                return;
            }
            const char quote = text[i++];
            const std::size_t valueEnd = text.find(quote, i);
            if (valueEnd == std::string_view::npos) {
                Fail(XmlStatus::AttributeNotEnded);
                return;
            }
            attributes.emplace_back(Unentity(attributeName),
                                    Unentity(text.substr(i, valueEnd - i)));
            i = valueEnd + 1;
        }
        const bool empty = text[i] == '/';
        pos = i + (empty ? 2 : 1);
        if (!empty) {
            open.push_back(name);
        }
        if (!sink.StartElement(std::move(name), std::move(attributes), empty)) {
            document.stopped = true;
        }
    }

    std::string_view text;
    bool ignoreWhite;
    XmlSink& sink;
    ParseResult& document;
    std::size_t pos = 0;
    std::vector<std::string> open; // the names of the elements open
};

} // namespace

ParseResult ParseXml(std::string_view text, bool ignoreWhite, XmlSink& sink) {
    ParseResult result;
    Parser(text, ignoreWhite, sink, result).Run();
    return result;
}

std::string EscapeXml(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace swf::script::xml

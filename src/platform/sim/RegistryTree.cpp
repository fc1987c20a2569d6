#include "platform/sim/RegistryTree.h"

#include <charconv>
#include <cstdio>

#include "platform/Text.h"
#include "platform/sim/QuotedText.h"

namespace sim {
namespace {

constexpr std::string_view kHeader = "vantrel-registry 1";
constexpr std::string_view kEnd = "end";
constexpr std::array<std::u16string_view, kRegistryRoots> kRootNames = {
    u"HKEY_CLASSES_ROOT", u"HKEY_CURRENT_USER", u"HKEY_LOCAL_MACHINE"};

char16_t Fold(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    return text;
}

std::string_view TakeWord(std::string_view& rest) {
    rest = TrimLeft(rest);
    const std::size_t end = rest.find(' ');
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end);
    return word;
}

struct TypeName {
    DWORD type;
    std::string_view name;
};
constexpr std::array<TypeName, 3> kStringTypes = {TypeName{1, "sz"}, TypeName{2, "expand_sz"},
                                                  TypeName{7, "multi_sz"}};
constexpr DWORD kDwordType = 4;
constexpr DWORD kBinaryType = 3;

std::optional<std::string_view> StringTypeName(DWORD type) {
    for (const auto& entry : kStringTypes) {
        if (entry.type == type) {
            return entry.name;
        }
    }
    return std::nullopt;
}

std::string HexBytes(const std::vector<BYTE>& data) {
    std::string out;
    char byte[4];
    for (const BYTE b : data) {
        std::snprintf(byte, sizeof byte, " %02x", static_cast<unsigned>(b));
        out += byte;
    }
    return out;
}

std::string ValueText(const RegistryValue& value) {
    const auto& data = value.data;
    if (const auto name = StringTypeName(value.type);
        name && data.size() >= 2 && data.size() % 2 == 0 && data[data.size() - 2] == 0 &&
        data.back() == 0) {
        std::u16string text;
        for (std::size_t i = 0; i + 2 < data.size(); i += 2) {
            text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        }
        return std::string(*name) + " " + QuoteText(text);
    }
    if (value.type == kDwordType && data.size() == 4) {
        const DWORD number = static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) |
                             (static_cast<DWORD>(data[2]) << 16) |
                             (static_cast<DWORD>(data[3]) << 24);
        return "dword " + std::to_string(number);
    }
    if (value.type == kBinaryType) {
        return "binary" + HexBytes(data);
    }
    return "hex(" + std::to_string(value.type) + ")" + HexBytes(data);
}

std::optional<std::vector<BYTE>> ParseHexBytes(std::string_view rest) {
    std::vector<BYTE> data;
    for (;;) {
        const std::string_view word = TakeWord(rest);
        if (word.empty()) {
            return data;
        }
        if (word.size() != 2 || HexDigitValue(word[0]) < 0 || HexDigitValue(word[1]) < 0) {
            return std::nullopt;
        }
        data.push_back(static_cast<BYTE>(HexDigitValue(word[0]) * 16 + HexDigitValue(word[1])));
    }
}

template <typename Number>
std::optional<Number> ParseNumber(std::string_view word) {
    Number number{};
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
    if (error != std::errc() || end != word.data() + word.size() || word.empty()) {
        return std::nullopt;
    }
    return number;
}

// The value of a value line's right-hand side ("sz \"x\"", "dword 4", ...).
std::optional<RegistryValue> ParseValue(std::string_view rest) {
    const std::string_view kind = TakeWord(rest);
    rest = TrimLeft(rest);
    for (const auto& entry : kStringTypes) {
        if (kind == entry.name) {
            auto text = TakeQuotedText(rest);
            if (!text || !TrimLeft(rest).empty()) {
                return std::nullopt;
            }
            RegistryValue value{entry.type, {}};
            for (const char16_t unit : *text) {
                value.data.push_back(static_cast<BYTE>(unit & 0xFF));
                value.data.push_back(static_cast<BYTE>(unit >> 8));
            }
            value.data.push_back(0);
            value.data.push_back(0);
            return value;
        }
    }
    if (kind == "dword") {
        const auto number = ParseNumber<DWORD>(TakeWord(rest));
        if (!number || !TrimLeft(rest).empty()) {
            return std::nullopt;
        }
        return RegistryValue{kDwordType,
                             {static_cast<BYTE>(*number), static_cast<BYTE>(*number >> 8),
                              static_cast<BYTE>(*number >> 16), static_cast<BYTE>(*number >> 24)}};
    }
    DWORD type = kBinaryType;
    if (kind.starts_with("hex(") && kind.ends_with(")")) {
        const auto number = ParseNumber<DWORD>(kind.substr(4, kind.size() - 5));
        if (!number) {
            return std::nullopt;
        }
        type = *number;
    } else if (kind != "binary") {
        return std::nullopt;
    }
    auto data = ParseHexBytes(rest);
    if (!data) {
        return std::nullopt;
    }
    return RegistryValue{type, std::move(*data)};
}

void SerializeKey(const RegistryKey& key, const std::string& path, std::string& out) {
    out += "[" + path + "]\n";
    for (const auto& [name, value] : key.values) {
        out +=
            (name.empty() ? std::string("@") : QuoteText(name)) + " = " + ValueText(value) + "\n";
    }
    for (const auto& [name, subkey] : key.subkeys) {
        SerializeKey(subkey, path + "\\" + EscapeText(name, u"[]"), out);
    }
}

std::optional<RegistryPath> ParseKeyPath(std::string_view text) {
    RegistryPath path;
    bool first = true;
    while (true) {
        const std::size_t separator = text.find('\\');
        const auto name = UnescapeText(text.substr(0, separator));
        // A name never holds the separator (paths are split at it), so an
        // escaped one is damage; the tree could not write it back.
        if (!name || name->empty() || name->find(u'\\') != std::u16string::npos) {
            return std::nullopt;
        }
        if (first) {
            bool known = false;
            for (std::size_t i = 0; i < kRegistryRoots; ++i) {
                if (*name == kRootNames[i]) {
                    path.root = static_cast<RegistryRoot>(i);
                    known = true;
                }
            }
            if (!known) {
                return std::nullopt;
            }
            first = false;
        } else {
            path.keys.push_back(std::move(*name));
        }
        if (separator == std::string_view::npos) {
            return path;
        }
        text.remove_prefix(separator + 1);
    }
}

} // namespace

std::u16string_view RootName(RegistryRoot root) {
    return kRootNames[static_cast<std::size_t>(root)];
}

bool RegistryNameLess::operator()(const std::u16string& a, const std::u16string& b) const {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const char16_t x = Fold(a[i]);
        const char16_t y = Fold(b[i]);
        if (x != y) {
            return x < y;
        }
    }
    return a.size() < b.size();
}

std::u16string RegistryPath::Text() const {
    std::u16string text(RootName(root));
    for (const auto& key : keys) {
        text += u'\\';
        text += key;
    }
    return text;
}

const RegistryKey* RegistryTree::Find(const RegistryPath& path) const {
    const RegistryKey* key = &roots[static_cast<std::size_t>(path.root)];
    for (const auto& name : path.keys) {
        const auto found = key->subkeys.find(name);
        if (found == key->subkeys.end()) {
            return nullptr;
        }
        key = &found->second;
    }
    return key;
}

RegistryKey* RegistryTree::Find(const RegistryPath& path) {
    return const_cast<RegistryKey*>(std::as_const(*this).Find(path));
}

RegistryKey& RegistryTree::Create(const RegistryPath& path, bool& created) {
    RegistryKey* key = &roots[static_cast<std::size_t>(path.root)];
    created = false;
    for (const auto& name : path.keys) {
        const auto [position, inserted] = key->subkeys.try_emplace(name);
        created = inserted;
        key = &position->second;
    }
    return *key;
}

bool RegistryTree::Remove(const RegistryPath& path) {
    if (path.keys.empty()) {
        return false;
    }
    RegistryPath parentPath{path.root, {path.keys.begin(), path.keys.end() - 1}};
    RegistryKey* parent = Find(parentPath);
    return parent != nullptr && parent->subkeys.erase(path.keys.back()) == 1;
}

std::string RegistryTree::Serialize() const {
    std::string out(kHeader);
    out += "\n";
    for (std::size_t i = 0; i < kRegistryRoots; ++i) {
        SerializeKey(roots[i], text::ToUtf8(kRootNames[i]), out);
    }
    out += kEnd;
    out += "\n";
    return out;
}

Result<RegistryTree> RegistryTree::Parse(std::string_view text) {
    RegistryTree tree;
    RegistryKey* current = nullptr;
    std::size_t offset = 0;
    bool sawHeader = false;
    bool sawEnd = false;
    while (offset < text.size()) {
        const std::size_t lineEnd = text.find('\n', offset);
        if (lineEnd == std::string_view::npos) {
            return Error{"the registry file is cut short", offset};
        }
        const std::string_view line = text.substr(offset, lineEnd - offset);
        const std::size_t lineStart = offset;
        offset = lineEnd + 1;
        if (sawEnd) {
            return Error{"text after the end of the registry", lineStart};
        }
        if (!sawHeader) {
            if (line != kHeader) {
                return Error{"not a registry file of this device", lineStart};
            }
            sawHeader = true;
            continue;
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line == kEnd) {
            sawEnd = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.size() < 2 || line.back() != ']') {
                return Error{"a damaged key line", lineStart};
            }
            const auto path = ParseKeyPath(line.substr(1, line.size() - 2));
            if (!path) {
                return Error{"a damaged key path", lineStart};
            }
            bool created = false;
            current = &tree.Create(*path, created);
            continue;
        }
        if (current == nullptr) {
            return Error{"a value outside any key", lineStart};
        }
        std::string_view rest = line;
        std::u16string name;
        if (rest.front() == '@') {
            rest.remove_prefix(1);
        } else {
            auto quoted = TakeQuotedText(rest);
            if (!quoted || quoted->empty()) {
                return Error{"a damaged value name", lineStart};
            }
            name = std::move(*quoted);
        }
        rest = TrimLeft(rest);
        if (rest.empty() || rest.front() != '=') {
            return Error{"a value line without '='", lineStart};
        }
        rest.remove_prefix(1);
        auto value = ParseValue(rest);
        if (!value) {
            return Error{"a damaged value", lineStart};
        }
        current->values[name] = std::move(*value);
    }
    if (!sawHeader || !sawEnd) {
        return Error{"the registry file is cut short", text.size()};
    }
    return tree;
}

} // namespace sim

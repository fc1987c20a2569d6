#include "swf/script/text/FieldModel.h"

#include <algorithm>

#include "swf/script/TextEncoding.h"

namespace swf::script::text {

namespace {

constexpr double twipsPerPixel = 20.0;

const char* const alignNames[] = {"left", "right", "center", "justify"};

CharFormat DefinitionFormat(const EditText& definition) {
    CharFormat format;
    if (definition.fontHeight) {
        format.size = *definition.fontHeight / twipsPerPixel;
    }
    if (definition.textColor) {
        const Rgba& c = *definition.textColor;
        format.color = (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
    }
    if (definition.hasLayout) {
        format.align = alignNames[definition.align & 3];
        format.leftMargin = definition.leftMargin / twipsPerPixel;
        format.rightMargin = definition.rightMargin / twipsPerPixel;
        format.indent = definition.indent / twipsPerPixel;
        format.leading = definition.leading / twipsPerPixel;
    }
    return format;
}

} // namespace

std::vector<std::uint32_t> FieldCharacters(std::string_view value, int version) {
    std::vector<std::uint32_t> in = Characters(value, version);
    std::vector<std::uint32_t> out;
    out.reserve(in.size());
    for (const std::uint32_t c : in) {
        out.push_back(c == '\n' ? '\r' : c);
    }
    return out;
}

FieldModel::FieldModel(const EditText& definition, int version)
    : newFormat(DefinitionFormat(definition)), initialFormat(newFormat) {
    html = definition.html;
    border = definition.border;
    background = definition.border;
    wordWrap = definition.wordWrap;
    multiline = definition.multiline;
    selectable = !definition.noSelect;
    password = definition.password;
    embedFonts = definition.useOutlines;
    editable = !definition.readOnly;
    autoSize = definition.autoSize ? "left" : "none";
    if (definition.maxLength) {
        maxChars = *definition.maxLength;
    }
    if (!definition.variableName.empty()) {
        variable = definition.variableName;
    }
    if (definition.initialText) {
        if (html) {
            SetHtml(*definition.initialText, newFormat, version);
        } else {
            SetText(*definition.initialText, version);
        }
    }
}

std::string FieldModel::Text(int version) const {
    return FromCharacters(characters, version);
}

void FieldModel::SetText(std::string_view value, int version) {
    characters.clear();
    formats.clear();
    Insert(0, FieldCharacters(value, version), newFormat);
}

void FieldModel::Replace(std::size_t begin, std::size_t end, std::string_view value, int version) {
    end = std::min(end, characters.size());
    if (begin > end) {
        return;
    }
    const CharFormat format = end < formats.size() ? formats[end] : newFormat;
    characters.erase(characters.begin() + static_cast<std::ptrdiff_t>(begin),
                     characters.begin() + static_cast<std::ptrdiff_t>(end));
    formats.erase(formats.begin() + static_cast<std::ptrdiff_t>(begin),
                  formats.begin() + static_cast<std::ptrdiff_t>(end));
    Insert(begin, FieldCharacters(value, version), format);
}

void FieldModel::Insert(std::size_t at, const std::vector<std::uint32_t>& text,
                        const CharFormat& format) {
    const auto where = static_cast<std::ptrdiff_t>(at);
    characters.insert(characters.begin() + where, text.begin(), text.end());
    formats.insert(formats.begin() + where, text.size(), format);
}

FormatChange FieldModel::FormatOf(std::size_t begin, std::size_t end) const {
    end = std::min(end, formats.size());
    if (begin >= end) {
        return FullChange(newFormat);
    }
    FormatChange common = FullChange(formats[begin]);
    for (std::size_t i = begin + 1; i < end; ++i) {
        KeepCommon(common, formats[i]);
    }
    return common;
}

void FieldModel::ApplyFormat(std::size_t begin, std::size_t end, const FormatChange& change) {
    end = std::min(end, formats.size());
    for (std::size_t i = begin; i < end; ++i) {
        ApplyChange(change, formats[i]);
    }
}

} // namespace swf::script::text

// What a text field holds as scripts see it: its characters, each with its
// format, the format new text gets, and the settings scripts read back.
// Line breaks are kept as "\r", as Flash keeps them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "swf/format/CharacterModel.h"
#include "swf/script/text/CharFormat.h"

namespace swf::script::text {

class FieldModel {
public:
    // The field as its definition starts it.
    FieldModel(const EditText& definition, int version);

    std::size_t Length() const { return characters.size(); }
    // The characters as a string of the version's encoding.
    std::string Text(int version) const;
    // Replaces all the text with plain text in the new-text format.
    void SetText(std::string_view value, int version);
    // replaceText: [begin, end) becomes value, in the format of the
    // character after the range (the new-text format at the end).
    void Replace(std::size_t begin, std::size_t end, std::string_view value, int version);
    // htmlText: the subset of HTML fields understand, starting from base.
    void SetHtml(std::string_view html, const CharFormat& base, int version);
    // htmlText as Flash writes it: a P (or LI) per paragraph, FONT and the
    // style tags where the format changes.
    std::string Html(int version) const;

    // What the characters in [begin, end) have in common.
    FormatChange FormatOf(std::size_t begin, std::size_t end) const;
    void ApplyFormat(std::size_t begin, std::size_t end, const FormatChange& change);

    CharFormat newFormat;
    // The format the field started with (htmlText starts from it).
    CharFormat initialFormat;

    // Settings with nothing to do with the characters.
    bool html = false;
    bool border = false;
    bool background = false;
    std::uint32_t borderColor = 0x000000;
    std::uint32_t backgroundColor = 0xFFFFFF;
    bool wordWrap = false;
    bool multiline = false;
    bool selectable = true;
    bool password = false;
    bool embedFonts = false;
    bool condenseWhite = false;
    bool mouseWheelEnabled = true;
    bool editable = false; // type "input"
    std::string autoSize = "none";
    std::optional<double> maxChars;
    std::optional<std::string> restrict;
    std::optional<std::string> variable;
    // The variable's value the field last showed.
    std::optional<std::string> boundText;
    std::string antiAliasType = "normal";
    std::string gridFitType = "pixel";
    double sharpness = 0.0;
    double thickness = 0.0;
    double scroll = 1.0;
    double hscroll = 0.0;

private:
    void Insert(std::size_t at, const std::vector<std::uint32_t>& text, const CharFormat& format);

    std::vector<std::uint32_t> characters;
    std::vector<CharFormat> formats; // one per character
};

// Plain text as a field keeps it: each "\n" becomes "\r" ("\r\n" is two
// line breaks, as Flash has it).
std::vector<std::uint32_t> FieldCharacters(std::string_view value, int version);

} // namespace swf::script::text

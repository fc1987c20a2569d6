// Readers for fonts, font information, static texts and edit texts.
#pragma once

#include <cstdint>

#include "swf/base/ByteReader.h"
#include "swf/base/Result.h"
#include "swf/format/CharacterModel.h"

namespace swf {

// DefineFont (version 1), DefineFont2 (2) or DefineFont3 (3).
Result<Character> ReadDefineFont(ByteReader reader, std::uint8_t version);

struct FontInfo {
    CharacterId fontId = 0;
    std::string name;
    bool smallText = false;
    bool shiftJis = false;
    bool ansi = false;
    bool italic = false;
    bool bold = false;
    bool wideCodes = false;
    std::uint8_t languageCode = 0;
    std::vector<std::uint16_t> codes;
};
// DefineFontInfo (version 1) or DefineFontInfo2 (2).
Result<FontInfo> ReadDefineFontInfo(ByteReader reader, std::uint8_t version);
// Gives a DefineFont's glyphs their codes and the font its name and style.
void ApplyFontInfo(Font& font, const FontInfo& info);

// DefineText (version 1) or DefineText2 (2).
Result<Character> ReadDefineText(ByteReader reader, std::uint8_t version);
Result<Character> ReadDefineEditText(ByteReader reader);

} // namespace swf

#include "swf/format/TextReader.h"

#include "swf/format/ModelSize.h"
#include "swf/format/Records.h"
#include "swf/format/ShapeReader.h"

namespace swf {

namespace {

std::string ReadCountedName(ByteReader& reader) {
    const std::uint8_t length = reader.U8();
    const auto bytes = reader.Bytes(length);
    std::string name(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    // Some authoring tools count the terminating zero in the length.
    while (!name.empty() && name.back() == '\0') {
        name.pop_back();
    }
    return name;
}

} // namespace

Result<Character> ReadDefineFont(ByteReader reader, std::uint8_t version) {
    Character character;
    character.id = reader.U16();
    Font font;
    font.version = version;
    font.emSquare = version >= 3 ? 20480 : 1024;
    const std::string context = "font " + std::to_string(character.id);

    std::size_t totalRecords = 0;
    // The glyph table of either form: offsets from the table's start.
    const auto readGlyphTable = [&](std::size_t count, bool wideOffsets,
                                    bool hasCodeTableOffset) -> std::size_t {
        const std::size_t tableStart = reader.Position();
        const std::size_t entry = wideOffsets ? 4 : 2;
        if (count * entry > reader.Remaining()) {
            reader.Fail("more glyphs than the tag holds");
            return 0;
        }
        std::vector<std::size_t> offsets;
        offsets.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            offsets.push_back(wideOffsets ? reader.U32() : reader.U16());
        }
        std::size_t glyphsEnd = reader.Size();
        if (hasCodeTableOffset) {
            glyphsEnd = tableStart + (wideOffsets ? reader.U32() : reader.U16());
        }
        for (std::size_t i = 0; i < count && reader.Ok(); ++i) {
            const std::size_t begin = tableStart + offsets[i];
            const std::size_t end = i + 1 < count ? tableStart + offsets[i + 1] : glyphsEnd;
            if (begin < reader.Position() || begin > end || end > reader.Size()) {
                reader.Fail("glyph outside the font tag");
                break;
            }
            reader.Skip(begin - reader.Position());
            ByteReader outline = reader.Sub(end - begin);
            Glyph glyph;
            glyph.shape = ReadGlyphShape(outline);
            if (!outline.Ok()) {
                reader.Fail("damaged glyph outline");
                break;
            }
            totalRecords += glyph.shape.records.size();
            if (totalRecords > MaxShapeRecords) {
                reader.Fail("more outline records than a font may have");
                break;
            }
            font.glyphs.push_back(std::move(glyph));
        }
        return glyphsEnd;
    };

    if (version == 1) {
        // The first offset tells how many offsets there are.
        ByteReader peek = reader;
        const std::uint16_t first = peek.U16();
        readGlyphTable(peek.Ok() ? first / 2 : 0, false, false);
    } else {
        const std::uint8_t flags = reader.U8();
        font.hasLayout = (flags & 0x80) != 0;
        font.shiftJis = (flags & 0x40) != 0;
        font.smallText = (flags & 0x20) != 0;
        font.ansi = (flags & 0x10) != 0;
        const bool wideOffsets = (flags & 0x08) != 0;
        font.wideCodes = (flags & 0x04) != 0;
        font.italic = (flags & 0x02) != 0;
        font.bold = (flags & 0x01) != 0;
        font.languageCode = reader.U8();
        font.name = ReadCountedName(reader);
        const std::uint16_t count = reader.U16();
        // A font without glyphs may leave out the code table offset.
        const bool hasCodeTable = count > 0 || reader.Remaining() > 0;
        const std::size_t glyphsEnd = readGlyphTable(count, wideOffsets, hasCodeTable);
        if (reader.Ok() && hasCodeTable) {
            if (glyphsEnd < reader.Position() || glyphsEnd > reader.Size()) {
                reader.Fail("code table outside the font tag");
            } else {
                reader.Skip(glyphsEnd - reader.Position());
            }
            for (auto& glyph : font.glyphs) {
                glyph.code = font.wideCodes ? reader.U16() : reader.U8();
            }
            font.hasCodes = true;
        }
        if (reader.Ok() && font.hasLayout && reader.Remaining() > 0) {
            font.ascent = reader.U16();
            font.descent = reader.U16();
            font.leading = reader.S16();
            for (auto& glyph : font.glyphs) {
                glyph.advance = reader.S16();
            }
            for (auto& glyph : font.glyphs) {
                glyph.bounds = ReadRect(reader);
            }
            const std::uint16_t kerningCount = reader.U16();
            const std::size_t pairSize = font.wideCodes ? 6 : 4;
            if (kerningCount * pairSize > reader.Remaining()) {
                reader.Fail("more kerning pairs than the tag holds");
            }
            for (int i = 0; i < kerningCount && reader.Ok(); ++i) {
                KerningPair pair;
                pair.left = font.wideCodes ? reader.U16() : reader.U8();
                pair.right = font.wideCodes ? reader.U16() : reader.U8();
                pair.adjustment = reader.S16();
                font.kerning.push_back(pair);
            }
        }
    }
    if (!reader.Ok()) {
        return reader.Failure(context);
    }
    character.data = std::move(font);
    return character;
}

Result<FontInfo> ReadDefineFontInfo(ByteReader reader, std::uint8_t version) {
    FontInfo info;
    info.fontId = reader.U16();
    info.name = ReadCountedName(reader);
    const std::uint8_t flags = reader.U8();
    info.smallText = (flags & 0x20) != 0;
    info.shiftJis = (flags & 0x10) != 0;
    info.ansi = (flags & 0x08) != 0;
    info.italic = (flags & 0x04) != 0;
    info.bold = (flags & 0x02) != 0;
    info.wideCodes = (flags & 0x01) != 0 || version >= 2;
    if (version >= 2) {
        info.languageCode = reader.U8();
    }
    const std::size_t codeSize = info.wideCodes ? 2 : 1;
    while (reader.Ok() && reader.Remaining() >= codeSize) {
        info.codes.push_back(info.wideCodes ? reader.U16() : reader.U8());
    }
    if (!reader.Ok()) {
        return reader.Failure("font info for font " + std::to_string(info.fontId));
    }
    return info;
}

void ApplyFontInfo(Font& font, const FontInfo& info) {
    font.name = info.name;
    font.smallText = info.smallText;
    font.shiftJis = info.shiftJis;
    font.ansi = info.ansi;
    font.italic = info.italic;
    font.bold = info.bold;
    font.wideCodes = info.wideCodes;
    font.languageCode = info.languageCode;
    for (std::size_t i = 0; i < font.glyphs.size() && i < info.codes.size(); ++i) {
        font.glyphs[i].code = info.codes[i];
    }
    font.hasCodes = true;
}

Result<Character> ReadDefineText(ByteReader reader, std::uint8_t version) {
    Character character;
    character.id = reader.U16();
    Text text;
    text.version = version;
    text.bounds = ReadRect(reader);
    text.matrix = ReadMatrix(reader);
    const unsigned glyphBits = reader.U8();
    const unsigned advanceBits = reader.U8();
    if (glyphBits > 32 || advanceBits > 32) {
        reader.Fail("glyph field wider than 32 bits");
    }
    while (reader.Ok()) {
        const std::uint8_t flags = reader.U8();
        if (flags == 0) {
            break;
        }
        if (text.records.size() >= MaxListEntries) {
            reader.Fail("more records than a text may have");
            break;
        }
        TextRecord record;
        if (flags & 0x08) {
            record.fontId = reader.U16();
        }
        if (flags & 0x04) {
            record.color = version >= 2 ? ReadRgba(reader) : ReadRgb(reader);
        }
        if (flags & 0x01) {
            record.xOffset = reader.S16();
        }
        if (flags & 0x02) {
            record.yOffset = reader.S16();
        }
        if (flags & 0x08) {
            record.height = reader.U16();
        }
        const std::uint8_t count = reader.U8();
        for (int i = 0; i < count && reader.Ok(); ++i) {
            GlyphEntry entry;
            entry.index = reader.UBits(glyphBits);
            entry.advance = reader.SBits(advanceBits);
            record.glyphs.push_back(entry);
        }
        reader.AlignToByte();
        text.records.push_back(std::move(record));
    }
    if (!reader.Ok()) {
        return reader.Failure("text " + std::to_string(character.id));
    }
    character.data = std::move(text);
    return character;
}

Result<Character> ReadDefineEditText(ByteReader reader) {
    Character character;
    character.id = reader.U16();
    EditText edit;
    edit.bounds = ReadRect(reader);
    const std::uint8_t first = reader.U8();
    const std::uint8_t second = reader.U8();
    const bool hasText = (first & 0x80) != 0;
    edit.wordWrap = (first & 0x40) != 0;
    edit.multiline = (first & 0x20) != 0;
    edit.password = (first & 0x10) != 0;
    edit.readOnly = (first & 0x08) != 0;
    const bool hasColor = (first & 0x04) != 0;
    const bool hasMaxLength = (first & 0x02) != 0;
    const bool hasFont = (first & 0x01) != 0;
    const bool hasFontClass = (second & 0x80) != 0;
    edit.autoSize = (second & 0x40) != 0;
    edit.hasLayout = (second & 0x20) != 0;
    edit.noSelect = (second & 0x10) != 0;
    edit.border = (second & 0x08) != 0;
    edit.wasStatic = (second & 0x04) != 0;
    edit.html = (second & 0x02) != 0;
    edit.useOutlines = (second & 0x01) != 0;
    if (hasFont) {
        edit.fontId = reader.U16();
    }
    if (hasFontClass) {
        edit.fontClass = reader.String();
    }
    if (hasFont || hasFontClass) {
        edit.fontHeight = reader.U16();
    }
    if (hasColor) {
        edit.textColor = ReadRgba(reader);
    }
    if (hasMaxLength) {
        edit.maxLength = reader.U16();
    }
    if (edit.hasLayout) {
        edit.align = reader.U8();
        edit.leftMargin = reader.U16();
        edit.rightMargin = reader.U16();
        edit.indent = reader.U16();
        edit.leading = reader.S16();
    }
    edit.variableName = reader.String();
    if (hasText) {
        edit.initialText = reader.String();
    }
    if (!reader.Ok()) {
        return reader.Failure("edit text " + std::to_string(character.id));
    }
    character.data = std::move(edit);
    return character;
}

} // namespace swf

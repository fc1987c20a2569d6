// The characters of a movie's dictionary: everything a Define tag makes.
// Image data stays encoded; the renderer decodes it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "swf/format/Basics.h"
#include "swf/format/ShapeModel.h"
#include "swf/format/TimelineModel.h"

namespace swf {

enum class BitmapKind : std::uint8_t {
    // DefineBits: JPEG data that needs the movie's JPEGTables.
    JpegWithSharedTables,
    // DefineBitsJPEG2: a complete JPEG (or, from version 8, PNG or GIF) image.
    Jpeg,
    // DefineBitsJPEG3 and 4: a complete image plus zlib-compressed alpha.
    JpegWithAlpha,
    // DefineBitsLossless: zlib-compressed colour-mapped or RGB pixels.
    Lossless,
    // DefineBitsLossless2: the same with alpha (premultiplied, as stored).
    LosslessWithAlpha,
};

struct Bitmap {
    BitmapKind kind = BitmapKind::Jpeg;
    std::vector<std::uint8_t> imageData; // JPEG/PNG/GIF bytes, or zlib pixels
    std::vector<std::uint8_t> alphaData; // JpegWithAlpha: zlib alpha plane
    double deblocking = 0.0;             // DefineBitsJPEG4 only
    // Lossless kinds: 3 colour-mapped, 4 15-bit RGB, 5 32-bit (A)RGB.
    std::uint8_t losslessFormat = 0;
    std::uint16_t width = 0; // lossless kinds; images carry their own size
    std::uint16_t height = 0;
    std::uint16_t colorTableSize = 0; // format 3: number of colours (1..256)
};

struct KerningPair {
    std::uint16_t left = 0; // character codes
    std::uint16_t right = 0;
    std::int16_t adjustment = 0;
};

struct Glyph {
    Shape shape;            // in font units: emSquare per em
    std::uint16_t code = 0; // the character this glyph draws
    std::int16_t advance = 0;
    std::optional<Rect> bounds;
};

// DefineFont 1 to 3, completed by DefineFontInfo 1 and 2 for DefineFont.
struct Font {
    std::uint8_t version = 1;
    std::string name;
    bool bold = false;
    bool italic = false;
    bool smallText = false;
    bool shiftJis = false;
    bool ansi = false;
    bool wideCodes = false;
    std::uint8_t languageCode = 0;
    bool hasLayout = false; // ascent, descent, leading, advances, bounds
    bool hasCodes = false;  // glyph codes are known (not for a bare DefineFont)
    std::uint16_t ascent = 0;
    std::uint16_t descent = 0;
    std::int16_t leading = 0;
    // Glyph coordinates are in units of emSquare per em: 1024 for fonts 1
    // and 2, 20480 for DefineFont3.
    int emSquare = 1024;
    std::vector<Glyph> glyphs;
    std::vector<KerningPair> kerning;
};

struct GlyphEntry {
    std::uint32_t index = 0;  // into the font's glyphs
    std::int32_t advance = 0; // twips
};

struct TextRecord {
    std::optional<CharacterId> fontId;
    std::optional<Rgba> color;
    std::optional<Twips> xOffset;
    std::optional<Twips> yOffset;
    std::optional<std::uint16_t> height; // twips; given with the font
    std::vector<GlyphEntry> glyphs;
};

// CSMTextSettings: how a text's glyphs are anti-aliased.
struct TextRendering {
    bool advanced = false;    // advanced anti-aliasing rather than normal
    std::uint8_t gridFit = 0; // 0 none, 1 whole pixels, 2 subpixels (LCD)
    float thickness = 0.0f;   // -200..200
    float sharpness = 0.0f;   // -400..400
    bool operator==(const TextRendering&) const = default;
};

// DefineText 1 and 2.
struct Text {
    std::uint8_t version = 1;
    Rect bounds;
    Matrix matrix;
    std::vector<TextRecord> records;
    std::optional<TextRendering> rendering;
};

// DefineEditText.
struct EditText {
    Rect bounds;
    bool wordWrap = false;
    bool multiline = false;
    bool password = false;
    bool readOnly = false;
    bool autoSize = false;
    bool noSelect = false;
    bool border = false;
    bool wasStatic = false;
    bool html = false;
    bool useOutlines = false;
    std::optional<CharacterId> fontId;
    std::optional<std::string> fontClass;
    std::optional<std::uint16_t> fontHeight;
    std::optional<Rgba> textColor;
    std::optional<std::uint16_t> maxLength;
    bool hasLayout = false;
    std::uint8_t align = 0; // 0 left, 1 right, 2 centre, 3 justify
    std::uint16_t leftMargin = 0;
    std::uint16_t rightMargin = 0;
    std::uint16_t indent = 0;
    std::int16_t leading = 0;
    std::string variableName;
    std::optional<std::string> initialText;
    std::optional<TextRendering> rendering;
};

struct ButtonRecord {
    bool hitTest = false;
    bool down = false;
    bool over = false;
    bool up = false;
    CharacterId characterId = 0;
    Depth depth = 0;
    Matrix matrix;
    ColorTransform colorTransform;
    std::vector<Filter> filters;
    std::uint8_t blendMode = 0;
};

// DefineButton and DefineButton2, with DefineButtonCxform and
// DefineButtonSound folded in.
struct Button {
    std::uint8_t version = 1;
    bool trackAsMenu = false;
    std::vector<ButtonRecord> records;
    // DefineButton: the action records; DefineButton2: the condition action
    // records. Kept whole, unparsed.
    std::vector<std::uint8_t> actions;
    std::optional<ColorTransform> legacyColorTransform; // DefineButtonCxform
    std::vector<std::uint8_t> soundTagBody;             // DefineButtonSound, whole
};

// DefineSprite: a movie clip with a timeline of its own.
struct Sprite {
    Timeline timeline;
    // The VideoFrame tags inside it, for the videos its timeline shows.
    std::vector<RawTag> videoFrames;
};

// A character whose tag is kept whole: sounds, video streams, binary data.
struct RawCharacter {
    RawTag tag;
};

using CharacterData =
    std::variant<Shape, MorphShape, Bitmap, Font, Text, EditText, Button, Sprite, RawCharacter>;

struct Character {
    CharacterId id = 0;
    std::uint16_t tagCode = 0; // the tag that defined it
    CharacterData data;
};

} // namespace swf

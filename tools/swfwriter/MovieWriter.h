// Writes movies: definitions into a dictionary, and timelines (the main one
// and sprites') frame by frame. Tests make their movies with it and the build
// makes the demo movie with it.
//
//   MovieWriter movie(8, 240, 320, 12.0);
//   ShapeBuilder box;
//   box.SetStyle(0, box.AddFill(Fill::Solid({255, 0, 0})), 0);
//   box.Rectangle(0, 0, 400, 400);
//   const auto id = movie.DefineShape(box, 3);
//   movie.Place(1, id, {.matrix = Matrix::Translate(100, 100)});
//   movie.ShowFrame();
//   const auto bytes = movie.Finish(Compression::Zlib);
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "swfwriter/BitWriter.h"
#include "swfwriter/ShapeBuilder.h"
#include "swfwriter/WriterTypes.h"

namespace swfwriter {

// The control tags of one timeline.
class TimelineWriter {
public:
    void Place(std::uint16_t depth, std::uint16_t characterId, const Placement& placement = {});
    // Changes the object at depth (PlaceObject2 with the move flag).
    void Move(std::uint16_t depth, const Placement& placement);
    // Puts another character at depth, keeping what placement leaves out.
    void Replace(std::uint16_t depth, std::uint16_t characterId, const Placement& placement = {});
    void Remove(std::uint16_t depth);
    void Label(std::string_view name);
    void ShowFrame();
    // DoAction with actions ending with 0.
    void Actions(std::span<const std::uint8_t> actions);
    // Any tag, written as given.
    void Tag(std::uint16_t code, std::span<const std::uint8_t> body);
    // Tags already framed (code and length included), appended as they are:
    // a quick way to write very many of them. ShowFrames among them are not
    // counted in FrameCount.
    void TagBytes(std::span<const std::uint8_t> framedTags);

    int FrameCount() const { return frames; }
    const std::vector<std::uint8_t>& Tags() const { return tags.Data(); }

protected:
    BitWriter tags;

private:
    void PlaceTag(std::uint16_t depth, std::optional<std::uint16_t> characterId, bool move,
                  const Placement& placement);
    int frames = 0;
};

// A font made of glyph outlines; codes are the characters the glyphs draw.
struct FontGlyph {
    std::uint16_t code = 0;
    ShapeBuilder outline; // in units of 1024 per em, y up is negative
    std::int16_t advance = 0;
};

// A kerning pair: the right character moves by adjustment units (1024 per
// em; negative draws it nearer the left one) where a field asks for kerning.
struct FontKerning {
    std::uint16_t left = 0;
    std::uint16_t right = 0;
    std::int16_t adjustment = 0;
};

struct TextRun {
    std::uint16_t fontId = 0;
    std::uint16_t height = 240; // twips
    Color color;
    std::int32_t x = 0; // baseline start
    std::int32_t y = 0;
    std::string text; // characters the font has; others are skipped
};

class MovieWriter : public TimelineWriter {
public:
    MovieWriter(int version, int widthPixels, int heightPixels, double frameRate);

    void SetBackground(Color color);
    // Each Define call returns the new character's id.
    std::uint16_t DefineShape(const ShapeBuilder& shape, int version = 3);
    // 32-bit pixels, row by row, as non-premultiplied RGBA; written as
    // DefineBitsLossless2 (format 5, premultiplied as the format wants).
    std::uint16_t DefineBitmap(int width, int height, std::span<const Color> pixels);
    // DefineFont2 with layout (advances, ascent 1024 * 7 / 8).
    std::uint16_t DefineFont(std::string_view name, const std::vector<FontGlyph>& glyphs,
                             const std::vector<FontKerning>& kerning = {});
    // DefineText2 of runs in a font made by DefineFont.
    std::uint16_t DefineText(const std::vector<TextRun>& runs);
    std::uint16_t DefineSprite(const TimelineWriter& sprite);
    // DefineButton: actions (ending with 0) run when it is released.
    std::uint16_t DefineButton(const std::vector<ButtonPart>& parts,
                               const std::vector<std::uint8_t>& actions = {0});
    std::uint16_t DefineButton2(const std::vector<ButtonPart>& parts,
                                const std::vector<ButtonActions>& actions,
                                bool trackAsMenu = false);
    // A definition tag written as given, with a new id as its first field.
    std::uint16_t DefineRaw(std::uint16_t code, std::span<const std::uint8_t> bodyAfterId);

    std::vector<std::uint8_t> Finish(Compression compression = Compression::None);

    // Overrides the frame count of the header (the frames written, by default).
    void SetDeclaredFrameCount(int count) { declaredFrames = count; }

private:
    struct FontInfo {
        std::uint16_t id = 0;
        std::vector<std::uint16_t> codes;
        std::vector<std::int16_t> advances;
    };

    std::uint16_t NextId() { return nextId++; }

    int version;
    int width;
    int height;
    double frameRate;
    int declaredFrames = -1;
    std::uint16_t nextId = 1;
    std::vector<FontInfo> fonts;
};

// Frames a whole tag: the code and length header, then the body.
void WriteTag(BitWriter& out, std::uint16_t code, std::span<const std::uint8_t> body);

} // namespace swfwriter

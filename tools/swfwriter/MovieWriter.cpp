#include "swfwriter/MovieWriter.h"

#include <algorithm>
#include <cmath>
#include <lzma.h>
#include <stdexcept>
#include <zlib.h>

#include "swfwriter/RecordWriter.h"

namespace swfwriter {

namespace {

enum : std::uint16_t {
    TagEnd = 0,
    TagShowFrame = 1,
    TagSetBackgroundColor = 9,
    TagDefineShape = 2,
    TagDefineShape2 = 22,
    TagDefineShape3 = 32,
    TagDefineShape4 = 83,
    TagPlaceObject2 = 26,
    TagPlaceObject3 = 70,
    TagRemoveObject2 = 28,
    TagFrameLabel = 43,
    TagDefineBitsLossless2 = 36,
    TagDefineFont2 = 48,
    TagDefineText2 = 33,
    TagDefineSprite = 39,
    TagDefineButton = 7,
    TagDefineButton2 = 34,
    TagDoAction = 12,
};

std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<std::uint8_t> out(size);
    if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), 9) != Z_OK) {
        throw std::runtime_error("zlib compression failed");
    }
    out.resize(size);
    return out;
}

// The stand-alone LZMA stream: 5 property bytes, an 8-byte size, the data.
std::vector<std::uint8_t> LzmaAlone(std::span<const std::uint8_t> data) {
    lzma_options_lzma options;
    lzma_lzma_preset(&options, 6);
    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_alone_encoder(&stream, &options) != LZMA_OK) {
        throw std::runtime_error("LZMA could not be initialised");
    }
    std::vector<std::uint8_t> out(data.size() + data.size() / 2 + 4096);
    stream.next_in = data.data();
    stream.avail_in = data.size();
    stream.next_out = out.data();
    stream.avail_out = out.size();
    lzma_ret status = LZMA_OK;
    while (status == LZMA_OK) {
        status = lzma_code(&stream, LZMA_FINISH);
        if (status == LZMA_OK && stream.avail_out == 0) {
            const std::size_t used = out.size();
            out.resize(used * 2);
            stream.next_out = out.data() + used;
            stream.avail_out = out.size() - used;
        }
    }
    const std::size_t total = stream.total_out;
    lzma_end(&stream);
    if (status != LZMA_STREAM_END) {
        throw std::runtime_error("LZMA compression failed");
    }
    out.resize(total);
    return out;
}

} // namespace

void WriteTag(BitWriter& out, std::uint16_t code, std::span<const std::uint8_t> body) {
    // Tags that hold bitmaps take the long form whatever their length, as
    // players expect; the rest take the short form when they fit.
    const bool longForm = body.size() >= 0x3F || code == TagDefineBitsLossless2;
    out.U16(static_cast<std::uint16_t>((code << 6) | (longForm ? 0x3F : body.size())));
    if (longForm) {
        out.U32(static_cast<std::uint32_t>(body.size()));
    }
    out.Bytes(body);
}

void TimelineWriter::PlaceTag(std::uint16_t depth, std::optional<std::uint16_t> characterId,
                              bool move, const Placement& p) {
    const bool three = p.blendMode || p.cacheAsBitmap || !p.filters.empty();
    BitWriter body;
    std::uint8_t flags = 0;
    flags |= move ? 0x01 : 0;
    flags |= characterId ? 0x02 : 0;
    flags |= p.matrix ? 0x04 : 0;
    flags |= p.colorTransform ? 0x08 : 0;
    flags |= p.ratio ? 0x10 : 0;
    flags |= p.name ? 0x20 : 0;
    flags |= p.clipDepth ? 0x40 : 0;
    flags |= p.clipActions.empty() ? 0 : 0x80;
    body.U8(flags);
    if (three) {
        std::uint8_t flags2 = 0;
        flags2 |= !p.filters.empty() ? 0x01 : 0;
        flags2 |= p.blendMode ? 0x02 : 0;
        flags2 |= p.cacheAsBitmap ? 0x04 : 0;
        body.U8(flags2);
    }
    body.U16(depth);
    if (characterId) {
        body.U16(*characterId);
    }
    if (p.matrix) {
        WriteMatrix(body, *p.matrix);
    }
    if (p.colorTransform) {
        WriteColorTransform(body, *p.colorTransform, true);
    }
    if (p.ratio) {
        body.U16(*p.ratio);
    }
    if (p.name) {
        body.String(*p.name);
    }
    if (p.clipDepth) {
        body.U16(*p.clipDepth);
    }
    if (!p.filters.empty()) {
        WriteFilterList(body, p.filters);
    }
    if (p.blendMode) {
        body.U8(*p.blendMode);
    }
    if (p.cacheAsBitmap) {
        body.U8(*p.cacheAsBitmap ? 1 : 0);
    }
    if (!p.clipActions.empty()) {
        std::uint32_t all = 0;
        for (const ClipAction& action : p.clipActions) {
            all |= action.events;
        }
        body.U16(0);
        body.U32(all);
        for (const ClipAction& action : p.clipActions) {
            const bool key = (action.events & 0x20000) != 0;
            body.U32(action.events);
            body.U32(static_cast<std::uint32_t>(action.actions.size() + (key ? 1 : 0)));
            if (key) {
                body.U8(action.keyCode);
            }
            body.Bytes(action.actions);
        }
        body.U32(0);
    }
    Tag(three ? TagPlaceObject3 : TagPlaceObject2, body.Data());
}

void TimelineWriter::Place(std::uint16_t depth, std::uint16_t characterId,
                           const Placement& placement) {
    PlaceTag(depth, characterId, false, placement);
}

void TimelineWriter::Move(std::uint16_t depth, const Placement& placement) {
    PlaceTag(depth, std::nullopt, true, placement);
}

void TimelineWriter::Replace(std::uint16_t depth, std::uint16_t characterId,
                             const Placement& placement) {
    PlaceTag(depth, characterId, true, placement);
}

void TimelineWriter::Remove(std::uint16_t depth) {
    BitWriter body;
    body.U16(depth);
    Tag(TagRemoveObject2, body.Data());
}

void TimelineWriter::Label(std::string_view name) {
    BitWriter body;
    body.String(name);
    Tag(TagFrameLabel, body.Data());
}

void TimelineWriter::Actions(std::span<const std::uint8_t> actions) {
    Tag(TagDoAction, actions);
}

void TimelineWriter::ShowFrame() {
    Tag(TagShowFrame, {});
    ++frames;
}

void TimelineWriter::Tag(std::uint16_t code, std::span<const std::uint8_t> body) {
    WriteTag(tags, code, body);
}

void TimelineWriter::TagBytes(std::span<const std::uint8_t> framedTags) {
    tags.Bytes(framedTags);
}

MovieWriter::MovieWriter(int version, int widthPixels, int heightPixels, double frameRate)
    : version(version), width(widthPixels), height(heightPixels), frameRate(frameRate) {}

void MovieWriter::SetBackground(Color color) {
    BitWriter body;
    WriteColor(body, color, false);
    Tag(TagSetBackgroundColor, body.Data());
}

std::uint16_t MovieWriter::DefineShape(const ShapeBuilder& shape, int shapeVersion) {
    const std::uint16_t id = NextId();
    const auto bounds = shape.GetBounds();
    BitWriter body;
    body.U16(id);
    WriteRect(body, bounds.xMin, bounds.xMax, bounds.yMin, bounds.yMax);
    if (shapeVersion >= 4) {
        WriteRect(body, bounds.xMin, bounds.xMax, bounds.yMin, bounds.yMax);
        body.U8(0);
    }
    shape.WriteWithStyles(body, shapeVersion);
    static constexpr std::uint16_t codes[] = {TagDefineShape, TagDefineShape, TagDefineShape2,
                                              TagDefineShape3, TagDefineShape4};
    Tag(codes[std::clamp(shapeVersion, 1, 4)], body.Data());
    return id;
}

std::uint16_t MovieWriter::DefineBitmap(int bitmapWidth, int bitmapHeight,
                                        std::span<const Color> pixels) {
    const std::uint16_t id = NextId();
    std::vector<std::uint8_t> argb;
    argb.reserve(pixels.size() * 4);
    for (const Color& pixel : pixels) {
        const auto premultiply = [&](std::uint8_t channel) {
            return static_cast<std::uint8_t>((channel * pixel.a + 127) / 255);
        };
        argb.push_back(pixel.a);
        argb.push_back(premultiply(pixel.r));
        argb.push_back(premultiply(pixel.g));
        argb.push_back(premultiply(pixel.b));
    }
    BitWriter body;
    body.U16(id);
    body.U8(5);
    body.U16(static_cast<std::uint16_t>(bitmapWidth));
    body.U16(static_cast<std::uint16_t>(bitmapHeight));
    body.Bytes(Deflate(argb));
    Tag(TagDefineBitsLossless2, body.Data());
    return id;
}

std::uint16_t MovieWriter::DefineFont(std::string_view name, const std::vector<FontGlyph>& glyphs,
                                      const std::vector<FontKerning>& kerning) {
    const std::uint16_t id = NextId();
    std::vector<std::vector<std::uint8_t>> outlines;
    for (const FontGlyph& glyph : glyphs) {
        BitWriter outline;
        glyph.outline.WriteGlyph(outline);
        outlines.push_back(outline.Take());
    }
    // Offsets from the start of the offset table, 32-bit so any size fits.
    BitWriter table;
    std::uint32_t offset = static_cast<std::uint32_t>(4 * glyphs.size() + 4);
    for (const auto& outline : outlines) {
        table.U32(offset);
        offset += static_cast<std::uint32_t>(outline.size());
    }
    table.U32(offset); // the code table
    for (const auto& outline : outlines) {
        table.Bytes(outline);
    }
    BitWriter body;
    body.U16(id);
    body.U8(0x80 | 0x08 | 0x04); // layout, wide offsets, wide codes
    body.U8(1);                  // Latin
    body.U8(static_cast<std::uint8_t>(name.size()));
    body.Bytes({reinterpret_cast<const std::uint8_t*>(name.data()), name.size()});
    body.U16(static_cast<std::uint16_t>(glyphs.size()));
    body.Bytes(table.Data());
    FontInfo info;
    info.id = id;
    for (const FontGlyph& glyph : glyphs) {
        body.U16(glyph.code);
        info.codes.push_back(glyph.code);
        info.advances.push_back(glyph.advance);
    }
    body.U16(1024 * 7 / 8); // ascent
    body.U16(1024 / 8);     // descent
    body.S16(0);            // leading
    for (const FontGlyph& glyph : glyphs) {
        body.S16(glyph.advance);
    }
    for (const FontGlyph& glyph : glyphs) {
        const auto bounds = glyph.outline.GetBounds();
        WriteRect(body, bounds.xMin, bounds.xMax, bounds.yMin, bounds.yMax);
    }
    body.U16(static_cast<std::uint16_t>(kerning.size()));
    for (const FontKerning& pair : kerning) {
        body.U16(pair.left); // wide codes
        body.U16(pair.right);
        body.S16(pair.adjustment);
    }
    Tag(TagDefineFont2, body.Data());
    fonts.push_back(std::move(info));
    return id;
}

std::uint16_t MovieWriter::DefineText(const std::vector<TextRun>& runs) {
    const std::uint16_t id = NextId();
    struct Entry {
        std::uint32_t index;
        std::int32_t advance;
    };
    std::vector<std::vector<Entry>> entries;
    std::int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    bool first = true;
    unsigned glyphBits = 1;
    unsigned advanceBits = 1;
    for (const TextRun& run : runs) {
        const auto font = std::find_if(fonts.begin(), fonts.end(),
                                       [&](const FontInfo& f) { return f.id == run.fontId; });
        std::vector<Entry> list;
        std::int32_t x = run.x;
        if (font != fonts.end()) {
            for (const char c : run.text) {
                const auto code =
                    std::find(font->codes.begin(), font->codes.end(),
                              static_cast<std::uint16_t>(static_cast<unsigned char>(c)));
                if (code == font->codes.end()) {
                    continue;
                }
                const auto index = static_cast<std::uint32_t>(code - font->codes.begin());
                const std::int32_t advance = font->advances[index] * run.height / 1024;
                list.push_back({index, advance});
                glyphBits = std::max(glyphBits, UnsignedBits(index));
                advanceBits = std::max(advanceBits, SignedBits(advance));
                x += advance;
            }
        }
        const std::int32_t top = run.y - run.height;
        if (first) {
            xMin = run.x, xMax = x, yMin = top, yMax = run.y + run.height / 4;
            first = false;
        }
        xMin = std::min(xMin, run.x);
        xMax = std::max(xMax, x);
        yMin = std::min(yMin, top);
        yMax = std::max(yMax, run.y + run.height / 4);
        entries.push_back(std::move(list));
    }
    BitWriter body;
    body.U16(id);
    WriteRect(body, xMin, xMax, yMin, yMax);
    WriteMatrix(body, Matrix{});
    body.U8(static_cast<std::uint8_t>(glyphBits));
    body.U8(static_cast<std::uint8_t>(advanceBits));
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const TextRun& run = runs[i];
        // Records of at most 255 glyphs; the first carries font, colour and place.
        std::size_t done = 0;
        do {
            const std::size_t count = std::min<std::size_t>(entries[i].size() - done, 255);
            if (done == 0) {
                body.U8(0x80 | 0x08 | 0x04 | 0x02 | 0x01);
                body.U16(run.fontId);
                WriteColor(body, run.color, true);
                body.S16(static_cast<std::int16_t>(run.x));
                body.S16(static_cast<std::int16_t>(run.y));
                body.U16(run.height);
            } else {
                body.U8(0x80);
            }
            body.U8(static_cast<std::uint8_t>(count));
            for (std::size_t k = done; k < done + count; ++k) {
                body.UBits(entries[i][k].index, glyphBits);
                body.SBits(entries[i][k].advance, advanceBits);
            }
            body.Align();
            done += count;
        } while (done < entries[i].size());
    }
    body.U8(0);
    Tag(TagDefineText2, body.Data());
    return id;
}

std::uint16_t MovieWriter::DefineSprite(const TimelineWriter& sprite) {
    const std::uint16_t id = NextId();
    BitWriter body;
    body.U16(id);
    body.U16(static_cast<std::uint16_t>(sprite.FrameCount()));
    body.Bytes(sprite.Tags());
    WriteTag(body, TagEnd, {});
    Tag(TagDefineSprite, body.Data());
    return id;
}

namespace {

void WriteButtonParts(BitWriter& body, const std::vector<ButtonPart>& parts, bool withColor) {
    for (const ButtonPart& part : parts) {
        body.U8(static_cast<std::uint8_t>((part.hit ? 0x08 : 0) | (part.down ? 0x04 : 0) |
                                          (part.over ? 0x02 : 0) | (part.up ? 0x01 : 0)));
        body.U16(part.characterId);
        body.U16(part.depth);
        WriteMatrix(body, part.matrix);
        if (withColor) {
            WriteColorTransform(body, ColorTransform{}, true);
        }
    }
    body.U8(0);
}

} // namespace

std::uint16_t MovieWriter::DefineButton(const std::vector<ButtonPart>& parts,
                                        const std::vector<std::uint8_t>& actions) {
    const std::uint16_t id = NextId();
    BitWriter body;
    body.U16(id);
    WriteButtonParts(body, parts, false);
    body.Bytes(actions);
    Tag(TagDefineButton, body.Data());
    return id;
}

std::uint16_t MovieWriter::DefineButton2(const std::vector<ButtonPart>& parts,
                                         const std::vector<ButtonActions>& actions,
                                         bool trackAsMenu) {
    const std::uint16_t id = NextId();
    BitWriter records;
    WriteButtonParts(records, parts, true);
    BitWriter body;
    body.U16(id);
    body.U8(trackAsMenu ? 1 : 0);
    // The offset from this field to the first action block; 0 for none.
    body.U16(actions.empty() ? 0 : static_cast<std::uint16_t>(2 + records.Data().size()));
    body.Bytes(records.Data());
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const std::size_t size = 4 + actions[i].actions.size();
        body.U16(i + 1 < actions.size() ? static_cast<std::uint16_t>(size) : 0);
        body.U16(actions[i].conditions);
        body.Bytes(actions[i].actions);
    }
    Tag(TagDefineButton2, body.Data());
    return id;
}

std::uint16_t MovieWriter::DefineRaw(std::uint16_t code,
                                     std::span<const std::uint8_t> bodyAfterId) {
    const std::uint16_t id = NextId();
    BitWriter body;
    body.U16(id);
    body.Bytes(bodyAfterId);
    Tag(code, body.Data());
    return id;
}

std::vector<std::uint8_t> MovieWriter::Finish(Compression compression) {
    BitWriter rest;
    WriteRect(rest, 0, width * 20, 0, height * 20);
    rest.U16(static_cast<std::uint16_t>(std::lround(frameRate * 256.0)));
    rest.U16(static_cast<std::uint16_t>(declaredFrames >= 0 ? declaredFrames : FrameCount()));
    rest.Bytes(tags.Data());
    WriteTag(rest, TagEnd, {});
    const std::vector<std::uint8_t> body = rest.Take();

    BitWriter file;
    const char first = compression == Compression::None   ? 'F'
                       : compression == Compression::Zlib ? 'C'
                                                          : 'Z';
    file.U8(static_cast<std::uint8_t>(first));
    file.U8('W');
    file.U8('S');
    file.U8(static_cast<std::uint8_t>(version));
    file.U32(static_cast<std::uint32_t>(body.size() + 8));
    if (compression == Compression::None) {
        file.Bytes(body);
    } else if (compression == Compression::Zlib) {
        file.Bytes(Deflate(body));
    } else {
        // ZWS: compressed length, the 5 property bytes, the LZMA data.
        const std::vector<std::uint8_t> alone = LzmaAlone(body);
        const std::span<const std::uint8_t> data = std::span(alone).subspan(13);
        file.U32(static_cast<std::uint32_t>(data.size()));
        file.Bytes(std::span(alone).first(5));
        file.Bytes(data);
    }
    return file.Take();
}

} // namespace swfwriter

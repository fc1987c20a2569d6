#include "swf/format/TagSummary.h"

#include <cstdio>
#include <sstream>

#include "swf/format/DisplayTagReader.h"
#include "swf/format/Records.h"
#include "swf/format/TagCodes.h"
#include "swf/format/TextReader.h"

namespace swf {

namespace {

std::string Pixels(Twips twips) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", twips / static_cast<double>(TwipsPerPixel));
    return text;
}

std::string DescribeRect(const Rect& rect) {
    char text[96];
    std::snprintf(text, sizeof text, "(%g, %g)-(%g, %g)", rect.xMin / double{TwipsPerPixel},
                  rect.yMin / double{TwipsPerPixel}, rect.xMax / double{TwipsPerPixel},
                  rect.yMax / double{TwipsPerPixel});
    return text;
}

std::string DescribeColor(const Rgba& color) {
    char text[16];
    std::snprintf(text, sizeof text, "#%02x%02x%02x%02x", color.r, color.g, color.b, color.a);
    return text;
}

std::string DescribeMatrix(const Matrix& m) {
    char text[128];
    std::snprintf(text, sizeof text, "[%g %g %g %g %s %s]", m.scaleX, m.rotateSkew0, m.rotateSkew1,
                  m.scaleY, Pixels(m.translateX).c_str(), Pixels(m.translateY).c_str());
    return text;
}

const char* BitmapKindName(BitmapKind kind) {
    switch (kind) {
    case BitmapKind::JpegWithSharedTables:
        return "JPEG with shared tables";
    case BitmapKind::Jpeg:
        return "image";
    case BitmapKind::JpegWithAlpha:
        return "image with alpha";
    case BitmapKind::Lossless:
        return "lossless";
    case BitmapKind::LosslessWithAlpha:
        return "lossless with alpha";
    }
    return "?";
}

struct CharacterDescriber {
    std::ostringstream& out;

    void operator()(const Shape& shape) const {
        out << ", bounds " << DescribeRect(shape.bounds) << ", " << shape.styles.fills.size()
            << " fills, " << shape.styles.lines.size() << " lines, " << shape.records.size()
            << " records";
    }
    void operator()(const MorphShape& morph) const {
        out << ", start " << DescribeRect(morph.startBounds) << ", end "
            << DescribeRect(morph.endBounds) << ", " << morph.fills.size() << " fills, "
            << morph.lines.size() << " lines, " << morph.startRecords.size() << "/"
            << morph.endRecords.size() << " records";
    }
    void operator()(const Bitmap& bitmap) const {
        out << ", " << BitmapKindName(bitmap.kind) << ", " << bitmap.imageData.size() << " bytes";
        if (bitmap.kind == BitmapKind::Lossless || bitmap.kind == BitmapKind::LosslessWithAlpha) {
            out << ", format " << int{bitmap.losslessFormat} << ", " << bitmap.width << " x "
                << bitmap.height;
        }
        if (!bitmap.alphaData.empty()) {
            out << ", alpha " << bitmap.alphaData.size() << " bytes";
        }
    }
    void operator()(const Font& font) const {
        out << ", \"" << font.name << "\", " << font.glyphs.size() << " glyphs";
        if (font.hasLayout) {
            out << ", ascent " << font.ascent << ", descent " << font.descent;
        }
    }
    void operator()(const Text& text) const {
        out << ", bounds " << DescribeRect(text.bounds) << ", " << text.records.size()
            << " records";
    }
    void operator()(const EditText& edit) const {
        out << ", bounds " << DescribeRect(edit.bounds) << ", variable \"" << edit.variableName
            << "\"";
        if (edit.initialText) {
            out << ", text \"" << *edit.initialText << "\"";
        }
    }
    void operator()(const Button& button) const {
        out << ", " << button.records.size() << " records, " << button.actions.size()
            << " bytes of actions";
    }
    void operator()(const Sprite& sprite) const {
        out << ", " << sprite.timeline.declaredFrameCount << " frames declared, "
            << sprite.timeline.frames.size() << " read";
    }
    void operator()(const RawCharacter&) const {}
};

void DescribePlace(std::ostringstream& out, const PlaceObject& place) {
    out << "depth " << place.depth;
    if (place.move) {
        out << ", move";
    }
    if (place.characterId) {
        out << ", character " << *place.characterId;
    }
    if (place.matrix) {
        out << ", matrix " << DescribeMatrix(*place.matrix);
    }
    if (place.colorTransform) {
        out << ", colour transformation";
    }
    if (place.ratio) {
        out << ", ratio " << *place.ratio;
    }
    if (place.name) {
        out << ", name \"" << *place.name << "\"";
    }
    if (place.clipDepth) {
        out << ", clip depth " << *place.clipDepth;
    }
    if (place.filters) {
        out << ", " << place.filters->size() << " filters";
    }
    if (place.blendMode) {
        out << ", blend mode " << int{*place.blendMode};
    }
    if (place.cacheAsBitmap) {
        out << ", cache as bitmap " << (*place.cacheAsBitmap ? "on" : "off");
    }
    if (!place.clipActions.empty()) {
        out << ", " << place.clipActions.size() << " bytes of clip actions";
    }
}

} // namespace

std::string DescribeHeader(const MovieHeader& header) {
    static constexpr const char* signatures[] = {"FWS", "CWS", "ZWS"};
    std::ostringstream out;
    char rate[32];
    std::snprintf(rate, sizeof rate, "%g", header.frameRate);
    out << signatures[static_cast<int>(header.compression)] << " version " << int{header.version}
        << ", " << header.fileLength << " bytes, stage " << Pixels(header.frameSize.Width())
        << " x " << Pixels(header.frameSize.Height()) << " px at (" << Pixels(header.frameSize.xMin)
        << ", " << Pixels(header.frameSize.yMin) << "), " << rate << " fps, " << header.frameCount
        << " frames";
    return out.str();
}

std::string DescribeTag(const TagView& tag) {
    std::ostringstream out;
    ByteReader reader(tag.body, tag.offset);
    if (IsDefinitionTag(tag.code)) {
        auto character = ReadDefinition(tag, DefaultMaxModelBytes);
        if (!character) {
            return "damaged: " + character.GetError().message;
        }
        out << "id " << character.Value().id;
        std::visit(CharacterDescriber{out}, character.Value().data);
        return out.str();
    }
    switch (tag.code) {
    case tag::PlaceObject:
    case tag::PlaceObject2:
    case tag::PlaceObject3: {
        const std::uint8_t version = tag.code == tag::PlaceObject    ? 1
                                     : tag.code == tag::PlaceObject2 ? 2
                                                                     : 3;
        auto place = ReadPlaceObject(reader, version);
        if (!place) {
            return "damaged: " + place.GetError().message;
        }
        DescribePlace(out, place.Value());
        return out.str();
    }
    case tag::RemoveObject:
    case tag::RemoveObject2: {
        auto remove = ReadRemoveObject(reader, tag.code == tag::RemoveObject ? 1 : 2);
        if (!remove) {
            return "damaged: " + remove.GetError().message;
        }
        out << "depth " << remove.Value().depth;
        if (remove.Value().characterId) {
            out << ", character " << *remove.Value().characterId;
        }
        return out.str();
    }
    case tag::SetBackgroundColor:
        out << DescribeColor(ReadRgb(reader));
        break;
    case tag::FrameLabel:
        out << "\"" << reader.String() << "\"";
        break;
    case tag::DefineFontInfo:
    case tag::DefineFontInfo2: {
        auto info = ReadDefineFontInfo(reader, tag.code == tag::DefineFontInfo ? 1 : 2);
        if (!info) {
            return "damaged: " + info.GetError().message;
        }
        out << "font " << info.Value().fontId << ", \"" << info.Value().name << "\", "
            << info.Value().codes.size() << " codes";
        return out.str();
    }
    case tag::DefineButtonCxform:
    case tag::DefineButtonSound:
        out << "id " << reader.U16();
        break;
    case tag::FileAttributes: {
        char text[16];
        std::snprintf(text, sizeof text, "0x%08x", reader.U32());
        out << "flags " << text;
        break;
    }
    default:
        return "";
    }
    if (!reader.Ok()) {
        return "damaged: too short";
    }
    return out.str();
}

} // namespace swf

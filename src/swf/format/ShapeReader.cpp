#include "swf/format/ShapeReader.h"

#include "swf/format/ModelSize.h"
#include "swf/format/Records.h"

namespace swf {

namespace {

Rgba ReadColor(ByteReader& reader, bool withAlpha) {
    return withAlpha ? ReadRgba(reader) : ReadRgb(reader);
}

// A style count: one byte, or 0xFF followed by a 16-bit count where the
// format allows the extended form.
std::uint16_t ReadStyleCount(ByteReader& reader, bool extendedAllowed) {
    const std::uint8_t count = reader.U8();
    if (count == 0xFF && extendedAllowed) {
        return reader.U16();
    }
    return count;
}

void ReadGradient(ByteReader& reader, Gradient& gradient, bool withAlpha) {
    const std::uint8_t head = reader.U8();
    gradient.spreadMode = static_cast<std::uint8_t>(head >> 6);
    gradient.interpolationMode = static_cast<std::uint8_t>((head >> 4) & 3);
    const int count = head & 0x0F;
    for (int i = 0; i < count && reader.Ok(); ++i) {
        GradientStop stop;
        stop.ratio = reader.U8();
        stop.color = ReadColor(reader, withAlpha);
        gradient.stops.push_back(stop);
    }
}

bool IsKnownFill(std::uint8_t kind) {
    switch (kind) {
    case 0x00:
    case 0x10:
    case 0x12:
    case 0x13:
    case 0x40:
    case 0x41:
    case 0x42:
    case 0x43:
        return true;
    default:
        return false;
    }
}

FillStyle ReadFillStyle(ByteReader& reader, std::uint8_t version) {
    FillStyle fill;
    const std::uint8_t kind = reader.U8();
    if (!IsKnownFill(kind)) {
        reader.Fail("unknown fill style type");
        return fill;
    }
    fill.kind = static_cast<FillKind>(kind);
    const bool withAlpha = version >= 3;
    if (fill.kind == FillKind::Solid) {
        fill.color = ReadColor(reader, withAlpha);
    } else if (IsGradient(fill.kind)) {
        fill.matrix = ReadMatrix(reader);
        ReadGradient(reader, fill.gradient, withAlpha);
        if (fill.kind == FillKind::FocalRadialGradient) {
            fill.gradient.focalPoint = reader.Fixed8();
        }
    } else {
        fill.bitmapId = reader.U16();
        fill.matrix = ReadMatrix(reader);
    }
    return fill;
}

// The LINESTYLE2 flags shared by DefineShape4 and DefineMorphShape2; returns
// whether a fill style follows instead of a colour.
bool ReadLineStyle2Flags(ByteReader& reader, LineStyle& line) {
    const std::uint8_t first = reader.U8();
    const std::uint8_t second = reader.U8();
    line.startCap = static_cast<std::uint8_t>(first >> 6);
    line.join = static_cast<std::uint8_t>((first >> 4) & 3);
    const bool hasFill = (first & 0x08) != 0;
    line.noHScale = (first & 0x04) != 0;
    line.noVScale = (first & 0x02) != 0;
    line.pixelHinting = (first & 0x01) != 0;
    line.noClose = (second & 0x04) != 0;
    line.endCap = static_cast<std::uint8_t>(second & 3);
    if (line.join == 2) {
        line.miterLimit = reader.Fixed8();
    }
    return hasFill;
}

LineStyle ReadLineStyle(ByteReader& reader, std::uint8_t version) {
    LineStyle line;
    line.width = reader.U16();
    if (version >= 4) {
        if (ReadLineStyle2Flags(reader, line)) {
            line.fill = ReadFillStyle(reader, version);
        } else {
            line.color = ReadRgba(reader);
        }
    } else {
        line.color = ReadColor(reader, version >= 3);
    }
    return line;
}

StyleArrays ReadStyleArrays(ByteReader& reader, std::uint8_t version) {
    StyleArrays styles;
    const std::uint16_t fills = ReadStyleCount(reader, version >= 2);
    for (int i = 0; i < fills && reader.Ok(); ++i) {
        styles.fills.push_back(ReadFillStyle(reader, version));
    }
    const std::uint16_t lines = ReadStyleCount(reader, true);
    for (int i = 0; i < lines && reader.Ok(); ++i) {
        styles.lines.push_back(ReadLineStyle(reader, version));
    }
    return styles;
}

// Shape records up to the end record. version 0 is a glyph or a morph
// shape's edges, which cannot carry new style arrays.
std::vector<ShapeRecord> ReadShapeRecords(ByteReader& reader, std::uint8_t version) {
    std::vector<ShapeRecord> records;
    unsigned fillBits = reader.UBits(4);
    unsigned lineBits = reader.UBits(4);
    Point pen;
    while (reader.Ok()) {
        if (records.size() >= MaxShapeRecords) {
            reader.Fail("more records than a shape may have");
            break;
        }
        if (!reader.Bit()) {
            const unsigned flags = reader.UBits(5);
            if (flags == 0) {
                break; // end of shape
            }
            StyleChange change;
            const bool newStyles = (flags & 0x10) != 0;
            if (flags & 0x01) {
                const unsigned bits = reader.UBits(5);
                pen.x = reader.SBits(bits);
                pen.y = reader.SBits(bits);
                change.moveTo = pen;
            }
            if (flags & 0x02) {
                change.fill0 = reader.UBits(fillBits);
            }
            if (flags & 0x04) {
                change.fill1 = reader.UBits(fillBits);
            }
            if (flags & 0x08) {
                change.line = reader.UBits(lineBits);
            }
            if (newStyles && version >= 2) {
                change.newStyles = ReadStyleArrays(reader, version);
                fillBits = reader.UBits(4);
                lineBits = reader.UBits(4);
            }
            records.push_back(std::move(change));
        } else if (reader.Bit()) {
            const unsigned bits = reader.UBits(4) + 2;
            StraightEdge edge;
            if (reader.Bit()) {
                edge.dx = reader.SBits(bits);
                edge.dy = reader.SBits(bits);
            } else if (reader.Bit()) {
                edge.dy = reader.SBits(bits);
            } else {
                edge.dx = reader.SBits(bits);
            }
            pen.x += edge.dx;
            pen.y += edge.dy;
            records.push_back(edge);
        } else {
            const unsigned bits = reader.UBits(4) + 2;
            CurvedEdge edge;
            edge.controlDx = reader.SBits(bits);
            edge.controlDy = reader.SBits(bits);
            edge.anchorDx = reader.SBits(bits);
            edge.anchorDy = reader.SBits(bits);
            pen.x += edge.controlDx + edge.anchorDx;
            pen.y += edge.controlDy + edge.anchorDy;
            records.push_back(edge);
        }
    }
    reader.AlignToByte();
    return records;
}

MorphFillStyle ReadMorphFillStyle(ByteReader& reader) {
    MorphFillStyle fill;
    const std::uint8_t kind = reader.U8();
    if (!IsKnownFill(kind)) {
        reader.Fail("unknown morph fill style type");
        return fill;
    }
    fill.start.kind = fill.end.kind = static_cast<FillKind>(kind);
    if (fill.start.kind == FillKind::Solid) {
        fill.start.color = ReadRgba(reader);
        fill.end.color = ReadRgba(reader);
    } else if (IsGradient(fill.start.kind)) {
        fill.start.matrix = ReadMatrix(reader);
        fill.end.matrix = ReadMatrix(reader);
        const std::uint8_t head = reader.U8();
        for (Gradient* gradient : {&fill.start.gradient, &fill.end.gradient}) {
            gradient->spreadMode = static_cast<std::uint8_t>(head >> 6);
            gradient->interpolationMode = static_cast<std::uint8_t>((head >> 4) & 3);
        }
        const int count = head & 0x0F;
        for (int i = 0; i < count && reader.Ok(); ++i) {
            GradientStop start;
            start.ratio = reader.U8();
            start.color = ReadRgba(reader);
            GradientStop end;
            end.ratio = reader.U8();
            end.color = ReadRgba(reader);
            fill.start.gradient.stops.push_back(start);
            fill.end.gradient.stops.push_back(end);
        }
        if (fill.start.kind == FillKind::FocalRadialGradient) {
            fill.start.gradient.focalPoint = reader.Fixed8();
            fill.end.gradient.focalPoint = reader.Fixed8();
        }
    } else {
        fill.start.bitmapId = fill.end.bitmapId = reader.U16();
        fill.start.matrix = ReadMatrix(reader);
        fill.end.matrix = ReadMatrix(reader);
    }
    return fill;
}

MorphLineStyle ReadMorphLineStyle(ByteReader& reader, std::uint8_t version) {
    MorphLineStyle line;
    line.start.width = reader.U16();
    line.end.width = reader.U16();
    if (version >= 2) {
        const bool hasFill = ReadLineStyle2Flags(reader, line.start);
        const std::uint16_t endWidth = line.end.width;
        line.end = line.start;
        line.end.width = endWidth;
        if (hasFill) {
            MorphFillStyle fill = ReadMorphFillStyle(reader);
            line.start.fill = std::move(fill.start);
            line.end.fill = std::move(fill.end);
            return line;
        }
    }
    line.start.color = ReadRgba(reader);
    line.end.color = ReadRgba(reader);
    return line;
}

} // namespace

Result<Character> ReadDefineShape(ByteReader reader, std::uint8_t version) {
    Character character;
    character.id = reader.U16();
    Shape shape;
    shape.version = version;
    shape.bounds = ReadRect(reader);
    shape.edgeBounds = shape.bounds;
    if (version >= 4) {
        shape.edgeBounds = ReadRect(reader);
        const std::uint8_t flags = reader.U8();
        shape.usesFillWindingRule = (flags & 0x04) != 0;
        shape.usesNonScalingStrokes = (flags & 0x02) != 0;
        shape.usesScalingStrokes = (flags & 0x01) != 0;
    }
    shape.styles = ReadStyleArrays(reader, version);
    shape.records = ReadShapeRecords(reader, version);
    if (!reader.Ok()) {
        return reader.Failure("shape " + std::to_string(character.id));
    }
    character.data = std::move(shape);
    return character;
}

Result<Character> ReadDefineMorphShape(ByteReader reader, std::uint8_t version) {
    Character character;
    character.id = reader.U16();
    MorphShape morph;
    morph.version = version;
    morph.startBounds = ReadRect(reader);
    morph.endBounds = ReadRect(reader);
    if (version >= 2) {
        morph.startEdgeBounds = ReadRect(reader);
        morph.endEdgeBounds = ReadRect(reader);
        const std::uint8_t flags = reader.U8();
        morph.usesNonScalingStrokes = (flags & 0x02) != 0;
        morph.usesScalingStrokes = (flags & 0x01) != 0;
    } else {
        morph.startEdgeBounds = morph.startBounds;
        morph.endEdgeBounds = morph.endBounds;
    }
    const std::uint32_t offset = reader.U32();
    const std::size_t endEdgesAt = reader.Position() + offset;
    const std::uint16_t fills = ReadStyleCount(reader, true);
    for (int i = 0; i < fills && reader.Ok(); ++i) {
        morph.fills.push_back(ReadMorphFillStyle(reader));
    }
    const std::uint16_t lines = ReadStyleCount(reader, true);
    for (int i = 0; i < lines && reader.Ok(); ++i) {
        morph.lines.push_back(ReadMorphLineStyle(reader, version));
    }
    if (offset != 0 && (endEdgesAt < reader.Position() || endEdgesAt > reader.Size())) {
        reader.Fail("end edges outside the tag");
    }
    if (reader.Ok()) {
        const std::size_t startLength =
            offset == 0 ? reader.Remaining() : endEdgesAt - reader.Position();
        ByteReader startEdges = reader.Sub(startLength);
        morph.startRecords = ReadShapeRecords(startEdges, 0);
        if (!startEdges.Ok()) {
            return startEdges.Failure("morph shape " + std::to_string(character.id));
        }
        if (offset != 0) {
            morph.endRecords = ReadShapeRecords(reader, 0);
        }
    }
    if (!reader.Ok()) {
        return reader.Failure("morph shape " + std::to_string(character.id));
    }
    character.data = std::move(morph);
    return character;
}

Shape ReadGlyphShape(ByteReader& reader) {
    Shape shape;
    shape.version = 0;
    shape.records = ReadShapeRecords(reader, 0);
    return shape;
}

} // namespace swf

#include "swfwriter/ShapeBuilder.h"

#include <algorithm>
#include <cmath>

#include "swfwriter/RecordWriter.h"

namespace swfwriter {

namespace {

unsigned EdgeBits(std::initializer_list<std::int32_t> deltas) {
    unsigned bits = 2;
    for (const std::int32_t delta : deltas) {
        bits = std::max(bits, SignedBits(delta));
    }
    return bits;
}

void WriteCount(BitWriter& out, std::size_t count, bool extendedAllowed) {
    if (count >= 0xFF && extendedAllowed) {
        out.U8(0xFF);
        out.U16(static_cast<std::uint16_t>(count));
    } else {
        out.U8(static_cast<std::uint8_t>(count));
    }
}

} // namespace

std::uint32_t ShapeBuilder::AddFill(Fill fill) {
    styleSets.back().fills.push_back(std::move(fill));
    return static_cast<std::uint32_t>(styleSets.back().fills.size());
}

std::uint32_t ShapeBuilder::AddLine(Line line) {
    widestLine = std::max(widestLine, line.width);
    styleSets.back().lines.push_back(line);
    return static_cast<std::uint32_t>(styleSets.back().lines.size());
}

void ShapeBuilder::NewStyles() {
    styleSets.emplace_back();
    Record record;
    record.newStyles = true;
    record.styleSet = styleSets.size() - 1;
    records.push_back(record);
}

void ShapeBuilder::SetStyle(std::uint32_t fill0, std::uint32_t fill1, std::uint32_t line) {
    Record record;
    record.hasStyle = true;
    record.fill0 = fill0;
    record.fill1 = fill1;
    record.line = line;
    records.push_back(record);
}

void ShapeBuilder::MoveTo(std::int32_t x, std::int32_t y) {
    Record record;
    record.move = true;
    record.x = penX = x;
    record.y = penY = y;
    records.push_back(record);
}

void ShapeBuilder::LineTo(std::int32_t x, std::int32_t y) {
    Record record;
    record.kind = Record::Kind::Straight;
    record.x = penX = x;
    record.y = penY = y;
    records.push_back(record);
}

void ShapeBuilder::CurveTo(std::int32_t controlX, std::int32_t controlY, std::int32_t x,
                           std::int32_t y) {
    Record record;
    record.kind = Record::Kind::Curve;
    record.cx = controlX;
    record.cy = controlY;
    record.x = penX = x;
    record.y = penY = y;
    records.push_back(record);
}

void ShapeBuilder::Rectangle(std::int32_t x, std::int32_t y, std::int32_t width,
                             std::int32_t height) {
    MoveTo(x, y);
    LineTo(x + width, y);
    LineTo(x + width, y + height);
    LineTo(x, y + height);
    LineTo(x, y);
}

void ShapeBuilder::Ellipse(std::int32_t centreX, std::int32_t centreY, std::int32_t radiusX,
                           std::int32_t radiusY) {
    // Eight quadratic curves, controls on the circumscribed octagon.
    const double pi = std::acos(-1.0);
    const double controlScale = 1.0 / std::cos(pi / 8);
    const auto at = [&](double angle, double scale, bool horizontal) {
        const double value = horizontal ? std::cos(angle) * radiusX : std::sin(angle) * radiusY;
        return static_cast<std::int32_t>(
            std::lround((horizontal ? centreX : centreY) + value * scale));
    };
    MoveTo(centreX + radiusX, centreY);
    for (int i = 1; i <= 8; ++i) {
        const double control = (i - 0.5) * pi / 4;
        const double anchor = i * pi / 4;
        CurveTo(at(control, controlScale, true), at(control, controlScale, false),
                at(anchor, 1.0, true), at(anchor, 1.0, false));
    }
}

ShapeBuilder::Bounds ShapeBuilder::GetBounds() const {
    Bounds bounds;
    bool first = true;
    const auto include = [&](std::int32_t x, std::int32_t y) {
        if (first) {
            bounds = {x, x, y, y};
            first = false;
            return;
        }
        bounds.xMin = std::min(bounds.xMin, x);
        bounds.xMax = std::max(bounds.xMax, x);
        bounds.yMin = std::min(bounds.yMin, y);
        bounds.yMax = std::max(bounds.yMax, y);
    };
    for (const Record& record : records) {
        if (record.kind == Record::Kind::Curve) {
            include(record.cx, record.cy);
        }
        if (record.kind != Record::Kind::Style || record.move) {
            include(record.x, record.y);
        }
    }
    const std::int32_t half = widestLine / 2;
    bounds.xMin -= half;
    bounds.yMin -= half;
    bounds.xMax += half;
    bounds.yMax += half;
    return bounds;
}

void ShapeBuilder::WriteStyles(BitWriter& out, const StyleSet& set, int version) const {
    const bool alpha = version >= 3;
    WriteCount(out, set.fills.size(), version >= 2);
    for (const Fill& fill : set.fills) {
        out.U8(static_cast<std::uint8_t>(fill.kind));
        switch (fill.kind) {
        case Fill::Kind::Solid:
            WriteColor(out, fill.color, alpha);
            break;
        case Fill::Kind::Linear:
        case Fill::Kind::Radial:
            WriteMatrix(out, fill.matrix);
            out.U8(static_cast<std::uint8_t>(std::min<std::size_t>(fill.stops.size(), 15)));
            for (std::size_t i = 0; i < fill.stops.size() && i < 15; ++i) {
                out.U8(fill.stops[i].ratio);
                WriteColor(out, fill.stops[i].color, alpha);
            }
            break;
        case Fill::Kind::RepeatingBitmap:
        case Fill::Kind::ClippedBitmap:
            out.U16(fill.bitmapId);
            WriteMatrix(out, fill.matrix);
            break;
        }
    }
    WriteCount(out, set.lines.size(), true);
    for (const Line& line : set.lines) {
        out.U16(line.width);
        if (version >= 4) {
            out.U8(static_cast<std::uint8_t>(
                (line.startCap << 6) | ((line.join & 3) << 4) | (line.noHScale ? 0x04 : 0) |
                (line.noVScale ? 0x02 : 0) | (line.pixelHinting ? 0x01 : 0)));
            out.U8(static_cast<std::uint8_t>((line.noClose ? 0x04 : 0) | (line.endCap & 3)));
            if (line.join == Line::MiterJoin) {
                out.Fixed8(line.miterLimit);
            }
            WriteColor(out, line.color, true);
        } else {
            WriteColor(out, line.color, alpha);
        }
    }
}

void ShapeBuilder::WriteRecords(BitWriter& out, int version, bool glyph) const {
    std::size_t set = 0;
    unsigned fillBits =
        glyph ? 1 : UnsignedBits(static_cast<std::uint32_t>(styleSets[0].fills.size()));
    unsigned lineBits =
        glyph ? 0 : UnsignedBits(static_cast<std::uint32_t>(styleSets[0].lines.size()));
    out.UBits(fillBits, 4);
    out.UBits(lineBits, 4);
    std::int32_t x = 0;
    std::int32_t y = 0;
    for (const Record& record : records) {
        switch (record.kind) {
        case Record::Kind::Style: {
            const bool newStyles = record.newStyles && !glyph && version >= 2;
            out.Bit(false);
            out.Bit(newStyles);
            out.Bit(record.hasStyle && lineBits > 0);
            out.Bit(record.hasStyle);
            out.Bit(record.hasStyle);
            out.Bit(record.move);
            if (record.move) {
                const unsigned bits = record.x == 0 && record.y == 0
                                          ? 0
                                          : std::max(SignedBits(record.x), SignedBits(record.y));
                out.UBits(bits, 5);
                out.SBits(record.x, bits);
                out.SBits(record.y, bits);
                x = record.x;
                y = record.y;
            }
            if (record.hasStyle) {
                out.UBits(record.fill0, fillBits);
                out.UBits(record.fill1, fillBits);
                if (lineBits > 0) {
                    out.UBits(record.line, lineBits);
                }
            }
            if (newStyles) {
                set = record.styleSet;
                WriteStyles(out, styleSets[set], version);
                fillBits = UnsignedBits(static_cast<std::uint32_t>(styleSets[set].fills.size()));
                lineBits = UnsignedBits(static_cast<std::uint32_t>(styleSets[set].lines.size()));
                out.UBits(fillBits, 4);
                out.UBits(lineBits, 4);
            }
            break;
        }
        case Record::Kind::Straight: {
            const std::int32_t dx = record.x - x;
            const std::int32_t dy = record.y - y;
            const unsigned bits = EdgeBits({dx, dy});
            out.Bit(true);
            out.Bit(true);
            out.UBits(bits - 2, 4);
            if (dx != 0 && dy != 0) {
                out.Bit(true);
                out.SBits(dx, bits);
                out.SBits(dy, bits);
            } else {
                out.Bit(false);
                out.Bit(dx == 0); // vertical
                out.SBits(dx == 0 ? dy : dx, bits);
            }
            x = record.x;
            y = record.y;
            break;
        }
        case Record::Kind::Curve: {
            const std::int32_t cdx = record.cx - x;
            const std::int32_t cdy = record.cy - y;
            const std::int32_t adx = record.x - record.cx;
            const std::int32_t ady = record.y - record.cy;
            const unsigned bits = EdgeBits({cdx, cdy, adx, ady});
            out.Bit(true);
            out.Bit(false);
            out.UBits(bits - 2, 4);
            out.SBits(cdx, bits);
            out.SBits(cdy, bits);
            out.SBits(adx, bits);
            out.SBits(ady, bits);
            x = record.x;
            y = record.y;
            break;
        }
        }
    }
    out.Bit(false);
    out.UBits(0, 5);
    out.Align();
}

void ShapeBuilder::WriteWithStyles(BitWriter& out, int version) const {
    WriteStyles(out, styleSets[0], version);
    WriteRecords(out, version, false);
}

void ShapeBuilder::WriteGlyph(BitWriter& out) const {
    WriteRecords(out, 0, true);
}

} // namespace swfwriter

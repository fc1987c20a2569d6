#include "swf/format/Records.h"

namespace swf {

Rect ReadRect(ByteReader& reader) {
    reader.AlignToByte();
    const unsigned bits = reader.UBits(5);
    Rect rect;
    rect.xMin = reader.SBits(bits);
    rect.xMax = reader.SBits(bits);
    rect.yMin = reader.SBits(bits);
    rect.yMax = reader.SBits(bits);
    reader.AlignToByte();
    return rect;
}

Matrix ReadMatrix(ByteReader& reader) {
    reader.AlignToByte();
    Matrix matrix;
    if (reader.Bit()) {
        const unsigned bits = reader.UBits(5);
        matrix.scaleX = reader.FBits(bits);
        matrix.scaleY = reader.FBits(bits);
    }
    if (reader.Bit()) {
        const unsigned bits = reader.UBits(5);
        matrix.rotateSkew0 = reader.FBits(bits);
        matrix.rotateSkew1 = reader.FBits(bits);
    }
    const unsigned bits = reader.UBits(5);
    matrix.translateX = reader.SBits(bits);
    matrix.translateY = reader.SBits(bits);
    reader.AlignToByte();
    return matrix;
}

Rgba ReadRgb(ByteReader& reader) {
    Rgba color;
    color.r = reader.U8();
    color.g = reader.U8();
    color.b = reader.U8();
    return color;
}

Rgba ReadRgba(ByteReader& reader) {
    Rgba color = ReadRgb(reader);
    color.a = reader.U8();
    return color;
}

ColorTransform ReadColorTransform(ByteReader& reader, bool withAlpha) {
    reader.AlignToByte();
    ColorTransform cx;
    const bool hasAdd = reader.Bit();
    const bool hasMult = reader.Bit();
    const unsigned bits = reader.UBits(4);
    const auto read = [&] { return static_cast<std::int16_t>(reader.SBits(bits)); };
    if (hasMult) {
        cx.multR = read();
        cx.multG = read();
        cx.multB = read();
        if (withAlpha) {
            cx.multA = read();
        }
    }
    if (hasAdd) {
        cx.addR = read();
        cx.addG = read();
        cx.addB = read();
        if (withAlpha) {
            cx.addA = read();
        }
    }
    reader.AlignToByte();
    return cx;
}

namespace {

void ReadFilterFlags(ByteReader& reader, Filter& filter, bool hasOnTop) {
    filter.inner = reader.Bit();
    filter.knockout = reader.Bit();
    filter.compositeSource = reader.Bit();
    if (hasOnTop) {
        filter.onTop = reader.Bit();
        filter.passes = static_cast<std::uint8_t>(reader.UBits(4));
    } else {
        filter.passes = static_cast<std::uint8_t>(reader.UBits(5));
    }
    reader.AlignToByte();
}

Filter ReadFilter(ByteReader& reader) {
    Filter filter;
    const std::uint8_t id = reader.U8();
    if (id > static_cast<std::uint8_t>(FilterKind::GradientBevel)) {
        reader.Fail("unknown filter");
        return filter;
    }
    filter.kind = static_cast<FilterKind>(id);
    switch (filter.kind) {
    case FilterKind::DropShadow:
        filter.colors.push_back(ReadRgba(reader));
        filter.blurX = reader.Fixed16();
        filter.blurY = reader.Fixed16();
        filter.angle = reader.Fixed16();
        filter.distance = reader.Fixed16();
        filter.strength = reader.Fixed8();
        ReadFilterFlags(reader, filter, false);
        break;
    case FilterKind::Blur:
        filter.blurX = reader.Fixed16();
        filter.blurY = reader.Fixed16();
        filter.passes = static_cast<std::uint8_t>(reader.UBits(5));
        reader.AlignToByte();
        break;
    case FilterKind::Glow:
        filter.colors.push_back(ReadRgba(reader));
        filter.blurX = reader.Fixed16();
        filter.blurY = reader.Fixed16();
        filter.strength = reader.Fixed8();
        ReadFilterFlags(reader, filter, false);
        break;
    case FilterKind::Bevel:
        filter.colors.push_back(ReadRgba(reader)); // shadow
        filter.colors.push_back(ReadRgba(reader)); // highlight
        filter.blurX = reader.Fixed16();
        filter.blurY = reader.Fixed16();
        filter.angle = reader.Fixed16();
        filter.distance = reader.Fixed16();
        filter.strength = reader.Fixed8();
        ReadFilterFlags(reader, filter, true);
        break;
    case FilterKind::GradientGlow:
    case FilterKind::GradientBevel: {
        const std::uint8_t count = reader.U8();
        for (int i = 0; i < count && reader.Ok(); ++i) {
            filter.colors.push_back(ReadRgba(reader));
        }
        for (int i = 0; i < count && reader.Ok(); ++i) {
            filter.ratios.push_back(reader.U8());
        }
        filter.blurX = reader.Fixed16();
        filter.blurY = reader.Fixed16();
        filter.angle = reader.Fixed16();
        filter.distance = reader.Fixed16();
        filter.strength = reader.Fixed8();
        ReadFilterFlags(reader, filter, true);
        break;
    }
    case FilterKind::Convolution: {
        filter.matrixX = reader.U8();
        filter.matrixY = reader.U8();
        filter.divisor = reader.Float();
        filter.bias = reader.Float();
        const int count = filter.matrixX * filter.matrixY;
        for (int i = 0; i < count && reader.Ok(); ++i) {
            filter.matrix.push_back(reader.Float());
        }
        filter.defaultColor = ReadRgba(reader);
        const std::uint8_t flags = reader.U8();
        filter.clamp = (flags & 0x02) != 0;
        filter.preserveAlpha = (flags & 0x01) != 0;
        break;
    }
    case FilterKind::ColorMatrix:
        for (int i = 0; i < 20 && reader.Ok(); ++i) {
            filter.matrix.push_back(reader.Float());
        }
        break;
    }
    return filter;
}

} // namespace

std::vector<Filter> ReadFilterList(ByteReader& reader) {
    std::vector<Filter> filters;
    const std::uint8_t count = reader.U8();
    for (int i = 0; i < count && reader.Ok(); ++i) {
        filters.push_back(ReadFilter(reader));
    }
    return filters;
}

} // namespace swf

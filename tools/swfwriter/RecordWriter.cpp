#include "swfwriter/RecordWriter.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace swfwriter {

namespace {

unsigned BitsFor(std::initializer_list<std::int32_t> values) {
    unsigned bits = 0;
    for (const std::int32_t value : values) {
        bits = std::max(bits, SignedBits(value));
    }
    return bits;
}

std::int32_t ToFixed16(double value) {
    return static_cast<std::int32_t>(std::lround(value * 65536.0));
}

} // namespace

void WriteRect(BitWriter& out, std::int32_t xMin, std::int32_t xMax, std::int32_t yMin,
               std::int32_t yMax) {
    out.Align();
    const unsigned bits = BitsFor({xMin, xMax, yMin, yMax});
    out.UBits(bits, 5);
    out.SBits(xMin, bits);
    out.SBits(xMax, bits);
    out.SBits(yMin, bits);
    out.SBits(yMax, bits);
    out.Align();
}

void WriteMatrix(BitWriter& out, const Matrix& m) {
    out.Align();
    const bool hasScale = m.scaleX != 1.0 || m.scaleY != 1.0;
    out.Bit(hasScale);
    if (hasScale) {
        const std::int32_t sx = ToFixed16(m.scaleX);
        const std::int32_t sy = ToFixed16(m.scaleY);
        const unsigned bits = BitsFor({sx, sy});
        out.UBits(bits, 5);
        out.SBits(sx, bits);
        out.SBits(sy, bits);
    }
    const bool hasRotate = m.rotateSkew0 != 0.0 || m.rotateSkew1 != 0.0;
    out.Bit(hasRotate);
    if (hasRotate) {
        const std::int32_t r0 = ToFixed16(m.rotateSkew0);
        const std::int32_t r1 = ToFixed16(m.rotateSkew1);
        const unsigned bits = BitsFor({r0, r1});
        out.UBits(bits, 5);
        out.SBits(r0, bits);
        out.SBits(r1, bits);
    }
    const unsigned bits =
        m.translateX == 0 && m.translateY == 0 ? 0 : BitsFor({m.translateX, m.translateY});
    out.UBits(bits, 5);
    out.SBits(m.translateX, bits);
    out.SBits(m.translateY, bits);
    out.Align();
}

void WriteColor(BitWriter& out, const Color& color, bool withAlpha) {
    out.U8(color.r);
    out.U8(color.g);
    out.U8(color.b);
    if (withAlpha) {
        out.U8(color.a);
    }
}

void WriteColorTransform(BitWriter& out, const ColorTransform& cx, bool withAlpha) {
    out.Align();
    const bool hasMult =
        cx.multR != 256 || cx.multG != 256 || cx.multB != 256 || (withAlpha && cx.multA != 256);
    const bool hasAdd = cx.addR != 0 || cx.addG != 0 || cx.addB != 0 || (withAlpha && cx.addA != 0);
    unsigned bits = 0;
    if (hasMult) {
        bits = std::max(bits, BitsFor({cx.multR, cx.multG, cx.multB, withAlpha ? cx.multA : 0}));
    }
    if (hasAdd) {
        bits = std::max(bits, BitsFor({cx.addR, cx.addG, cx.addB, withAlpha ? cx.addA : 0}));
    }
    out.Bit(hasAdd);
    out.Bit(hasMult);
    out.UBits(bits, 4);
    if (hasMult) {
        out.SBits(cx.multR, bits);
        out.SBits(cx.multG, bits);
        out.SBits(cx.multB, bits);
        if (withAlpha) {
            out.SBits(cx.multA, bits);
        }
    }
    if (hasAdd) {
        out.SBits(cx.addR, bits);
        out.SBits(cx.addG, bits);
        out.SBits(cx.addB, bits);
        if (withAlpha) {
            out.SBits(cx.addA, bits);
        }
    }
    out.Align();
}

namespace {

// The flag byte after a shadow's fields: the passes take the bits that the
// kind leaves free.
void WriteFilterFlags(BitWriter& out, const Filter& filter, bool hasOnTop) {
    out.Bit(filter.inner);
    out.Bit(filter.knockout);
    out.Bit(filter.compositeSource);
    if (hasOnTop) {
        out.Bit(filter.onTop);
        out.UBits(filter.passes, 4);
    } else {
        out.UBits(filter.passes, 5);
    }
    out.Align();
}

void WriteFilter(BitWriter& out, const Filter& f) {
    out.U8(f.kind);
    const auto color = [&](std::size_t i) {
        WriteColor(out, i < f.colors.size() ? f.colors[i] : Color{}, true);
    };
    switch (f.kind) {
    case Filter::DropShadow:
        color(0);
        out.Fixed16(f.blurX);
        out.Fixed16(f.blurY);
        out.Fixed16(f.angle);
        out.Fixed16(f.distance);
        out.Fixed8(f.strength);
        WriteFilterFlags(out, f, false);
        break;
    case Filter::Blur:
        out.Fixed16(f.blurX);
        out.Fixed16(f.blurY);
        out.UBits(f.passes, 5);
        out.Align();
        break;
    case Filter::Glow:
        color(0);
        out.Fixed16(f.blurX);
        out.Fixed16(f.blurY);
        out.Fixed8(f.strength);
        WriteFilterFlags(out, f, false);
        break;
    case Filter::Bevel:
        color(0);
        color(1);
        out.Fixed16(f.blurX);
        out.Fixed16(f.blurY);
        out.Fixed16(f.angle);
        out.Fixed16(f.distance);
        out.Fixed8(f.strength);
        WriteFilterFlags(out, f, true);
        break;
    case Filter::GradientGlow:
    case Filter::GradientBevel:
        out.U8(static_cast<std::uint8_t>(f.colors.size()));
        for (std::size_t i = 0; i < f.colors.size(); ++i) {
            color(i);
        }
        for (std::size_t i = 0; i < f.colors.size(); ++i) {
            out.U8(i < f.ratios.size() ? f.ratios[i] : 0);
        }
        out.Fixed16(f.blurX);
        out.Fixed16(f.blurY);
        out.Fixed16(f.angle);
        out.Fixed16(f.distance);
        out.Fixed8(f.strength);
        WriteFilterFlags(out, f, true);
        break;
    case Filter::Convolution:
        out.U8(f.matrixX);
        out.U8(f.matrixY);
        out.Float(f.divisor);
        out.Float(f.bias);
        for (int i = 0; i < f.matrixX * f.matrixY; ++i) {
            out.Float(std::size_t(i) < f.matrix.size() ? f.matrix[i] : 0.0f);
        }
        WriteColor(out, f.defaultColor, true);
        out.U8(static_cast<std::uint8_t>((f.clamp ? 0x02 : 0) | (f.preserveAlpha ? 0x01 : 0)));
        break;
    case Filter::ColorMatrix:
        for (int i = 0; i < 20; ++i) {
            out.Float(std::size_t(i) < f.matrix.size() ? f.matrix[i] : 0.0f);
        }
        break;
    }
}

} // namespace

void WriteFilterList(BitWriter& out, const std::vector<Filter>& filters) {
    out.U8(static_cast<std::uint8_t>(filters.size()));
    for (const Filter& filter : filters) {
        WriteFilter(out, filter);
    }
}

} // namespace swfwriter

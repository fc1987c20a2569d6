// The values the renderer passes down the display list: a 2-D affine
// transformation (as cairo's matrices hold it) and a colour transformation held in
// floating point, so that nested transformations combine without rounding.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>

#include "swf/format/Basics.h"

namespace swf {

// x' = xx * x + xy * y + x0
// y' = yx * x + yy * y + y0
struct Affine {
    double xx = 1.0, yx = 0.0, xy = 0.0, yy = 1.0, x0 = 0.0, y0 = 0.0;

    static Affine FromMatrix(const Matrix& m) {
        return {m.scaleX, m.rotateSkew0,        m.rotateSkew1,
                m.scaleY, double(m.translateX), double(m.translateY)};
    }
    static Affine Scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static Affine Translate(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Affine Rotate(double degrees) {
        const double r = degrees * M_PI / 180.0;
        return {std::cos(r), std::sin(r), -std::sin(r), std::cos(r), 0, 0};
    }

    // This transformation applied after inner: (this * inner)(p) = this(inner(p)).
    Affine operator*(const Affine& inner) const {
        return {xx * inner.xx + xy * inner.yx,      yx * inner.xx + yy * inner.yx,
                xx * inner.xy + xy * inner.yy,      yx * inner.xy + yy * inner.yy,
                xx * inner.x0 + xy * inner.y0 + x0, yx * inner.x0 + yy * inner.y0 + y0};
    }
    std::array<double, 2> Apply(double x, double y) const {
        return {xx * x + xy * y + x0, yx * x + yy * y + y0};
    }
    double Determinant() const { return xx * yy - xy * yx; }
    // The transformation that undoes this one; nullopt when it flattens the
    // plane (a scale of 0) and nothing can be undone.
    std::optional<Affine> Inverse() const {
        const double d = Determinant();
        if (!std::isfinite(d) || std::abs(d) < 1e-12) {
            return std::nullopt;
        }
        return Affine{
            yy / d, -yx / d, -xy / d, xx / d, (xy * y0 - yy * x0) / d, (yx * x0 - xx * y0) / d};
    }
    bool operator==(const Affine&) const = default;
};

// channel' = channel * mult + add, on straight colours in 0..255.
struct ColorMath {
    std::array<double, 4> mult{1, 1, 1, 1}; // r, g, b, a
    std::array<double, 4> add{0, 0, 0, 0};

    static ColorMath From(const ColorTransform& t) {
        return {{t.multR / 256.0, t.multG / 256.0, t.multB / 256.0, t.multA / 256.0},
                {double(t.addR), double(t.addG), double(t.addB), double(t.addA)}};
    }
    bool IsIdentity() const {
        return mult == std::array<double, 4>{1, 1, 1, 1} &&
               add == std::array<double, 4>{0, 0, 0, 0};
    }
    // This transformation applied after inner.
    ColorMath operator*(const ColorMath& inner) const {
        ColorMath out;
        for (int i = 0; i < 4; ++i) {
            out.mult[i] = mult[i] * inner.mult[i];
            out.add[i] = inner.add[i] * mult[i] + add[i];
        }
        return out;
    }
    std::uint8_t Channel(int i, double value) const {
        return static_cast<std::uint8_t>(
            std::clamp(std::floor(value * mult[i] + add[i]), 0.0, 255.0));
    }
    Rgba Apply(const Rgba& c) const {
        return {Channel(0, c.r), Channel(1, c.g), Channel(2, c.b), Channel(3, c.a)};
    }
    bool operator==(const ColorMath&) const = default;
};

} // namespace swf

#include "swf/script/display/ClipGeometry.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

#include "swf/runtime/ButtonObject.h"
#include "swf/runtime/MovieClip.h"

namespace swf::script {

namespace {

TwipBounds FromRect(const Rect& rect) {
    TwipBounds b;
    b.Add(rect.xMin, rect.yMin);
    b.Add(rect.xMax, rect.yMax);
    return b;
}

TwipBounds Between(const Rect& start, const Rect& end, double ratio) {
    const auto mix = [ratio](Twips a, Twips b) { return a + (b - a) * ratio; };
    TwipBounds b;
    b.Add(mix(start.xMin, end.xMin), mix(start.yMin, end.yMin));
    b.Add(mix(start.xMax, end.xMax), mix(start.yMax, end.yMax));
    return b;
}

// What the object's own character draws, before its children.
TwipBounds DefinitionBounds(const DisplayObject& object) {
    const Character* definition = object.Definition();
    if (!definition) {
        return {};
    }
    return std::visit(
        [&object](const auto& data) -> TwipBounds {
            using T = std::decay_t<decltype(data)>;
            if constexpr (std::is_same_v<T, Shape>) {
                return FromRect(data.bounds);
            } else if constexpr (std::is_same_v<T, MorphShape>) {
                return Between(data.startBounds, data.endBounds, object.Ratio() / 65535.0);
            } else if constexpr (std::is_same_v<T, Text>) {
                return FromRect(data.bounds).Transformed(Affine::FromMatrix(data.matrix));
            } else if constexpr (std::is_same_v<T, EditText>) {
                return FromRect(data.bounds);
            } else {
                return {};
            }
        },
        definition->data);
}

} // namespace

void TwipBounds::Add(double x, double y) {
    if (empty) {
        xMin = xMax = x;
        yMin = yMax = y;
        empty = false;
        return;
    }
    xMin = std::min(xMin, x);
    xMax = std::max(xMax, x);
    yMin = std::min(yMin, y);
    yMax = std::max(yMax, y);
}

void TwipBounds::Add(const TwipBounds& other) {
    if (!other.empty) {
        Add(other.xMin, other.yMin);
        Add(other.xMax, other.yMax);
    }
}

TwipBounds TwipBounds::Transformed(const Affine& mapping) const {
    TwipBounds out;
    if (empty) {
        return out;
    }
    for (const auto& [x, y] : {std::pair{xMin, yMin}, std::pair{xMax, yMin}, std::pair{xMin, yMax},
                               std::pair{xMax, yMax}}) {
        const auto p = mapping.Apply(x, y);
        out.Add(p[0], p[1]);
    }
    return out;
}

bool TwipBounds::Contains(double x, double y) const {
    return !empty && x >= xMin && x <= xMax && y >= yMin && y <= yMax;
}

bool TwipBounds::Intersects(const TwipBounds& other) const {
    return !empty && !other.empty && xMin <= other.xMax && other.xMin <= xMax &&
           yMin <= other.yMax && other.yMin <= yMax;
}

TwipBounds LocalBounds(const DisplayObject& object) {
    TwipBounds bounds = DefinitionBounds(object);
    const auto addChild = [&bounds](const DisplayObject& child) {
        bounds.Add(LocalBounds(child).Transformed(Affine::FromMatrix(child.GetMatrix())));
    };
    if (object.Kind() == DisplayKind::MovieClip) {
        for (const auto& [depth, child] : static_cast<const MovieClip&>(object).GetChildren()) {
            addChild(*child);
        }
    } else if (object.Kind() == DisplayKind::Button) {
        for (const ButtonObject::Part& part : static_cast<const ButtonObject&>(object).Parts()) {
            if (part.object) {
                addChild(*part.object);
            }
        }
    }
    return bounds;
}

Affine ToStage(const DisplayObject& object) {
    Affine mapping = Affine::FromMatrix(object.GetMatrix());
    for (const DisplayObject* up = object.Parent(); up; up = up->Parent()) {
        mapping = Affine::FromMatrix(up->GetMatrix()) * mapping;
    }
    return mapping;
}

std::optional<Affine> Inverse(const Affine& t) {
    const double det = t.Determinant();
    if (det == 0 || !std::isfinite(det)) {
        return std::nullopt;
    }
    Affine inv;
    inv.xx = t.yy / det;
    inv.yx = -t.yx / det;
    inv.xy = -t.xy / det;
    inv.yy = t.xx / det;
    inv.x0 = (t.xy * t.y0 - t.yy * t.x0) / det;
    inv.y0 = (t.yx * t.x0 - t.xx * t.y0) / det;
    return inv;
}

} // namespace swf::script

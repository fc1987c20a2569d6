// A flash.geom.ColorTransform's values, kept natively: the multipliers and
// offsets of red, green, blue and alpha, in that order.
#pragma once

#include <array>

#include "swf/format/Basics.h"
#include "swf/script/Object.h"

namespace swf::script::geom {

class ColorTransformObject final : public Object {
public:
    ColorTransformObject() : Object(ObjectClass::Other) {}
    std::array<double, 4> multipliers{1, 1, 1, 1};
    std::array<double, 4> offsets{0, 0, 0, 0};
};

// The object as a ColorTransform, or null.
ColorTransformObject* AsColorTransform(Object* object);

// A display object's transformation as the class shows it, and back: the
// multipliers go to 8.8 fixed point and the offsets to whole numbers,
// both truncated.
void FromClipTransform(ColorTransformObject& target, const ColorTransform& from);
ColorTransform ToClipTransform(const ColorTransformObject& from);

} // namespace swf::script::geom

// Where display objects are, as scripts ask: the bounds of an object in its
// own coordinates (what its shapes, text and children cover), the transformation
// from an object to the stage, and the bounds in another object's
// coordinates (getBounds, _width, hitTest, localToGlobal).
#pragma once

#include <optional>

#include "swf/runtime/DisplayObject.h"
#include "swf/runtime/Transforms.h"

namespace swf::script {

// A rectangle in twips; empty when nothing is drawn.
struct TwipBounds {
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    bool empty = true;

    void Add(double x, double y);
    void Add(const TwipBounds& other);
    // The bounds of this rectangle's corners under a transformation.
    TwipBounds Transformed(const Affine& mapping) const;
    double Width() const { return empty ? 0 : xMax - xMin; }
    double Height() const { return empty ? 0 : yMax - yMin; }
    bool Contains(double x, double y) const;
    bool Intersects(const TwipBounds& other) const;
};

// What the object and everything in it cover, in its own coordinates.
TwipBounds LocalBounds(const DisplayObject& object);
// From the object's coordinates to the stage's (its matrix and every
// parent's).
Affine ToStage(const DisplayObject& object);
// The inverse of a transformation; nullopt when it has none.
std::optional<Affine> Inverse(const Affine& mapping);

} // namespace swf::script

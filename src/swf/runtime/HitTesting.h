// Which object is under a point of the stage, and whether a point lies on
// an object: exact shapes under every transformation on the way down, masks
// cutting what they mask, invisible objects left out. Points are in stage
// twips (the main timeline's parent space: the "_root" properties are the
// main timeline's own transformation and apply on the way down).
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <unordered_map>

#include "swf/format/CharacterModel.h"
#include "swf/format/Movie.h"
#include "swf/runtime/ShapeHitArea.h"
#include "swf/runtime/Transforms.h"

namespace swf {

class DisplayObject;
class ButtonObject;
class MovieClip;

// The shapes' hit areas of one movie, made once each as they are asked for.
class HitAreas {
public:
    explicit HitAreas(const Movie& movie) : movie(movie) {}

    const Movie& GetMovie() const { return movie; }
    const ShapeHitArea& OfShape(CharacterId id, const Shape& shape);

private:
    const Movie& movie;
    std::unordered_map<CharacterId, ShapeHitArea> shapes;
};

// From the object's own coordinates to the stage's, in twips.
Affine GlobalMatrix(const DisplayObject& object);
// A stage point in the object's own coordinates; nullopt when the object
// is flattened to nothing on the way.
std::optional<std::array<double, 2>> StageToLocal(const DisplayObject& object, double x, double y);

// Whether the stage point lies on what the object shows (the parts of a
// button's current state; for a mask, whatever its visibility).
bool HitsObject(const DisplayObject& object, double x, double y, HitAreas& areas);

// Whether the stage point lies in a button's hit area: the characters of
// its hit state, under the button's transformations.
bool HitsButtonArea(const ButtonObject& button, double x, double y, HitAreas& areas);

// The bounds of what the object shows, in the coordinates matrix takes its
// own to (GlobalMatrix for the stage's); nullopt when it shows nothing.
struct Bounds {
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
};
std::optional<Bounds> BoundsOf(const DisplayObject& object, const Affine& matrix);

// The object that takes the pointer at the stage point: the topmost enabled
// button whose hit area holds it, or clip for which takesPointer says it
// acts as a button (a clip with press or release handlers) and whose
// content holds it. Objects above that are no buttons do not stand in the
// way, as in Flash Player. nullptr when there is none.
DisplayObject* FindPointerTarget(const MovieClip& root, double x, double y, HitAreas& areas,
                                 const std::function<bool(const MovieClip&)>& takesPointer);

} // namespace swf

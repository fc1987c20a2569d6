// What a timeline holds: per frame, the display-list changes (PlaceObject and
// RemoveObject tags), frame labels, and the action and sound tags, which are
// kept whole for the parts of the engine that run them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "swf/format/Basics.h"

namespace swf {

// A tag kept as it was read: its code, where its body starts in the
// (uncompressed) movie, and the body.
struct RawTag {
    std::uint16_t code = 0;
    std::size_t offset = 0;
    std::vector<std::uint8_t> body;
};

enum class FilterKind : std::uint8_t {
    DropShadow = 0,
    Blur = 1,
    Glow = 2,
    Bevel = 3,
    GradientGlow = 4,
    Convolution = 5,
    ColorMatrix = 6,
    GradientBevel = 7,
};

// One bitmap filter of PlaceObject3 or a button record. Fields not used by a
// kind keep their defaults.
struct Filter {
    FilterKind kind = FilterKind::Blur;
    // Drop shadow and glow: colors[0]; bevel: shadow, highlight; gradient
    // glow and bevel: one colour per ratio.
    std::vector<Rgba> colors;
    std::vector<std::uint8_t> ratios;
    double blurX = 0.0; // pixels
    double blurY = 0.0;
    double angle = 0.0; // radians
    double distance = 0.0;
    double strength = 0.0;
    bool inner = false;
    bool knockout = false;
    bool compositeSource = false;
    bool onTop = false;
    std::uint8_t passes = 1;
    // Convolution: a matrixX by matrixY matrix; colour matrix: 20 values.
    std::uint8_t matrixX = 0;
    std::uint8_t matrixY = 0;
    float divisor = 1.0f;
    float bias = 0.0f;
    std::vector<float> matrix;
    Rgba defaultColor;
    bool clamp = false;
    bool preserveAlpha = false;
    bool operator==(const Filter&) const = default;
};

// Blend modes of PlaceObject3 and button records, numbered as in the file.
enum class BlendMode : std::uint8_t {
    Normal = 1,
    Layer = 2,
    Multiply = 3,
    Screen = 4,
    Lighten = 5,
    Darken = 6,
    Difference = 7,
    Add = 8,
    Subtract = 9,
    Invert = 10,
    Alpha = 11,
    Erase = 12,
    Overlay = 13,
    HardLight = 14,
};

// PlaceObject, PlaceObject2 and PlaceObject3. An absent field leaves the
// object's value as it was (or at its default for a new object).
struct PlaceObject {
    std::uint8_t version = 2; // 1, 2 or 3
    Depth depth = 0;
    bool move = false; // modify (or replace the character of) the object at depth
    std::optional<CharacterId> characterId;
    std::optional<Matrix> matrix;
    std::optional<ColorTransform> colorTransform;
    std::optional<std::uint16_t> ratio; // morph position, 0..65535
    std::optional<std::string> name;
    std::optional<Depth> clipDepth; // this object masks depths up to clipDepth
    std::optional<std::vector<Filter>> filters;
    std::optional<std::uint8_t> blendMode; // as BlendMode; 0 also means normal
    std::optional<bool> cacheAsBitmap;
    std::optional<std::string> className;
    std::optional<bool> visible;
    std::optional<Rgba> backgroundColor;
    std::vector<std::uint8_t> clipActions; // kept whole, unparsed
    bool operator==(const PlaceObject&) const = default;
};

// RemoveObject (with its character id) and RemoveObject2.
struct RemoveObject {
    Depth depth = 0;
    std::optional<CharacterId> characterId;
    bool operator==(const RemoveObject&) const = default;
};

using DisplayTag = std::variant<PlaceObject, RemoveObject>;

struct Frame {
    std::vector<DisplayTag> displayTags; // in file order
    std::vector<std::string> labels;
    std::vector<RawTag> actionTags; // DoAction, DoInitAction, DoABC
    std::vector<RawTag> soundTags;  // StartSound, SoundStreamHead, SoundStreamBlock, ...
    // For each action tag, how many display tags came before it in the
    // frame: a frame's actions and the events of the objects it places are
    // queued in the order of their tags.
    std::vector<std::size_t> actionTagPositions;
};

// The frames of the main movie or of a sprite. A frame exists once its
// ShowFrame has been read (tags after the last ShowFrame form a last frame
// when the timeline ends).
struct Timeline {
    std::uint16_t declaredFrameCount = 0; // as the header or DefineSprite says
    std::vector<Frame> frames;

    // The first frame with this label (labels compare without regard to
    // ASCII letter case, as players do), if any.
    std::optional<std::size_t> FindLabel(const std::string& label) const;
};

} // namespace swf

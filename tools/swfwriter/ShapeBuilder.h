// Describes a shape as styles and a path, and writes it as the records of a
// DefineShape tag or as a glyph outline.
#pragma once

#include <cstdint>
#include <vector>

#include "swfwriter/BitWriter.h"
#include "swfwriter/WriterTypes.h"

namespace swfwriter {

class ShapeBuilder {
public:
    // Style indices are 1-based, as the format counts them; 0 is none.
    std::uint32_t AddFill(Fill fill);
    std::uint32_t AddLine(Line line);
    // Starts new style arrays (DefineShape2 and later); the indices of later
    // AddFill/AddLine calls count from 1 again.
    void NewStyles();

    void SetStyle(std::uint32_t fill0, std::uint32_t fill1, std::uint32_t line);
    void MoveTo(std::int32_t x, std::int32_t y);
    void LineTo(std::int32_t x, std::int32_t y);
    void CurveTo(std::int32_t controlX, std::int32_t controlY, std::int32_t x, std::int32_t y);

    // A closed rectangle and an ellipse-like closed curve, with the current styles.
    void Rectangle(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    void Ellipse(std::int32_t centreX, std::int32_t centreY, std::int32_t radiusX,
                 std::int32_t radiusY);

    struct Bounds {
        std::int32_t xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    };
    // The path's extent, lines included.
    Bounds GetBounds() const;

    // SHAPEWITHSTYLE for DefineShape version 1 to 4.
    void WriteWithStyles(BitWriter& out, int version) const;
    // SHAPE: records only, for glyphs (the fills are not written).
    void WriteGlyph(BitWriter& out) const;

private:
    struct Record {
        enum class Kind { Style, Straight, Curve } kind = Kind::Style;
        bool move = false;
        bool hasStyle = false;
        bool newStyles = false;
        std::int32_t x = 0, y = 0, cx = 0, cy = 0; // absolute
        std::uint32_t fill0 = 0, fill1 = 0, line = 0;
        std::size_t styleSet = 0; // index into styleSets for newStyles
    };
    struct StyleSet {
        std::vector<Fill> fills;
        std::vector<Line> lines;
    };

    void WriteStyles(BitWriter& out, const StyleSet& set, int version) const;
    void WriteRecords(BitWriter& out, int version, bool glyph) const;

    std::vector<StyleSet> styleSets{1};
    std::vector<Record> records;
    std::int32_t penX = 0, penY = 0;
    std::uint16_t widestLine = 0;
};

} // namespace swfwriter

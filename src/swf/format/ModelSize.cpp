#include "swf/format/ModelSize.h"

namespace swf {

namespace {

std::size_t SizeOf(const FillStyle& fill) {
    return sizeof(FillStyle) + fill.gradient.stops.size() * sizeof(GradientStop);
}

std::size_t SizeOf(const LineStyle& line) {
    return sizeof(LineStyle) + (line.fill ? SizeOf(*line.fill) : 0);
}

std::size_t SizeOf(const StyleArrays& styles) {
    std::size_t size = 0;
    for (const FillStyle& fill : styles.fills) {
        size += SizeOf(fill);
    }
    for (const LineStyle& line : styles.lines) {
        size += SizeOf(line);
    }
    return size;
}

std::size_t SizeOf(const std::vector<ShapeRecord>& records) {
    std::size_t size = records.size() * sizeof(ShapeRecord);
    for (const ShapeRecord& record : records) {
        if (const auto* change = std::get_if<StyleChange>(&record); change && change->newStyles) {
            size += SizeOf(*change->newStyles);
        }
    }
    return size;
}

std::size_t SizeOf(const Shape& shape) {
    return sizeof(Shape) + SizeOf(shape.styles) + SizeOf(shape.records);
}

std::size_t SizeOf(const std::vector<Filter>& filters) {
    std::size_t size = filters.size() * sizeof(Filter);
    for (const Filter& filter : filters) {
        size += filter.colors.size() * sizeof(Rgba) + filter.ratios.size() +
                filter.matrix.size() * sizeof(float);
    }
    return size;
}

struct CharacterSize {
    std::size_t operator()(const Shape& shape) const { return SizeOf(shape); }
    std::size_t operator()(const MorphShape& morph) const {
        std::size_t size =
            sizeof(MorphShape) + SizeOf(morph.startRecords) + SizeOf(morph.endRecords);
        for (const MorphFillStyle& fill : morph.fills) {
            size += SizeOf(fill.start) + SizeOf(fill.end);
        }
        for (const MorphLineStyle& line : morph.lines) {
            size += SizeOf(line.start) + SizeOf(line.end);
        }
        return size;
    }
    std::size_t operator()(const Bitmap& bitmap) const {
        return sizeof(Bitmap) + bitmap.imageData.size() + bitmap.alphaData.size();
    }
    std::size_t operator()(const Font& font) const {
        std::size_t size =
            sizeof(Font) + font.name.size() + font.kerning.size() * sizeof(KerningPair);
        for (const Glyph& glyph : font.glyphs) {
            size += sizeof(Glyph) - sizeof(Shape) + SizeOf(glyph.shape);
        }
        return size;
    }
    std::size_t operator()(const Text& text) const {
        std::size_t size = sizeof(Text) + text.records.size() * sizeof(TextRecord);
        for (const TextRecord& record : text.records) {
            size += record.glyphs.size() * sizeof(GlyphEntry);
        }
        return size;
    }
    std::size_t operator()(const EditText& edit) const {
        return sizeof(EditText) + edit.variableName.size() +
               (edit.initialText ? edit.initialText->size() : 0) +
               (edit.fontClass ? edit.fontClass->size() : 0);
    }
    std::size_t operator()(const Button& button) const {
        std::size_t size = sizeof(Button) + button.actions.size() + button.soundTagBody.size();
        for (const ButtonRecord& record : button.records) {
            size += sizeof(ButtonRecord) + SizeOf(record.filters);
        }
        return size;
    }
    std::size_t operator()(const Sprite& sprite) const {
        std::size_t size = ApproximateSize(sprite.timeline);
        for (const RawTag& tag : sprite.videoFrames) {
            size += ApproximateSize(tag);
        }
        return size;
    }
    std::size_t operator()(const RawCharacter& raw) const { return ApproximateSize(raw.tag); }
};

} // namespace

std::size_t ApproximateSize(const Character& character) {
    return sizeof(Character) + std::visit(CharacterSize{}, character.data);
}

std::size_t ApproximateSize(const DisplayTag& tag) {
    std::size_t size = sizeof(DisplayTag);
    if (const auto* place = std::get_if<PlaceObject>(&tag)) {
        size += place->clipActions.size() + (place->name ? place->name->size() : 0) +
                (place->className ? place->className->size() : 0) +
                (place->filters ? SizeOf(*place->filters) : 0);
    }
    return size;
}

std::size_t ApproximateSize(const RawTag& tag) {
    return sizeof(RawTag) + tag.body.size();
}

std::size_t ApproximateSize(const Timeline& timeline) {
    std::size_t size = sizeof(Timeline) + timeline.frames.size() * sizeof(Frame);
    for (const Frame& frame : timeline.frames) {
        for (const DisplayTag& tag : frame.displayTags) {
            size += ApproximateSize(tag);
        }
        for (const std::string& label : frame.labels) {
            size += sizeof(std::string) + label.size();
        }
        for (const RawTag& tag : frame.actionTags) {
            size += ApproximateSize(tag);
        }
        for (const RawTag& tag : frame.soundTags) {
            size += ApproximateSize(tag);
        }
    }
    return size;
}

} // namespace swf

#include "swf/render/TextPainter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "swf/base/Text.h"

namespace swf {

namespace {

// Text fields keep their text two pixels in from the box.
constexpr double Gutter = 2.0 * TwipsPerPixel;

const Font* FindFont(const Movie& movie, std::optional<CharacterId> id) {
    if (!id) {
        return nullptr;
    }
    const Character* character = movie.Find(*id);
    return character != nullptr ? std::get_if<Font>(&character->data) : nullptr;
}

// One way to measure and draw characters in a field: the embedded font's
// glyphs, or a device font through cairo.
class FieldFont {
public:
    FieldFont(const PaintContext& context, RenderCache& cache, const Movie& movie,
              const EditText& field)
        : context(context), cache(cache) {
        height = field.fontHeight.value_or(240);
        spacing = SpacingOf(field);
        font = FindFont(movie, field.fontId);
        fontId = field.fontId.value_or(0);
        embedded = font != nullptr && field.useOutlines && !font->glyphs.empty();
        if (embedded) {
            const double scale = height / font->emSquare;
            ascent = font->hasLayout ? font->ascent * scale : height * 0.9;
            descent = font->hasLayout ? font->descent * scale : height * 0.2;
        } else {
            family = DeviceFontFamily(font != nullptr ? font->name : std::string("_sans"));
            bold = font != nullptr && font->bold;
            italic = font != nullptr && font->italic;
            Select();
            cairo_font_extents_t extents;
            cairo_font_extents(context.cr, &extents);
            ascent = extents.ascent;
            descent = extents.descent;
        }
    }

    double Ascent() const { return ascent; }
    double Descent() const { return descent; }

    // The advance of one character in twips with the letter spacing.
    double Advance(char32_t code) { return OwnAdvance(code) + spacing.letterSpacing; }

    // How far code moves from where previous (0 at the start of a line)
    // leaves it, in twips, where the field asks for kerning. Only embedded fonts carry
    // kerning pairs.
    double Kerning(char32_t previous, char32_t code) const {
        if (!spacing.kerning || !embedded || previous == 0) {
            return 0.0;
        }
        for (const KerningPair& pair : font->kerning) {
            if (pair.left == previous && pair.right == code) {
                return pair.adjustment * height / font->emSquare;
            }
        }
        return 0.0;
    }

    // The advance of one character in twips, as its font gives it.
    double OwnAdvance(char32_t code) {
        if (embedded) {
            const std::size_t index = GlyphIndex(code);
            if (index >= font->glyphs.size()) {
                return 0.0;
            }
            const Glyph& glyph = font->glyphs[index];
            const double scale = height / font->emSquare;
            if (font->hasLayout) {
                return glyph.advance * scale;
            }
            return glyph.shape.bounds.Width() * scale;
        }
        Select();
        const std::string utf8 = Utf8(code);
        cairo_text_extents_t extents;
        cairo_text_extents(context.cr, utf8.c_str(), &extents);
        return extents.x_advance;
    }

    // Draws one character with its origin on the baseline at (x, y) twips.
    void Draw(char32_t code, double x, double y, const Affine& toDevice, const Rgba& color) {
        if (embedded) {
            const MeasuredOutline* glyph = cache.GlyphOutline(fontId, *font, GlyphIndex(code));
            if (glyph != nullptr) {
                const double scale = height / font->emSquare;
                PaintGeometryFilled(
                    context, *glyph,
                    toDevice * Affine::Translate(x, y) * Affine::Scale(scale, scale), color);
            }
            return;
        }
        if (!IsDrawable(toDevice)) {
            return;
        }
        cairo_t* cr = context.cr;
        cairo_save(cr);
        const cairo_matrix_t m = ToCairo(toDevice);
        cairo_set_matrix(cr, &m);
        Select();
        if (context.maskOnly) {
            cairo_set_source_rgba(cr, 0, 0, 0, 1);
        } else {
            cairo_set_source_rgba(cr, color.r / 255.0, color.g / 255.0, color.b / 255.0,
                                  color.a / 255.0);
        }
        const std::string utf8 = Utf8(code);
        cairo_move_to(cr, x, y);
        cairo_show_text(cr, utf8.c_str());
        cairo_restore(cr);
    }

private:
    std::size_t GlyphIndex(char32_t code) const {
        for (std::size_t i = 0; i < font->glyphs.size(); ++i) {
            if (font->glyphs[i].code == code) {
                return i;
            }
        }
        return font->glyphs.size();
    }

    void Select() {
        cairo_select_font_face(context.cr, family.c_str(),
                               italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                               bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(context.cr, height);
    }

    static std::string Utf8(char32_t code) {
        return text::Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(code)));
    }

    const PaintContext& context;
    RenderCache& cache;
    const Font* font = nullptr;
    CharacterId fontId = 0;
    bool embedded = false;
    std::string family;
    bool bold = false;
    bool italic = false;
    double height = 240;
    FieldSpacing spacing;
    double ascent = 0;
    double descent = 0;
};

std::u32string Decode(std::string_view utf8) {
    std::u32string out;
    const std::u16string wide = text::Utf8ToUtf16(utf8);
    for (char16_t c : wide) {
        out.push_back(c);
    }
    return out;
}

// A text's glyphs drawn with the anti-aliasing its CSMTextSettings ask for,
// as near as cairo comes: advanced anti-aliasing takes cairo's finest.
// Thickness and sharpness, which tune Flash's own rasteriser, have no
// counterpart and are left alone.
class AntialiasScope {
public:
    AntialiasScope(cairo_t* cr, const TextRendering& rendering) : cr(cr) {
        cairo_save(cr);
        if (rendering.advanced) {
            cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
        }
    }
    ~AntialiasScope() { cairo_restore(cr); }
    AntialiasScope(const AntialiasScope&) = delete;
    AntialiasScope& operator=(const AntialiasScope&) = delete;

private:
    cairo_t* cr;
};

// Where a glyph whose origin is (x, y) twips is drawn: fitted to whole
// device pixels when the text asks for it and lies upright, as Flash fits
// such text to the pixel grid.
Affine GlyphOrigin(const Affine& base, double x, double y, const TextRendering& rendering) {
    Affine at = base * Affine::Translate(x, y);
    if (rendering.gridFit == 1 && base.xy == 0 && base.yx == 0) {
        at.x0 = std::round(at.x0);
        at.y0 = std::round(at.y0);
    }
    return at;
}

// The width of a line of text in twips.
double LineWidth(const std::u32string& line, FieldFont& font) {
    double width = 0;
    char32_t previous = 0;
    for (char32_t c : line) {
        width += font.Kerning(previous, c) + font.Advance(c);
        previous = c;
    }
    return width;
}

// Breaks text into the lines the field shows.
std::vector<std::u32string> BreakLines(const std::u32string& text, const EditText& field,
                                       FieldFont& font, double width) {
    std::vector<std::u32string> paragraphs{{}};
    for (char32_t c : text) {
        if (c == U'\r' || c == U'\n') {
            if (field.multiline) {
                paragraphs.emplace_back();
            } else {
                paragraphs.back().push_back(U' ');
            }
        } else {
            paragraphs.back().push_back(c);
        }
    }
    if (!field.wordWrap) {
        return paragraphs;
    }
    std::vector<std::u32string> lines;
    for (const auto& paragraph : paragraphs) {
        std::u32string line;
        double lineWidth = 0;
        std::size_t lastSpace = std::u32string::npos;
        for (char32_t c : paragraph) {
            const double advance =
                font.Kerning(line.empty() ? 0 : line.back(), c) + font.Advance(c);
            if (!line.empty() && lineWidth + advance > width && c != U' ') {
                if (lastSpace != std::u32string::npos) {
                    lines.push_back(line.substr(0, lastSpace));
                    line = line.substr(lastSpace + 1);
                } else {
                    lines.push_back(line);
                    line.clear();
                }
                lineWidth = LineWidth(line, font);
                lastSpace = std::u32string::npos;
            }
            if (c == U' ') {
                lastSpace = line.size();
            }
            line.push_back(c);
            lineWidth += advance;
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace

std::string DeviceFontFamily(const std::string& name) {
    constexpr const char* Sans = "DejaVu Sans";
    constexpr const char* Serif = "DejaVu Serif";
    constexpr const char* Mono = "DejaVu Sans Mono";
    // Whole names first, then words a face's name contains.
    static constexpr std::pair<std::string_view, const char*> names[] = {
        {"_sans", Sans},
        {"_serif", Serif},
        {"_typewriter", Mono},
        {"_\xe3\x82\xb4\xe3\x82\xb7\xe3\x83\x83\xe3\x82\xaf", Sans}, // _gothic
        {"_\xe6\x98\x8e\xe6\x9c\x9d", Serif},                        // _mincho
        {"_\xe7\xad\x89\xe5\xb9\x85", Mono},                         // _tohaba
    };
    static constexpr std::pair<std::string_view, const char*> words[] = {
        {"courier", Mono}, {"mono", Mono},     {"console", Mono},   {"typewriter", Mono},
        {"times", Serif},  {"georgia", Serif}, {"garamond", Serif}, {"palatino", Serif},
        {"serif", Serif},  {"roman", Serif},   {"book", Serif},
    };
    const std::string lower = swf::text::LowerAscii(name);
    for (const auto& [known, family] : names) {
        if (lower == known) {
            return family;
        }
    }
    for (const auto& [word, family] : words) {
        if (lower.find(word) != std::string::npos && lower.find("sans") == std::string::npos) {
            return family;
        }
    }
    return Sans;
}

FieldSpacing SpacingOf(const EditText& field) {
    FieldSpacing spacing;
    if (!field.html || !field.initialText) {
        return spacing;
    }
    const std::string lower = swf::text::LowerAscii(*field.initialText);
    const std::size_t tag = lower.find("<font");
    if (tag == std::string::npos) {
        return spacing;
    }
    const std::string_view attributes =
        std::string_view(lower).substr(tag, lower.find('>', tag) - tag);
    // The value of name="..." (or name=...), if the tag has it.
    const auto value = [&](std::string_view attribute) -> std::optional<std::string> {
        const std::size_t at = attributes.find(attribute);
        if (at == std::string_view::npos) {
            return std::nullopt;
        }
        std::size_t start = at + attribute.size();
        while (start < attributes.size() &&
               (attributes[start] == '"' || attributes[start] == '\'')) {
            ++start;
        }
        std::size_t end = start;
        while (end < attributes.size() && attributes[end] != '"' && attributes[end] != '\'' &&
               attributes[end] != ' ') {
            ++end;
        }
        return std::string(attributes.substr(start, end - start));
    };
    if (const auto letters = value("letterspacing=")) {
        char* end = nullptr;
        const double pixels = std::strtod(letters->c_str(), &end);
        if (end != letters->c_str() && std::isfinite(pixels)) {
            spacing.letterSpacing = std::clamp(pixels, -1000.0, 1000.0) * TwipsPerPixel;
        }
    }
    if (const auto kerning = value("kerning=")) {
        spacing.kerning = *kerning == "1" || *kerning == "true";
    }
    return spacing;
}

std::string PlainFieldText(const EditText& field) {
    const std::string source = field.initialText.value_or("");
    if (!field.html) {
        return source;
    }
    static constexpr std::pair<std::string_view, std::string_view> entities[] = {
        {"&lt;", "<"},    {"&gt;", ">"},   {"&amp;", "&"},
        {"&quot;", "\""}, {"&apos;", "'"}, {"&nbsp;", " "}};
    std::string out;
    for (std::size_t i = 0; i < source.size();) {
        if (source[i] == '<') {
            const std::size_t close = source.find('>', i);
            if (close == std::string::npos) {
                break;
            }
            const std::string tag = swf::text::LowerAscii(source.substr(i + 1, close - i - 1));
            if (tag.starts_with("br") || tag == "/p") {
                out.push_back('\n');
            }
            i = close + 1;
            continue;
        }
        if (source[i] == '&') {
            bool matched = false;
            for (const auto& [name, text] : entities) {
                if (std::string_view(source).substr(i).starts_with(name)) {
                    out.append(text);
                    i += name.size();
                    matched = true;
                    break;
                }
            }
            if (matched) {
                continue;
            }
        }
        out.push_back(source[i++]);
    }
    // A closing paragraph ends the text without an empty line after it.
    if (!out.empty() && out.back() == '\n') {
        out.pop_back();
    }
    return out;
}

void PaintText(const PaintContext& context, RenderCache& cache, const Movie& movie,
               const Text& text, const Affine& toDevice, const ColorMath& color) {
    const Affine base = toDevice * Affine::FromMatrix(text.matrix);
    const TextRendering rendering = text.rendering.value_or(TextRendering{});
    const AntialiasScope antialias(context.cr, rendering);
    const Font* font = nullptr;
    CharacterId fontId = 0;
    double height = 0;
    Rgba textColor;
    double x = 0;
    double y = 0;
    for (const TextRecord& record : text.records) {
        if (record.fontId) {
            fontId = *record.fontId;
            font = FindFont(movie, fontId);
        }
        if (record.height) {
            height = *record.height;
        }
        if (record.color) {
            textColor = *record.color;
        }
        if (record.xOffset) {
            x = *record.xOffset;
        }
        if (record.yOffset) {
            y = *record.yOffset;
        }
        const Rgba shown = color.Apply(textColor);
        for (const GlyphEntry& entry : record.glyphs) {
            if (font != nullptr) {
                if (const MeasuredOutline* glyph = cache.GlyphOutline(fontId, *font, entry.index)) {
                    const double scale = height / font->emSquare;
                    PaintGeometryFilled(
                        context, *glyph,
                        GlyphOrigin(base, x, y, rendering) * Affine::Scale(scale, scale), shown);
                }
            }
            x += entry.advance;
        }
    }
}

void PaintEditText(const PaintContext& context, RenderCache& cache, const Movie& movie,
                   const EditText& field, const Affine& toDevice, const ColorMath& color) {
    cairo_t* cr = context.cr;
    const Rect& box = field.bounds;
    if (field.border && IsDrawable(toDevice)) {
        // A bordered field has a white background and a black hairline edge.
        cairo_save(cr);
        const cairo_matrix_t m = ToCairo(toDevice);
        cairo_set_matrix(cr, &m);
        cairo_rectangle(cr, box.xMin, box.yMin, box.Width(), box.Height());
        const Rgba white =
            context.maskOnly ? Rgba{0, 0, 0, 255} : color.Apply({255, 255, 255, 255});
        cairo_set_source_rgba(cr, white.r / 255.0, white.g / 255.0, white.b / 255.0,
                              white.a / 255.0);
        cairo_fill_preserve(cr);
        const Rgba black = context.maskOnly ? Rgba{0, 0, 0, 255} : color.Apply({0, 0, 0, 255});
        cairo_set_source_rgba(cr, black.r / 255.0, black.g / 255.0, black.b / 255.0,
                              black.a / 255.0);
        cairo_identity_matrix(cr);
        if (toDevice.xy == 0 && toDevice.yx == 0) {
            // An upright box gets a crisp edge: one whole pixel inside it.
            cairo_new_path(cr);
            const auto [x0, y0] = toDevice.Apply(box.xMin, box.yMin);
            const auto [x1, y1] = toDevice.Apply(box.xMax, box.yMax);
            const double left = std::round(std::min(x0, x1)) + 0.5;
            const double top = std::round(std::min(y0, y1)) + 0.5;
            const double right = std::round(std::max(x0, x1)) - 0.5;
            const double bottom = std::round(std::max(y0, y1)) - 0.5;
            cairo_rectangle(cr, left, top, std::max(0.0, right - left),
                            std::max(0.0, bottom - top));
        }
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    const std::u32string text = Decode(PlainFieldText(field));
    if (text.empty()) {
        return;
    }
    FieldFont font(context, cache, movie, field);
    const double left = box.xMin + Gutter + field.leftMargin;
    const double width = box.Width() - 2 * Gutter - field.leftMargin - field.rightMargin;
    const Rgba shown = color.Apply(field.textColor.value_or(Rgba{0, 0, 0, 255}));
    const auto lines = BreakLines(text, field, font, width - field.indent);
    // Text outside the box is not shown.
    cairo_save(cr);
    if (IsDrawable(toDevice)) {
        const cairo_matrix_t m = ToCairo(toDevice);
        cairo_set_matrix(cr, &m);
        cairo_rectangle(cr, box.xMin, box.yMin, box.Width(), box.Height());
        cairo_identity_matrix(cr);
        cairo_clip(cr);
    }
    double baseline = box.yMin + Gutter + font.Ascent();
    bool first = true;
    for (const auto& line : lines) {
        const double lineWidth = LineWidth(line, font);
        double x = left + (first ? field.indent : 0);
        const double room = width - (first ? field.indent : 0) - lineWidth;
        if (field.align == 1) {
            x += room;
        } else if (field.align == 2) {
            x += room / 2;
        }
        char32_t previous = 0;
        for (char32_t c : line) {
            x += font.Kerning(previous, c);
            font.Draw(c, x, baseline, toDevice, shown);
            x += font.Advance(c);
            previous = c;
        }
        baseline += font.Ascent() + font.Descent() + field.leading;
        first = false;
    }
    cairo_restore(cr);
}

} // namespace swf

#include "platform/sim/UiFont.h"

#include <cmath>
#include <string>

#include "platform/Text.h"
#include "platform/sim/Canvas.h"

namespace sim {
namespace {

// A scratch context for measuring text.
class Measuring {
public:
    Measuring() : canvas(1, 1), cairo(canvas.Surface()) {}
    cairo_t* get() const { return cairo.get(); }
    operator cairo_t*() const { return cairo.get(); }

private:
    Canvas canvas;
    CairoContext cairo;
};

} // namespace

void UiFont::Select(cairo_t* cairo, double pixelSize, bool bold) {
    cairo_select_font_face(cairo, kFamily, CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cairo, pixelSize);
}

FontMetrics UiFont::Metrics(double pixelSize, bool bold) {
    Measuring cairo;
    Select(cairo, pixelSize, bold);
    cairo_font_extents_t font;
    cairo_font_extents(cairo, &font);
    cairo_text_extents_t letters;
    cairo_text_extents(cairo, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", &letters);
    FontMetrics metrics;
    metrics.ascent = font.ascent;
    metrics.descent = font.descent;
    metrics.height = font.ascent + font.descent;
    metrics.averageWidth = letters.x_advance / 52.0;
    return metrics;
}

double UiFont::TextWidth(std::u16string_view text, double pixelSize, bool bold) {
    Measuring cairo;
    Select(cairo, pixelSize, bold);
    const std::string utf8 = text::ToUtf8(text);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, utf8.c_str(), &extents);
    return extents.x_advance;
}

void UiFont::Draw(cairo_t* cairo, std::u16string_view text, double x, double top, double pixelSize,
                  bool bold) {
    Select(cairo, pixelSize, bold);
    cairo_font_extents_t font;
    cairo_font_extents(cairo, &font);
    const std::string utf8 = text::ToUtf8(text);
    cairo_move_to(cairo, x, top + font.ascent);
    cairo_show_text(cairo, utf8.c_str());
}

int PointsToPixels(int points, int pixelsPerInch) {
    return static_cast<int>(std::lround(static_cast<double>(points) * pixelsPerInch / 72.0));
}

} // namespace sim

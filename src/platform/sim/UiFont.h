// The device's user-interface font: DejaVu Sans (fonts-dejavu-core), the face
// every dialog font name maps to. Sizes are in pixels (the em height).
#pragma once

#include <cairo.h>

#include <string_view>

namespace sim {

struct FontMetrics {
    double ascent = 0;
    double descent = 0;
    // Ascent plus descent: the height of a line.
    double height = 0;
    // The average width of the letters a-z and A-Z, as dialog base units use it.
    double averageWidth = 0;
};

class UiFont {
public:
    static constexpr const char* kFamily = "DejaVu Sans";

    // Sets the font on a cairo context.
    static void Select(cairo_t* cairo, double pixelSize, bool bold = false);
    static FontMetrics Metrics(double pixelSize, bool bold = false);
    static double TextWidth(std::u16string_view text, double pixelSize, bool bold = false);
    // Draws text with its top-left corner at (x, top), in the context's colour.
    static void Draw(cairo_t* cairo, std::u16string_view text, double x, double top,
                     double pixelSize, bool bold = false);
};

// The pixel size of a font given in points on this screen (as Windows turns a
// dialog template's point size into a height).
int PointsToPixels(int points, int pixelsPerInch);

} // namespace sim

#include "platform/sim/Canvas.h"

#include <algorithm>
#include <cstring>

namespace sim {

Canvas::Canvas(int width, int height)
    : width(std::max(width, 1)), height(std::max(height, 1)),
      surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, this->width, this->height)) {}

Canvas::~Canvas() {
    cairo_surface_destroy(surface);
}

std::uint32_t Canvas::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return 0;
    }
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::uint32_t pixel = 0;
    std::memcpy(&pixel, data + static_cast<std::ptrdiff_t>(y) * stride + x * 4, sizeof pixel);
    return pixel;
}

void Canvas::Clear() {
    CairoContext cairo(surface);
    cairo_set_operator(cairo, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cairo);
}

} // namespace sim

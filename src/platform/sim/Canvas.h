// A block of pixels the device draws into: one for each window (kept between
// paints, so that moving, covering or hiding a window needs no repaint), one
// for the screen's overlay, and the screen itself.
#pragma once

#include <cairo.h>

#include <cstdint>

namespace sim {

class Canvas {
public:
    // Premultiplied ARGB32, cleared to transparent.
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int Width() const { return width; }
    int Height() const { return height; }
    cairo_surface_t* Surface() const { return surface; }
    // The pixel at (x, y) as 0xAARRGGBB (premultiplied), 0 outside.
    std::uint32_t Pixel(int x, int y) const;
    void Clear();

private:
    int width;
    int height;
    cairo_surface_t* surface;
};

// A cairo context that is destroyed with its scope.
class CairoContext {
public:
    explicit CairoContext(cairo_surface_t* surface) : cairo(cairo_create(surface)) {}
    ~CairoContext() { cairo_destroy(cairo); }
    CairoContext(const CairoContext&) = delete;
    CairoContext& operator=(const CairoContext&) = delete;
    cairo_t* get() const { return cairo; }
    operator cairo_t*() const { return cairo; }

private:
    cairo_t* cairo;
};

} // namespace sim

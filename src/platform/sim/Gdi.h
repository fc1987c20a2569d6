// Graphics objects and device contexts: brushes, fonts, bitmaps and icons, and
// the HDCs through which programs and controls draw into a window's canvas
// (clipped to the window) or onto the screen's overlay.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <variant>

#include "platform/ResourceFormats.h"
#include "platform/WinTypes.h"
#include "platform/sim/Canvas.h"

namespace sim {

class Device;
struct Window;

struct Brush {
    COLORREF color = 0;
    // A hollow brush paints nothing.
    bool hollow = false;
};

struct Font {
    // Every face is drawn in the device's UI font; the size and weight count.
    std::u16string face;
    int pixelHeight = 0;
    bool bold = false;
};

// A bitmap or an icon image: straight (not premultiplied) 0xAARRGGBB pixels and
// a cairo surface of them for drawing.
class Picture {
public:
    explicit Picture(res::Image image);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    int Width() const { return image.width; }
    int Height() const { return image.height; }
    const res::Image& Image() const { return image; }
    cairo_surface_t* Surface() const { return surface; }

private:
    res::Image image;
    cairo_surface_t* surface;
};

struct DeviceContext {
    HDC handle = nullptr;
    // The window drawn into, or null for the screen.
    HWND window = nullptr;
    std::shared_ptr<Canvas> canvas;
    cairo_t* cairo = nullptr;
    // From BeginPaint (EndPaint releases it).
    bool paint = false;
    COLORREF textColor = 0;
    COLORREF backColor = 0xFFFFFF;
    int backMode = 2; // OPAQUE
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
};

class Gdi {
public:
    explicit Gdi(Device& device);
    ~Gdi();

    // Objects. Stock objects and system colour brushes are never deleted.
    HGDIOBJ Stock(int index);
    HBRUSH CreateBrush(COLORREF color);
    HBRUSH SystemColorBrush(int index);
    HFONT CreateFont(std::u16string face, int pixelHeight, bool bold);
    HBITMAP CreateBitmap(res::Image image);
    HICON CreateIcon(res::Image image);
    bool Delete(HGDIOBJ object);
    bool DestroyIcon(HICON icon);
    // What a brush handle paints: its colour, or nothing. A background brush
    // may also be a system colour index plus one, as window classes give it.
    bool BrushColor(HBRUSH brush, COLORREF& color) const;
    const Brush* FindBrush(HGDIOBJ object) const;
    const Font* FindFont(HGDIOBJ object) const;
    const Picture* FindBitmap(HGDIOBJ object) const;
    const Picture* FindIcon(HICON icon) const;
    // The device's default font for dialogs and controls.
    HFONT SystemFont();

    // Device contexts. A window's context covers its client area (or the
    // whole window with wholeWindow), clipped to clip (client coordinates)
    // when given.
    HDC OpenWindowContext(Window& window, bool wholeWindow, const RECT* clip, bool paint);
    HDC OpenScreenContext();
    DeviceContext* FindContext(HDC dc);
    bool Close(HDC dc);
    // The canvas of a window at its current size (a new size starts blank).
    std::shared_ptr<Canvas> CanvasOf(Window& window);

private:
    HGDIOBJ Add(std::variant<Brush, Font, std::unique_ptr<Picture>> object, bool stock);

    Device& device;
    struct Object {
        std::variant<Brush, Font, std::unique_ptr<Picture>> value;
        bool stock = false;
    };
    std::unordered_map<std::uintptr_t, Object> objects;
    std::unordered_map<std::uintptr_t, std::unique_ptr<Picture>> icons;
    std::unordered_map<int, HGDIOBJ> stock;
    std::unordered_map<int, HBRUSH> systemBrushes;
    HFONT systemFont = nullptr;
    std::unordered_map<std::uintptr_t, std::unique_ptr<DeviceContext>> contexts;
};

// Sets a cairo source colour from a COLORREF.
void SetSourceColor(cairo_t* cairo, COLORREF color);

} // namespace sim

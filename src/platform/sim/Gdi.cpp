#include "platform/sim/Gdi.h"

#include <algorithm>

#include "platform/Painting.h"
#include "platform/sim/Device.h"
#include "platform/sim/HandleAllocator.h"
#include "platform/sim/Screen.h"
#include "platform/sim/Theme.h"
#include "platform/sim/UiFont.h"
#include "platform/sim/WindowManager.h"

namespace sim {
namespace {

std::uintptr_t Key(const void* handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

// Straight 0xAARRGGBB to cairo's premultiplied ARGB32.
std::uint32_t Premultiply(std::uint32_t pixel) {
    const std::uint32_t a = pixel >> 24;
    if (a == 255) {
        return pixel;
    }
    auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale((pixel >> 16) & 0xFF) << 16) | (scale((pixel >> 8) & 0xFF) << 8) |
           scale(pixel & 0xFF);
}

} // namespace

void SetSourceColor(cairo_t* cairo, COLORREF color) {
    cairo_set_source_rgb(cairo, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         ((color >> 16) & 0xFF) / 255.0);
}

// ---- Pictures ----

Picture::Picture(res::Image picture) : image(std::move(picture)) {
    const int width = std::max(image.width, 1);
    const int height = std::max(image.height, 1);
    surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    if (image.pixels.size() >= count) {
        for (int y = 0; y < image.height; ++y) {
            auto* row =
                reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
            for (int x = 0; x < image.width; ++x) {
                row[x] = Premultiply(image.pixels[static_cast<std::size_t>(y) * image.width + x]);
            }
        }
    }
    cairo_surface_mark_dirty(surface);
}

Picture::~Picture() {
    cairo_surface_destroy(surface);
}

// ---- Objects ----

Gdi::Gdi(Device& device) : device(device) {}

Gdi::~Gdi() {
    for (auto& [key, context] : contexts) {
        cairo_destroy(context->cairo);
    }
}

HGDIOBJ Gdi::Add(std::variant<Brush, Font, std::unique_ptr<Picture>> object, bool isStock) {
    const std::uintptr_t key = device.Handles().NextObject();
    objects.emplace(key, Object{std::move(object), isStock});
    return reinterpret_cast<HGDIOBJ>(key);
}

HGDIOBJ Gdi::Stock(int index) {
    if (const auto it = stock.find(index); it != stock.end()) {
        return it->second;
    }
    HGDIOBJ object = nullptr;
    switch (index) {
    case WHITE_BRUSH:
        object = Add(Brush{RGB(255, 255, 255), false}, true);
        break;
    case LTGRAY_BRUSH:
        object = Add(Brush{RGB(192, 192, 192), false}, true);
        break;
    case GRAY_BRUSH:
        object = Add(Brush{RGB(128, 128, 128), false}, true);
        break;
    case DKGRAY_BRUSH:
        object = Add(Brush{RGB(64, 64, 64), false}, true);
        break;
    case BLACK_BRUSH:
        object = Add(Brush{RGB(0, 0, 0), false}, true);
        break;
    case NULL_BRUSH:
        object = Add(Brush{0, true}, true);
        break;
    case WHITE_PEN:
        object = Add(Brush{RGB(255, 255, 255), false}, true);
        break;
    case BLACK_PEN:
        object = Add(Brush{RGB(0, 0, 0), false}, true);
        break;
    case NULL_PEN:
        object = Add(Brush{0, true}, true);
        break;
    case SYSTEM_FONT:
        object = reinterpret_cast<HGDIOBJ>(SystemFont());
        break;
    default:
        return nullptr;
    }
    stock[index] = object;
    return object;
}

HBRUSH Gdi::CreateBrush(COLORREF color) {
    return reinterpret_cast<HBRUSH>(Add(Brush{color & 0xFFFFFF, false}, false));
}

HBRUSH Gdi::SystemColorBrush(int index) {
    if (!theme::IsSystemColorIndex(index)) {
        return nullptr;
    }
    const int plain = index & ~SYS_COLOR_INDEX_FLAG;
    if (const auto it = systemBrushes.find(plain); it != systemBrushes.end()) {
        return it->second;
    }
    const HBRUSH brush =
        reinterpret_cast<HBRUSH>(Add(Brush{theme::SystemColor(plain), false}, true));
    systemBrushes[plain] = brush;
    return brush;
}

HFONT Gdi::CreateFont(std::u16string face, int pixelHeight, bool bold) {
    return reinterpret_cast<HFONT>(Add(Font{std::move(face), pixelHeight, bold}, false));
}

HFONT Gdi::SystemFont() {
    if (systemFont == nullptr) {
        systemFont = reinterpret_cast<HFONT>(
            Add(Font{u"DejaVu Sans", device.Scale(theme::kUiFontPixels), false}, true));
    }
    return systemFont;
}

HBITMAP Gdi::CreateBitmap(res::Image image) {
    return reinterpret_cast<HBITMAP>(Add(std::make_unique<Picture>(std::move(image)), false));
}

HICON Gdi::CreateIcon(res::Image image) {
    const std::uintptr_t key = device.Handles().NextObject();
    icons.emplace(key, std::make_unique<Picture>(std::move(image)));
    return reinterpret_cast<HICON>(key);
}

bool Gdi::Delete(HGDIOBJ object) {
    const auto it = objects.find(Key(object));
    if (it == objects.end()) {
        return false;
    }
    if (!it->second.stock) {
        objects.erase(it);
    }
    return true;
}

bool Gdi::DestroyIcon(HICON icon) {
    return icons.erase(Key(icon)) != 0;
}

const Brush* Gdi::FindBrush(HGDIOBJ object) const {
    const auto it = objects.find(Key(object));
    return it != objects.end() ? std::get_if<Brush>(&it->second.value) : nullptr;
}

const Font* Gdi::FindFont(HGDIOBJ object) const {
    const auto it = objects.find(Key(object));
    return it != objects.end() ? std::get_if<Font>(&it->second.value) : nullptr;
}

const Picture* Gdi::FindBitmap(HGDIOBJ object) const {
    const auto it = objects.find(Key(object));
    if (it == objects.end()) {
        return nullptr;
    }
    const auto* picture = std::get_if<std::unique_ptr<Picture>>(&it->second.value);
    return picture != nullptr ? picture->get() : nullptr;
}

const Picture* Gdi::FindIcon(HICON icon) const {
    const auto it = icons.find(Key(icon));
    return it != icons.end() ? it->second.get() : nullptr;
}

bool Gdi::BrushColor(HBRUSH brush, COLORREF& color) const {
    if (brush == nullptr) {
        return false;
    }
    if (const Brush* found = FindBrush(reinterpret_cast<HGDIOBJ>(brush))) {
        color = found->color;
        return !found->hollow;
    }
    // A system colour index plus one, as window classes may give it.
    const auto value = static_cast<int>(Key(brush));
    if (theme::IsSystemColorIndex(value - 1)) {
        color = theme::SystemColor(value - 1);
        return true;
    }
    return false;
}

// ---- Device contexts ----

std::shared_ptr<Canvas> Gdi::CanvasOf(Window& window) {
    const int width = std::max(window.Width(), 1);
    const int height = std::max(window.Height(), 1);
    if (!window.canvas || window.canvas->Width() != width || window.canvas->Height() != height) {
        window.canvas = std::make_shared<Canvas>(width, height);
    }
    return window.canvas;
}

HDC Gdi::OpenWindowContext(Window& window, bool wholeWindow, const RECT* clip, bool paint) {
    auto context = std::make_unique<DeviceContext>();
    context->window = window.handle;
    context->canvas = CanvasOf(window);
    context->cairo = cairo_create(context->canvas->Surface());
    context->paint = paint;
    context->brush = Stock(WHITE_BRUSH);
    context->font = SystemFont();
    if (!wholeWindow) {
        // Client coordinates, clipped to the client area.
        cairo_translate(context->cairo, window.client.left, window.client.top);
        cairo_rectangle(context->cairo, 0, 0, window.ClientWidth(), window.ClientHeight());
        cairo_clip(context->cairo);
    }
    if (clip != nullptr) {
        cairo_rectangle(context->cairo, clip->left, clip->top, clip->right - clip->left,
                        clip->bottom - clip->top);
        cairo_clip(context->cairo);
    }
    const std::uintptr_t key = device.Handles().NextObject();
    context->handle = reinterpret_cast<HDC>(key);
    const HDC handle = context->handle;
    contexts.emplace(key, std::move(context));
    return handle;
}

HDC Gdi::OpenScreenContext() {
    auto context = std::make_unique<DeviceContext>();
    context->canvas = device.GetScreen().Overlay();
    context->cairo = cairo_create(context->canvas->Surface());
    context->brush = Stock(WHITE_BRUSH);
    context->font = SystemFont();
    const std::uintptr_t key = device.Handles().NextObject();
    context->handle = reinterpret_cast<HDC>(key);
    const HDC handle = context->handle;
    contexts.emplace(key, std::move(context));
    return handle;
}

DeviceContext* Gdi::FindContext(HDC dc) {
    const auto it = contexts.find(Key(dc));
    return it != contexts.end() ? it->second.get() : nullptr;
}

bool Gdi::Close(HDC dc) {
    const auto it = contexts.find(Key(dc));
    if (it == contexts.end()) {
        return false;
    }
    cairo_surface_flush(it->second->canvas->Surface());
    cairo_destroy(it->second->cairo);
    contexts.erase(it);
    return true;
}

} // namespace sim

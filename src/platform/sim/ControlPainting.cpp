#include "platform/sim/ControlPainting.h"

#include "platform/sim/Device.h"
#include "platform/sim/Gdi.h"
#include "platform/sim/UiFont.h"

namespace sim::paint {
namespace {

const sim::Picture* FindPicture(HANDLE handle) {
    Device* device = Device::Current();
    if (device == nullptr || handle == nullptr) {
        return nullptr;
    }
    if (const sim::Picture* bitmap = device->Graphics().FindBitmap(handle)) {
        return bitmap;
    }
    return device->Graphics().FindIcon(static_cast<HICON>(handle));
}

} // namespace

cairo_t* CairoOf(HDC dc) {
    Device* device = Device::Current();
    DeviceContext* context = device != nullptr ? device->Graphics().FindContext(dc) : nullptr;
    return context != nullptr ? context->cairo : nullptr;
}

int Scale(int pixels96) {
    const Device* device = Device::Current();
    return device != nullptr ? device->Scale(pixels96) : pixels96;
}

double UiFontSize() {
    return Scale(theme::kUiFontPixels);
}

double FontSize(HFONT font) {
    Device* device = Device::Current();
    const Font* found =
        device != nullptr && font != nullptr ? device->Graphics().FindFont(font) : nullptr;
    return found != nullptr && found->pixelHeight > 0 ? found->pixelHeight : UiFontSize();
}

double TextWidth(std::u16string_view text, double size, bool bold) {
    return UiFont::TextWidth(text, size, bold);
}

double LineHeight(double size, bool bold) {
    return UiFont::Metrics(size, bold).height;
}

void Text(cairo_t* cairo, std::u16string_view text, double x, double top, COLORREF color,
          double size, bool bold) {
    SetSourceColor(cairo, color);
    UiFont::Draw(cairo, text, x, top, size, bold);
}

void TextCentered(cairo_t* cairo, std::u16string_view text, const RECT& rect, COLORREF color,
                  double size, bool bold) {
    const double width = TextWidth(text, size, bold);
    const double height = LineHeight(size, bold);
    Text(cairo, text, rect.left + (rect.right - rect.left - width) / 2,
         rect.top + (rect.bottom - rect.top - height) / 2, color, size, bold);
}

void Fill(cairo_t* cairo, const RECT& rect, COLORREF color) {
    SetSourceColor(cairo, color);
    cairo_rectangle(cairo, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    cairo_fill(cairo);
}

void Frame(cairo_t* cairo, const RECT& rect, COLORREF color, double width) {
    SetSourceColor(cairo, color);
    cairo_set_line_width(cairo, width);
    cairo_rectangle(cairo, rect.left + width / 2, rect.top + width / 2,
                    rect.right - rect.left - width, rect.bottom - rect.top - width);
    cairo_stroke(cairo);
}

void VerticalGradient(cairo_t* cairo, const RECT& rect, COLORREF top, COLORREF bottom) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, rect.top, 0, rect.bottom);
    auto stop = [gradient](double offset, COLORREF color) {
        cairo_pattern_add_color_stop_rgb(gradient, offset, (color & 0xFF) / 255.0,
                                         ((color >> 8) & 0xFF) / 255.0,
                                         ((color >> 16) & 0xFF) / 255.0);
    };
    stop(0, top);
    stop(1, bottom);
    cairo_set_source(cairo, gradient);
    cairo_rectangle(cairo, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    cairo_fill(cairo);
    cairo_pattern_destroy(gradient);
}

bool DrawPicture(cairo_t* cairo, HANDLE picture, int x, int y) {
    const sim::Picture* found = FindPicture(picture);
    if (found == nullptr) {
        return false;
    }
    cairo_set_source_surface(cairo, found->Surface(), x, y);
    cairo_paint(cairo);
    return true;
}

bool DrawPictureScaled(cairo_t* cairo, HANDLE picture, const RECT& rect) {
    const sim::Picture* found = FindPicture(picture);
    if (found == nullptr || found->Width() <= 0 || found->Height() <= 0) {
        return false;
    }
    cairo_save(cairo);
    cairo_translate(cairo, rect.left, rect.top);
    cairo_scale(cairo, static_cast<double>(rect.right - rect.left) / found->Width(),
                static_cast<double>(rect.bottom - rect.top) / found->Height());
    cairo_set_source_surface(cairo, found->Surface(), 0, 0);
    cairo_paint(cairo);
    cairo_restore(cairo);
    return true;
}

SIZE PictureSize(HANDLE picture) {
    const sim::Picture* found = FindPicture(picture);
    return found != nullptr ? SIZE{found->Width(), found->Height()} : SIZE{};
}

} // namespace sim::paint

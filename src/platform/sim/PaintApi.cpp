// The painting functions of platform/Painting.h.
#include "platform/Painting.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Messages.h"
#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/Gdi.h"
#include "platform/sim/Messaging.h"
#include "platform/sim/Theme.h"
#include "platform/sim/UiFont.h"

using sim::Device;
using sim::DeviceContext;
using sim::Window;

namespace {

sim::Gdi* Graphics() {
    Device* device = Device::Current();
    return device != nullptr ? &device->Graphics() : nullptr;
}

DeviceContext* Context(HDC dc) {
    sim::Gdi* gdi = Graphics();
    DeviceContext* context = gdi != nullptr ? gdi->FindContext(dc) : nullptr;
    if (context == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
    }
    return context;
}

void FillArea(cairo_t* cairo, double x, double y, double width, double height, COLORREF color) {
    sim::SetSourceColor(cairo, color);
    cairo_rectangle(cairo, x, y, width, height);
    cairo_fill(cairo);
}

// A 32-bit device-independent bitmap as a top-down cairo surface, or null for
// any other format. The surface may read bits in place: it must go before
// they do.
cairo_surface_t* SurfaceFromDib(LPCVOID bits, const BITMAPINFO* info) {
    if (bits == nullptr || info == nullptr) {
        return nullptr;
    }
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biBitCount != 32 ||
        (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS) ||
        header.biWidth <= 0 || header.biHeight == 0) {
        return nullptr;
    }
    const int width = header.biWidth;
    const int height = header.biHeight > 0 ? header.biHeight : -header.biHeight;
    const bool bottomUp = header.biHeight > 0;
    if (!bottomUp && cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width) == width * 4) {
        // A top-down bitmap's rows are cairo's RGB24 rows as they stand: the
        // surface reads them where they are (it is only ever a source, and
        // goes before the call returns), with no copy of a whole picture.
        return cairo_image_surface_create_for_data(
            static_cast<unsigned char*>(const_cast<void*>(bits)), CAIRO_FORMAT_RGB24, width, height,
            width * 4);
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const auto* source = static_cast<const unsigned char*>(bits);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < height; ++y) {
        const int sourceRow = bottomUp ? height - 1 - y : y;
        // Blue, green, red, unused: the same bytes as cairo's RGB24.
        std::memcpy(data + static_cast<std::ptrdiff_t>(y) * stride,
                    source + static_cast<std::size_t>(sourceRow) * rowBytes, rowBytes);
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

// Removes "&" mnemonics ("&&" stays one "&").
std::u16string WithoutPrefixes(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
        }
        out.push_back(text[i]);
    }
    return out;
}

// Breaks text into lines that fit width (at spaces), and at line ends.
std::vector<std::u16string> BreakLines(const std::u16string& text, double width, double size,
                                       bool wordBreak, bool singleLine) {
    std::vector<std::u16string> lines;
    std::vector<std::u16string> paragraphs;
    if (singleLine) {
        std::u16string flat = text;
        std::replace(flat.begin(), flat.end(), u'\n', u' ');
        flat.erase(std::remove(flat.begin(), flat.end(), u'\r'), flat.end());
        paragraphs.push_back(flat);
    } else {
        std::size_t start = 0;
        for (;;) {
            const std::size_t end = text.find(u'\n', start);
            std::u16string line =
                text.substr(start, end == std::u16string::npos ? end : end - start);
            line.erase(std::remove(line.begin(), line.end(), u'\r'), line.end());
            paragraphs.push_back(line);
            if (end == std::u16string::npos) {
                break;
            }
            start = end + 1;
        }
    }
    for (const std::u16string& paragraph : paragraphs) {
        if (!wordBreak || sim::UiFont::TextWidth(paragraph, size) <= width) {
            lines.push_back(paragraph);
            continue;
        }
        std::u16string line;
        std::size_t position = 0;
        while (position <= paragraph.size()) {
            std::size_t space = paragraph.find(u' ', position);
            if (space == std::u16string::npos) {
                space = paragraph.size();
            }
            const std::u16string word = paragraph.substr(position, space - position);
            const std::u16string candidate = line.empty() ? word : line + u" " + word;
            if (!line.empty() && sim::UiFont::TextWidth(candidate, size) > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
            position = space + 1;
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace

// ---- The paint cycle ----

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr || paint == nullptr) {
        return nullptr;
    }
    Device& device = *Device::Current();
    if (window->frameNeeded) {
        sim::SendToWindow(*window, WM_NCPAINT, 1, 0);
        window = sim::LookUpWindow(handle);
        if (window == nullptr) {
            return nullptr;
        }
        window->frameNeeded = false;
    }
    const RECT update = window->update;
    const bool erase = window->eraseNeeded;
    device.Windows().Validate(*window, nullptr);
    const HDC dc = device.Graphics().OpenWindowContext(*window, false, &update, true);
    *paint = PAINTSTRUCT{};
    paint->hdc = dc;
    paint->rcPaint = update;
    paint->fErase = FALSE;
    if (erase && !IsRectEmpty(&update)) {
        paint->fErase = sim::SendToWindow(*window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)
                            ? FALSE
                            : TRUE;
    }
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    sim::Gdi* gdi = Graphics();
    if (gdi == nullptr || paint == nullptr) {
        return FALSE;
    }
    gdi->Close(paint->hdc);
    return TRUE;
}

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    Device* device = Device::Current();
    if (device == nullptr) {
        return FALSE;
    }
    if (handle == nullptr) {
        for (Window* window : device->Windows().AllWindows()) {
            device->Windows().Invalidate(*window, nullptr, true);
        }
        return TRUE;
    }
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    device->Windows().Invalidate(*window, rect, erase != FALSE);
    return TRUE;
}

BOOL ValidateRect(HWND handle, const RECT* rect) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    Device::Current()->Windows().Validate(*window, rect);
    return TRUE;
}

BOOL GetUpdateRect(HWND handle, RECT* rect, BOOL erase) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (rect != nullptr) {
        *rect = window->update;
    }
    if (erase && window->eraseNeeded && !IsRectEmpty(&window->update)) {
        const HDC dc = GetDC(handle);
        window->eraseNeeded =
            sim::SendToWindow(*window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) == 0;
        ReleaseDC(handle, dc);
    }
    return IsRectEmpty(&window->update) ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND handle) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    Device& device = *Device::Current();
    if (device.Windows().NeedsPaint(*window)) {
        sim::SendToWindow(*window, WM_PAINT, 0, 0);
    }
    return TRUE;
}

// ---- Device contexts ----

HDC GetDC(HWND handle) {
    sim::Gdi* gdi = Graphics();
    if (gdi == nullptr) {
        return nullptr;
    }
    if (handle == nullptr) {
        return gdi->OpenScreenContext();
    }
    Window* window = sim::LookUpWindow(handle);
    return window != nullptr ? gdi->OpenWindowContext(*window, false, nullptr, false) : nullptr;
}

HDC GetWindowDC(HWND handle) {
    sim::Gdi* gdi = Graphics();
    if (gdi == nullptr) {
        return nullptr;
    }
    if (handle == nullptr) {
        return gdi->OpenScreenContext();
    }
    Window* window = sim::LookUpWindow(handle);
    return window != nullptr ? gdi->OpenWindowContext(*window, true, nullptr, false) : nullptr;
}

int ReleaseDC(HWND, HDC dc) {
    sim::Gdi* gdi = Graphics();
    return gdi != nullptr && gdi->Close(dc) ? 1 : 0;
}

int GetDeviceCaps(HDC dc, int index) {
    const Device* device = Device::Current();
    if (device == nullptr || Context(dc) == nullptr) {
        return 0;
    }
    switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return device->PixelsPerInch();
    case HORZRES:
        return device->ScreenWidth();
    case VERTRES:
        return device->ScreenHeight();
    case HORZSIZE:
        return device->ScreenWidth() * 254 / (device->PixelsPerInch() * 10);
    case VERTSIZE:
        return device->ScreenHeight() * 254 / (device->PixelsPerInch() * 10);
    case BITSPIXEL:
        return 32;
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    default:
        return 0;
    }
}

// ---- Colours and objects ----

DWORD GetSysColor(int index) {
    return sim::theme::SystemColor(index);
}

HBRUSH GetSysColorBrush(int index) {
    sim::Gdi* gdi = Graphics();
    return gdi != nullptr ? gdi->SystemColorBrush(index) : nullptr;
}

HGDIOBJ GetStockObject(int index) {
    sim::Gdi* gdi = Graphics();
    return gdi != nullptr ? gdi->Stock(index) : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    sim::Gdi* gdi = Graphics();
    return gdi != nullptr ? gdi->CreateBrush(color) : nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
    sim::Gdi* gdi = Graphics();
    return gdi != nullptr && gdi->Delete(object) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    DeviceContext* context = Context(dc);
    sim::Gdi* gdi = Graphics();
    if (context == nullptr || gdi == nullptr) {
        return nullptr;
    }
    if (gdi->FindBrush(object) != nullptr) {
        return std::exchange(context->brush, object);
    }
    if (gdi->FindFont(object) != nullptr) {
        return std::exchange(context->font, object);
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DeviceContext* context = Context(dc);
    if (context == nullptr || rect == nullptr) {
        return 0;
    }
    COLORREF color = 0;
    if (!Graphics()->BrushColor(brush, color)) {
        return Graphics()->FindBrush(reinterpret_cast<HGDIOBJ>(brush)) != nullptr ? 1 : 0;
    }
    FillArea(context->cairo, rect->left, rect->top, rect->right - rect->left,
             rect->bottom - rect->top, color);
    return 1;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    DeviceContext* context = Context(dc);
    return context != nullptr ? std::exchange(context->textColor, color) : 0xFFFFFFFF;
}

COLORREF SetBkColor(HDC dc, COLORREF color) {
    DeviceContext* context = Context(dc);
    return context != nullptr ? std::exchange(context->backColor, color) : 0xFFFFFFFF;
}

int SetBkMode(HDC dc, int mode) {
    DeviceContext* context = Context(dc);
    if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) {
        return 0;
    }
    return std::exchange(context->backMode, mode);
}

int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format) {
    DeviceContext* context = Context(dc);
    if (context == nullptr || text == nullptr || rect == nullptr) {
        return 0;
    }
    const std::size_t length = count < 0 ? text::Length(text) : static_cast<std::size_t>(count);
    std::u16string content(text, text + length);
    if ((format & DT_NOPREFIX) == 0) {
        content = WithoutPrefixes(content);
    }
    const sim::Font* font = Graphics()->FindFont(context->font);
    const double size = font != nullptr && font->pixelHeight > 0
                            ? font->pixelHeight
                            : Device::Current()->Scale(sim::theme::kUiFontPixels);
    const bool bold = font != nullptr && font->bold;
    const sim::FontMetrics metrics = sim::UiFont::Metrics(size, bold);
    const double width = rect->right - rect->left;
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    const auto lines = BreakLines(content, width, size, (format & DT_WORDBREAK) != 0, singleLine);
    const double lineHeight = std::ceil(metrics.height);
    const double textHeight = lineHeight * static_cast<double>(lines.size());

    if ((format & DT_CALCRECT) != 0) {
        double widest = 0;
        for (const auto& line : lines) {
            widest = std::max(widest, sim::UiFont::TextWidth(line, size, bold));
        }
        rect->right = rect->left + static_cast<LONG>(std::ceil(widest));
        rect->bottom = rect->top + static_cast<LONG>(textHeight);
        return static_cast<int>(textHeight);
    }
    cairo_t* cairo = context->cairo;
    cairo_save(cairo);
    if ((format & DT_NOCLIP) == 0) {
        cairo_rectangle(cairo, rect->left, rect->top, width, rect->bottom - rect->top);
        cairo_clip(cairo);
    }
    double top = rect->top;
    if (singleLine && (format & DT_VCENTER) != 0) {
        top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
    } else if (singleLine && (format & DT_BOTTOM) != 0) {
        top = rect->bottom - lineHeight;
    }
    for (const auto& line : lines) {
        const double lineWidth = sim::UiFont::TextWidth(line, size, bold);
        double left = rect->left;
        if ((format & DT_CENTER) != 0) {
            left = rect->left + (width - lineWidth) / 2;
        } else if ((format & DT_RIGHT) != 0) {
            left = rect->right - lineWidth;
        }
        if (context->backMode == OPAQUE) {
            FillArea(cairo, left, top, lineWidth, lineHeight, context->backColor);
        }
        sim::SetSourceColor(cairo, context->textColor);
        sim::UiFont::Draw(cairo, line, left, top, size, bold);
        top += lineHeight;
    }
    cairo_restore(cairo);
    return static_cast<int>(textHeight);
}

// ---- Device-independent bitmaps ----

int SetDIBitsToDevice(HDC dc, int destX, int destY, DWORD width, DWORD height, int srcX, int srcY,
                      UINT startScan, UINT scanLines, LPCVOID bits, const BITMAPINFO* info,
                      UINT colorUse) {
    DeviceContext* context = Context(dc);
    if (context == nullptr || colorUse != DIB_RGB_COLORS || info == nullptr) {
        return 0;
    }
    const LONG imageHeight =
        info->bmiHeader.biHeight > 0 ? info->bmiHeader.biHeight : -info->bmiHeader.biHeight;
    // Bands of a bitmap are not supported: the whole image comes at once.
    if (startScan != 0 || scanLines != static_cast<UINT>(imageHeight)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    cairo_surface_t* source = SurfaceFromDib(bits, info);
    if (source == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // A bottom-up bitmap's source y counts from its bottom row.
    const int sourceTop = info->bmiHeader.biHeight > 0
                              ? static_cast<int>(imageHeight) - srcY - static_cast<int>(height)
                              : srcY;
    cairo_t* cairo = context->cairo;
    cairo_save(cairo);
    cairo_rectangle(cairo, destX, destY, width, height);
    cairo_clip(cairo);
    cairo_set_source_surface(cairo, source, destX - srcX, destY - sourceTop);
    cairo_paint(cairo);
    cairo_restore(cairo);
    cairo_surface_destroy(source);
    return static_cast<int>(scanLines);
}

int StretchDIBits(HDC dc, int destX, int destY, int destWidth, int destHeight, int srcX, int srcY,
                  int srcWidth, int srcHeight, LPCVOID bits, const BITMAPINFO* info, UINT colorUse,
                  DWORD rop) {
    DeviceContext* context = Context(dc);
    if (context == nullptr || colorUse != DIB_RGB_COLORS || rop != SRCCOPY || info == nullptr ||
        destWidth <= 0 || destHeight <= 0 || srcWidth <= 0 || srcHeight <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    cairo_surface_t* source = SurfaceFromDib(bits, info);
    if (source == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const LONG imageHeight =
        info->bmiHeader.biHeight > 0 ? info->bmiHeader.biHeight : -info->bmiHeader.biHeight;
    const int sourceTop =
        info->bmiHeader.biHeight > 0 ? static_cast<int>(imageHeight) - srcY - srcHeight : srcY;
    cairo_t* cairo = context->cairo;
    cairo_save(cairo);
    cairo_rectangle(cairo, destX, destY, destWidth, destHeight);
    cairo_clip(cairo);
    cairo_translate(cairo, destX, destY);
    cairo_scale(cairo, static_cast<double>(destWidth) / srcWidth,
                static_cast<double>(destHeight) / srcHeight);
    cairo_set_source_surface(cairo, source, -srcX, -sourceTop);
    // Pixels are repeated or dropped, as Win32's default stretching mode does,
    // never blended.
    cairo_pattern_set_filter(cairo_get_source(cairo), CAIRO_FILTER_NEAREST);
    cairo_pattern_set_extend(cairo_get_source(cairo), CAIRO_EXTEND_PAD);
    cairo_paint(cairo);
    cairo_restore(cairo);
    cairo_surface_destroy(source);
    return static_cast<int>(imageHeight);
}

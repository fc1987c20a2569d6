#include "platform/sim/ControlPaint.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/Window.h"

namespace sim::paint {
namespace {

BYTE Red(COLORREF c) {
    return static_cast<BYTE>(c & 0xFF);
}
BYTE Green(COLORREF c) {
    return static_cast<BYTE>((c >> 8) & 0xFF);
}
BYTE Blue(COLORREF c) {
    return static_cast<BYTE>((c >> 16) & 0xFF);
}

// A brush for one fill, deleted after it.
class SolidBrush {
public:
    explicit SolidBrush(COLORREF colour) : brush(CreateSolidBrush(colour)) {}
    ~SolidBrush() {
        if (brush != nullptr) {
            DeleteObject(reinterpret_cast<HGDIOBJ>(brush));
        }
    }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    HBRUSH Get() const { return brush; }

private:
    HBRUSH brush;
};

std::uint32_t Blend(std::uint32_t argb, COLORREF background) {
    const std::uint32_t alpha = argb >> 24;
    const auto mix = [alpha](std::uint32_t fore, std::uint32_t back) {
        return (fore * alpha + back * (255 - alpha) + 127) / 255;
    };
    const std::uint32_t r = mix((argb >> 16) & 0xFF, Red(background));
    const std::uint32_t g = mix((argb >> 8) & 0xFF, Green(background));
    const std::uint32_t b = mix(argb & 0xFF, Blue(background));
    return (r << 16) | (g << 8) | b;
}

std::uint32_t Greyed(std::uint32_t rgb, COLORREF background) {
    // Halfway to the background, in grey: plainly unavailable, still legible.
    const std::uint32_t grey =
        (((rgb >> 16) & 0xFF) * 30 + ((rgb >> 8) & 0xFF) * 59 + (rgb & 0xFF) * 11) / 100;
    const auto half = [grey](std::uint32_t back) { return (grey + back) / 2; };
    return (half(Red(background)) << 16) | (half(Green(background)) << 8) | half(Blue(background));
}

} // namespace

Palette Palette::System() {
    return Palette{GetSysColor(COLOR_WINDOW),        GetSysColor(COLOR_WINDOWTEXT),
                   GetSysColor(COLOR_BTNFACE),       GetSysColor(COLOR_BTNTEXT),
                   GetSysColor(COLOR_BTNSHADOW),     GetSysColor(COLOR_HIGHLIGHT),
                   GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_GRAYTEXT),
                   GetSysColor(COLOR_WINDOWFRAME)};
}

WindowDC::WindowDC(HWND window) : window(window), dc(GetDC(window)) {}

WindowDC::~WindowDC() {
    if (dc != nullptr) {
        ReleaseDC(window, dc);
    }
}

PaintCycle::PaintCycle(HWND window) : window(window) {
    BeginPaint(window, &paint);
    GetClientRect(window, &client);
}

PaintCycle::~PaintCycle() {
    EndPaint(window, &paint);
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    const SolidBrush brush(colour);
    FillRect(dc, &rect, brush.Get());
}

void Frame(HDC dc, const RECT& rect, COLORREF colour, int thickness) {
    const int t = std::max(1, thickness);
    Fill(dc, RECT{rect.left, rect.top, rect.right, rect.top + t}, colour);
    Fill(dc, RECT{rect.left, rect.bottom - t, rect.right, rect.bottom}, colour);
    Fill(dc, RECT{rect.left, rect.top + t, rect.left + t, rect.bottom - t}, colour);
    Fill(dc, RECT{rect.right - t, rect.top + t, rect.right, rect.bottom - t}, colour);
}

void HorizontalLine(HDC dc, int left, int right, int y, COLORREF colour, int thickness) {
    Fill(dc, RECT{left, y, right, y + std::max(1, thickness)}, colour);
}

COLORREF Mix(COLORREF a, COLORREF b, int part, int whole) {
    if (whole <= 0) {
        return a;
    }
    const auto channel = [part, whole](BYTE from, BYTE to) {
        return static_cast<BYTE>(from + (static_cast<int>(to) - from) * part / whole);
    };
    return RGB(channel(Red(a), Red(b)), channel(Green(a), Green(b)), channel(Blue(a), Blue(b)));
}

void VerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
    const int height = rect.bottom - rect.top;
    for (int row = 0; row < height; ++row) {
        Fill(dc, RECT{rect.left, rect.top + row, rect.right, rect.top + row + 1},
             Mix(top, bottom, row, std::max(1, height - 1)));
    }
}

void Text(HDC dc, const RECT& rect, std::u16string_view text, COLORREF colour, UINT format) {
    if (text.empty()) {
        return;
    }
    const std::u16string copy(text);
    RECT box = rect;
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, copy.c_str(), static_cast<int>(copy.size()), &box, format);
}

int TextWidth(HDC dc, std::u16string_view text) {
    if (text.empty()) {
        return 0;
    }
    const std::u16string copy(text);
    RECT box{0, 0, 0, 0};
    DrawTextW(dc, copy.c_str(), static_cast<int>(copy.size()), &box,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return box.right - box.left;
}

int TextHeight(HDC dc) {
    RECT box{0, 0, 0, 0};
    return DrawTextW(dc, u"Ag", 2, &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
}

void Image(HDC dc, const res::Image& image, int x, int y, COLORREF background, bool disabled) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < static_cast<std::size_t>(image.width) * image.height) {
        return;
    }
    std::vector<std::uint32_t> rows(image.pixels.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::uint32_t rgb = Blend(image.pixels[i], background);
        rows[i] = disabled ? Greyed(rgb, background) : rgb;
    }
    BITMAPINFO info{};
    info.bmiHeader.biWidth = image.width;
    // Top-down rows.
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(image.width), static_cast<DWORD>(image.height),
                      0, 0, 0, static_cast<UINT>(image.height), rows.data(), &info, DIB_RGB_COLORS);
}

void CheckMark(HDC dc, const RECT& box, COLORREF colour) {
    // A tick of two strokes, each two pixels thick: down to the right for a
    // third of the width, then up to the top-right.
    const int size = std::min(box.right - box.left, box.bottom - box.top);
    if (size < 4) {
        return;
    }
    const int width = size - size / 4;
    const int left = box.left + (box.right - box.left - width) / 2;
    const int bottom = box.top + (box.bottom - box.top) / 2 + width / 3;
    const int thick = std::max(2, size / 6);
    const int turn = width / 3;
    for (int i = 0; i < width; ++i) {
        const int y = i <= turn ? bottom - (turn - i) : bottom - (i - turn);
        Fill(dc, RECT{left + i, y - thick, left + i + 1, y}, colour);
    }
}

void RadioDot(HDC dc, const RECT& box, COLORREF colour) {
    const int size = std::min(box.right - box.left, box.bottom - box.top) / 2;
    if (size < 2) {
        return;
    }
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    const int r = size / 2 + 1;
    // A disc, one row at a time.
    for (int dy = -r; dy <= r; ++dy) {
        int half = 0;
        while ((half + 1) * (half + 1) + dy * dy <= r * r) {
            ++half;
        }
        Fill(dc, RECT{cx - half, cy + dy, cx + half + 1, cy + dy + 1}, colour);
    }
}

void Arrow(HDC dc, const RECT& box, Direction direction, COLORREF colour) {
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    const int size = std::max(1, std::min(w, h) / 2);
    const int cx = box.left + w / 2;
    const int cy = box.top + h / 2;
    for (int i = 0; i < size; ++i) {
        // Row (or column) i of the triangle is 2 * i + 1 pixels long.
        switch (direction) {
        case Direction::Down:
            Fill(dc,
                 RECT{cx - (size - 1 - i), cy - size / 2 + i, cx + (size - i),
                      cy - size / 2 + i + 1},
                 colour);
            break;
        case Direction::Up:
            Fill(dc, RECT{cx - i, cy - size / 2 + i, cx + i + 1, cy - size / 2 + i + 1}, colour);
            break;
        case Direction::Right:
            Fill(dc,
                 RECT{cx - size / 2 + i, cy - (size - 1 - i), cx - size / 2 + i + 1,
                      cy + (size - i)},
                 colour);
            break;
        case Direction::Left:
            Fill(dc, RECT{cx - size / 2 + i, cy - i, cx - size / 2 + i + 1, cy + i + 1}, colour);
            break;
        }
    }
}

std::u16string WithoutMnemonics(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&') {
                out += u'&';
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

} // namespace sim::paint

// Drawing the device's controls the Pocket PC way, plainly and legibly: filled
// rectangles, one-pixel frames, text in the user-interface font, images, and
// the small marks (check, radio dot, arrows) built from rectangles. Everything
// goes through the device's own painting calls.
#pragma once

#include <string_view>

#include "platform/Painting.h"
#include "platform/ResourceFormats.h"
#include "platform/WinTypes.h"

namespace sim::paint {

// The colours of the controls, read from the system colours.
struct Palette {
    COLORREF window;
    COLORREF windowText;
    COLORREF face;
    COLORREF faceText;
    COLORREF shadow;
    COLORREF highlight;
    COLORREF highlightText;
    COLORREF grayText;
    COLORREF frame;

    static Palette System();
};

// A device context for measuring or drawing outside a paint cycle.
class WindowDC {
public:
    explicit WindowDC(HWND window);
    ~WindowDC();
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC Get() const { return dc; }

private:
    HWND window;
    HDC dc;
};

// BeginPaint and EndPaint around a control's WM_PAINT.
class PaintCycle {
public:
    explicit PaintCycle(HWND window);
    ~PaintCycle();
    PaintCycle(const PaintCycle&) = delete;
    PaintCycle& operator=(const PaintCycle&) = delete;
    HDC Dc() const { return paint.hdc; }
    const RECT& Client() const { return client; }

private:
    HWND window;
    PAINTSTRUCT paint;
    RECT client;
};

void Fill(HDC dc, const RECT& rect, COLORREF colour);
// A frame of `thickness` pixels just inside the rectangle.
void Frame(HDC dc, const RECT& rect, COLORREF colour, int thickness = 1);
void HorizontalLine(HDC dc, int left, int right, int y, COLORREF colour, int thickness = 1);
// Fills the rectangle row by row from `top` at its top to `bottom` at its
// bottom.
void VerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
// The colour `part` of `whole` of the way from a to b.
COLORREF Mix(COLORREF a, COLORREF b, int part, int whole);

// Text on a transparent background. format takes the DT_* flags; '&' is shown
// as it is unless the caller leaves out DT_NOPREFIX.
void Text(HDC dc, const RECT& rect, std::u16string_view text, COLORREF colour, UINT format);
int TextWidth(HDC dc, std::u16string_view text);
int TextHeight(HDC dc);

// An image with its transparent pixels showing `background`; a disabled image
// is drawn greyed.
void Image(HDC dc, const res::Image& image, int x, int y, COLORREF background, bool disabled);

// A check mark, a filled radio dot, and small triangles, centred in `box`.
void CheckMark(HDC dc, const RECT& box, COLORREF colour);
void RadioDot(HDC dc, const RECT& box, COLORREF colour);
enum class Direction { Up, Down, Left, Right };
void Arrow(HDC dc, const RECT& box, Direction direction, COLORREF colour);

// Menu and button texts mark a mnemonic with '&' ("&&" is a literal '&'); the
// handheld shows none, so the marks are dropped.
std::u16string WithoutMnemonics(std::u16string_view text);

} // namespace sim::paint

// Painting helpers for the device's own controls (buttons, edits, the menu bar,
// popup menus, message boxes...): draw with cairo on the device context a
// control gets from BeginPaint or GetDC, in the UI font and the colours and
// metrics of Theme.h. Lengths given at 96 pixels per inch go through Scale.
//
//   PAINTSTRUCT paint;
//   HDC dc = BeginPaint(window, &paint);
//   cairo_t* cairo = paint::CairoOf(dc);
//   paint::Fill(cairo, client, theme::kButtonFace);
//   paint::TextCentered(cairo, u"OK", client, theme::kMenuBarText, paint::UiFontSize());
//   EndPaint(window, &paint);
#pragma once

#include <cairo.h>

#include <string_view>

#include "platform/WinTypes.h"
#include "platform/sim/Theme.h"

namespace sim::paint {

// The device context's cairo context: client coordinates, clipped to what the
// context may paint. Null for an unknown context.
cairo_t* CairoOf(HDC dc);

// A length at 96 pixels per inch on this screen.
int Scale(int pixels96);
// The UI font's size on this screen, in pixels.
double UiFontSize();
// The font a control was given with WM_SETFONT, as a pixel size (the UI font's
// when the handle is null or unknown).
double FontSize(HFONT font);

double TextWidth(std::u16string_view text, double size, bool bold = false);
double LineHeight(double size, bool bold = false);
// Text with its top-left corner at (x, top).
void Text(cairo_t* cairo, std::u16string_view text, double x, double top, COLORREF color,
          double size, bool bold = false);
// Text centred in a rectangle, on one line.
void TextCentered(cairo_t* cairo, std::u16string_view text, const RECT& rect, COLORREF color,
                  double size, bool bold = false);

void Fill(cairo_t* cairo, const RECT& rect, COLORREF color);
// A frame of the given width inside the rectangle.
void Frame(cairo_t* cairo, const RECT& rect, COLORREF color, double width = 1);
void VerticalGradient(cairo_t* cairo, const RECT& rect, COLORREF top, COLORREF bottom);
// A bitmap (HBITMAP) or icon (HICON) at (x, y), or scaled into a rectangle;
// false for an unknown handle.
bool DrawPicture(cairo_t* cairo, HANDLE picture, int x, int y);
bool DrawPictureScaled(cairo_t* cairo, HANDLE picture, const RECT& rect);
// The size of a bitmap or icon, or {0, 0}.
SIZE PictureSize(HANDLE picture);

} // namespace sim::paint

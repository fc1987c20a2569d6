// Painting: the paint cycle, device contexts, brushes, system colours, text and
// device-independent bitmaps.
#pragma once

#include "platform/WinTypes.h"

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    // What needs painting, in client coordinates.
    RECT rcPaint;
    BOOL fRestore = FALSE;
    BOOL fIncUpdate = FALSE;
    BYTE rgbReserved[32] = {};
};

// The paint cycle: BeginPaint erases the background (WM_ERASEBKGND) where asked,
// returns a device context clipped to the invalid part of the client area and
// validates it.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
// A null rectangle means the whole client area.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase);

// Device contexts of a window's client area (or of the whole screen for a null
// window), released with ReleaseDC.
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

// GetDeviceCaps indexes.
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
int GetDeviceCaps(HDC dc, int index);

// System colours. On the handheld an index carries SYS_COLOR_INDEX_FLAG; the
// device accepts indexes with and without it.
constexpr int SYS_COLOR_INDEX_FLAG = 0x40000000;
constexpr int COLOR_SCROLLBAR = 0 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_BACKGROUND = 1 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_ACTIVECAPTION = 2 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_INACTIVECAPTION = 3 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_MENU = 4 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_WINDOW = 5 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_WINDOWFRAME = 6 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_MENUTEXT = 7 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_WINDOWTEXT = 8 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_CAPTIONTEXT = 9 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_ACTIVEBORDER = 10 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_INACTIVEBORDER = 11 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_APPWORKSPACE = 12 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_HIGHLIGHT = 13 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_HIGHLIGHTTEXT = 14 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_BTNFACE = 15 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_BTNSHADOW = 16 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_GRAYTEXT = 17 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_BTNTEXT = 18 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_INACTIVECAPTIONTEXT = 19 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_BTNHIGHLIGHT = 20 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_3DDKSHADOW = 21 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_3DLIGHT = 22 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_INFOTEXT = 23 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_INFOBK = 24 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_STATIC = 25 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_STATICTEXT = 26 | SYS_COLOR_INDEX_FLAG;
constexpr int COLOR_3DFACE = COLOR_BTNFACE;
constexpr int COLOR_3DSHADOW = COLOR_BTNSHADOW;
constexpr int COLOR_3DHILIGHT = COLOR_BTNHIGHLIGHT;
DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);

// GDI objects. Stock objects need no DeleteObject (it does nothing for them).
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
HGDIOBJ GetStockObject(int index);
HBRUSH CreateSolidBrush(COLORREF color);
BOOL DeleteObject(HGDIOBJ object);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);

int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// Text.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF SetBkColor(HDC dc, COLORREF color);
int SetBkMode(HDC dc, int mode);
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_END_ELLIPSIS = 0x8000;
// Draws text in the device's user-interface font; count -1 means up to the
// terminating zero. Returns the height of the text.
int DrawTextW(HDC dc, LPCWSTR text, int count, RECT* rect, UINT format);

// Device-independent bitmaps: how the movie control puts its frames on the
// screen. The device draws 32-bit pixels (blue, green, red, unused in each
// little-endian DWORD), bottom-up for a positive height, top-down for a
// negative one.
struct BITMAPINFOHEADER {
    DWORD biSize = sizeof(BITMAPINFOHEADER);
    LONG biWidth = 0;
    LONG biHeight = 0;
    WORD biPlanes = 1;
    WORD biBitCount = 0;
    DWORD biCompression = 0;
    DWORD biSizeImage = 0;
    LONG biXPelsPerMeter = 0;
    LONG biYPelsPerMeter = 0;
    DWORD biClrUsed = 0;
    DWORD biClrImportant = 0;
};
struct RGBQUAD {
    BYTE rgbBlue = 0;
    BYTE rgbGreen = 0;
    BYTE rgbRed = 0;
    BYTE rgbReserved = 0;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;
// Returns the number of scan lines drawn, 0 on failure.
int SetDIBitsToDevice(HDC dc, int destX, int destY, DWORD width, DWORD height, int srcX, int srcY,
                      UINT startScan, UINT scanLines, LPCVOID bits, const BITMAPINFO* info,
                      UINT colorUse);
int StretchDIBits(HDC dc, int destX, int destY, int destWidth, int destHeight, int srcX, int srcY,
                  int srcWidth, int srcHeight, LPCVOID bits, const BITMAPINFO* info, UINT colorUse,
                  DWORD rop);

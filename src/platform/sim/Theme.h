// The device's look: colours and metrics in the Pocket PC manner, plain and
// legible. System colours (GetSysColor) come from here too. Lengths are at 96
// pixels per inch; Device::Scale turns them into screen pixels.
#pragma once

#include "platform/WinTypes.h"

namespace sim::theme {

// The colour of a system colour index (with or without the handheld's
// SYS_COLOR_INDEX_FLAG); black for an unknown index.
COLORREF SystemColor(int index);
bool IsSystemColorIndex(int index);

// The task bar along the top.
constexpr COLORREF kTaskBarTop = RGB(0x1C, 0x4E, 0xA8);
constexpr COLORREF kTaskBarBottom = RGB(0x0A, 0x2A, 0x6E);
constexpr COLORREF kTaskBarText = RGB(0xFF, 0xFF, 0xFF);
// The menu bar along the bottom, and its soft keys.
constexpr COLORREF kMenuBarTop = RGB(0xE4, 0xEA, 0xF6);
constexpr COLORREF kMenuBarBottom = RGB(0xB8, 0xC6, 0xE4);
constexpr COLORREF kMenuBarText = RGB(0x00, 0x00, 0x00);
constexpr COLORREF kMenuBarSeparator = RGB(0x7A, 0x8C, 0xB4);
// Popup menus.
constexpr COLORREF kMenuBackground = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kMenuBorder = RGB(0x00, 0x00, 0x00);
constexpr COLORREF kMenuHighlight = RGB(0x0A, 0x24, 0x6A);
constexpr COLORREF kMenuHighlightText = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kMenuGrayText = RGB(0x80, 0x80, 0x80);
// The desktop behind every window.
constexpr COLORREF kDesktop = RGB(0xFF, 0xFF, 0xFF);
// Buttons and frames.
constexpr COLORREF kButtonFace = RGB(0xD6, 0xD3, 0xCE);
constexpr COLORREF kButtonShadow = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kFrame = RGB(0x00, 0x00, 0x00);
// The tap-and-hold animation.
constexpr COLORREF kGestureDot = RGB(0xE0, 0x10, 0x10);

// Metrics, at 96 pixels per inch.
constexpr int kBarHeight = 26;
constexpr int kUiFontPixels = 12;
constexpr int kTaskBarFontPixels = 13;
constexpr int kSoftKeyPadding = 8;
constexpr int kMenuItemHeight = 20;
constexpr int kMenuItemPadding = 6;
constexpr int kGestureRadius = 14;
constexpr int kGestureDots = 8;

} // namespace sim::theme

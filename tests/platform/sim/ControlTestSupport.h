// What the tests of the device's controls share: the resources of a small
// test program (strings, a menu with submenus, a menu bar, the soft-key menu
// of a dialog, a toolbar bitmap), finding buttons and rows on the screen, and
// reading the colours of a screenshot.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "DeviceTestSupport.h"
#include "platform/sim/Canvas.h"

namespace simtest {

// Ids in ControlTestResources().
constexpr WORD kMainMenu = 128;
constexpr WORD kMainMenuBar = 128;
constexpr WORD kSoftKeyMenu = 136;
constexpr WORD kToolbarBitmap = 128;
// A 16 x 16 icon, all of kIconColour.
constexpr WORD kIcon = 128;
constexpr std::uint32_t kIconColour = 0xFF00A000;
constexpr WORD kOpenCommand = 57600;
constexpr WORD kMenuButton = 402;
constexpr WORD kPlayCommand = 32772;
constexpr WORD kZoom100 = 32828;
constexpr WORD kZoom150 = 32829;
constexpr WORD kExitCommand = 32826;
constexpr WORD kDisabledCommand = 32900;
// The menu's popup: "Play", separator, "Zoom" (a submenu), "Disabled"
// (grayed), "Exit"; the zoom submenu sits at position 2.
constexpr int kZoomPosition = 2;
// The toolbar bitmap: two images of 16 x 15, the first red, the second blue,
// each on the key grey.
constexpr std::uint32_t kFirstImageColour = 0xFFFF0000;
constexpr std::uint32_t kSecondImageColour = 0xFF0000FF;

std::vector<std::byte> ControlTestResources();

POINT Centre(const RECT& rect);
// A button of a toolbar or menu bar, by command id, in screen coordinates.
RECT ButtonOnScreen(HWND toolbar, int command);
// A rectangle in a window's client coordinates, on the screen.
RECT ClientToScreenRect(HWND window, RECT rect);
// The menu bar whose owner is `owner`, or null.
HWND MenuBarOf(const sim::Automation& automation, HWND owner);
// The visible popup menus, front first.
std::vector<HWND> OpenPopups(const sim::Automation& automation);

// The distinct colours of the pixels of a screen rectangle (premultiplied
// ARGB, as the canvas keeps them).
std::set<std::uint32_t> ColoursIn(const sim::Canvas& canvas, const RECT& rect);
// Whether any pixel of the rectangle differs from its colour at `sample`.
bool AnyPixelDiffers(const sim::Canvas& canvas, const RECT& rect, POINT sample);

} // namespace simtest

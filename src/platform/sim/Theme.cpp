#include "platform/sim/Theme.h"

#include <iterator>

#include "platform/Painting.h"

namespace sim::theme {
namespace {

constexpr COLORREF kSystemColors[] = {
    RGB(0xC8, 0xD0, 0xD4), // COLOR_SCROLLBAR
    RGB(0xFF, 0xFF, 0xFF), // COLOR_BACKGROUND
    RGB(0x0A, 0x24, 0x6A), // COLOR_ACTIVECAPTION
    RGB(0x80, 0x80, 0x80), // COLOR_INACTIVECAPTION
    RGB(0xFF, 0xFF, 0xFF), // COLOR_MENU
    RGB(0xFF, 0xFF, 0xFF), // COLOR_WINDOW
    RGB(0x00, 0x00, 0x00), // COLOR_WINDOWFRAME
    RGB(0x00, 0x00, 0x00), // COLOR_MENUTEXT
    RGB(0x00, 0x00, 0x00), // COLOR_WINDOWTEXT
    RGB(0xFF, 0xFF, 0xFF), // COLOR_CAPTIONTEXT
    RGB(0xD6, 0xD3, 0xCE), // COLOR_ACTIVEBORDER
    RGB(0xD6, 0xD3, 0xCE), // COLOR_INACTIVEBORDER
    RGB(0x80, 0x80, 0x80), // COLOR_APPWORKSPACE
    RGB(0x0A, 0x24, 0x6A), // COLOR_HIGHLIGHT
    RGB(0xFF, 0xFF, 0xFF), // COLOR_HIGHLIGHTTEXT
    RGB(0xD6, 0xD3, 0xCE), // COLOR_BTNFACE
    RGB(0x80, 0x80, 0x80), // COLOR_BTNSHADOW
    RGB(0x80, 0x80, 0x80), // COLOR_GRAYTEXT
    RGB(0x00, 0x00, 0x00), // COLOR_BTNTEXT
    RGB(0xD4, 0xD0, 0xC8), // COLOR_INACTIVECAPTIONTEXT
    RGB(0xFF, 0xFF, 0xFF), // COLOR_BTNHIGHLIGHT
    RGB(0x40, 0x40, 0x40), // COLOR_3DDKSHADOW
    RGB(0xD6, 0xD3, 0xCE), // COLOR_3DLIGHT
    RGB(0x00, 0x00, 0x00), // COLOR_INFOTEXT
    RGB(0xFF, 0xFF, 0xE1), // COLOR_INFOBK
    RGB(0xFF, 0xFF, 0xFF), // COLOR_STATIC
    RGB(0x00, 0x00, 0x00), // COLOR_STATICTEXT
};

int PlainIndex(int index) {
    return index & ~SYS_COLOR_INDEX_FLAG;
}

} // namespace

bool IsSystemColorIndex(int index) {
    const int plain = PlainIndex(index);
    return plain >= 0 && plain < static_cast<int>(std::size(kSystemColors));
}

COLORREF SystemColor(int index) {
    return IsSystemColorIndex(index) ? kSystemColors[PlainIndex(index)] : RGB(0, 0, 0);
}

} // namespace sim::theme

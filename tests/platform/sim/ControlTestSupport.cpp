#include "ControlTestSupport.h"

#include "platform/Controls.h"
#include "platform/Geometry.h"
#include "platform/Menus.h"
#include "platform/sim/ControlSupport.h"

namespace simtest {
namespace {

constexpr WORD kRtBitmap = 2;
constexpr WORD kRtIcon = 3;
constexpr WORD kRtGroupIcon = 14;
constexpr WORD kRtMenu = 4;
constexpr WORD kRtString = 6;
constexpr WORD kRtRcData = 10;

// A string table block holding the given strings at their ids (all of one
// block of 16).
Bytes StringBlock(const std::vector<std::pair<WORD, std::u16string>>& strings) {
    std::u16string entries[16];
    for (const auto& [id, text] : strings) {
        entries[id % 16] = text;
    }
    Bytes bytes;
    for (const std::u16string& entry : entries) {
        bytes.U16(static_cast<std::uint16_t>(entry.size()));
        for (const char16_t c : entry) {
            bytes.U16(c);
        }
    }
    return bytes;
}

// Two 16 x 15 images side by side, 32 bits a pixel, bottom row first: each a
// solid square on the key grey with a one-pixel key border.
Bytes ToolbarBitmap() {
    Bytes bytes;
    bytes.U32(40).U32(32).U32(15).U16(1).U16(32).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int inImage = x % 16;
            const bool border = inImage == 0 || inImage == 15 || y == 0 || y == 14;
            std::uint32_t bgr = 0xC0C0C0;
            if (!border) {
                bgr = x < 16 ? 0xFF0000 : 0x0000FF;
            }
            bytes.U8(static_cast<std::uint8_t>(bgr & 0xFF))
                .U8(static_cast<std::uint8_t>((bgr >> 8) & 0xFF))
                .U8(static_cast<std::uint8_t>((bgr >> 16) & 0xFF))
                .U8(0);
        }
    }
    return bytes;
}

// One icon image: a 16 x 16 bitmap of twice the height (colour, then the
// mask, all opaque).
Bytes IconImage() {
    Bytes bytes;
    bytes.U32(40).U32(16).U32(32).U16(1).U16(32).U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);
    for (int i = 0; i < 16 * 16; ++i) {
        bytes.U8(0x00).U8(0xA0).U8(0x00).U8(0xFF);
    }
    for (int row = 0; row < 16; ++row) {
        bytes.U32(0);
    }
    return bytes;
}

Bytes IconGroup(std::size_t imageSize) {
    Bytes bytes;
    bytes.U16(0).U16(1).U16(1);
    bytes.U8(16)
        .U8(16)
        .U8(0)
        .U8(0)
        .U16(1)
        .U16(32)
        .U32(static_cast<std::uint32_t>(imageSize))
        .U16(1);
    return bytes;
}

// The menu-bar resource: menu 128; "Open" sends 57600, "Menu" opens popup 0.
Bytes MenuBarResource() {
    Bytes bytes;
    bytes.U16(kMainMenu).U16(2);
    bytes.U16(static_cast<std::uint16_t>(-2))
        .U16(kOpenCommand)
        .U16(TBSTATE_ENABLED)
        .U16(TBSTYLE_BUTTON | TBSTYLE_AUTOSIZE)
        .U16(301)
        .U16(0)
        .U16(0xFFFF);
    bytes.U16(static_cast<std::uint16_t>(-2))
        .U16(kMenuButton)
        .U16(TBSTATE_ENABLED)
        .U16(TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE)
        .U16(302)
        .U16(0)
        .U16(0);
    return bytes;
}

} // namespace

std::vector<std::byte> ControlTestResources() {
    const std::vector<MenuSpec> mainMenu{{u"Control",
                                          {{u"Play", kPlayCommand},
                                           {},
                                           {u"Zoom", {{u"100%", kZoom100}, {u"150%", kZoom150}}},
                                           {u"Disabled", kDisabledCommand, 0x0001},
                                           {u"Exit", kExitCommand}}}};
    const std::vector<MenuSpec> softKeys{{u"OK", 1}, {u"Cancel", 2}};
    ResourceBuilder builder;
    builder.Add(kRtMenu, kMainMenu, MenuTemplate(mainMenu))
        .Add(kRtMenu, kSoftKeyMenu, MenuTemplate(softKeys))
        .Add(kRtRcData, kMainMenuBar, MenuBarResource())
        .Add(kRtString, 301 / 16 + 1, StringBlock({{301, u"Open"}, {302, u"Menu"}}))
        .Add(kRtBitmap, kToolbarBitmap, ToolbarBitmap())
        .Add(kRtIcon, 1, IconImage())
        .Add(kRtGroupIcon, kIcon, IconGroup(IconImage().Size()));
    return builder.Build();
}

POINT Centre(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

RECT ClientToScreenRect(HWND window, RECT rect) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&rect, origin.x, origin.y);
    return rect;
}

RECT ButtonOnScreen(HWND toolbar, int command) {
    RECT rect{};
    SendMessageW(toolbar, TB_GETRECT, static_cast<WPARAM>(command),
                 reinterpret_cast<LPARAM>(&rect));
    return ClientToScreenRect(toolbar, rect);
}

HWND MenuBarOf(const sim::Automation& automation, HWND owner) {
    for (HWND bar : automation.FindWindows(sim::WindowQuery().Class(sim::kMenuBarClass))) {
        const auto info = automation.Describe(bar);
        if (info && info->owner == owner) {
            return bar;
        }
    }
    return nullptr;
}

std::vector<HWND> OpenPopups(const sim::Automation& automation) {
    return automation.FindWindows(sim::WindowQuery().Class(sim::kPopupMenuClass).Visible());
}

std::set<std::uint32_t> ColoursIn(const sim::Canvas& canvas, const RECT& rect) {
    std::set<std::uint32_t> colours;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            colours.insert(canvas.Pixel(x, y));
        }
    }
    return colours;
}

bool AnyPixelDiffers(const sim::Canvas& canvas, const RECT& rect, POINT sample) {
    const std::uint32_t background = canvas.Pixel(sample.x, sample.y);
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (canvas.Pixel(x, y) != background) {
                return true;
            }
        }
    }
    return false;
}

} // namespace simtest

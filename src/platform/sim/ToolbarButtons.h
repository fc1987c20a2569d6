// The buttons of a toolbar (and of the menu bar, which is one): their states,
// styles, texts and images, and where each lies. Hidden buttons take no room.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ResourceFormats.h"
#include "platform/WinTypes.h"

namespace sim {

struct ToolbarButton {
    // An index into the toolbar's images, or negative for none.
    int image = -1;
    int command = 0;
    BYTE state = 0;
    BYTE style = 0;
    DWORD_PTR data = 0;
    std::u16string text;
    // A width the program fixed (TBIF_SIZE); 0 lets the layout decide.
    int width = 0;
    // The popup a menu-bar button opens, or null.
    HMENU popup = nullptr;

    bool IsSeparator() const;
    bool IsHidden() const;
    bool IsEnabled() const;
};

struct ToolbarMetrics {
    // An image button: the image plus a margin on each side.
    int imageButtonWidth = 23;
    int height = 22;
    // A separator whose image field gives no width.
    int separatorWidth = 8;
    // Room left and right of a button's text.
    int textPadding = 6;
};

// The rectangle of each button, left to right from x = origin; hidden
// buttons get an empty rectangle where they would start. contentWidth measures
// what a button with a text shows (the text, and a drop-down mark), in pixels.
std::vector<RECT> LayoutToolbar(const std::vector<ToolbarButton>& buttons,
                                const ToolbarMetrics& metrics, int origin,
                                const std::function<int(const ToolbarButton&)>& contentWidth);

// The button under a point: visible, not a separator; -1 for none.
int ButtonAt(const std::vector<ToolbarButton>& buttons, const std::vector<RECT>& rects,
             POINT point);

// The index of the first button with that command, or -1.
int IndexOfCommand(const std::vector<ToolbarButton>& buttons, int command);

// Cuts a strip of images, each width x height, from left to right. Pixels of
// the strip's key colour (the button face of the drawing, RGB 192, 192, 192)
// become transparent, so the toolbar's own face shows through.
std::vector<res::Image> CutImageStrip(const res::Image& strip, int width, int height);

} // namespace sim

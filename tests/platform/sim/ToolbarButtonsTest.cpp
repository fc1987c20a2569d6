// Toolbar layout and images: hidden buttons take no room, separators and
// texts size their buttons, hit testing skips what cannot be pressed, and
// image strips are cut with the key colour made transparent.
#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/sim/ToolbarButtons.h"

namespace {

using sim::ToolbarButton;

ToolbarButton Button(int command, BYTE state = TBSTATE_ENABLED, BYTE style = TBSTYLE_BUTTON) {
    ToolbarButton button;
    button.command = command;
    button.state = state;
    button.style = style;
    button.image = 0;
    return button;
}

int TenPerChar(const ToolbarButton& button) {
    return static_cast<int>(button.text.size()) * 10;
}

TEST(ToolbarLayout, HiddenButtonsTakeNoRoomAndCannotBeHit) {
    const sim::ToolbarMetrics metrics;
    std::vector<ToolbarButton> buttons{Button(1), Button(2, TBSTATE_ENABLED | TBSTATE_HIDDEN),
                                       Button(3)};
    const auto rects = sim::LayoutToolbar(buttons, metrics, 0, TenPerChar);
    ASSERT_EQ(rects.size(), 3u);
    EXPECT_EQ(rects[1].left, rects[1].right);
    EXPECT_EQ(rects[2].left, rects[0].right) << "the button after a hidden one moves up";
    EXPECT_EQ(sim::ButtonAt(buttons, rects, POINT{rects[2].left, 5}), 2);

    buttons[1].state &= ~TBSTATE_HIDDEN;
    const auto shown = sim::LayoutToolbar(buttons, metrics, 0, TenPerChar);
    EXPECT_EQ(shown[2].left, shown[1].right);
    EXPECT_EQ(sim::ButtonAt(buttons, shown, POINT{shown[1].left + 1, 5}), 1);
}

TEST(ToolbarLayout, TextSeparatorAndFixedWidths) {
    sim::ToolbarMetrics metrics;
    metrics.textPadding = 4;
    ToolbarButton soft = Button(57600);
    soft.image = -2;
    soft.text = u"Open";
    ToolbarButton separator = Button(0, TBSTATE_ENABLED, TBSTYLE_SEP);
    ToolbarButton wideSeparator = Button(0, TBSTATE_ENABLED, TBSTYLE_SEP);
    wideSeparator.image = 20;
    ToolbarButton fixed = Button(7);
    fixed.width = 50;
    const std::vector<ToolbarButton> buttons{soft, separator, wideSeparator, fixed};
    const auto rects = sim::LayoutToolbar(buttons, metrics, 10, TenPerChar);
    EXPECT_EQ(rects[0].left, 10);
    EXPECT_EQ(rects[0].right - rects[0].left, 48);
    EXPECT_EQ(rects[1].right - rects[1].left, metrics.separatorWidth);
    EXPECT_EQ(rects[2].right - rects[2].left, 20);
    EXPECT_EQ(rects[3].right - rects[3].left, 50);
    EXPECT_EQ(sim::ButtonAt(buttons, rects, POINT{rects[1].left + 1, 3}), -1)
        << "separators are not buttons";
    EXPECT_EQ(sim::ButtonAt(buttons, rects, POINT{rects[0].left, metrics.height}), -1)
        << "below the bar is outside every button";
    EXPECT_EQ(sim::IndexOfCommand(buttons, 7), 3);
    EXPECT_EQ(sim::IndexOfCommand(buttons, 8), -1);
}

TEST(ToolbarImages, StripIsCutLeftToRightAndTheFaceColourBecomesTransparent) {
    res::Image strip;
    strip.width = 5;
    strip.height = 2;
    strip.pixels.assign(10, 0xFF0000FF);
    strip.pixels[0] = 0xFFC0C0C0;
    strip.pixels[2] = 0xFF00FF00;
    const auto images = sim::CutImageStrip(strip, 2, 2);
    ASSERT_EQ(images.size(), 2u) << "a partial image at the end is dropped";
    EXPECT_EQ(images[0].pixels[0], 0u);
    EXPECT_EQ(images[0].pixels[1], 0xFF0000FFu);
    EXPECT_EQ(images[1].pixels[0], 0xFF00FF00u);

    res::Image damaged = strip;
    damaged.pixels.resize(3);
    EXPECT_TRUE(sim::CutImageStrip(damaged, 2, 2).empty());
    EXPECT_TRUE(sim::CutImageStrip(strip, 0, 2).empty());
    // Images taller than the strip are padded, not read past its end.
    const auto tall = sim::CutImageStrip(strip, 5, 4);
    ASSERT_EQ(tall.size(), 1u);
    EXPECT_EQ(tall[0].pixels[19], 0u);
}

} // namespace

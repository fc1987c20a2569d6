#include "host/DeviceFrame.h"

#include <gtest/gtest.h>

#include "platform/sim/Canvas.h"

namespace host {
namespace {

TEST(DeviceFrame, ScreenPointsMapToDevicePixelsAtTheZoom) {
    const DeviceFrame frame(240, 320, 96, 2);
    const FrameRect& area = frame.ScreenArea();
    EXPECT_EQ(area.width, 480);
    EXPECT_EQ(area.height, 640);
    EXPECT_GT(frame.Width(), area.x + area.width);
    EXPECT_GT(frame.Height(), area.y + area.height);

    const FrameHit corner = frame.HitTest(area.x, area.y);
    ASSERT_TRUE(corner.screenPoint);
    EXPECT_EQ(corner.screenPoint->x, 0);
    EXPECT_EQ(corner.screenPoint->y, 0);
    const FrameHit far = frame.HitTest(area.x + area.width - 1, area.y + area.height - 1);
    ASSERT_TRUE(far.screenPoint);
    EXPECT_EQ(far.screenPoint->x, 239);
    EXPECT_EQ(far.screenPoint->y, 319);
    EXPECT_FALSE(frame.HitTest(area.x + area.width, area.y).screenPoint);

    // A stylus dragged off the screen stays on its edge.
    const POINT clamped = frame.ClampToScreen(-50, area.y + area.height + 100);
    EXPECT_EQ(clamped.x, 0);
    EXPECT_EQ(clamped.y, 319);
}

TEST(DeviceFrame, EveryButtonCanBeClickedAndNothingOverlaps) {
    for (const auto& [width, height, dpi, zoom] :
         {std::tuple{240, 320, 96, 2}, std::tuple{480, 640, 192, 1}, std::tuple{320, 240, 96, 2}}) {
        const DeviceFrame frame(width, height, dpi, zoom);
        std::map<DeviceButton, int> hits;
        for (int y = 0; y < frame.Height(); ++y) {
            for (int x = 0; x < frame.Width(); ++x) {
                const FrameHit hit = frame.HitTest(x, y);
                EXPECT_FALSE(hit.screenPoint && hit.button);
                if (hit.button) {
                    ++hits[*hit.button];
                }
            }
        }
        for (DeviceButton button :
             {DeviceButton::App1, DeviceButton::App2, DeviceButton::App3, DeviceButton::App4,
              DeviceButton::Action, DeviceButton::Record, DeviceButton::Up, DeviceButton::Down,
              DeviceButton::Left, DeviceButton::Right}) {
            EXPECT_GT(hits[button], 50) << ButtonName(button) << " at " << width << "x" << height;
        }
    }
}

TEST(DeviceFrame, ThePadIsFourQuartersRoundAction) {
    const DeviceFrame frame(240, 320, 96, 2);
    // The pad's centre lies below the screen, in the middle.
    const int cx = frame.Width() / 2;
    int top = -1;
    int bottom = -1;
    for (int y = frame.ScreenArea().y + frame.ScreenArea().height; y < frame.Height(); ++y) {
        if (frame.HitTest(cx, y).button == DeviceButton::Action) {
            top = top < 0 ? y : top;
            bottom = y;
        }
    }
    ASSERT_GT(top, 0);
    const int cy = (top + bottom) / 2;
    EXPECT_EQ(frame.HitTest(cx, cy).button, DeviceButton::Action);
    const int ring = (bottom - top) / 2 + 15;
    EXPECT_EQ(frame.HitTest(cx, cy - ring).button, DeviceButton::Up);
    EXPECT_EQ(frame.HitTest(cx, cy + ring).button, DeviceButton::Down);
    EXPECT_EQ(frame.HitTest(cx - ring, cy).button, DeviceButton::Left);
    EXPECT_EQ(frame.HitTest(cx + ring, cy).button, DeviceButton::Right);
    // Past the ring is the case again.
    EXPECT_FALSE(frame.HitTest(cx, cy - 4 * ring).button);
}

TEST(DeviceFrame, DrawsTheScreenPixelForPixelAtTheZoom) {
    const DeviceFrame frame(240, 320, 96, 2);
    sim::Canvas screen(240, 320);
    {
        sim::CairoContext cairo(screen.Surface());
        cairo_set_source_rgb(cairo, 1, 0, 0);
        cairo_paint(cairo);
        // One green device pixel at (10, 20).
        cairo_set_source_rgb(cairo, 0, 1, 0);
        cairo_rectangle(cairo, 10, 20, 1, 1);
        cairo_fill(cairo);
    }
    sim::Canvas window(frame.Width(), frame.Height());
    {
        sim::CairoContext cairo(window.Surface());
        frame.Draw(cairo, screen.Surface(), {DeviceButton::App1});
    }
    const FrameRect& area = frame.ScreenArea();
    EXPECT_EQ(window.Pixel(area.x, area.y), 0xFFFF0000u);
    EXPECT_EQ(window.Pixel(area.x + area.width - 1, area.y + area.height - 1), 0xFFFF0000u);
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            EXPECT_EQ(window.Pixel(area.x + 20 + dx, area.y + 40 + dy), 0xFF00FF00u);
        }
    }
    EXPECT_EQ(window.Pixel(area.x + 22, area.y + 40), 0xFFFF0000u);
    // The case around it is not the screen's colour.
    EXPECT_NE(window.Pixel(area.x - 2, area.y - 2), 0xFFFF0000u);
}

TEST(DeviceFrame, DefaultZoomShowsAHandheldsSize) {
    EXPECT_EQ(DeviceFrame::DefaultZoom(240, 320), 2);
    EXPECT_EQ(DeviceFrame::DefaultZoom(320, 240), 2);
    EXPECT_EQ(DeviceFrame::DefaultZoom(480, 640), 1);
}

} // namespace
} // namespace host

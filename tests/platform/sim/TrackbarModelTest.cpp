// The trackbar's range, steps and geometry: positions map to thumb places and
// back, the ends of the channel reach the ends of the range, and empty or
// huge ranges stay sound.
#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/sim/TrackbarModel.h"

namespace {

using sim::LayoutTrackbar;
using sim::TrackbarModel;

TEST(TrackbarModel, DefaultRangeAndClamping) {
    TrackbarModel model;
    EXPECT_EQ(model.Min(), 0);
    EXPECT_EQ(model.Max(), 100);
    EXPECT_EQ(model.PageSize(), 20);
    EXPECT_TRUE(model.SetPos(1000));
    EXPECT_EQ(model.Pos(), 100);
    EXPECT_FALSE(model.SetPos(100));
    model.SetRange(0, 50);
    EXPECT_EQ(model.Pos(), 50) << "narrowing the range pulls the position in";
    model.SetRange(10, 5);
    EXPECT_EQ(model.Pos(), 10) << "a reversed range is empty";
}

TEST(TrackbarModel, StepsStopAtTheEnds) {
    TrackbarModel model;
    model.SetRange(0, 65535);
    model.SetPos(65530);
    EXPECT_EQ(model.PageSize(), 13107);
    EXPECT_EQ(model.Stepped(TB_LINEDOWN), 65531);
    EXPECT_EQ(model.Stepped(TB_PAGEDOWN), 65535);
    EXPECT_EQ(model.Stepped(TB_TOP), 0);
    EXPECT_EQ(model.SetPageSize(7), 13107);
    EXPECT_EQ(model.Stepped(TB_PAGEUP), 65523);
    model.SetRange(0, 100);
    EXPECT_EQ(model.PageSize(), 7) << "a page size the program chose survives a new range";
}

TEST(TrackbarModel, ThumbPlacesAndPositionsRoundTrip) {
    TrackbarModel model;
    model.SetRange(0, 120);
    const sim::TrackbarLayout layout = LayoutTrackbar(240, 26, false, 1);
    ASSERT_GT(layout.trackLength, 0);
    for (LONG pos : {0L, 1L, 59L, 60L, 119L, 120L}) {
        EXPECT_EQ(layout.PositionAt(model, layout.CentreOf(model, pos)), pos);
    }
    EXPECT_EQ(layout.PositionAt(model, -50), 0);
    EXPECT_EQ(layout.PositionAt(model, 5000), 120);
    model.SetPos(120);
    const RECT thumb = layout.ThumbRect(model);
    EXPECT_LE(thumb.right, 240);
    EXPECT_GE(thumb.top, 0);
    EXPECT_LE(thumb.bottom, 26);
}

TEST(TrackbarModel, HugeRangesDoNotOverflowAndEmptyRangesStayAtTheStart) {
    TrackbarModel model;
    model.SetRange(-2000000000, 2000000000);
    const sim::TrackbarLayout layout = LayoutTrackbar(240, 26, false, 1);
    EXPECT_EQ(layout.PositionAt(model, layout.trackStart), -2000000000);
    EXPECT_EQ(layout.PositionAt(model, layout.trackStart + layout.trackLength), 2000000000);
    model.SetRange(5, 5);
    EXPECT_EQ(layout.PositionAt(model, 100), 5);
    EXPECT_EQ(layout.CentreOf(model, 5), layout.trackStart);
}

TEST(TrackbarModel, VerticalLayoutRunsDownTheWindow) {
    TrackbarModel model;
    const sim::TrackbarLayout layout = LayoutTrackbar(30, 200, true, 1);
    model.SetPos(0);
    const RECT top = layout.ThumbRect(model);
    model.SetPos(100);
    const RECT bottom = layout.ThumbRect(model);
    EXPECT_LT(top.top, bottom.top);
    EXPECT_EQ(top.left, bottom.left);
    EXPECT_LE(bottom.bottom, 200);
    EXPECT_GT(layout.channel.bottom - layout.channel.top,
              layout.channel.right - layout.channel.left);
}

TEST(TrackbarModel, TinyWindowsGiveASoundLayout) {
    TrackbarModel model;
    for (const auto& [w, h] : {std::pair{0, 0}, std::pair{3, 3}, std::pair{1, 40}}) {
        const sim::TrackbarLayout layout = LayoutTrackbar(w, h, false, 2);
        EXPECT_GE(layout.trackLength, 0);
        EXPECT_GE(layout.thumbLength, 1);
        for (int along = -5; along < w + 5; ++along) {
            const LONG pos = layout.PositionAt(model, along);
            EXPECT_TRUE(pos >= 0 && pos <= 100) << pos;
        }
        const RECT thumb = layout.ThumbRect(model);
        EXPECT_LE(thumb.left, thumb.right);
    }
}

} // namespace

// The rows a view keeps of its pictures: found only for the stage they were
// drawn for and within the rows kept, and dropped oldest first.
#include <gtest/gtest.h>

#include <vector>

#include "swf/render/RecentBands.h"

namespace {

std::vector<swf::StageItem> StageWith(std::uint64_t digest) {
    return {{swf::PixelRect{0, 0, 4, 4}, digest}};
}

// Rows of width 4 whose pixels are their row numbers from 0 plus tag.
std::vector<std::uint32_t> Rows(int height, std::uint32_t tag) {
    std::vector<std::uint32_t> rows;
    for (int y = 0; y < height; ++y) {
        rows.insert(rows.end(), 4, tag + static_cast<std::uint32_t>(y));
    }
    return rows;
}

TEST(RecentBands, RowsAreFoundForTheirStageWithinTheRowsKept) {
    swf::RecentBands bands(1 << 20);
    bands.Keep(StageWith(1), 10, 5, 4, Rows(5, 100).data(), 4);
    const std::uint32_t* inner = bands.Find(StageWith(1), 12, 2, 4);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner[0], 102u); // the third row kept
    EXPECT_EQ(bands.Find(StageWith(2), 12, 2, 4), nullptr);
    EXPECT_EQ(bands.Find(StageWith(1), 9, 2, 4), nullptr);
    EXPECT_EQ(bands.Find(StageWith(1), 14, 2, 4), nullptr);
    EXPECT_EQ(bands.Find(StageWith(1), 12, 2, 8), nullptr);
}

TEST(RecentBands, TheOldestRowsGoFirstWhenTheBudgetOrTheCountRunsOut) {
    // Room for three bands of 2 rows of 4 pixels.
    swf::RecentBands bands(3 * 2 * 4 * sizeof(std::uint32_t));
    for (std::uint64_t stage = 1; stage <= 5; ++stage) {
        bands.Keep(StageWith(stage), 0, 2, 4, Rows(2, 0).data(), 4);
    }
    EXPECT_EQ(bands.Find(StageWith(2), 0, 2, 4), nullptr);
    EXPECT_NE(bands.Find(StageWith(3), 0, 2, 4), nullptr);
    EXPECT_NE(bands.Find(StageWith(5), 0, 2, 4), nullptr);

    swf::RecentBands many(1 << 20);
    for (std::uint64_t stage = 0; stage <= swf::RecentBands::MaxBands; ++stage) {
        many.Keep(StageWith(stage), 0, 1, 4, Rows(1, 0).data(), 4);
    }
    EXPECT_EQ(many.Find(StageWith(0), 0, 1, 4), nullptr);
    EXPECT_NE(many.Find(StageWith(1), 0, 1, 4), nullptr);
}

} // namespace

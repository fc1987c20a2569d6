// What a trackbar knows apart from its window: the range, the position, the
// page and line sizes, and where the channel and the thumb lie in a client
// area of a given size.
#pragma once

#include "platform/WinTypes.h"

namespace sim {

class TrackbarModel {
public:
    LONG Min() const { return minimum; }
    LONG Max() const { return maximum; }
    LONG Pos() const { return position; }
    // The range given with a maximum below the minimum is empty: every
    // position is the minimum.
    void SetRange(LONG newMin, LONG newMax);
    // Clamps to the range; returns whether the position changed.
    bool SetPos(LONG newPos);
    LONG Clamp(LONG value) const;

    // A fifth of the range, unless the program chose one.
    LONG PageSize() const;
    // Returns the previous size.
    LONG SetPageSize(LONG size);
    LONG LineSize() const { return lineSize; }
    LONG SetLineSize(LONG size);

    // The position a scroll code (TB_LINEUP ... TB_BOTTOM) leads to.
    LONG Stepped(WORD code) const;

private:
    LONG minimum = 0;
    LONG maximum = 100;
    LONG position = 0;
    LONG lineSize = 1;
    // Negative until the program sets a page size.
    LONG pageSize = -1;
};

// Where the parts of a trackbar lie, in client coordinates. "Along" is the
// axis the thumb moves on (x, or y for TBS_VERT).
struct TrackbarLayout {
    bool vertical = false;
    // The groove the thumb slides in.
    RECT channel;
    // The pixels the thumb's centre moves between, along the axis.
    int trackStart = 0;
    int trackLength = 0;
    // The thumb's size along the axis and across it.
    int thumbLength = 0;
    int thumbBreadth = 0;
    // The thumb's first pixel across the axis.
    int thumbAcross = 0;

    RECT ThumbRect(const TrackbarModel& model) const;
    // The position whose thumb centre is nearest to `along`.
    LONG PositionAt(const TrackbarModel& model, int along) const;
    // The thumb centre of a position, along the axis.
    int CentreOf(const TrackbarModel& model, LONG position) const;
};

// Lays out a trackbar of width x height; `unit` is the screen's scale
// (1 at 96 pixels per inch, 2 at 192).
TrackbarLayout LayoutTrackbar(int width, int height, bool vertical, int unit);

} // namespace sim

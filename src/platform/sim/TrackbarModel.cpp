#include "platform/sim/TrackbarModel.h"

#include <algorithm>
#include <cstdint>

#include "platform/Controls.h"

namespace sim {

void TrackbarModel::SetRange(LONG newMin, LONG newMax) {
    minimum = newMin;
    maximum = newMax;
    position = Clamp(position);
}

LONG TrackbarModel::Clamp(LONG value) const {
    return std::max(minimum, std::min(value, maximum));
}

bool TrackbarModel::SetPos(LONG newPos) {
    const LONG clamped = Clamp(newPos);
    const bool changed = clamped != position;
    position = clamped;
    return changed;
}

LONG TrackbarModel::PageSize() const {
    if (pageSize >= 0) {
        return pageSize;
    }
    const std::int64_t span = static_cast<std::int64_t>(maximum) - minimum;
    return static_cast<LONG>(std::max<std::int64_t>(1, span / 5));
}

LONG TrackbarModel::SetPageSize(LONG size) {
    const LONG previous = PageSize();
    pageSize = std::max<LONG>(0, size);
    return previous;
}

LONG TrackbarModel::SetLineSize(LONG size) {
    const LONG previous = lineSize;
    lineSize = std::max<LONG>(0, size);
    return previous;
}

LONG TrackbarModel::Stepped(WORD code) const {
    std::int64_t target = position;
    switch (code) {
    case TB_LINEUP:
        target -= lineSize;
        break;
    case TB_LINEDOWN:
        target += lineSize;
        break;
    case TB_PAGEUP:
        target -= PageSize();
        break;
    case TB_PAGEDOWN:
        target += PageSize();
        break;
    case TB_TOP:
        target = minimum;
        break;
    case TB_BOTTOM:
        target = maximum;
        break;
    default:
        break;
    }
    target = std::clamp<std::int64_t>(target, minimum, std::max(minimum, maximum));
    return static_cast<LONG>(target);
}

TrackbarLayout LayoutTrackbar(int width, int height, bool vertical, int unit) {
    TrackbarLayout layout;
    layout.vertical = vertical;
    unit = std::max(1, unit);
    const int along = std::max(0, vertical ? height : width);
    const int across = std::max(0, vertical ? width : height);
    const int margin = 4 * unit;

    layout.thumbLength = std::min(11 * unit, std::max(1, along / 2));
    layout.thumbBreadth = std::max(1, std::min(21 * unit, across - 2 * unit));
    layout.thumbAcross = (across - layout.thumbBreadth) / 2;
    layout.trackStart = margin + layout.thumbLength / 2;
    layout.trackLength = std::max(0, along - 2 * margin - layout.thumbLength);

    const int groove = 4 * unit;
    const int grooveAcross = (across - groove) / 2;
    const RECT alongAxis{margin, grooveAcross, std::max(margin, along - margin),
                         grooveAcross + groove};
    layout.channel = vertical
                         ? RECT{alongAxis.top, alongAxis.left, alongAxis.bottom, alongAxis.right}
                         : alongAxis;
    return layout;
}

int TrackbarLayout::CentreOf(const TrackbarModel& model, LONG position) const {
    const std::int64_t span = static_cast<std::int64_t>(model.Max()) - model.Min();
    if (span <= 0) {
        return trackStart;
    }
    const std::int64_t offset = static_cast<std::int64_t>(model.Clamp(position)) - model.Min();
    return trackStart + static_cast<int>((offset * trackLength + span / 2) / span);
}

RECT TrackbarLayout::ThumbRect(const TrackbarModel& model) const {
    const int start = CentreOf(model, model.Pos()) - thumbLength / 2;
    const RECT alongAxis{start, thumbAcross, start + thumbLength, thumbAcross + thumbBreadth};
    return vertical ? RECT{alongAxis.top, alongAxis.left, alongAxis.bottom, alongAxis.right}
                    : alongAxis;
}

LONG TrackbarLayout::PositionAt(const TrackbarModel& model, int along) const {
    const std::int64_t span = static_cast<std::int64_t>(model.Max()) - model.Min();
    if (span <= 0 || trackLength <= 0) {
        return model.Min();
    }
    const std::int64_t offset = std::clamp(along - trackStart, 0, trackLength);
    return model.Clamp(
        static_cast<LONG>(model.Min() + (offset * span + trackLength / 2) / trackLength));
}

} // namespace sim

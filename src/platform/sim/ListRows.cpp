#include "platform/sim/ListRows.h"

#include <algorithm>

#include "platform/Geometry.h"
#include "platform/Painting.h"
#include "platform/Window.h"
#include "platform/sim/ControlPaint.h"
#include "platform/sim/ControlSupport.h"

namespace sim {
namespace {

struct BarParts {
    RECT up;
    RECT down;
    RECT track;
    RECT thumb;
};

BarParts PartsOf(const ListRowsLayout& layout, const ListItems& items) {
    BarParts parts;
    const RECT& bar = layout.bar;
    const int button = std::min<int>(bar.right - bar.left, (bar.bottom - bar.top) / 3);
    parts.up = RECT{bar.left, bar.top, bar.right, bar.top + button};
    parts.down = RECT{bar.left, bar.bottom - button, bar.right, bar.bottom};
    parts.track = RECT{bar.left, parts.up.bottom, bar.right, parts.down.top};
    const int trackLength = std::max(0, static_cast<int>(parts.track.bottom - parts.track.top));
    const int count = std::max(1, items.Count());
    const int visible = std::min(count, layout.VisibleRows());
    const int thumbLength = std::max(std::min(trackLength, 8), trackLength * visible / count);
    const int scrollable = std::max(1, count - visible);
    const int thumbTop = parts.track.top + (trackLength - thumbLength) *
                                               std::min(items.Top(), scrollable) / scrollable;
    parts.thumb = RECT{bar.left, thumbTop, bar.right, thumbTop + thumbLength};
    return parts;
}

} // namespace

int ListRowsLayout::VisibleRows() const {
    return std::max(1, static_cast<int>(rows.bottom - rows.top) / std::max(1, itemHeight));
}

int ListRowsLayout::ItemAt(const ListItems& items, POINT point) const {
    if (!PtInRect(&rows, point)) {
        return -1;
    }
    const int index = items.Top() + (point.y - rows.top) / std::max(1, itemHeight);
    return index < items.Count() ? index : -1;
}

RECT ListRowsLayout::ItemRect(const ListItems& items, int index) const {
    const int top = rows.top + (index - items.Top()) * itemHeight;
    return RECT{rows.left, top, rows.right, top + itemHeight};
}

ScrollPart ListRowsLayout::ScrollPartAt(const ListItems& items, POINT point) const {
    if (!scrollBar || !PtInRect(&bar, point)) {
        return ScrollPart::None;
    }
    const BarParts parts = PartsOf(*this, items);
    if (PtInRect(&parts.up, point)) {
        return ScrollPart::LineUp;
    }
    if (PtInRect(&parts.down, point)) {
        return ScrollPart::LineDown;
    }
    if (point.y < parts.thumb.top) {
        return ScrollPart::PageUp;
    }
    if (point.y >= parts.thumb.bottom) {
        return ScrollPart::PageDown;
    }
    return ScrollPart::Thumb;
}

ListRowsLayout LayoutListRows(const RECT& client, int itemCount, int itemHeight, bool wantBar,
                              bool alwaysBar) {
    ListRowsLayout layout;
    layout.itemHeight = std::max(1, itemHeight);
    layout.rows = client;
    const int fits = std::max(1, static_cast<int>(client.bottom - client.top) / layout.itemHeight);
    layout.scrollBar = wantBar && (alwaysBar || itemCount > fits);
    if (layout.scrollBar) {
        const int width = std::min<int>(GetSystemMetrics(SM_CXVSCROLL), client.right - client.left);
        layout.bar = RECT{client.right - width, client.top, client.right, client.bottom};
        layout.rows.right = layout.bar.left;
    }
    return layout;
}

void ScrollList(ListItems& items, const ListRowsLayout& layout, ScrollPart part) {
    const int page = std::max(1, layout.VisibleRows() - 1);
    const int lastTop = std::max(0, items.Count() - layout.VisibleRows());
    int top = items.Top();
    switch (part) {
    case ScrollPart::LineUp:
        --top;
        break;
    case ScrollPart::LineDown:
        ++top;
        break;
    case ScrollPart::PageUp:
        top -= page;
        break;
    case ScrollPart::PageDown:
        top += page;
        break;
    default:
        return;
    }
    items.SetTop(std::clamp(top, 0, lastTop));
}

void PaintListRows(HDC dc, const RECT& client, const ListItems& items, const ListRowsLayout& layout,
                   const ListRowsLook& look) {
    const paint::Palette palette = paint::Palette::System();
    const int unit = ScreenUnit();
    paint::Fill(dc, client, palette.window);
    const int visible = layout.VisibleRows() + 1;
    for (int row = 0; row < visible; ++row) {
        const int index = items.Top() + row;
        const ListItem* item = items.At(index);
        if (item == nullptr) {
            break;
        }
        const RECT rect = layout.ItemRect(items, index);
        if (rect.top >= layout.rows.bottom) {
            break;
        }
        const bool highlighted = look.multiple ? item->selected : index == look.highlighted;
        COLORREF ink = look.enabled ? palette.windowText : palette.grayText;
        if (highlighted) {
            paint::Fill(dc, rect, palette.highlight);
            ink = palette.highlightText;
        }
        paint::Text(dc, RECT{rect.left + 2 * unit, rect.top, rect.right - unit, rect.bottom},
                    item->text, ink, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        if (index == look.focusFrame && !highlighted) {
            paint::Frame(dc, rect, palette.shadow);
        }
    }
    if (layout.scrollBar) {
        const BarParts parts = PartsOf(layout, items);
        paint::Fill(dc, layout.bar, palette.face);
        paint::Fill(
            dc, RECT{layout.bar.left, layout.bar.top, layout.bar.left + unit, layout.bar.bottom},
            palette.shadow);
        const COLORREF arrow = look.enabled ? palette.faceText : palette.grayText;
        paint::Arrow(dc, parts.up, paint::Direction::Up, arrow);
        paint::Arrow(dc, parts.down, paint::Direction::Down, arrow);
        if (items.Count() > layout.VisibleRows()) {
            RECT thumb = parts.thumb;
            InflateRect(&thumb, -unit, 0);
            thumb.left += unit;
            paint::Fill(dc, thumb, palette.shadow);
        }
    }
}

int DefaultItemHeight(HDC dc) {
    return paint::TextHeight(dc) + 2 * ScreenUnit();
}

} // namespace sim

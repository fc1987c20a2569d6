// Drawing a column of list items with an optional vertical scroll bar, and
// finding what a tap hits: shared by the list box and a combo box's dropped
// list.
#pragma once

#include "platform/WinTypes.h"
#include "platform/sim/ListItems.h"

namespace sim {

enum class ScrollPart { None, LineUp, LineDown, PageUp, PageDown, Thumb };

struct ListRowsLayout {
    RECT rows;
    int itemHeight = 1;
    bool scrollBar = false;
    RECT bar;

    int VisibleRows() const;
    // The item under a client point inside the rows, or -1.
    int ItemAt(const ListItems& items, POINT point) const;
    ScrollPart ScrollPartAt(const ListItems& items, POINT point) const;
    RECT ItemRect(const ListItems& items, int index) const;
};

// A scroll bar is shown when the items do not all fit (or always with
// alwaysBar), SM_CXVSCROLL wide along the right edge.
ListRowsLayout LayoutListRows(const RECT& client, int itemCount, int itemHeight, bool wantBar,
                              bool alwaysBar);

// Scrolls the list as a tap on a scroll-bar part does.
void ScrollList(ListItems& items, const ListRowsLayout& layout, ScrollPart part);

struct ListRowsLook {
    // The item drawn highlighted (the selection), or -1.
    int highlighted = -1;
    // The item with the focus frame, or -1.
    int focusFrame = -1;
    bool enabled = true;
    // Multiple-selection lists highlight each selected item.
    bool multiple = false;
};

void PaintListRows(HDC dc, const RECT& client, const ListItems& items, const ListRowsLayout& layout,
                   const ListRowsLook& look);

// The item height of the device's lists: the text and a little room.
int DefaultItemHeight(HDC dc);

} // namespace sim

// The list box: items sorted or not, one selection or several, scrolling,
// LB_* messages, and LBN_SELCHANGE to the parent (with LBS_NOTIFY) when the
// user picks an item with the stylus or the keys.
#include <algorithm>
#include <cstring>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/Painting.h"
#include "platform/Window.h"
#include "platform/sim/ControlPaint.h"
#include "platform/sim/ControlProcedures.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/ListRows.h"

namespace sim {
namespace {

class ListBoxState : public WindowState {
public:
    explicit ListBoxState(DWORD style) : items((style & LBS_SORT) != 0) {}

    ListItems items;
    // 0 until the program sets one; then the font decides.
    int itemHeight = 0;
    int anchor = -1;
    bool focused = false;
    bool tracking = false;
    HFONT font = nullptr;
};

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

bool IsMultiple(DWORD style) {
    return (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

int ItemHeight(HWND window, const ListBoxState& state) {
    if (state.itemHeight > 0) {
        return state.itemHeight;
    }
    const paint::WindowDC dc(window);
    if (state.font != nullptr) {
        SelectObject(dc.Get(), reinterpret_cast<HGDIOBJ>(state.font));
    }
    return DefaultItemHeight(dc.Get());
}

ListRowsLayout Layout(HWND window, const ListBoxState& state) {
    RECT client;
    GetClientRect(window, &client);
    const DWORD style = StyleOf(window);
    return LayoutListRows(client, state.items.Count(), ItemHeight(window, state),
                          (style & WS_VSCROLL) != 0, (style & LBS_DISABLENOSCROLL) != 0);
}

void Redraw(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
}

void Notify(HWND window, WORD code) {
    if ((StyleOf(window) & LBS_NOTIFY) != 0) {
        NotifyParent(window, code);
    }
}

void Reveal(HWND window, ListBoxState& state, int index) {
    state.items.EnsureVisible(index, Layout(window, state).VisibleRows());
}

// The user's pick of one item: in a single-selection list the selection, in
// a multiple-selection list the caret item, whose selection toggles
// (LBS_MULTIPLESEL) or becomes the only one (LBS_EXTENDEDSEL).
void Pick(HWND window, ListBoxState& state, int index, bool toggle) {
    const DWORD style = StyleOf(window);
    state.items.SetCurrent(index);
    if ((style & LBS_MULTIPLESEL) != 0) {
        if (toggle) {
            ListItem* item = state.items.At(index);
            item->selected = !item->selected;
        }
    } else if ((style & LBS_EXTENDEDSEL) != 0) {
        for (int i = 0; i < state.items.Count(); ++i) {
            state.items.At(i)->selected = i == index;
        }
        state.anchor = index;
    }
    Reveal(window, state, index);
    Redraw(window);
}

LRESULT OnButtonDown(HWND window, ListBoxState& state, LPARAM lParam) {
    SetFocus(window);
    const ListRowsLayout layout = Layout(window, state);
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const ScrollPart part = layout.ScrollPartAt(state.items, point);
    if (part != ScrollPart::None) {
        ScrollList(state.items, layout, part);
        Redraw(window);
        return 0;
    }
    const int index = layout.ItemAt(state.items, point);
    if (index < 0 || (StyleOf(window) & LBS_NOSEL) != 0) {
        return 0;
    }
    SetCapture(window);
    state.tracking = true;
    Pick(window, state, index, true);
    return 0;
}

LRESULT OnMouseMove(HWND window, ListBoxState& state, LPARAM lParam) {
    if (!state.tracking || IsMultiple(StyleOf(window))) {
        return 0;
    }
    const int index = Layout(window, state)
                          .ItemAt(state.items, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (index >= 0 && index != state.items.Current()) {
        Pick(window, state, index, false);
    }
    return 0;
}

LRESULT OnButtonUp(HWND window, ListBoxState& state) {
    if (!state.tracking) {
        return 0;
    }
    state.tracking = false;
    ReleaseCapture();
    // Every pick tells the parent, even of the item already selected, as
    // programs that open an item on a tap expect.
    Notify(window, LBN_SELCHANGE);
    return 0;
}

LRESULT OnDoubleTap(HWND window, ListBoxState& state, LPARAM lParam) {
    OnButtonDown(window, state, lParam);
    Notify(window, LBN_DBLCLK);
    return 0;
}

LRESULT OnKeyDown(HWND window, ListBoxState& state, WPARAM key) {
    const int count = state.items.Count();
    if (count == 0) {
        return 0;
    }
    const int current = state.items.Current();
    const int page = std::max(1, Layout(window, state).VisibleRows() - 1);
    int target = current;
    switch (key) {
    case VK_UP:
        target = current - 1;
        break;
    case VK_DOWN:
        target = current + 1;
        break;
    case VK_PRIOR:
        target = current - page;
        break;
    case VK_NEXT:
        target = current + page;
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = count - 1;
        break;
    case VK_SPACE:
        if ((StyleOf(window) & LBS_MULTIPLESEL) != 0 && current >= 0) {
            Pick(window, state, current, true);
            Notify(window, LBN_SELCHANGE);
        }
        return 0;
    default:
        return DefWindowProcW(window, WM_KEYDOWN, key, 0);
    }
    target = std::clamp(target, 0, count - 1);
    if (target != current) {
        Pick(window, state, target, false);
        Notify(window, LBN_SELCHANGE);
    }
    return 0;
}

LRESULT OnChar(HWND window, ListBoxState& state, WPARAM c) {
    const char16_t typed = static_cast<char16_t>(c);
    const int found = state.items.FindPrefix(state.items.Current(), std::u16string_view(&typed, 1));
    if (found >= 0 && found != state.items.Current()) {
        Pick(window, state, found, false);
        Notify(window, LBN_SELCHANGE);
    }
    return 0;
}

LRESULT OnFocus(HWND window, ListBoxState& state, bool focused) {
    state.focused = focused;
    Redraw(window);
    Notify(window, focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
    return 0;
}

void OnPaint(HWND window, const ListBoxState& state) {
    const paint::PaintCycle cycle(window);
    if (state.font != nullptr) {
        SelectObject(cycle.Dc(), reinterpret_cast<HGDIOBJ>(state.font));
    }
    ListRowsLook look;
    const bool multiple = IsMultiple(StyleOf(window));
    look.multiple = multiple;
    look.highlighted = multiple ? -1 : state.items.Current();
    look.focusFrame = state.focused ? state.items.Current() : -1;
    look.enabled = IsWindowEnabled(window) != FALSE;
    PaintListRows(cycle.Dc(), cycle.Client(), state.items, Layout(window, state), look);
}

LRESULT TextOfItem(const ListBoxState& state, WPARAM index, LPARAM buffer) {
    const ListItem* item = state.items.At(static_cast<int>(index));
    auto* out = reinterpret_cast<WCHAR*>(buffer);
    if (item == nullptr || out == nullptr) {
        return LB_ERR;
    }
    std::memcpy(out, item->text.c_str(), (item->text.size() + 1) * sizeof(WCHAR));
    return static_cast<LRESULT>(item->text.size());
}

std::u16string TextArgument(LPARAM lParam) {
    const auto text = reinterpret_cast<LPCWSTR>(lParam);
    return text != nullptr ? std::u16string(text) : std::u16string();
}

LRESULT Added(HWND window, int index) {
    if (index < 0) {
        return LB_ERR;
    }
    Redraw(window);
    return index;
}

LRESULT OnSetCurSel(HWND window, ListBoxState& state, WPARAM wParam) {
    if (IsMultiple(StyleOf(window))) {
        return LB_ERR;
    }
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    if (!state.items.SetCurrent(index)) {
        return LB_ERR;
    }
    Reveal(window, state, index);
    Redraw(window);
    // Clearing the selection succeeds but reads as LB_ERR, as Win32 has it.
    return index >= 0 ? index : LB_ERR;
}

LRESULT OnSetSel(HWND window, ListBoxState& state, WPARAM select, LPARAM lParam) {
    if (!IsMultiple(StyleOf(window))) {
        return LB_ERR;
    }
    const int index = static_cast<int>(lParam);
    if (index == -1) {
        for (int i = 0; i < state.items.Count(); ++i) {
            state.items.At(i)->selected = select != 0;
        }
    } else if (ListItem* item = state.items.At(index)) {
        item->selected = select != 0;
        state.items.SetCurrent(index);
    } else {
        return LB_ERR;
    }
    Redraw(window);
    return 0;
}

LRESULT OnSelectRange(HWND window, ListBoxState& state, bool select, int first, int last) {
    if (!IsMultiple(StyleOf(window))) {
        return LB_ERR;
    }
    if (first > last) {
        std::swap(first, last);
    }
    for (int i = std::max(0, first); i <= last && i < state.items.Count(); ++i) {
        state.items.At(i)->selected = select;
    }
    Redraw(window);
    return 0;
}

LRESULT OnGetSel(HWND window, const ListBoxState& state, WPARAM index) {
    const ListItem* item = state.items.At(static_cast<int>(index));
    if (item == nullptr) {
        return LB_ERR;
    }
    if (IsMultiple(StyleOf(window))) {
        return item->selected ? 1 : 0;
    }
    return static_cast<int>(index) == state.items.Current() ? 1 : 0;
}

LRESULT OnGetSelItems(HWND window, const ListBoxState& state, WPARAM max, LPARAM lParam) {
    auto* out = reinterpret_cast<int*>(lParam);
    if (!IsMultiple(StyleOf(window)) || out == nullptr) {
        return LB_ERR;
    }
    int written = 0;
    for (int i = 0; i < state.items.Count() && written < static_cast<int>(max); ++i) {
        if (state.items.At(i)->selected) {
            out[written++] = i;
        }
    }
    return written;
}

LRESULT OnSelectString(HWND window, ListBoxState& state, WPARAM after, LPARAM lParam) {
    const int found = state.items.FindPrefix(static_cast<int>(static_cast<std::intptr_t>(after)),
                                             TextArgument(lParam));
    if (found < 0) {
        return LB_ERR;
    }
    if (IsMultiple(StyleOf(window))) {
        state.items.At(found)->selected = true;
    }
    state.items.SetCurrent(found);
    Reveal(window, state, found);
    Redraw(window);
    return found;
}

LRESULT OnItemFromPoint(HWND window, const ListBoxState& state, LPARAM lParam) {
    const ListRowsLayout layout = Layout(window, state);
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int index = layout.ItemAt(state.items, point);
    if (index >= 0) {
        return MAKELRESULT(static_cast<WORD>(index), 0);
    }
    // Outside every item: the nearest one, with the high word set.
    const int nearest =
        std::clamp(state.items.Top() + (point.y - layout.rows.top) / layout.itemHeight, 0,
                   std::max(0, state.items.Count() - 1));
    return MAKELRESULT(static_cast<WORD>(nearest), 1);
}

LRESULT OnGetItemRect(HWND window, const ListBoxState& state, WPARAM index, LPARAM lParam) {
    auto* out = reinterpret_cast<RECT*>(lParam);
    if (out == nullptr || state.items.At(static_cast<int>(index)) == nullptr) {
        return LB_ERR;
    }
    *out = Layout(window, state).ItemRect(state.items, static_cast<int>(index));
    return 0;
}

LRESULT OnSetItemData(ListBoxState& state, WPARAM index, LPARAM data) {
    ListItem* item = state.items.At(static_cast<int>(index));
    if (item == nullptr) {
        return LB_ERR;
    }
    item->data = data;
    return 0;
}

LRESULT OnGetItemData(const ListBoxState& state, WPARAM index) {
    const ListItem* item = state.items.At(static_cast<int>(index));
    return item != nullptr ? item->data : LB_ERR;
}

LRESULT OnFind(const ListBoxState& state, WPARAM after, LPARAM lParam, bool exact) {
    const int start = static_cast<int>(static_cast<std::intptr_t>(after));
    const std::u16string text = TextArgument(lParam);
    const int found =
        exact ? state.items.FindExact(start, text) : state.items.FindPrefix(start, text);
    return found >= 0 ? found : LB_ERR;
}

LRESULT OnSetTop(HWND window, ListBoxState& state, WPARAM index) {
    if (state.items.At(static_cast<int>(index)) == nullptr) {
        return LB_ERR;
    }
    state.items.SetTop(static_cast<int>(index));
    Redraw(window);
    return 0;
}

LRESULT OnSetItemHeight(HWND window, ListBoxState& state, LPARAM height) {
    const int value = LOWORD(static_cast<std::uintptr_t>(height));
    if (value <= 0 || value > 255) {
        return LB_ERR;
    }
    state.itemHeight = value;
    Redraw(window);
    return 0;
}

LRESULT OnDelete(HWND window, ListBoxState& state, WPARAM index) {
    const int left = state.items.Remove(static_cast<int>(index));
    if (left >= 0) {
        Redraw(window);
    }
    return left >= 0 ? left : LB_ERR;
}

LRESULT OnReset(HWND window, ListBoxState& state) {
    state.items.Clear();
    state.anchor = -1;
    Redraw(window);
    return 0;
}

LRESULT OnSetCaret(HWND window, ListBoxState& state, WPARAM index) {
    if (state.items.At(static_cast<int>(index)) == nullptr) {
        return LB_ERR;
    }
    if (IsMultiple(StyleOf(window))) {
        state.items.SetCurrent(static_cast<int>(index));
    }
    Reveal(window, state, static_cast<int>(index));
    Redraw(window);
    return 0;
}

} // namespace

LRESULT ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ListBoxState* state = StateOf<ListBoxState>(window);
    if (state == nullptr) {
        if (message == WM_NCCREATE) {
            CreateState<ListBoxState>(
                window, static_cast<DWORD>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->style));
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_PAINT:
        OnPaint(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
    case WM_ENABLE:
        Redraw(window);
        return 0;
    case WM_LBUTTONDOWN:
        return OnButtonDown(window, *state, lParam);
    case WM_LBUTTONDBLCLK:
        return OnDoubleTap(window, *state, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(window, *state, lParam);
    case WM_LBUTTONUP:
        return OnButtonUp(window, *state);
    case WM_CAPTURECHANGED:
        state->tracking = false;
        return 0;
    case WM_KEYDOWN:
        return OnKeyDown(window, *state, wParam);
    case WM_CHAR:
        return OnChar(window, *state, wParam);
    case WM_SETFOCUS:
        return OnFocus(window, *state, true);
    case WM_KILLFOCUS:
        return OnFocus(window, *state, false);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        Redraw(window);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case LB_ADDSTRING:
        return Added(window, state->items.Add(TextArgument(lParam)));
    case LB_INSERTSTRING:
        return Added(window,
                     state->items.Insert(static_cast<int>(static_cast<std::intptr_t>(wParam)),
                                         TextArgument(lParam)));
    case LB_DELETESTRING:
        return OnDelete(window, *state, wParam);
    case LB_RESETCONTENT:
        return OnReset(window, *state);
    case LB_GETCOUNT:
        return state->items.Count();
    case LB_GETTEXT:
        return TextOfItem(*state, wParam, lParam);
    case LB_GETTEXTLEN: {
        const ListItem* item = state->items.At(static_cast<int>(wParam));
        return item != nullptr ? static_cast<LRESULT>(item->text.size()) : LB_ERR;
    }
    case LB_SETCURSEL:
        return OnSetCurSel(window, *state, wParam);
    case LB_GETCURSEL:
        return state->items.Current();
    case LB_SETSEL:
        return OnSetSel(window, *state, wParam, lParam);
    case LB_GETSEL:
        return OnGetSel(window, *state, wParam);
    case LB_GETSELCOUNT:
        return IsMultiple(StyleOf(window)) ? state->items.SelectedCount() : LB_ERR;
    case LB_GETSELITEMS:
        return OnGetSelItems(window, *state, wParam, lParam);
    case LB_SELITEMRANGE:
        return OnSelectRange(window, *state, wParam != 0,
                             LOWORD(static_cast<std::uintptr_t>(lParam)),
                             HIWORD(static_cast<std::uintptr_t>(lParam)));
    case LB_SELITEMRANGEEX: {
        const int first = static_cast<int>(static_cast<std::intptr_t>(wParam));
        const int last = static_cast<int>(lParam);
        // A reversed range clears instead of selecting.
        return first <= last ? OnSelectRange(window, *state, true, first, last)
                             : OnSelectRange(window, *state, false, last, first);
    }
    case LB_SELECTSTRING:
        return OnSelectString(window, *state, wParam, lParam);
    case LB_FINDSTRING:
        return OnFind(*state, wParam, lParam, false);
    case LB_FINDSTRINGEXACT:
        return OnFind(*state, wParam, lParam, true);
    case LB_GETITEMDATA:
        return OnGetItemData(*state, wParam);
    case LB_SETITEMDATA:
        return OnSetItemData(*state, wParam, lParam);
    case LB_GETTOPINDEX:
        return state->items.Top();
    case LB_SETTOPINDEX:
        return OnSetTop(window, *state, wParam);
    case LB_GETITEMHEIGHT:
        return ItemHeight(window, *state);
    case LB_SETITEMHEIGHT:
        return OnSetItemHeight(window, *state, lParam);
    case LB_GETITEMRECT:
        return OnGetItemRect(window, *state, wParam, lParam);
    case LB_ITEMFROMPOINT:
        return OnItemFromPoint(window, *state, lParam);
    case LB_GETCARETINDEX:
        return state->items.Current();
    case LB_SETCARETINDEX:
        return OnSetCaret(window, *state, wParam);
    case LB_GETANCHORINDEX:
        return state->anchor;
    case LB_SETANCHORINDEX:
        state->anchor = static_cast<int>(wParam);
        return 0;
    case LB_INITSTORAGE:
        return state->items.Count() + static_cast<int>(wParam);
    case LB_GETHORIZONTALEXTENT:
        return 0;
    case LB_SETHORIZONTALEXTENT:
    case LB_SETCOLUMNWIDTH:
    case LB_SETTABSTOPS:
        return 0;
    case LB_DIR:
    case LB_ADDFILE:
    case LB_SETCOUNT:
        return LB_ERR;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace sim

// The drop-down list combo box: a field showing the selected item and a
// button; a tap opens the list as a window of its own over everything else,
// and a tap on an item chooses it (CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE)
// while a tap elsewhere closes it (CBN_SELENDCANCEL, CBN_CLOSEUP).
#include <algorithm>
#include <cstring>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Geometry.h"
#include "platform/Input.h"
#include "platform/Painting.h"
#include "platform/Window.h"
#include "platform/sim/ControlPaint.h"
#include "platform/sim/ControlProcedures.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/ListRows.h"

namespace sim {
namespace {

class ComboState : public WindowState {
public:
    explicit ComboState(DWORD style) : items((style & CBS_SORT) != 0) {}

    ListItems items;
    // The window's height as created: the field and the dropped list.
    int droppedHeight = 0;
    int droppedWidth = 0;
    int itemHeight = 0;
    int fieldHeight = 0;
    // The open list, or null.
    HWND dropList = nullptr;
    // The item under the stylus or the keys while the list is open.
    int listHighlight = -1;
    bool focused = false;
    bool extendedUi = false;
    bool resizing = false;
    HFONT font = nullptr;
};

// The open list's link back to its combo box.
class DropListState : public WindowState {
public:
    explicit DropListState(HWND combo) : combo(combo) {}
    HWND combo;
    bool tracking = false;
};

int ItemHeight(HWND window, const ComboState& state) {
    if (state.itemHeight > 0) {
        return state.itemHeight;
    }
    const paint::WindowDC dc(window);
    if (state.font != nullptr) {
        SelectObject(dc.Get(), reinterpret_cast<HGDIOBJ>(state.font));
    }
    return DefaultItemHeight(dc.Get());
}

int FieldHeight(HWND window, const ComboState& state) {
    return state.fieldHeight > 0 ? state.fieldHeight : ItemHeight(window, state) + 4 * ScreenUnit();
}

void Redraw(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
}

HWND TopLevelOf(HWND window) {
    HWND top = window;
    while ((static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE)) & WS_CHILD) != 0) {
        const HWND parent = GetParent(top);
        if (parent == nullptr) {
            break;
        }
        top = parent;
    }
    return top;
}

// Keeps the window as high as its field; whatever height the program gives
// it is the height of the field and the dropped list together.
void FitToField(HWND window, ComboState& state) {
    RECT rect;
    GetClientRect(window, &rect);
    const int height = FieldHeight(window, state);
    RECT outer;
    GetWindowRect(window, &outer);
    const int frame = (outer.bottom - outer.top) - (rect.bottom - rect.top);
    if (rect.bottom - rect.top == height || state.resizing) {
        return;
    }
    state.droppedHeight = std::max<int>(state.droppedHeight, outer.bottom - outer.top);
    state.resizing = true;
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, height + frame,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    state.resizing = false;
}

// Where the open list goes, in screen coordinates: under the field, or above
// it when the screen has no room below.
RECT DropRect(HWND window, const ComboState& state) {
    RECT field;
    GetWindowRect(window, &field);
    const int unit = ScreenUnit();
    const int rows = std::max(1, state.items.Count());
    const int itemHeight = ItemHeight(window, state);
    const int wanted = std::max<int>(itemHeight, state.droppedHeight - (field.bottom - field.top));
    const int height = std::min(rows * itemHeight, std::max(itemHeight, wanted)) + 2 * unit;
    const int width = std::max<int>(state.droppedWidth, field.right - field.left);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT drop{field.left, field.bottom, field.left + width, field.bottom + height};
    if (drop.bottom > screenHeight && field.top - height >= 0) {
        drop = RECT{field.left, field.top - height, field.left + width, field.top};
    }
    return drop;
}

void Close(HWND window, ComboState& state, bool chosen) {
    if (state.dropList == nullptr) {
        return;
    }
    const HWND list = state.dropList;
    state.dropList = nullptr;
    NotifyParent(window, chosen ? CBN_SELENDOK : CBN_SELENDCANCEL);
    DestroyWindow(list);
    Redraw(window);
    NotifyParent(window, CBN_CLOSEUP);
}

void Drop(HWND window, ComboState& state) {
    if (state.dropList != nullptr) {
        return;
    }
    // The parent may fill the list now.
    NotifyParent(window, CBN_DROPDOWN);
    const RECT drop = DropRect(window, state);
    const HWND list =
        CreateWindowExW(WS_EX_TOPMOST, kDropListClass, nullptr, WS_POPUP | WS_BORDER, drop.left,
                        drop.top, drop.right - drop.left, drop.bottom - drop.top,
                        TopLevelOf(window), nullptr, nullptr, nullptr);
    if (list == nullptr) {
        return;
    }
    CreateState<DropListState>(list, window);
    state.dropList = list;
    state.listHighlight = state.items.Current();
    RECT client;
    GetClientRect(list, &client);
    const int visible =
        std::max(1, static_cast<int>(client.bottom - client.top) / ItemHeight(window, state));
    state.items.EnsureVisible(std::max(0, state.listHighlight), visible);
    SetWindowPos(list, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SetCapture(list);
    Redraw(window);
}

// A pick from the open list: the item becomes the selection and the list
// closes. The parent hears of the selection even when it is the one before.
void Choose(HWND window, ComboState& state, int index) {
    if (state.items.At(index) == nullptr) {
        Close(window, state, false);
        return;
    }
    state.items.SetCurrent(index);
    Close(window, state, true);
    NotifyParent(window, CBN_SELCHANGE);
}

// Changing the selection with the keys while the list is closed.
void Step(HWND window, ComboState& state, int target) {
    const int count = state.items.Count();
    if (count == 0) {
        return;
    }
    target = std::clamp(target, 0, count - 1);
    if (target == state.items.Current()) {
        return;
    }
    state.items.SetCurrent(target);
    Redraw(window);
    NotifyParent(window, CBN_SELCHANGE);
    NotifyParent(window, CBN_SELENDOK);
}

RECT ButtonRect(const RECT& client) {
    const int width = std::min<int>(GetSystemMetrics(SM_CXVSCROLL), client.right - client.left);
    return RECT{client.right - width, client.top, client.right, client.bottom};
}

void OnPaint(HWND window, const ComboState& state) {
    const paint::PaintCycle cycle(window);
    const HDC dc = cycle.Dc();
    if (state.font != nullptr) {
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(state.font));
    }
    const paint::Palette palette = paint::Palette::System();
    const int unit = ScreenUnit();
    const bool enabled = IsWindowEnabled(window) != FALSE;
    const RECT& client = cycle.Client();
    paint::Fill(dc, client, enabled ? palette.window : palette.face);
    paint::Frame(dc, client, enabled ? palette.windowText : palette.grayText, unit);
    const RECT button = ButtonRect(client);
    paint::Fill(dc, RECT{button.left, button.top, button.left + unit, button.bottom},
                enabled ? palette.windowText : palette.grayText);
    if (state.dropList != nullptr) {
        RECT inside = button;
        InflateRect(&inside, -unit, -unit);
        inside.left += unit;
        paint::Fill(dc, inside, palette.face);
    }
    paint::Arrow(dc, button, paint::Direction::Down,
                 enabled ? palette.windowText : palette.grayText);
    RECT text{client.left + 2 * unit, client.top + 2 * unit, button.left - unit,
              client.bottom - 2 * unit};
    COLORREF ink = enabled ? palette.windowText : palette.grayText;
    if (state.focused && state.dropList == nullptr) {
        paint::Fill(dc, text, palette.highlight);
        ink = palette.highlightText;
    }
    if (const ListItem* item = state.items.At(state.items.Current())) {
        text.left += unit;
        paint::Text(dc, text, item->text, ink,
                    DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
}

LRESULT OnButtonDown(HWND window, ComboState& state) {
    SetFocus(window);
    if (state.dropList != nullptr) {
        Close(window, state, false);
    } else {
        Drop(window, state);
    }
    return 0;
}

LRESULT OnKeyDown(HWND window, ComboState& state, WPARAM key) {
    const bool open = state.dropList != nullptr;
    const int count = state.items.Count();
    if (key == VK_F4 || (key == VK_DOWN && GetKeyState(VK_MENU) < 0)) {
        if (open) {
            Choose(window, state, state.listHighlight);
        } else {
            Drop(window, state);
        }
        return 0;
    }
    if (open) {
        int target = state.listHighlight;
        switch (key) {
        case VK_UP:
            target = std::max(0, target - 1);
            break;
        case VK_DOWN:
            target = std::min(count - 1, target + 1);
            break;
        case VK_HOME:
            target = 0;
            break;
        case VK_END:
            target = count - 1;
            break;
        case VK_RETURN:
            Choose(window, state, state.listHighlight);
            return 0;
        case VK_ESCAPE:
            Close(window, state, false);
            return 0;
        default:
            return 0;
        }
        state.listHighlight = target;
        RECT client;
        GetClientRect(state.dropList, &client);
        state.items.EnsureVisible(target, std::max(1, static_cast<int>(client.bottom - client.top) /
                                                          ItemHeight(window, state)));
        InvalidateRect(state.dropList, nullptr, TRUE);
        return 0;
    }
    const int current = state.items.Current();
    switch (key) {
    case VK_UP:
        Step(window, state, current - 1);
        return 0;
    case VK_DOWN:
        Step(window, state, current + 1);
        return 0;
    case VK_HOME:
        Step(window, state, 0);
        return 0;
    case VK_END:
        Step(window, state, count - 1);
        return 0;
    default:
        return DefWindowProcW(window, WM_KEYDOWN, key, 0);
    }
}

LRESULT OnChar(HWND window, ComboState& state, WPARAM c) {
    const char16_t typed = static_cast<char16_t>(c);
    if (typed < 0x20) {
        return 0;
    }
    const int found = state.items.FindPrefix(state.items.Current(), std::u16string_view(&typed, 1));
    if (found >= 0) {
        Step(window, state, found);
    }
    return 0;
}

LRESULT OnFocus(HWND window, ComboState& state, bool focused) {
    state.focused = focused;
    if (!focused) {
        Close(window, state, false);
    }
    Redraw(window);
    NotifyParent(window, focused ? CBN_SETFOCUS : CBN_KILLFOCUS);
    return 0;
}

std::u16string TextArgument(LPARAM lParam) {
    const auto text = reinterpret_cast<LPCWSTR>(lParam);
    return text != nullptr ? std::u16string(text) : std::u16string();
}

LRESULT CopyText(const std::u16string& text, std::size_t room, WCHAR* out, bool roomKnown) {
    if (out == nullptr) {
        return CB_ERR;
    }
    std::size_t count = text.size();
    if (roomKnown) {
        if (room == 0) {
            return 0;
        }
        count = std::min(count, room - 1);
    }
    std::memcpy(out, text.data(), count * sizeof(WCHAR));
    out[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT OnGetText(const ComboState& state, WPARAM room, LPARAM lParam) {
    const ListItem* item = state.items.At(state.items.Current());
    return CopyText(item != nullptr ? item->text : std::u16string(), room,
                    reinterpret_cast<WCHAR*>(lParam), true);
}

LRESULT OnSetText(HWND window, ComboState& state, LPARAM lParam) {
    // A drop-down list shows only its items: the text must name one.
    const int found = state.items.FindExact(-1, TextArgument(lParam));
    if (found < 0) {
        return CB_ERR;
    }
    state.items.SetCurrent(found);
    Redraw(window);
    return TRUE;
}

LRESULT OnSetCurSel(HWND window, ComboState& state, WPARAM wParam) {
    const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
    // An index without an item clears the selection, as -1 does.
    const bool found = state.items.SetCurrent(index);
    if (!found) {
        state.items.SetCurrent(-1);
    }
    Redraw(window);
    return found && index >= 0 ? index : CB_ERR;
}

LRESULT OnDroppedRect(HWND window, const ComboState& state, LPARAM lParam) {
    auto* out = reinterpret_cast<RECT*>(lParam);
    if (out == nullptr) {
        return CB_ERR;
    }
    RECT field;
    GetWindowRect(window, &field);
    const RECT drop = DropRect(window, state);
    UnionRect(out, &field, &drop);
    return TRUE;
}

LRESULT OnFind(const ComboState& state, WPARAM after, LPARAM lParam, bool exact) {
    const int start = static_cast<int>(static_cast<std::intptr_t>(after));
    const std::u16string text = TextArgument(lParam);
    const int found =
        exact ? state.items.FindExact(start, text) : state.items.FindPrefix(start, text);
    return found >= 0 ? found : CB_ERR;
}

LRESULT OnSelectString(HWND window, ComboState& state, WPARAM after, LPARAM lParam) {
    const LRESULT found = OnFind(state, after, lParam, false);
    if (found != CB_ERR) {
        state.items.SetCurrent(static_cast<int>(found));
        Redraw(window);
    }
    return found;
}

LRESULT Changed(HWND window, ComboState& state, int result) {
    if (result < 0) {
        return CB_ERR;
    }
    if (state.dropList != nullptr) {
        InvalidateRect(state.dropList, nullptr, TRUE);
    }
    Redraw(window);
    return result;
}

LRESULT OnSetItemHeight(HWND window, ComboState& state, WPARAM which, LPARAM height) {
    const int value = static_cast<int>(height);
    if (value <= 0 || value > 255) {
        return CB_ERR;
    }
    if (static_cast<std::intptr_t>(which) == -1) {
        state.fieldHeight = value;
        FitToField(window, state);
    } else {
        state.itemHeight = value;
    }
    Redraw(window);
    return 0;
}

void OnCreate(HWND window, ComboState& state, const CREATESTRUCTW& create) {
    state.droppedHeight = create.cy;
    FitToField(window, state);
}

// The open list: the combo box's items, under the stylus while it is down.
ComboState* ComboOf(const DropListState& list) {
    return StateOf<ComboState>(list.combo);
}

ListRowsLayout ListLayout(HWND list, HWND combo, const ComboState& combostate) {
    RECT client;
    GetClientRect(list, &client);
    return LayoutListRows(client, combostate.items.Count(), ItemHeight(combo, combostate),
                          (static_cast<DWORD>(GetWindowLongW(combo, GWL_STYLE)) & WS_VSCROLL) != 0,
                          false);
}

LRESULT OnListButtonDown(HWND list, DropListState& state, LPARAM lParam) {
    ComboState* combo = ComboOf(state);
    if (combo == nullptr) {
        return 0;
    }
    RECT client;
    GetClientRect(list, &client);
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (!PtInRect(&client, point)) {
        // A tap outside the open list closes it without a choice; the tap
        // is taken by the closing, as on the handheld.
        Close(state.combo, *combo, false);
        return 0;
    }
    const ListRowsLayout layout = ListLayout(list, state.combo, *combo);
    const ScrollPart part = layout.ScrollPartAt(combo->items, point);
    if (part != ScrollPart::None) {
        ScrollList(combo->items, layout, part);
        InvalidateRect(list, nullptr, TRUE);
        return 0;
    }
    state.tracking = true;
    combo->listHighlight = layout.ItemAt(combo->items, point);
    InvalidateRect(list, nullptr, TRUE);
    return 0;
}

LRESULT OnListMouseMove(HWND list, const DropListState& state, LPARAM lParam) {
    ComboState* combo = ComboOf(state);
    if (combo == nullptr || !state.tracking) {
        return 0;
    }
    const int index = ListLayout(list, state.combo, *combo)
                          .ItemAt(combo->items, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (index >= 0 && index != combo->listHighlight) {
        combo->listHighlight = index;
        InvalidateRect(list, nullptr, TRUE);
    }
    return 0;
}

LRESULT OnListButtonUp(HWND list, DropListState& state, LPARAM lParam) {
    ComboState* combo = ComboOf(state);
    if (combo == nullptr || !state.tracking) {
        return 0;
    }
    state.tracking = false;
    const int index = ListLayout(list, state.combo, *combo)
                          .ItemAt(combo->items, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (index >= 0) {
        // Destroys this window: nothing of it may be touched afterwards.
        Choose(state.combo, *combo, index);
    }
    return 0;
}

LRESULT OnListCaptureChanged(HWND list, const DropListState& state, LPARAM newCapture) {
    ComboState* combo = ComboOf(state);
    // Another window took the stylus: the list closes as after a tap outside.
    if (combo != nullptr && combo->dropList == list && reinterpret_cast<HWND>(newCapture) != list) {
        Close(state.combo, *combo, false);
    }
    return 0;
}

void OnListPaint(HWND list, const DropListState& state) {
    const paint::PaintCycle cycle(list);
    const ComboState* combo = ComboOf(state);
    if (combo == nullptr) {
        return;
    }
    if (combo->font != nullptr) {
        SelectObject(cycle.Dc(), reinterpret_cast<HGDIOBJ>(combo->font));
    }
    ListRowsLook look;
    look.highlighted = combo->listHighlight;
    PaintListRows(cycle.Dc(), cycle.Client(), combo->items, ListLayout(list, state.combo, *combo),
                  look);
}

} // namespace

LRESULT ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ComboState* state = StateOf<ComboState>(window);
    if (state == nullptr) {
        if (message == WM_NCCREATE) {
            CreateState<ComboState>(
                window, static_cast<DWORD>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->style));
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CREATE:
        OnCreate(window, *state, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
        return 0;
    case WM_DESTROY:
        if (state->dropList != nullptr) {
            const HWND list = state->dropList;
            state->dropList = nullptr;
            DestroyWindow(list);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_SIZE:
        FitToField(window, *state);
        Redraw(window);
        return 0;
    case WM_PAINT:
        OnPaint(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
        if (wParam == 0) {
            Close(window, *state, false);
        }
        Redraw(window);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(window, *state);
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
    case WM_GETTEXT:
        return OnGetText(*state, wParam, lParam);
    case WM_GETTEXTLENGTH: {
        const ListItem* item = state->items.At(state->items.Current());
        return item != nullptr ? static_cast<LRESULT>(item->text.size()) : 0;
    }
    case WM_SETTEXT:
        return OnSetText(window, *state, lParam);
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        Redraw(window);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case CB_ADDSTRING:
        return Changed(window, *state, state->items.Add(TextArgument(lParam)));
    case CB_INSERTSTRING:
        return Changed(window, *state,
                       state->items.Insert(static_cast<int>(static_cast<std::intptr_t>(wParam)),
                                           TextArgument(lParam)));
    case CB_DELETESTRING:
        return Changed(window, *state, state->items.Remove(static_cast<int>(wParam)));
    case CB_RESETCONTENT:
        state->items.Clear();
        state->listHighlight = -1;
        Changed(window, *state, 0);
        return CB_OKAY;
    case CB_GETCOUNT:
        return state->items.Count();
    case CB_GETCURSEL:
        return state->items.Current();
    case CB_SETCURSEL:
        return OnSetCurSel(window, *state, wParam);
    case CB_GETLBTEXT: {
        const ListItem* item = state->items.At(static_cast<int>(wParam));
        return item != nullptr ? CopyText(item->text, 0, reinterpret_cast<WCHAR*>(lParam), false)
                               : CB_ERR;
    }
    case CB_GETLBTEXTLEN: {
        const ListItem* item = state->items.At(static_cast<int>(wParam));
        return item != nullptr ? static_cast<LRESULT>(item->text.size()) : CB_ERR;
    }
    case CB_FINDSTRING:
        return OnFind(*state, wParam, lParam, false);
    case CB_FINDSTRINGEXACT:
        return OnFind(*state, wParam, lParam, true);
    case CB_SELECTSTRING:
        return OnSelectString(window, *state, wParam, lParam);
    case CB_GETITEMDATA: {
        const ListItem* item = state->items.At(static_cast<int>(wParam));
        return item != nullptr ? item->data : CB_ERR;
    }
    case CB_SETITEMDATA: {
        ListItem* item = state->items.At(static_cast<int>(wParam));
        if (item == nullptr) {
            return CB_ERR;
        }
        item->data = lParam;
        return CB_OKAY;
    }
    case CB_SHOWDROPDOWN:
        if (wParam != 0) {
            Drop(window, *state);
        } else {
            Close(window, *state, false);
        }
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return state->dropList != nullptr ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT:
        return OnDroppedRect(window, *state, lParam);
    case CB_GETITEMHEIGHT:
        return static_cast<std::intptr_t>(wParam) == -1 ? FieldHeight(window, *state)
                                                        : ItemHeight(window, *state);
    case CB_SETITEMHEIGHT:
        return OnSetItemHeight(window, *state, wParam, lParam);
    case CB_GETTOPINDEX:
        return state->items.Top();
    case CB_SETTOPINDEX:
        if (state->items.At(static_cast<int>(wParam)) == nullptr) {
            return CB_ERR;
        }
        state->items.SetTop(static_cast<int>(wParam));
        return CB_OKAY;
    case CB_GETDROPPEDWIDTH: {
        RECT field;
        GetWindowRect(window, &field);
        return std::max<int>(state->droppedWidth, field.right - field.left);
    }
    case CB_SETDROPPEDWIDTH:
        state->droppedWidth = static_cast<int>(wParam);
        return std::max(state->droppedWidth, 0);
    case CB_SETEXTENDEDUI:
        state->extendedUi = wParam != 0;
        return CB_OKAY;
    case CB_GETEXTENDEDUI:
        return state->extendedUi ? TRUE : FALSE;
    case CB_INITSTORAGE:
        return state->items.Count() + static_cast<int>(wParam);
    case CB_LIMITTEXT:
    case CB_GETEDITSEL:
    case CB_SETEDITSEL:
    case CB_DIR:
        // A drop-down list has no edit field.
        return CB_ERR;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT DropListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DropListState* state = StateOf<DropListState>(window);
    if (state == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_PAINT:
        OnListPaint(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        // A tap on the list must not take activation from the dialog.
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
        return OnListButtonDown(window, *state, lParam);
    case WM_MOUSEMOVE:
        return OnListMouseMove(window, *state, lParam);
    case WM_LBUTTONUP:
        return OnListButtonUp(window, *state, lParam);
    case WM_CAPTURECHANGED:
        return OnListCaptureChanged(window, *state, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace sim

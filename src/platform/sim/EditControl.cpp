// The single-line edit control: typing at the caret, the selection, the
// caret placed by a tap and moved by keys, horizontal scrolling with
// ES_AUTOHSCROLL, the EM_* messages, and EN_UPDATE and EN_CHANGE to the
// parent after every change of the text by the user.
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
#include "platform/sim/EditBuffer.h"

namespace sim {
namespace {

class EditState : public WindowState {
public:
    EditBuffer buffer;
    // The pixel of the text shown at the left edge of the formatting area.
    int scroll = 0;
    WCHAR passwordChar = 0;
    int leftMargin = -1;
    int rightMargin = -1;
    // A formatting rectangle set by EM_SETRECT; empty means the client area.
    RECT format{};
    bool focused = false;
    bool selecting = false;
    HFONT font = nullptr;
};

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

int Margin(const EditState& state, bool left) {
    const int value = left ? state.leftMargin : state.rightMargin;
    return value >= 0 ? value : 2 * ScreenUnit();
}

RECT FormatRect(HWND window, const EditState& state) {
    if (state.format.right > state.format.left) {
        return state.format;
    }
    RECT client;
    GetClientRect(window, &client);
    client.left += Margin(state, true);
    client.right -= Margin(state, false);
    return client;
}

// The text as it is shown: password characters stand for every character.
std::u16string Shown(const EditState& state, DWORD style) {
    if ((style & ES_PASSWORD) == 0 && state.passwordChar == 0) {
        return state.buffer.Text();
    }
    const WCHAR mask = state.passwordChar != 0 ? state.passwordChar : u'*';
    return std::u16string(state.buffer.Text().size(), mask);
}

// The x of the place before character index, in text pixels (0 at the start
// of the text, before scrolling).
int OffsetOf(HDC dc, const std::u16string& shown, int index) {
    index = std::clamp(index, 0, static_cast<int>(shown.size()));
    return paint::TextWidth(dc,
                            std::u16string_view(shown).substr(0, static_cast<std::size_t>(index)));
}

// The character boundary nearest to text pixel x.
int IndexAt(HDC dc, const std::u16string& shown, int x) {
    int previous = 0;
    for (std::size_t i = 1; i <= shown.size(); ++i) {
        const int right = paint::TextWidth(dc, std::u16string_view(shown).substr(0, i));
        if (x < (previous + right) / 2) {
            return static_cast<int>(i - 1);
        }
        previous = right;
    }
    return static_cast<int>(shown.size());
}

void SelectFont(HDC dc, const EditState& state) {
    if (state.font != nullptr) {
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(state.font));
    }
}

// Scrolls so that the caret is in view; the text never scrolls further left
// than needed to show its end.
void ScrollToCaret(HWND window, EditState& state) {
    const paint::WindowDC dc(window);
    SelectFont(dc.Get(), state);
    const std::u16string shown = Shown(state, StyleOf(window));
    const RECT format = FormatRect(window, state);
    const int width = std::max(1, static_cast<int>(format.right - format.left));
    const int caretX = OffsetOf(dc.Get(), shown, state.buffer.Caret());
    const int textWidth = paint::TextWidth(dc.Get(), shown);
    const int old = state.scroll;
    if (caretX - state.scroll >= width) {
        // Jump by a quarter of the width, as the handheld does, so typing
        // does not scroll on every character.
        state.scroll = caretX - width + width / 4;
    } else if (caretX < state.scroll) {
        state.scroll = std::max(0, caretX - width / 4);
    }
    state.scroll = std::clamp(state.scroll, 0, std::max(0, textWidth - width + 1));
    if (caretX < state.scroll) {
        state.scroll = caretX;
    }
    if (state.scroll != old && (StyleOf(window) & ES_AUTOHSCROLL) != 0) {
        NotifyParent(window, EN_HSCROLL);
    }
}

void Changed(HWND window, EditState& state) {
    ScrollToCaret(window, state);
    InvalidateRect(window, nullptr, TRUE);
    NotifyParent(window, EN_UPDATE);
    NotifyParent(window, EN_CHANGE);
}

void SelectionMoved(HWND window, EditState& state) {
    ScrollToCaret(window, state);
    InvalidateRect(window, nullptr, TRUE);
}

// Without ES_AUTOHSCROLL a single-line control takes only what fits.
bool Fits(HWND window, const EditState& state, std::u16string_view insert) {
    const DWORD style = StyleOf(window);
    if ((style & ES_AUTOHSCROLL) != 0) {
        return true;
    }
    EditBuffer trial = state.buffer;
    bool cut = false;
    trial.ReplaceSelection(insert, false, cut);
    EditState shownState;
    shownState.buffer = trial;
    shownState.passwordChar = state.passwordChar;
    const paint::WindowDC dc(window);
    SelectFont(dc.Get(), state);
    const RECT format = FormatRect(window, state);
    return paint::TextWidth(dc.Get(), Shown(shownState, style)) <= format.right - format.left;
}

// Typing or EM_REPLACESEL: the text goes in as far as the limit allows.
bool Insert(HWND window, EditState& state, std::u16string_view insert, bool canUndo) {
    if (!Fits(window, state, insert)) {
        NotifyParent(window, EN_MAXTEXT);
        return false;
    }
    bool cut = false;
    const bool changed = state.buffer.ReplaceSelection(insert, canUndo, cut);
    if (changed) {
        Changed(window, state);
    }
    if (cut) {
        NotifyParent(window, EN_MAXTEXT);
    }
    return changed;
}

WCHAR Filtered(DWORD style, WCHAR c) {
    if ((style & ES_UPPERCASE) != 0 && c >= u'a' && c <= u'z') {
        return static_cast<WCHAR>(c - u'a' + u'A');
    }
    if ((style & ES_LOWERCASE) != 0 && c >= u'A' && c <= u'Z') {
        return static_cast<WCHAR>(c - u'A' + u'a');
    }
    return c;
}

LRESULT OnChar(HWND window, EditState& state, WPARAM wParam) {
    const DWORD style = StyleOf(window);
    const auto c = static_cast<WCHAR>(wParam);
    if ((style & ES_READONLY) != 0) {
        return 0;
    }
    if (c == VK_BACK) {
        if (state.buffer.DeleteBackward()) {
            Changed(window, state);
        }
        return 0;
    }
    // Other control characters (Enter, Tab, Escape) are the dialog's.
    if (c < 0x20 || c == 0x7F) {
        return 0;
    }
    if ((style & ES_NUMBER) != 0 && (c < u'0' || c > u'9')) {
        return 0;
    }
    const WCHAR typed = Filtered(style, c);
    Insert(window, state, std::u16string_view(&typed, 1), true);
    return 0;
}

LRESULT OnKeyDown(HWND window, EditState& state, WPARAM key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const int caret = state.buffer.Caret();
    switch (key) {
    case VK_LEFT:
        state.buffer.MoveCaret(!shift && state.buffer.HasSelection() ? state.buffer.SelectionStart()
                                                                     : caret - 1,
                               shift);
        break;
    case VK_RIGHT:
        state.buffer.MoveCaret(
            !shift && state.buffer.HasSelection() ? state.buffer.SelectionEnd() : caret + 1, shift);
        break;
    case VK_HOME:
        state.buffer.MoveCaret(0, shift);
        break;
    case VK_END:
        state.buffer.MoveCaret(state.buffer.Length(), shift);
        break;
    case VK_DELETE:
        if ((StyleOf(window) & ES_READONLY) == 0 && state.buffer.DeleteForward()) {
            Changed(window, state);
        }
        return 0;
    default:
        return DefWindowProcW(window, WM_KEYDOWN, key, 0);
    }
    SelectionMoved(window, state);
    return 0;
}

int IndexAtClientX(HWND window, const EditState& state, int x) {
    const paint::WindowDC dc(window);
    SelectFont(dc.Get(), state);
    const RECT format = FormatRect(window, state);
    return IndexAt(dc.Get(), Shown(state, StyleOf(window)), x - format.left + state.scroll);
}

LRESULT OnButtonDown(HWND window, EditState& state, LPARAM lParam) {
    SetFocus(window);
    SetCapture(window);
    state.selecting = true;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    state.buffer.MoveCaret(IndexAtClientX(window, state, GET_X_LPARAM(lParam)), shift);
    SelectionMoved(window, state);
    return 0;
}

LRESULT OnMouseMove(HWND window, EditState& state, LPARAM lParam) {
    if (state.selecting) {
        state.buffer.MoveCaret(IndexAtClientX(window, state, GET_X_LPARAM(lParam)), true);
        SelectionMoved(window, state);
    }
    return 0;
}

LRESULT OnButtonUp(EditState& state) {
    if (state.selecting) {
        state.selecting = false;
        ReleaseCapture();
    }
    return 0;
}

LRESULT OnFocus(HWND window, EditState& state, bool focused) {
    state.focused = focused;
    InvalidateRect(window, nullptr, TRUE);
    NotifyParent(window, focused ? EN_SETFOCUS : EN_KILLFOCUS);
    return 0;
}

LRESULT OnGetText(const EditState& state, WPARAM size, LPARAM lParam) {
    auto* out = reinterpret_cast<WCHAR*>(lParam);
    if (out == nullptr || size == 0) {
        return 0;
    }
    const std::u16string& text = state.buffer.Text();
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(out, text.data(), count * sizeof(WCHAR));
    out[count] = 0;
    return static_cast<LRESULT>(count);
}

LRESULT OnSetText(HWND window, EditState& state, LPARAM lParam) {
    auto text = std::u16string(
        reinterpret_cast<LPCWSTR>(lParam) != nullptr ? reinterpret_cast<LPCWSTR>(lParam) : u"");
    state.buffer.SetText(std::move(text));
    state.scroll = 0;
    // A program's new text tells the parent too on a single-line control.
    Changed(window, state);
    return TRUE;
}

LRESULT OnGetSel(const EditState& state, WPARAM wParam, LPARAM lParam) {
    const auto start = static_cast<DWORD>(state.buffer.SelectionStart());
    const auto end = static_cast<DWORD>(state.buffer.SelectionEnd());
    if (auto* out = reinterpret_cast<DWORD*>(wParam)) {
        *out = start;
    }
    if (auto* out = reinterpret_cast<DWORD*>(lParam)) {
        *out = end;
    }
    return MAKELRESULT(static_cast<WORD>(std::min<DWORD>(start, 0xFFFF)),
                       static_cast<WORD>(std::min<DWORD>(end, 0xFFFF)));
}

LRESULT OnSetSel(HWND window, EditState& state, WPARAM wParam, LPARAM lParam) {
    const auto start = static_cast<int>(static_cast<std::intptr_t>(wParam));
    auto end = static_cast<int>(lParam);
    if (start == -1) {
        // -1 takes the selection away and leaves the caret where it was.
        state.buffer.MoveCaret(state.buffer.Caret(), false);
    } else {
        if (end < 0) {
            end = state.buffer.Length();
        }
        state.buffer.Select(start, end);
    }
    SelectionMoved(window, state);
    return 0;
}

LRESULT OnReplaceSel(HWND window, EditState& state, WPARAM canUndo, LPARAM lParam) {
    const auto text = reinterpret_cast<LPCWSTR>(lParam);
    Insert(window, state, text != nullptr ? std::u16string_view(text) : std::u16string_view(),
           canUndo != 0);
    return 0;
}

LRESULT OnGetLine(const EditState& state, WPARAM line, LPARAM lParam) {
    auto* out = reinterpret_cast<WCHAR*>(lParam);
    if (out == nullptr || line != 0) {
        return 0;
    }
    // The buffer's size comes in its first word; the line is not terminated.
    WORD size = 0;
    std::memcpy(&size, out, sizeof(size));
    const std::u16string& text = state.buffer.Text();
    const std::size_t count = std::min<std::size_t>(text.size(), size);
    std::memcpy(out, text.data(), count * sizeof(WCHAR));
    return static_cast<LRESULT>(count);
}

LRESULT OnPosFromChar(HWND window, const EditState& state, WPARAM index) {
    const paint::WindowDC dc(window);
    SelectFont(dc.Get(), state);
    const std::u16string shown = Shown(state, StyleOf(window));
    if (index > shown.size()) {
        return -1;
    }
    const RECT format = FormatRect(window, state);
    const int x = format.left + OffsetOf(dc.Get(), shown, static_cast<int>(index)) - state.scroll;
    return MAKELRESULT(static_cast<WORD>(x), static_cast<WORD>(format.top));
}

LRESULT OnCharFromPos(HWND window, const EditState& state, LPARAM lParam) {
    return MAKELRESULT(static_cast<WORD>(IndexAtClientX(window, state, GET_X_LPARAM(lParam))), 0);
}

LRESULT OnSetMargins(HWND window, EditState& state, WPARAM which, LPARAM lParam) {
    constexpr WPARAM leftMargin = 0x0001;
    constexpr WPARAM rightMargin = 0x0002;
    if ((which & leftMargin) != 0) {
        state.leftMargin = LOWORD(static_cast<std::uintptr_t>(lParam));
    }
    if ((which & rightMargin) != 0) {
        state.rightMargin = HIWORD(static_cast<std::uintptr_t>(lParam));
    }
    InvalidateRect(window, nullptr, TRUE);
    return 0;
}

LRESULT OnSetRect(HWND window, EditState& state, LPARAM lParam, bool redraw) {
    const auto* rect = reinterpret_cast<const RECT*>(lParam);
    state.format = rect != nullptr ? *rect : RECT{};
    if (redraw) {
        InvalidateRect(window, nullptr, TRUE);
    }
    return 0;
}

LRESULT OnFirstVisible(HWND window, const EditState& state) {
    const paint::WindowDC dc(window);
    SelectFont(dc.Get(), state);
    return IndexAt(dc.Get(), Shown(state, StyleOf(window)), state.scroll);
}

void OnPaint(HWND window, const EditState& state) {
    const paint::PaintCycle cycle(window);
    const HDC dc = cycle.Dc();
    SelectFont(dc, state);
    const paint::Palette palette = paint::Palette::System();
    const DWORD style = StyleOf(window);
    const bool enabled = IsWindowEnabled(window) != FALSE;
    const bool readOnly = (style & ES_READONLY) != 0;
    const COLORREF background = enabled && !readOnly ? palette.window : palette.face;
    paint::Fill(dc, cycle.Client(), background);

    const RECT format = FormatRect(window, state);
    const std::u16string shown = Shown(state, style);
    const int textHeight = paint::TextHeight(dc);
    const int top =
        format.top + std::max(0, static_cast<int>(format.bottom - format.top) - textHeight) / 2;
    const int origin = format.left - state.scroll;
    const COLORREF ink = enabled ? palette.windowText : palette.grayText;
    const RECT line{origin, top, format.right + paint::TextWidth(dc, shown), top + textHeight};
    paint::Text(dc, line, shown, ink, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);

    const bool showSelection = state.focused || (style & ES_NOHIDESEL) != 0;
    if (showSelection && state.buffer.HasSelection()) {
        const int from = OffsetOf(dc, shown, state.buffer.SelectionStart());
        const int to = OffsetOf(dc, shown, state.buffer.SelectionEnd());
        const RECT band{std::max<int>(format.left, origin + from), top,
                        std::min<int>(format.right, origin + to), top + textHeight};
        paint::Fill(dc, band, palette.highlight);
        const std::u16string_view selected = std::u16string_view(shown).substr(
            static_cast<std::size_t>(state.buffer.SelectionStart()),
            static_cast<std::size_t>(state.buffer.SelectionEnd() - state.buffer.SelectionStart()));
        paint::Text(dc, RECT{origin + from, top, origin + to + 1, top + textHeight}, selected,
                    palette.highlightText, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
    if (state.focused && !readOnly) {
        const int x = origin + OffsetOf(dc, shown, state.buffer.Caret());
        if (x >= format.left - 1 && x <= format.right) {
            paint::Fill(dc, RECT{x, top, x + ScreenUnit(), top + textHeight}, palette.windowText);
        }
    }
    // Text that runs past the formatting area is not drawn over the margins.
    paint::Fill(dc,
                RECT{cycle.Client().left, cycle.Client().top, format.left, cycle.Client().bottom},
                background);
    paint::Fill(dc,
                RECT{format.right, cycle.Client().top, cycle.Client().right, cycle.Client().bottom},
                background);
}

LRESULT OnCreate(HWND window, EditState& state, const CREATESTRUCTW& create) {
    if (create.lpszName != nullptr) {
        state.buffer.SetText(create.lpszName);
    }
    if ((create.style & ES_PASSWORD) != 0) {
        state.passwordChar = u'*';
    }
    InvalidateRect(window, nullptr, TRUE);
    return 0;
}

LRESULT DialogCode(WPARAM, LPARAM) {
    return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
}

LRESULT OnSetReadOnly(HWND window, WPARAM readOnly) {
    const DWORD style = StyleOf(window);
    SetWindowLongW(
        window, GWL_STYLE,
        static_cast<LONG_PTR>(readOnly != 0 ? style | ES_READONLY : style & ~ES_READONLY));
    InvalidateRect(window, nullptr, TRUE);
    return TRUE;
}

} // namespace

LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    EditState* state = StateOf<EditState>(window);
    if (state == nullptr) {
        if (message == WM_NCCREATE) {
            CreateState<EditState>(window);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CREATE:
        return OnCreate(window, *state, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
    case WM_PAINT:
        OnPaint(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_CHAR:
        return OnChar(window, *state, wParam);
    case WM_KEYDOWN:
        return OnKeyDown(window, *state, wParam);
    case WM_LBUTTONDOWN:
        return OnButtonDown(window, *state, lParam);
    case WM_LBUTTONDBLCLK:
        state->buffer.Select(0, state->buffer.Length());
        SelectionMoved(window, *state);
        return 0;
    case WM_MOUSEMOVE:
        return OnMouseMove(window, *state, lParam);
    case WM_LBUTTONUP:
        return OnButtonUp(*state);
    case WM_CAPTURECHANGED:
        state->selecting = false;
        return 0;
    case WM_SETFOCUS:
        return OnFocus(window, *state, true);
    case WM_KILLFOCUS:
        return OnFocus(window, *state, false);
    case WM_ENABLE:
    case WM_SIZE:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETDLGCODE:
        return DialogCode(wParam, lParam);
    case WM_GETTEXT:
        return OnGetText(*state, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return state->buffer.Length();
    case WM_SETTEXT:
        return OnSetText(window, *state, lParam);
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case WM_CLEAR:
        if ((StyleOf(window) & ES_READONLY) == 0 && state->buffer.HasSelection() &&
            state->buffer.DeleteForward()) {
            Changed(window, *state);
        }
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        if (state->buffer.Undo()) {
            Changed(window, *state);
            return TRUE;
        }
        return FALSE;
    case EM_GETSEL:
        return OnGetSel(*state, wParam, lParam);
    case EM_SETSEL:
        return OnSetSel(window, *state, wParam, lParam);
    case EM_REPLACESEL:
        return OnReplaceSel(window, *state, wParam, lParam);
    case EM_LIMITTEXT:
        state->buffer.SetLimit(static_cast<int>(wParam));
        return 0;
    case EM_GETLIMITTEXT:
        return state->buffer.Limit();
    case EM_GETMODIFY:
        return state->buffer.Modified() ? TRUE : FALSE;
    case EM_SETMODIFY:
        state->buffer.SetModified(wParam != 0);
        return 0;
    case EM_CANUNDO:
        return state->buffer.CanUndo() ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
        state->buffer.EmptyUndo();
        return 0;
    case EM_SETREADONLY:
        return OnSetReadOnly(window, wParam);
    case EM_SETPASSWORDCHAR:
        state->passwordChar = static_cast<WCHAR>(wParam);
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case EM_GETPASSWORDCHAR:
        return state->passwordChar;
    case EM_GETLINECOUNT:
        return 1;
    case EM_LINEINDEX:
        return (static_cast<std::intptr_t>(wParam) <= 0) ? 0 : -1;
    case EM_LINELENGTH:
        return state->buffer.Length();
    case EM_LINEFROMCHAR:
        return 0;
    case EM_GETLINE:
        return OnGetLine(*state, wParam, lParam);
    case EM_GETFIRSTVISIBLELINE:
        return OnFirstVisible(window, *state);
    case EM_SCROLLCARET:
        SelectionMoved(window, *state);
        return TRUE;
    case EM_GETRECT:
        if (auto* out = reinterpret_cast<RECT*>(lParam)) {
            *out = FormatRect(window, *state);
        }
        return 0;
    case EM_SETRECT:
        return OnSetRect(window, *state, lParam, true);
    case EM_SETRECTNP:
        return OnSetRect(window, *state, lParam, false);
    case EM_SETMARGINS:
        return OnSetMargins(window, *state, wParam, lParam);
    case EM_GETMARGINS:
        return MAKELRESULT(static_cast<WORD>(Margin(*state, true)),
                           static_cast<WORD>(Margin(*state, false)));
    case EM_POSFROMCHAR:
        return OnPosFromChar(window, *state, wParam);
    case EM_CHARFROMPOS:
        return OnCharFromPos(window, *state, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace sim

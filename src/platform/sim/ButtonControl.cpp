// The button: push buttons, check boxes (automatic or not, two or three
// states), radio buttons and group boxes. A tap that ends on the button sends
// BN_CLICKED to the parent; automatic kinds change their own check first.
#include <vector>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Geometry.h"
#include "platform/Input.h"
#include "platform/Painting.h"
#include "platform/Window.h"
#include "platform/sim/ControlPaint.h"
#include "platform/sim/ControlProcedures.h"
#include "platform/sim/ControlSupport.h"

namespace sim {
namespace {

class ButtonState : public WindowState {
public:
    UINT check = BST_UNCHECKED;
    // Shown pressed: the stylus is down on it, or BM_SETSTATE said so.
    bool pushed = false;
    // The stylus went down on the button and has not come up yet.
    bool tracking = false;
    bool focused = false;
    HFONT font = nullptr;
    HANDLE image = nullptr;
};

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

DWORD KindOf(HWND window) {
    return StyleOf(window) & BS_TYPEMASK;
}

bool IsCheckKind(DWORD kind) {
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE ||
           kind == BS_AUTO3STATE;
}

bool IsRadioKind(DWORD kind) {
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

std::u16string TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return paint::WithoutMnemonics(text);
}

void Redraw(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
}

// The radio buttons of a group run from a sibling with WS_GROUP up to the
// next one.
std::vector<HWND> RadioGroupOf(HWND button) {
    std::vector<HWND> group;
    const HWND parent = GetParent(button);
    if (parent == nullptr) {
        return group;
    }
    bool mine = false;
    for (HWND sibling = GetWindow(button, GW_HWNDFIRST); sibling != nullptr;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if ((StyleOf(sibling) & WS_GROUP) != 0 && !group.empty()) {
            if (mine) {
                break;
            }
            group.clear();
        }
        group.push_back(sibling);
        mine = mine || sibling == button;
    }
    return mine ? group : std::vector<HWND>{};
}

void SetCheck(HWND window, ButtonState& state, UINT check) {
    const DWORD kind = KindOf(window);
    if (!IsCheckKind(kind) && !IsRadioKind(kind)) {
        return;
    }
    if (check == BST_INDETERMINATE && kind != BS_3STATE && kind != BS_AUTO3STATE) {
        check = BST_CHECKED;
    }
    if (check > BST_INDETERMINATE) {
        check = BST_CHECKED;
    }
    if (state.check != check) {
        state.check = check;
        Redraw(window);
    }
}

// What a click does to the button itself before the parent hears of it.
void Toggle(HWND window, ButtonState& state) {
    switch (KindOf(window)) {
    case BS_AUTOCHECKBOX:
        SetCheck(window, state, state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        break;
    case BS_AUTO3STATE:
        SetCheck(window, state, (state.check + 1) % 3);
        break;
    case BS_AUTORADIOBUTTON:
        for (HWND other : RadioGroupOf(window)) {
            if (other != window && KindOf(other) == BS_AUTORADIOBUTTON) {
                SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
            }
        }
        SetCheck(window, state, BST_CHECKED);
        break;
    default:
        break;
    }
}

void Click(HWND window, ButtonState& state) {
    if (KindOf(window) == BS_GROUPBOX) {
        return;
    }
    Toggle(window, state);
    NotifyParent(window, BN_CLICKED);
}

void SetPushed(HWND window, ButtonState& state, bool pushed) {
    if (state.pushed != pushed) {
        state.pushed = pushed;
        Redraw(window);
    }
}

bool Inside(HWND window, LPARAM lParam) {
    RECT client;
    GetClientRect(window, &client);
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    return x >= client.left && x < client.right && y >= client.top && y < client.bottom;
}

LRESULT OnButtonDown(HWND window, ButtonState& state) {
    if (KindOf(window) == BS_GROUPBOX) {
        return 0;
    }
    SetFocus(window);
    SetCapture(window);
    state.tracking = true;
    SetPushed(window, state, true);
    return 0;
}

LRESULT OnMouseMove(HWND window, ButtonState& state, LPARAM lParam) {
    if (state.tracking) {
        SetPushed(window, state, Inside(window, lParam));
    }
    return 0;
}

LRESULT OnButtonUp(HWND window, ButtonState& state, LPARAM lParam) {
    if (!state.tracking) {
        return 0;
    }
    state.tracking = false;
    SetPushed(window, state, false);
    ReleaseCapture();
    if (Inside(window, lParam)) {
        Click(window, state);
    }
    return 0;
}

LRESULT OnCaptureChanged(HWND window, ButtonState& state) {
    if (state.tracking) {
        state.tracking = false;
        SetPushed(window, state, false);
    }
    return 0;
}

LRESULT OnKey(HWND window, ButtonState& state, UINT message, WPARAM key) {
    if (key != VK_SPACE) {
        return DefWindowProcW(window, message, key, 0);
    }
    if (message == WM_KEYDOWN) {
        SetPushed(window, state, true);
    } else if (state.pushed) {
        SetPushed(window, state, false);
        Click(window, state);
    }
    return 0;
}

LRESULT OnFocus(HWND window, ButtonState& state, bool focused) {
    state.focused = focused;
    if ((StyleOf(window) & BS_NOTIFY) != 0) {
        NotifyParent(window, focused ? BN_SETFOCUS : BN_KILLFOCUS);
    }
    if (!focused && state.pushed) {
        state.pushed = false;
    }
    Redraw(window);
    return 0;
}

LRESULT DialogCode(HWND window) {
    const DWORD kind = KindOf(window);
    if (kind == BS_DEFPUSHBUTTON) {
        return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    }
    if (kind == BS_PUSHBUTTON) {
        return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    }
    if (IsRadioKind(kind)) {
        return DLGC_BUTTON | DLGC_RADIOBUTTON;
    }
    if (kind == BS_GROUPBOX) {
        return DLGC_STATIC;
    }
    return DLGC_BUTTON;
}

void PaintPushButton(HDC dc, const RECT& client, const std::u16string& text, bool pushed,
                     bool enabled, bool isDefault, bool focused) {
    const paint::Palette palette = paint::Palette::System();
    const int unit = ScreenUnit();
    const COLORREF face = pushed ? palette.windowText : palette.window;
    const COLORREF ink = !enabled ? palette.grayText : pushed ? palette.window : palette.windowText;
    paint::Fill(dc, client, face);
    paint::Frame(dc, client, enabled ? palette.windowText : palette.grayText,
                 isDefault ? 2 * unit : unit);
    if (focused && !pushed) {
        RECT inner = client;
        InflateRect(&inner, -3 * unit, -3 * unit);
        paint::Frame(dc, inner, palette.shadow, 1);
    }
    paint::Text(dc, client, text, ink, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void PaintCheckOrRadio(HDC dc, const RECT& client, const std::u16string& text, DWORD style,
                       const ButtonState& state, bool enabled) {
    const paint::Palette palette = paint::Palette::System();
    const int unit = ScreenUnit();
    const COLORREF background = GetSysColor(COLOR_STATIC);
    paint::Fill(dc, client, background);
    const int box = 13 * unit;
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    const int top = (client.bottom - client.top - box) / 2;
    const int boxLeft = leftText ? client.right - box : client.left;
    const RECT mark{boxLeft, top, boxLeft + box, top + box};
    const COLORREF ink = enabled ? palette.windowText : palette.grayText;
    const COLORREF inside = state.pushed ? palette.face : palette.window;
    if (IsRadioKind(style & BS_TYPEMASK)) {
        paint::RadioDot(dc,
                        RECT{mark.left - box / 2, mark.top - box / 2, mark.right + box / 2,
                             mark.bottom + box / 2},
                        ink);
        paint::RadioDot(dc,
                        RECT{mark.left - box / 2 + unit, mark.top - box / 2 + unit,
                             mark.right + box / 2 - unit, mark.bottom + box / 2 - unit},
                        inside);
        if (state.check == BST_CHECKED) {
            paint::RadioDot(dc, mark, ink);
        }
    } else {
        paint::Fill(dc, mark, inside);
        paint::Frame(dc, mark, ink, unit);
        if (state.check == BST_CHECKED) {
            RECT tick = mark;
            InflateRect(&tick, -2 * unit, -2 * unit);
            paint::CheckMark(dc, tick, ink);
        } else if (state.check == BST_INDETERMINATE) {
            RECT grey = mark;
            InflateRect(&grey, -3 * unit, -3 * unit);
            paint::Fill(dc, grey, palette.grayText);
        }
    }
    const int gap = 4 * unit;
    RECT label = client;
    if (leftText) {
        label.right = mark.left - gap;
    } else {
        label.left = mark.right + gap;
    }
    paint::Text(dc, label, text, ink,
                DT_VCENTER | DT_NOPREFIX |
                    ((style & BS_MULTILINE) != 0 ? DT_WORDBREAK : DT_SINGLELINE));
    if (state.focused) {
        paint::HorizontalLine(dc, label.left, label.left + paint::TextWidth(dc, text),
                              label.bottom - 1, palette.shadow);
    }
}

void PaintGroupBox(HDC dc, const RECT& client, const std::u16string& text, bool enabled) {
    const paint::Palette palette = paint::Palette::System();
    const int half = paint::TextHeight(dc) / 2;
    const COLORREF background = GetSysColor(COLOR_STATIC);
    paint::Fill(dc, client, background);
    paint::Frame(dc, RECT{client.left, client.top + half, client.right, client.bottom},
                 palette.shadow);
    if (!text.empty()) {
        const int unit = ScreenUnit();
        const RECT label{client.left + 6 * unit, client.top,
                         client.left + 10 * unit + paint::TextWidth(dc, text),
                         client.top + 2 * half};
        paint::Fill(dc, label, background);
        paint::Text(dc, RECT{label.left + 2 * unit, label.top, label.right, label.bottom}, text,
                    enabled ? palette.windowText : palette.grayText, DT_SINGLELINE | DT_NOPREFIX);
    }
}

void OnPaint(HWND window, const ButtonState& state) {
    const paint::PaintCycle cycle(window);
    if (state.font != nullptr) {
        SelectObject(cycle.Dc(), reinterpret_cast<HGDIOBJ>(state.font));
    }
    const DWORD style = StyleOf(window);
    const DWORD kind = style & BS_TYPEMASK;
    const bool enabled = IsWindowEnabled(window) != FALSE;
    const std::u16string text = TextOf(window);
    if (kind == BS_GROUPBOX) {
        PaintGroupBox(cycle.Dc(), cycle.Client(), text, enabled);
    } else if ((IsCheckKind(kind) || IsRadioKind(kind)) && (style & BS_PUSHLIKE) == 0) {
        PaintCheckOrRadio(cycle.Dc(), cycle.Client(), text, style, state, enabled);
    } else {
        const bool down =
            state.pushed || ((style & BS_PUSHLIKE) != 0 && state.check == BST_CHECKED);
        PaintPushButton(cycle.Dc(), cycle.Client(), text, down, enabled, kind == BS_DEFPUSHBUTTON,
                        state.focused);
    }
}

LRESULT OnSetStyle(HWND window, WPARAM style, LPARAM redraw) {
    const DWORD old = StyleOf(window);
    SetWindowLongW(window, GWL_STYLE, static_cast<LONG_PTR>((old & ~0xFFFFu) | (style & 0xFFFF)));
    if (redraw != 0) {
        Redraw(window);
    }
    return 0;
}

} // namespace

LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ButtonState* state = StateOf<ButtonState>(window);
    if (state == nullptr) {
        if (message == WM_NCCREATE) {
            CreateState<ButtonState>(window);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_PAINT:
        OnPaint(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(window, *state);
    case WM_MOUSEMOVE:
        return OnMouseMove(window, *state, lParam);
    case WM_LBUTTONUP:
        return OnButtonUp(window, *state, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(window, *state);
    case WM_KEYDOWN:
    case WM_KEYUP:
        return OnKey(window, *state, message, wParam);
    case WM_SETFOCUS:
        return OnFocus(window, *state, true);
    case WM_KILLFOCUS:
        return OnFocus(window, *state, false);
    case WM_ENABLE:
        Redraw(window);
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        Redraw(window);
        return result;
    }
    case WM_GETDLGCODE:
        return DialogCode(window);
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(static_cast<std::uintptr_t>(lParam)) != 0) {
            Redraw(window);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case BM_GETCHECK:
        return state->check;
    case BM_SETCHECK:
        SetCheck(window, *state, static_cast<UINT>(wParam));
        return 0;
    case BM_GETSTATE:
        return state->check | (state->pushed ? BST_PUSHED : 0) | (state->focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetPushed(window, *state, wParam != 0);
        return 0;
    case BM_SETSTYLE:
        return OnSetStyle(window, wParam, lParam);
    case BM_CLICK:
        if (IsWindowEnabled(window)) {
            Click(window, *state);
        }
        return 0;
    case BM_GETIMAGE:
        return reinterpret_cast<LRESULT>(state->image);
    case BM_SETIMAGE: {
        const HANDLE previous = state->image;
        state->image = reinterpret_cast<HANDLE>(lParam);
        Redraw(window);
        return reinterpret_cast<LRESULT>(previous);
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace sim

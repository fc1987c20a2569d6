// The toolbar: buttons with images from TB_ADDBITMAP and texts, in a row;
// hidden buttons take no room and cannot be tapped. A tap that ends on an
// enabled button sends WM_COMMAND with its command id to the owner. Buttons
// are hidden, shown, pressed, checked and enabled by command id, and
// TB_GETBUTTONINFOW / TB_SETBUTTONINFOW read and change them field by field.
#include <algorithm>
#include <cstring>

#include "platform/Controls.h"
#include "platform/Geometry.h"
#include "platform/Painting.h"
#include "platform/Resources.h"
#include "platform/Window.h"
#include "platform/sim/ControlPaint.h"
#include "platform/sim/ControlProcedures.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/ImageLoading.h"
#include "platform/sim/Theme.h"
#include "platform/sim/ToolbarState.h"

namespace sim {
namespace {

void Redraw(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
}

ToolbarButton* ByCommand(ToolbarState& state, WPARAM command) {
    const int index = IndexOfCommand(state.buttons, static_cast<int>(command));
    return index >= 0 ? &state.buttons[static_cast<std::size_t>(index)] : nullptr;
}

ToolbarButton* ByIndex(ToolbarState& state, WPARAM index) {
    return index < state.buttons.size() ? &state.buttons[index] : nullptr;
}

bool IsTextPointer(INT_PTR value) {
    return (static_cast<std::uintptr_t>(value) >> 16) != 0;
}

ToolbarButton FromTbButton(const ToolbarState& state, const TBBUTTON& source) {
    ToolbarButton button;
    button.image = source.iBitmap;
    button.command = source.idCommand;
    button.state = source.fsState;
    button.style = source.fsStyle;
    button.data = source.dwData;
    if (IsTextPointer(source.iString)) {
        button.text = reinterpret_cast<LPCWSTR>(source.iString);
    } else if (source.iString >= 0 &&
               static_cast<std::size_t>(source.iString) < state.strings.size()) {
        button.text = state.strings[static_cast<std::size_t>(source.iString)];
    }
    return button;
}

// Images from a bitmap: a resource of the module hInst, or a bitmap handle.
// Without TB_SETBITMAPSIZE the images are cut at the default 16 x 15, unless
// the program said how many images the bitmap holds and they are of another
// size: then the bitmap's width divided by that count, and its height.
LRESULT OnAddBitmap(HWND window, ToolbarState& state, WPARAM count, LPARAM lParam) {
    const auto* source = reinterpret_cast<const TBADDBITMAP*>(lParam);
    if (source == nullptr) {
        return -1;
    }
    std::optional<res::Image> strip;
    if (source->hInst != nullptr) {
        strip = LoadBitmapImage(source->hInst, MAKEINTRESOURCEW(static_cast<WORD>(source->nID)));
    } else {
        strip = ImageOfBitmap(reinterpret_cast<HBITMAP>(source->nID));
    }
    if (!strip) {
        return -1;
    }
    int width = state.bitmapWidth;
    int height = state.bitmapHeight;
    if (!state.bitmapSizeSet && count > 0 && strip->width / static_cast<int>(count) != width) {
        width = strip->width / static_cast<int>(count);
        height = strip->height;
    }
    std::vector<res::Image> cut = CutImageStrip(*strip, width, height);
    if (count > 0 && cut.size() > count) {
        cut.resize(count);
    }
    const auto first = static_cast<LRESULT>(state.images.size());
    for (res::Image& image : cut) {
        state.images.push_back(std::move(image));
    }
    Redraw(window);
    return first;
}

LRESULT OnAddString(ToolbarState& state, WPARAM instance, LPARAM lParam) {
    const auto first = static_cast<LRESULT>(state.strings.size());
    if (instance != 0) {
        WCHAR buffer[256] = {};
        const int length = LoadStringW(reinterpret_cast<HINSTANCE>(instance),
                                       static_cast<UINT>(lParam), buffer, 256);
        if (length <= 0) {
            return -1;
        }
        state.strings.emplace_back(buffer, static_cast<std::size_t>(length));
        return first;
    }
    // Texts one after another, each ended by a zero, the list by an empty one.
    auto text = reinterpret_cast<LPCWSTR>(lParam);
    if (text == nullptr) {
        return -1;
    }
    while (*text != 0) {
        std::u16string one(text);
        text += one.size() + 1;
        state.strings.push_back(std::move(one));
    }
    return first;
}

LRESULT OnAddButtons(HWND window, ToolbarState& state, WPARAM count, LPARAM lParam, int at) {
    const auto* source = reinterpret_cast<const TBBUTTON*>(lParam);
    if (source == nullptr) {
        return FALSE;
    }
    if (at < 0 || at > static_cast<int>(state.buttons.size())) {
        at = static_cast<int>(state.buttons.size());
    }
    for (WPARAM i = 0; i < count; ++i) {
        state.buttons.insert(state.buttons.begin() + at + static_cast<int>(i),
                             FromTbButton(state, source[i]));
    }
    Redraw(window);
    return TRUE;
}

LRESULT OnGetButton(const ToolbarState& state, WPARAM index, LPARAM lParam) {
    auto* out = reinterpret_cast<TBBUTTON*>(lParam);
    if (out == nullptr || index >= state.buttons.size()) {
        return FALSE;
    }
    const ToolbarButton& button = state.buttons[index];
    *out = TBBUTTON{};
    out->iBitmap = button.image;
    out->idCommand = button.command;
    out->fsState = button.state;
    out->fsStyle = button.style;
    out->dwData = button.data;
    out->iString = button.text.empty() ? -1 : reinterpret_cast<INT_PTR>(button.text.c_str());
    return TRUE;
}

// Sets or clears one state bit of the button with that command.
LRESULT ChangeState(HWND window, ToolbarState& state, WPARAM command, BYTE bit, bool set) {
    ToolbarButton* button = ByCommand(state, command);
    if (button == nullptr) {
        return FALSE;
    }
    button->state =
        set ? static_cast<BYTE>(button->state | bit) : static_cast<BYTE>(button->state & ~bit);
    Redraw(window);
    return TRUE;
}

LRESULT HasState(ToolbarState& state, WPARAM command, BYTE bit) {
    const ToolbarButton* button = ByCommand(state, command);
    if (button == nullptr) {
        return -1;
    }
    return (button->state & bit) != 0 ? TRUE : FALSE;
}

// The record size the handheld gives is smaller than this host's; neither is
// checked, since the fields read are those of the mask.
LRESULT OnGetButtonInfo(ToolbarState& state, WPARAM command, LPARAM lParam) {
    auto* info = reinterpret_cast<TBBUTTONINFOW*>(lParam);
    const int index = IndexOfCommand(state.buttons, static_cast<int>(command));
    if (info == nullptr || index < 0) {
        return -1;
    }
    const ToolbarButton& button = state.buttons[static_cast<std::size_t>(index)];
    if ((info->dwMask & TBIF_COMMAND) != 0) {
        info->idCommand = button.command;
    }
    if ((info->dwMask & TBIF_IMAGE) != 0) {
        info->iImage = button.image;
    }
    if ((info->dwMask & TBIF_STATE) != 0) {
        info->fsState = button.state;
    }
    if ((info->dwMask & TBIF_STYLE) != 0) {
        info->fsStyle = button.style;
    }
    if ((info->dwMask & TBIF_LPARAM) != 0) {
        info->lParam = button.data;
    }
    if ((info->dwMask & TBIF_SIZE) != 0) {
        info->cx = static_cast<WORD>(button.width);
    }
    if ((info->dwMask & TBIF_TEXT) != 0 && info->pszText != nullptr && info->cchText > 0) {
        const std::size_t count =
            std::min<std::size_t>(button.text.size(), static_cast<std::size_t>(info->cchText - 1));
        std::memcpy(info->pszText, button.text.data(), count * sizeof(WCHAR));
        info->pszText[count] = 0;
    }
    return index;
}

LRESULT OnSetButtonInfo(HWND window, ToolbarState& state, WPARAM command, LPARAM lParam) {
    const auto* info = reinterpret_cast<const TBBUTTONINFOW*>(lParam);
    ToolbarButton* button = ByCommand(state, command);
    if (info == nullptr || button == nullptr) {
        return FALSE;
    }
    if ((info->dwMask & TBIF_COMMAND) != 0) {
        button->command = info->idCommand;
    }
    if ((info->dwMask & TBIF_IMAGE) != 0) {
        button->image = info->iImage;
    }
    if ((info->dwMask & TBIF_STATE) != 0) {
        button->state = info->fsState;
    }
    if ((info->dwMask & TBIF_STYLE) != 0) {
        button->style = info->fsStyle;
    }
    if ((info->dwMask & TBIF_LPARAM) != 0) {
        button->data = info->lParam;
    }
    if ((info->dwMask & TBIF_SIZE) != 0) {
        button->width = info->cx;
    }
    if ((info->dwMask & TBIF_TEXT) != 0) {
        button->text = info->pszText != nullptr ? std::u16string(info->pszText) : std::u16string();
    }
    Redraw(window);
    return TRUE;
}

LRESULT OnGetButtonText(ToolbarState& state, WPARAM command, LPARAM lParam) {
    const ToolbarButton* button = ByCommand(state, command);
    if (button == nullptr) {
        return -1;
    }
    if (auto* out = reinterpret_cast<WCHAR*>(lParam)) {
        std::memcpy(out, button->text.c_str(), (button->text.size() + 1) * sizeof(WCHAR));
    }
    return static_cast<LRESULT>(button->text.size());
}

LRESULT OnGetRect(HWND window, const ToolbarState& state, int index, LPARAM lParam,
                  bool hiddenFails) {
    auto* out = reinterpret_cast<RECT*>(lParam);
    if (out == nullptr || index < 0 || index >= static_cast<int>(state.buttons.size())) {
        return FALSE;
    }
    if (hiddenFails && state.buttons[static_cast<std::size_t>(index)].IsHidden()) {
        return FALSE;
    }
    *out = ButtonRects(window, state)[static_cast<std::size_t>(index)];
    return TRUE;
}

LRESULT OnAutoSize(HWND window, const ToolbarState& state) {
    if (state.menuBar || (static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & WS_CHILD) == 0) {
        return 0;
    }
    const HWND parent = GetParent(window);
    RECT client;
    GetClientRect(parent, &client);
    const int height =
        (state.buttonHeight > 0 ? state.buttonHeight : state.bitmapHeight + 7 * ScreenUnit()) +
        2 * ScreenUnit();
    SetWindowPos(window, nullptr, 0, 0, client.right - client.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

// Checks a TBSTYLE_CHECK button; in a group, the others come out.
void ToggleCheck(ToolbarState& state, std::size_t index) {
    ToolbarButton& button = state.buttons[index];
    if ((button.style & TBSTYLE_CHECK) == 0) {
        return;
    }
    if ((button.style & TBSTYLE_GROUP) != 0) {
        for (std::size_t i = index; i-- > 0 && (state.buttons[i].style & TBSTYLE_GROUP) != 0;) {
            state.buttons[i].state &= static_cast<BYTE>(~TBSTATE_CHECKED);
        }
        for (std::size_t i = index + 1;
             i < state.buttons.size() && (state.buttons[i].style & TBSTYLE_GROUP) != 0; ++i) {
            state.buttons[i].state &= static_cast<BYTE>(~TBSTATE_CHECKED);
        }
        button.state |= TBSTATE_CHECKED;
    } else {
        button.state ^= TBSTATE_CHECKED;
    }
}

LRESULT OnButtonDown(HWND window, ToolbarState& state, LPARAM lParam) {
    const int index = ButtonAt(state.buttons, ButtonRects(window, state),
                               POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (index < 0 || !state.buttons[static_cast<std::size_t>(index)].IsEnabled()) {
        return 0;
    }
    state.tracking = index;
    state.trackingInside = true;
    SetCapture(window);
    Redraw(window);
    return 0;
}

LRESULT OnMouseMove(HWND window, ToolbarState& state, LPARAM lParam) {
    if (state.tracking < 0) {
        return 0;
    }
    const bool inside =
        ButtonAt(state.buttons, ButtonRects(window, state),
                 POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) == state.tracking;
    if (inside != state.trackingInside) {
        state.trackingInside = inside;
        Redraw(window);
    }
    return 0;
}

LRESULT OnButtonUp(HWND window, ToolbarState& state, LPARAM lParam) {
    if (state.tracking < 0) {
        return 0;
    }
    const int index = state.tracking;
    state.tracking = -1;
    ReleaseCapture();
    Redraw(window);
    const int under = ButtonAt(state.buttons, ButtonRects(window, state),
                               POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (under != index || !state.buttons[static_cast<std::size_t>(index)].IsEnabled()) {
        return 0;
    }
    ToggleCheck(state, static_cast<std::size_t>(index));
    // The owner may change the buttons while it handles the command.
    const int command = state.buttons[static_cast<std::size_t>(index)].command;
    if (state.notify != nullptr) {
        SendMessageW(state.notify, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), BN_CLICKED),
                     reinterpret_cast<LPARAM>(window));
    }
    return 0;
}

void PaintButton(HDC dc, const ToolbarState& state, const ToolbarButton& button, const RECT& rect,
                 bool down, const paint::Palette& palette, COLORREF background) {
    const int unit = ScreenUnit();
    if (button.IsSeparator()) {
        if (!state.menuBar) {
            const int x = (rect.left + rect.right) / 2;
            paint::Fill(dc, RECT{x, rect.top + 3 * unit, x + unit, rect.bottom - 3 * unit},
                        palette.shadow);
        } else {
            const int x = (rect.left + rect.right) / 2;
            paint::Fill(dc, RECT{x, rect.top + 5 * unit, x + unit, rect.bottom - 5 * unit},
                        theme::kMenuBarSeparator);
        }
        return;
    }
    const bool checked = (button.state & TBSTATE_CHECKED) != 0;
    const bool enabled = button.IsEnabled();
    const bool imageOnly = button.text.empty();
    COLORREF face = background;
    COLORREF ink = !enabled        ? palette.grayText
                   : state.menuBar ? theme::kMenuBarText
                                   : palette.faceText;
    if (down && !imageOnly) {
        // A soft key under the stylus turns dark, its text light.
        face = palette.highlight;
        ink = palette.highlightText;
        paint::Fill(dc, rect, face);
    } else if (down || checked) {
        // An image button held down shows sunk into the bar, so that its
        // image stays legible.
        RECT inset = rect;
        InflateRect(&inset, -unit, -unit);
        face = palette.window;
        paint::Fill(dc, inset, face);
        paint::Frame(dc, inset, palette.shadow, unit);
    }
    int x = rect.left;
    const res::Image* image =
        button.image >= 0 && static_cast<std::size_t>(button.image) < state.images.size()
            ? &state.images[static_cast<std::size_t>(button.image)]
            : nullptr;
    if (image != nullptr) {
        const int width = button.text.empty() ? rect.right - rect.left : image->width + 6 * unit;
        paint::Image(dc, *image, x + (width - image->width) / 2,
                     rect.top + (rect.bottom - rect.top - image->height) / 2, face, !enabled);
        x += width;
    }
    if (!button.text.empty()) {
        RECT text{x, rect.top, rect.right, rect.bottom};
        if (button.popup != nullptr) {
            text.right -= DropMarkWidth();
            paint::Arrow(dc,
                         RECT{text.right - 2 * unit, rect.top, rect.right - 2 * unit, rect.bottom},
                         paint::Direction::Up, ink);
        }
        paint::Text(dc, text, paint::WithoutMnemonics(button.text), ink,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void OnPaint(HWND window, const ToolbarState& state) {
    const paint::PaintCycle cycle(window);
    const HDC dc = cycle.Dc();
    const paint::Palette palette = paint::Palette::System();
    const RECT& client = cycle.Client();
    COLORREF background = palette.face;
    if (state.menuBar) {
        // The shell's bar: light at the top, deeper towards the bottom, with
        // an edge against the program's window above it.
        paint::VerticalGradient(dc, client, theme::kMenuBarTop, theme::kMenuBarBottom);
        paint::HorizontalLine(dc, client.left, client.right, client.top, theme::kMenuBarSeparator,
                              ScreenUnit());
        background = paint::Mix(theme::kMenuBarTop, theme::kMenuBarBottom, 1, 2);
    } else {
        paint::Fill(dc, client, background);
    }
    const std::vector<RECT> rects = ButtonRects(window, state);
    for (std::size_t i = 0; i < state.buttons.size(); ++i) {
        const ToolbarButton& button = state.buttons[i];
        if (button.IsHidden()) {
            continue;
        }
        const bool down = (static_cast<int>(i) == state.tracking && state.trackingInside) ||
                          (button.state & TBSTATE_PRESSED) != 0;
        PaintButton(dc, state, button, rects[i], down, palette, background);
    }
}

} // namespace

int DropMarkWidth() {
    return 10 * ScreenUnit();
}

std::vector<RECT> ButtonRects(HWND window, const ToolbarState& state) {
    RECT client;
    GetClientRect(window, &client);
    const int unit = ScreenUnit();
    ToolbarMetrics metrics;
    metrics.height = client.bottom - client.top;
    metrics.imageButtonWidth =
        state.buttonWidth > 0 ? state.buttonWidth : state.bitmapWidth + 7 * unit;
    metrics.separatorWidth = (state.menuBar ? 4 : 8) * unit;
    metrics.textPadding = 8 * unit;
    const paint::WindowDC dc(window);
    return LayoutToolbar(state.buttons, metrics, 0, [&](const ToolbarButton& button) {
        const int text = paint::TextWidth(dc.Get(), paint::WithoutMnemonics(button.text));
        return button.popup != nullptr ? text + DropMarkWidth() : text;
    });
}

LRESULT ToolbarMessage(HWND window, ToolbarState& state, UINT message, WPARAM wParam,
                       LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint(window, state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
    case WM_ENABLE:
        Redraw(window);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(window, state, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(window, state, lParam);
    case WM_LBUTTONUP:
        return OnButtonUp(window, state, lParam);
    case WM_CAPTURECHANGED:
        if (state.tracking >= 0 && reinterpret_cast<HWND>(lParam) != window) {
            state.tracking = -1;
            Redraw(window);
        }
        return 0;
    case TB_ADDBITMAP:
        return OnAddBitmap(window, state, wParam, lParam);
    case TB_ADDSTRINGW:
        return OnAddString(state, wParam, lParam);
    case TB_ADDBUTTONSW:
        return OnAddButtons(window, state, wParam, lParam, -1);
    case TB_INSERTBUTTONW:
        return OnAddButtons(window, state, 1, lParam,
                            static_cast<int>(static_cast<std::intptr_t>(wParam)));
    case TB_DELETEBUTTON:
        if (wParam >= state.buttons.size()) {
            return FALSE;
        }
        state.buttons.erase(state.buttons.begin() + static_cast<std::ptrdiff_t>(wParam));
        state.tracking = -1;
        Redraw(window);
        return TRUE;
    case TB_BUTTONCOUNT:
        return static_cast<LRESULT>(state.buttons.size());
    case TB_GETBUTTON:
        return OnGetButton(state, wParam, lParam);
    case TB_COMMANDTOINDEX:
        return IndexOfCommand(state.buttons, static_cast<int>(wParam));
    case TB_BUTTONSTRUCTSIZE:
        return 0;
    case TB_ENABLEBUTTON:
        return ChangeState(window, state, wParam, TBSTATE_ENABLED,
                           LOWORD(static_cast<std::uintptr_t>(lParam)) != 0);
    case TB_CHECKBUTTON:
        return ChangeState(window, state, wParam, TBSTATE_CHECKED,
                           LOWORD(static_cast<std::uintptr_t>(lParam)) != 0);
    case TB_PRESSBUTTON:
        return ChangeState(window, state, wParam, TBSTATE_PRESSED,
                           LOWORD(static_cast<std::uintptr_t>(lParam)) != 0);
    case TB_HIDEBUTTON:
        return ChangeState(window, state, wParam, TBSTATE_HIDDEN,
                           LOWORD(static_cast<std::uintptr_t>(lParam)) != 0);
    case TB_INDETERMINATE:
        return ChangeState(window, state, wParam, TBSTATE_INDETERMINATE,
                           LOWORD(static_cast<std::uintptr_t>(lParam)) != 0);
    case TB_ISBUTTONENABLED:
        return HasState(state, wParam, TBSTATE_ENABLED);
    case TB_ISBUTTONCHECKED:
        return HasState(state, wParam, TBSTATE_CHECKED);
    case TB_ISBUTTONPRESSED:
        return HasState(state, wParam, TBSTATE_PRESSED);
    case TB_ISBUTTONHIDDEN:
        return HasState(state, wParam, TBSTATE_HIDDEN);
    case TB_ISBUTTONINDETERMINATE:
        return HasState(state, wParam, TBSTATE_INDETERMINATE);
    case TB_SETSTATE: {
        ToolbarButton* button = ByCommand(state, wParam);
        if (button == nullptr) {
            return FALSE;
        }
        button->state = static_cast<BYTE>(LOWORD(static_cast<std::uintptr_t>(lParam)));
        Redraw(window);
        return TRUE;
    }
    case TB_GETSTATE: {
        const ToolbarButton* button = ByCommand(state, wParam);
        return button != nullptr ? button->state : -1;
    }
    case TB_GETBUTTONINFOW:
        return OnGetButtonInfo(state, wParam, lParam);
    case TB_SETBUTTONINFOW:
        return OnSetButtonInfo(window, state, wParam, lParam);
    case TB_GETBUTTONTEXTW:
        return OnGetButtonText(state, wParam, lParam);
    case TB_GETRECT:
        return OnGetRect(window, state, IndexOfCommand(state.buttons, static_cast<int>(wParam)),
                         lParam, false);
    case TB_GETITEMRECT:
        return OnGetRect(window, state, static_cast<int>(wParam), lParam, true);
    case TB_SETBUTTONSIZE:
        state.buttonWidth = LOWORD(static_cast<std::uintptr_t>(lParam));
        state.buttonHeight = HIWORD(static_cast<std::uintptr_t>(lParam));
        Redraw(window);
        return TRUE;
    case TB_GETBUTTONSIZE: {
        const int unit = ScreenUnit();
        return MAKELRESULT(static_cast<WORD>(state.buttonWidth > 0 ? state.buttonWidth
                                                                   : state.bitmapWidth + 7 * unit),
                           static_cast<WORD>(state.buttonHeight > 0
                                                 ? state.buttonHeight
                                                 : state.bitmapHeight + 7 * unit));
    }
    case TB_SETBITMAPSIZE:
        state.bitmapWidth = LOWORD(static_cast<std::uintptr_t>(lParam));
        state.bitmapHeight = HIWORD(static_cast<std::uintptr_t>(lParam));
        state.bitmapSizeSet = true;
        return TRUE;
    case TB_AUTOSIZE:
        return OnAutoSize(window, state);
    case TB_SETPARENT: {
        const HWND previous = state.notify;
        state.notify = reinterpret_cast<HWND>(wParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case TB_GETROWS:
        return 1;
    case TB_SETROWS:
        return 0;
    case TB_SETCMDID: {
        ToolbarButton* button = ByIndex(state, wParam);
        if (button == nullptr) {
            return FALSE;
        }
        button->command = static_cast<int>(lParam);
        return TRUE;
    }
    case TB_SETSTYLE:
        SetWindowLongW(window, GWL_STYLE, static_cast<LONG_PTR>(lParam));
        Redraw(window);
        return 0;
    case TB_GETSTYLE:
        return GetWindowLongW(window, GWL_STYLE);
    case TB_SETBUTTONWIDTH:
        return TRUE;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT ToolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ToolbarState* state = StateOf<ToolbarState>(window);
    if (state == nullptr) {
        if (message == WM_NCCREATE) {
            state = CreateState<ToolbarState>(window);
            if (state != nullptr) {
                state->notify = reinterpret_cast<const CREATESTRUCTW*>(lParam)->hwndParent;
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return ToolbarMessage(window, *state, message, wParam, lParam);
}

} // namespace sim

// The trackbar: a thumb on a channel between a minimum and a maximum.
// Dragging the thumb sends WM_HSCROLL (WM_VSCROLL with TBS_VERT) to the
// parent with TB_THUMBTRACK while it moves, then TB_THUMBPOSITION and
// TB_ENDTRACK; a tap on the channel pages towards the tap, again while the
// stylus stays down, and the keys step the position. Setting the position by
// message tells the parent nothing.
#include <algorithm>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Geometry.h"
#include "platform/Input.h"
#include "platform/Painting.h"
#include "platform/Window.h"
#include "platform/sim/ControlPaint.h"
#include "platform/sim/ControlProcedures.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/TrackbarModel.h"

namespace sim {
namespace {

// The timer that repeats paging while the stylus stays on the channel.
constexpr UINT_PTR kPageTimer = 1;
constexpr UINT kFirstRepeatDelay = 400;
constexpr UINT kRepeatDelay = 100;

enum class Drag { None, Thumb, Page };

class TrackbarState : public WindowState {
public:
    TrackbarModel model;
    Drag drag = Drag::None;
    // Where the stylus holds the thumb, from the thumb's centre.
    int grabOffset = 0;
    // The channel point a page tap aims for, along the axis.
    int pageTarget = 0;
    bool focused = false;
    LONG selectionStart = 0;
    LONG selectionEnd = 0;
    LONG ticFrequency = 1;
    std::vector<LONG> tics;
    int thumbLength = 0;
};

DWORD StyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

bool IsVertical(HWND window) {
    return (StyleOf(window) & TBS_VERT) != 0;
}

TrackbarLayout Layout(HWND window, const TrackbarState& state) {
    RECT client;
    GetClientRect(window, &client);
    TrackbarLayout layout = LayoutTrackbar(client.right - client.left, client.bottom - client.top,
                                           IsVertical(window), ScreenUnit());
    if (state.thumbLength > 0) {
        layout.thumbBreadth = state.thumbLength;
    }
    return layout;
}

int Along(HWND window, LPARAM lParam) {
    return IsVertical(window) ? GET_Y_LPARAM(lParam) : GET_X_LPARAM(lParam);
}

void Redraw(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
}

// WM_HSCROLL or WM_VSCROLL to the parent: the code in the low word, the
// position in the high word for the thumb codes, the trackbar in lParam.
void NotifyScroll(HWND window, const TrackbarState& state, WORD code) {
    const HWND parent = ParentOrOwner(window);
    if (parent == nullptr) {
        return;
    }
    const WORD position = (code == TB_THUMBTRACK || code == TB_THUMBPOSITION)
                              ? static_cast<WORD>(state.model.Pos())
                              : 0;
    SendMessageW(parent, IsVertical(window) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position),
                 reinterpret_cast<LPARAM>(window));
}

// One step of a page tap, towards the tapped point and never past it.
bool PageTowards(HWND window, TrackbarState& state) {
    const TrackbarLayout layout = Layout(window, state);
    const int centre = layout.CentreOf(state.model, state.model.Pos());
    if (std::abs(state.pageTarget - centre) <= layout.thumbLength / 2) {
        return false;
    }
    const bool down = state.pageTarget > centre;
    const LONG target = layout.PositionAt(state.model, state.pageTarget);
    LONG next = state.model.Stepped(down ? TB_PAGEDOWN : TB_PAGEUP);
    next = down ? std::min(next, target) : std::max(next, target);
    if (!state.model.SetPos(next)) {
        return false;
    }
    Redraw(window);
    NotifyScroll(window, state, down ? TB_PAGEDOWN : TB_PAGEUP);
    return true;
}

LRESULT OnButtonDown(HWND window, TrackbarState& state, LPARAM lParam) {
    SetFocus(window);
    const TrackbarLayout layout = Layout(window, state);
    const RECT thumb = layout.ThumbRect(state.model);
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    SetCapture(window);
    if (PtInRect(&thumb, point) && (StyleOf(window) & TBS_NOTHUMB) == 0) {
        state.drag = Drag::Thumb;
        state.grabOffset = Along(window, lParam) - layout.CentreOf(state.model, state.model.Pos());
        Redraw(window);
        return 0;
    }
    state.drag = Drag::Page;
    state.pageTarget = Along(window, lParam);
    PageTowards(window, state);
    SetTimer(window, kPageTimer, kFirstRepeatDelay, nullptr);
    return 0;
}

LRESULT OnMouseMove(HWND window, TrackbarState& state, LPARAM lParam) {
    if (state.drag == Drag::Page) {
        state.pageTarget = Along(window, lParam);
        return 0;
    }
    if (state.drag != Drag::Thumb) {
        return 0;
    }
    const TrackbarLayout layout = Layout(window, state);
    if (state.model.SetPos(
            layout.PositionAt(state.model, Along(window, lParam) - state.grabOffset))) {
        Redraw(window);
        NotifyScroll(window, state, TB_THUMBTRACK);
    }
    return 0;
}

void EndDrag(HWND window, TrackbarState& state) {
    const Drag ended = state.drag;
    state.drag = Drag::None;
    KillTimer(window, kPageTimer);
    if (ended == Drag::Thumb) {
        NotifyScroll(window, state, TB_THUMBPOSITION);
    }
    NotifyScroll(window, state, TB_ENDTRACK);
    Redraw(window);
}

LRESULT OnButtonUp(HWND window, TrackbarState& state) {
    if (state.drag == Drag::None) {
        return 0;
    }
    EndDrag(window, state);
    ReleaseCapture();
    return 0;
}

LRESULT OnCaptureChanged(HWND window, TrackbarState& state) {
    if (state.drag != Drag::None) {
        EndDrag(window, state);
    }
    return 0;
}

LRESULT OnTimer(HWND window, TrackbarState& state, WPARAM id) {
    if (id != kPageTimer) {
        return 0;
    }
    if (state.drag != Drag::Page || !PageTowards(window, state)) {
        KillTimer(window, kPageTimer);
        return 0;
    }
    SetTimer(window, kPageTimer, kRepeatDelay, nullptr);
    return 0;
}

LRESULT OnKeyDown(HWND window, TrackbarState& state, WPARAM key) {
    WORD code = 0;
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        code = TB_LINEUP;
        break;
    case VK_RIGHT:
    case VK_DOWN:
        code = TB_LINEDOWN;
        break;
    case VK_PRIOR:
        code = TB_PAGEUP;
        break;
    case VK_NEXT:
        code = TB_PAGEDOWN;
        break;
    case VK_HOME:
        code = TB_TOP;
        break;
    case VK_END:
        code = TB_BOTTOM;
        break;
    default:
        return DefWindowProcW(window, WM_KEYDOWN, key, 0);
    }
    if (state.model.SetPos(state.model.Stepped(code))) {
        Redraw(window);
        NotifyScroll(window, state, code);
    }
    return 0;
}

LRESULT OnKeyUp(HWND window, TrackbarState& state, WPARAM key) {
    switch (key) {
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
        NotifyScroll(window, state, TB_ENDTRACK);
        return 0;
    default:
        return DefWindowProcW(window, WM_KEYUP, key, 0);
    }
}

void PaintTics(HDC dc, HWND window, const TrackbarState& state, const TrackbarLayout& layout,
               COLORREF colour) {
    const DWORD style = StyleOf(window);
    if ((style & TBS_NOTICKS) != 0) {
        return;
    }
    std::vector<LONG> positions{state.model.Min(), state.model.Max()};
    if ((style & TBS_AUTOTICKS) != 0 && state.ticFrequency > 0) {
        for (LONG pos = state.model.Min(); pos < state.model.Max() && positions.size() < 1000;
             pos += state.ticFrequency) {
            positions.push_back(pos);
        }
    }
    positions.insert(positions.end(), state.tics.begin(), state.tics.end());
    const int unit = ScreenUnit();
    const int across = layout.thumbAcross + layout.thumbBreadth + unit;
    for (const LONG pos : positions) {
        const int at = layout.CentreOf(state.model, pos);
        const RECT tic = layout.vertical ? RECT{across, at, across + 3 * unit, at + unit}
                                         : RECT{at, across, at + unit, across + 3 * unit};
        paint::Fill(dc, tic, colour);
    }
}

void OnPaint(HWND window, const TrackbarState& state) {
    const paint::PaintCycle cycle(window);
    const HDC dc = cycle.Dc();
    const paint::Palette palette = paint::Palette::System();
    const int unit = ScreenUnit();
    const bool enabled = IsWindowEnabled(window) != FALSE;
    const HWND parent = ParentOrOwner(window);
    const auto brush = reinterpret_cast<HBRUSH>(
        parent != nullptr ? SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(window))
                          : 0);
    if (brush != nullptr) {
        FillRect(dc, &cycle.Client(), brush);
    } else {
        paint::Fill(dc, cycle.Client(), GetSysColor(COLOR_STATIC));
    }
    const TrackbarLayout layout = Layout(window, state);
    const COLORREF ink = enabled ? palette.windowText : palette.grayText;
    paint::Fill(dc, layout.channel, palette.window);
    paint::Frame(dc, layout.channel, palette.shadow, unit);
    if ((StyleOf(window) & TBS_ENABLESELRANGE) != 0 && state.selectionEnd > state.selectionStart) {
        const int from = layout.CentreOf(state.model, state.selectionStart);
        const int to = layout.CentreOf(state.model, state.selectionEnd);
        RECT band = layout.channel;
        InflateRect(&band, -unit, -unit);
        if (layout.vertical) {
            band.top = from;
            band.bottom = to;
        } else {
            band.left = from;
            band.right = to;
        }
        paint::Fill(dc, band, palette.highlight);
    }
    PaintTics(dc, window, state, layout, palette.shadow);
    if ((StyleOf(window) & TBS_NOTHUMB) == 0) {
        const RECT thumb = layout.ThumbRect(state.model);
        paint::Fill(dc, thumb, state.drag == Drag::Thumb ? palette.highlight : palette.face);
        paint::Frame(dc, thumb, ink, unit);
    }
    if (state.focused) {
        RECT focus = cycle.Client();
        InflateRect(&focus, -unit, -unit);
        paint::Frame(dc, focus, palette.shadow, 1);
    }
}

LRESULT OnSetRange(HWND window, TrackbarState& state, LONG minimum, LONG maximum, WPARAM redraw) {
    state.model.SetRange(minimum, maximum);
    if (redraw != 0) {
        Redraw(window);
    }
    return 0;
}

LRESULT OnSetSelection(HWND window, TrackbarState& state, UINT message, WPARAM redraw,
                       LPARAM lParam) {
    if (message == TBM_SETSEL) {
        state.selectionStart = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lParam)));
        state.selectionEnd = static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lParam)));
    } else if (message == TBM_SETSELSTART) {
        state.selectionStart = static_cast<LONG>(lParam);
    } else if (message == TBM_SETSELEND) {
        state.selectionEnd = static_cast<LONG>(lParam);
    } else {
        state.selectionStart = state.selectionEnd = 0;
    }
    if (redraw != 0) {
        Redraw(window);
    }
    return 0;
}

LRESULT OnGetRect(HWND window, const TrackbarState& state, LPARAM lParam, bool thumb) {
    auto* out = reinterpret_cast<RECT*>(lParam);
    if (out != nullptr) {
        const TrackbarLayout layout = Layout(window, state);
        *out = thumb ? layout.ThumbRect(state.model) : layout.channel;
    }
    return 0;
}

LRESULT OnSetTic(HWND window, TrackbarState& state, LPARAM position) {
    const LONG pos = static_cast<LONG>(position);
    if (pos < state.model.Min() || pos > state.model.Max()) {
        return FALSE;
    }
    state.tics.push_back(pos);
    std::sort(state.tics.begin(), state.tics.end());
    Redraw(window);
    return TRUE;
}

LRESULT OnGetTic(const TrackbarState& state, WPARAM index) {
    return index < state.tics.size() ? state.tics[index] : -1;
}

} // namespace

LRESULT TrackbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TrackbarState* state = StateOf<TrackbarState>(window);
    if (state == nullptr) {
        if (message == WM_NCCREATE) {
            CreateState<TrackbarState>(window);
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
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(window, *state, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(window, *state, lParam);
    case WM_LBUTTONUP:
        return OnButtonUp(window, *state);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(window, *state);
    case WM_TIMER:
        return OnTimer(window, *state, wParam);
    case WM_KEYDOWN:
        return OnKeyDown(window, *state, wParam);
    case WM_KEYUP:
        return OnKeyUp(window, *state, wParam);
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        state->focused = message == WM_SETFOCUS;
        Redraw(window);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case TBM_GETPOS:
        return state->model.Pos();
    case TBM_SETPOS:
        state->model.SetPos(static_cast<LONG>(lParam));
        if (wParam != 0) {
            Redraw(window);
        }
        return 0;
    case TBM_GETRANGEMIN:
        return state->model.Min();
    case TBM_GETRANGEMAX:
        return state->model.Max();
    case TBM_SETRANGE:
        // The packed range holds two signed 16-bit values.
        return OnSetRange(window, *state,
                          static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lParam))),
                          static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(lParam))), wParam);
    case TBM_SETRANGEMIN:
        return OnSetRange(window, *state, static_cast<LONG>(lParam), state->model.Max(), wParam);
    case TBM_SETRANGEMAX:
        return OnSetRange(window, *state, state->model.Min(), static_cast<LONG>(lParam), wParam);
    case TBM_GETPAGESIZE:
        return state->model.PageSize();
    case TBM_SETPAGESIZE:
        return state->model.SetPageSize(static_cast<LONG>(lParam));
    case TBM_GETLINESIZE:
        return state->model.LineSize();
    case TBM_SETLINESIZE:
        return state->model.SetLineSize(static_cast<LONG>(lParam));
    case TBM_GETTHUMBRECT:
        return OnGetRect(window, *state, lParam, true);
    case TBM_GETCHANNELRECT:
        return OnGetRect(window, *state, lParam, false);
    case TBM_SETTHUMBLENGTH:
        state->thumbLength = static_cast<int>(wParam);
        Redraw(window);
        return 0;
    case TBM_GETTHUMBLENGTH:
        return Layout(window, *state).thumbBreadth;
    case TBM_SETTICFREQ:
        state->ticFrequency = static_cast<LONG>(wParam);
        Redraw(window);
        return 0;
    case TBM_SETTIC:
        return OnSetTic(window, *state, lParam);
    case TBM_GETTIC:
        return OnGetTic(*state, wParam);
    case TBM_CLEARTICS:
        state->tics.clear();
        if (wParam != 0) {
            Redraw(window);
        }
        return 0;
    case TBM_GETNUMTICS:
        return (StyleOf(window) & TBS_NOTICKS) != 0 ? 0
                                                    : static_cast<LRESULT>(state->tics.size()) + 2;
    case TBM_GETTICPOS:
        return wParam < state->tics.size()
                   ? Layout(window, *state).CentreOf(state->model, state->tics[wParam])
                   : -1;
    case TBM_SETSEL:
    case TBM_SETSELSTART:
    case TBM_SETSELEND:
    case TBM_CLEARSEL:
        return OnSetSelection(window, *state, message, wParam, lParam);
    case TBM_GETSELSTART:
        return state->selectionStart;
    case TBM_GETSELEND:
        return state->selectionEnd;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace sim

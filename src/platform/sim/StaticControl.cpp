// The static control: a text, an icon or a bitmap, with STN_CLICKED for
// SS_NOTIFY.
#include <optional>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Painting.h"
#include "platform/Resources.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ControlPaint.h"
#include "platform/sim/ControlProcedures.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/ImageLoading.h"

namespace sim {
namespace {

class StaticState : public WindowState {
public:
    HFONT font = nullptr;
    // The image of SS_ICON and SS_BITMAP, decoded from the program's
    // resources; the handles are what STM_GETICON and STM_GETIMAGE give back.
    std::optional<res::Image> image;
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
};

void OnCreate(HWND window, StaticState& state, const CREATESTRUCTW& create) {
    const DWORD kind = create.style & SS_TYPEMASK;
    if (kind != SS_ICON && kind != SS_BITMAP) {
        return;
    }
    const std::optional<LPCWSTR> name = ResourceNameOfText(create.lpszName);
    if (!name) {
        return;
    }
    if (kind == SS_ICON) {
        const int size = GetSystemMetrics(SM_CXICON);
        state.image = LoadIconImage(create.hInstance, *name, size);
        state.icon = LoadIconW(create.hInstance, *name);
    } else {
        state.image = LoadBitmapImage(create.hInstance, *name);
        state.bitmap = LoadBitmapW(create.hInstance, *name);
    }
    InvalidateRect(window, nullptr, TRUE);
}

UINT TextFormat(DWORD style) {
    UINT format = DT_WORDBREAK;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format = DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format = DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        format = DT_SINGLELINE;
        break;
    default:
        break;
    }
    if ((style & SS_NOPREFIX) != 0) {
        format |= DT_NOPREFIX;
    }
    if ((style & SS_CENTERIMAGE) != 0) {
        format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    }
    return format;
}

void OnPaint(HWND window, const StaticState& state) {
    const paint::PaintCycle cycle(window);
    const HDC dc = cycle.Dc();
    const paint::Palette palette = paint::Palette::System();
    const HWND parent = ParentOrOwner(window);
    const auto brush = reinterpret_cast<HBRUSH>(
        parent != nullptr ? SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(window))
                          : 0);
    const COLORREF background = GetSysColor(COLOR_STATIC);
    if (brush != nullptr) {
        FillRect(dc, &cycle.Client(), brush);
    } else {
        paint::Fill(dc, cycle.Client(), background);
    }
    if (state.font != nullptr) {
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(state.font));
    }
    const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const DWORD kind = style & SS_TYPEMASK;
    if (kind == SS_ICON || kind == SS_BITMAP) {
        if (state.image) {
            int x = 0;
            int y = 0;
            if ((style & SS_CENTERIMAGE) != 0) {
                x = (cycle.Client().right - state.image->width) / 2;
                y = (cycle.Client().bottom - state.image->height) / 2;
            }
            paint::Image(dc, *state.image, x, y, background, false);
        }
        return;
    }
    const int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    const COLORREF colour =
        IsWindowEnabled(window) ? GetSysColor(COLOR_STATICTEXT) : palette.grayText;
    paint::Text(dc, cycle.Client(), text, colour, TextFormat(style) | DT_NOPREFIX);
}

LRESULT OnButtonUp(HWND window) {
    if ((static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & SS_NOTIFY) != 0) {
        NotifyParent(window, STN_CLICKED);
    }
    return 0;
}

} // namespace

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    StaticState* state = StateOf<StaticState>(window);
    if (state == nullptr) {
        if (message == WM_NCCREATE) {
            CreateState<StaticState>(window);
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_CREATE:
        OnCreate(window, *state, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
        return 0;
    case WM_PAINT:
        OnPaint(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
        InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_ENABLE:
        InvalidateRect(window, nullptr, TRUE);
        return 0;
    case WM_LBUTTONUP:
        return OnButtonUp(window);
    case WM_NCHITTEST:
        // Without SS_NOTIFY a static lets taps through to what lies beneath.
        return (static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & SS_NOTIFY) != 0
                   ? HTCLIENT
                   : HTTRANSPARENT;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(static_cast<std::uintptr_t>(lParam)) != 0) {
            InvalidateRect(window, nullptr, TRUE);
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case STM_GETICON:
        return reinterpret_cast<LRESULT>(state->icon);
    case STM_SETICON: {
        const HICON previous = state->icon;
        state->icon = reinterpret_cast<HICON>(wParam);
        state->image = ImageOfIcon(state->icon);
        InvalidateRect(window, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(previous);
    }
    case STM_GETIMAGE:
        return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(state->icon)
                                    : reinterpret_cast<LRESULT>(state->bitmap);
    case STM_SETIMAGE: {
        const HANDLE previous = wParam == IMAGE_ICON ? static_cast<HANDLE>(state->icon)
                                                     : static_cast<HANDLE>(state->bitmap);
        if (wParam == IMAGE_ICON) {
            state->icon = reinterpret_cast<HICON>(lParam);
            state->image = ImageOfIcon(state->icon);
        } else if (wParam == IMAGE_BITMAP) {
            state->bitmap = reinterpret_cast<HBITMAP>(lParam);
            state->image = ImageOfBitmap(state->bitmap);
        }
        InvalidateRect(window, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(previous);
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace sim

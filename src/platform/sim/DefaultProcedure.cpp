// DefWindowProcW: what a window does with a message its procedure passes on.
#include <algorithm>

#include "platform/Geometry.h"
#include "platform/Messages.h"
#include "platform/Painting.h"
#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/Gdi.h"
#include "platform/sim/MessageRecorder.h"
#include "platform/sim/Messaging.h"
#include "platform/sim/Theme.h"

using sim::Window;

namespace {

// WINDOWPOS flags the device adds when the client area did not change.
constexpr UINT kNoClientSize = 0x0800;
constexpr UINT kNoClientMove = 0x1000;

LRESULT CopyTextOut(const Window& window, WPARAM length, LPARAM buffer) {
    auto* out = reinterpret_cast<LPWSTR>(buffer);
    if (out == nullptr || length == 0) {
        return 0;
    }
    const std::size_t copied = std::min<std::size_t>(window.text.size(), length - 1);
    std::copy_n(window.text.begin(), copied, out);
    out[copied] = u'\0';
    return static_cast<LRESULT>(copied);
}

// Fills the client area with the class background.
LRESULT EraseBackground(Window& window, HDC dc) {
    sim::Device& device = *sim::Device::Current();
    COLORREF color = 0;
    if (!device.Graphics().BrushColor(window.windowClass->background, color)) {
        return 0;
    }
    const RECT client{0, 0, window.ClientWidth(), window.ClientHeight()};
    FillRect(dc, &client, window.windowClass->background);
    return 1;
}

// The one-pixel frame of a bordered window.
void PaintFrame(Window& window) {
    sim::Device& device = *sim::Device::Current();
    window.frameNeeded = false;
    if (window.client.left == 0 && window.client.top == 0 &&
        window.client.right == window.Width() && window.client.bottom == window.Height()) {
        return;
    }
    const HDC dc = device.Graphics().OpenWindowContext(window, true, nullptr, false);
    sim::DeviceContext* context = device.Graphics().FindContext(dc);
    cairo_t* cairo = context->cairo;
    // The frame is everything outside the client area.
    cairo_rectangle(cairo, 0, 0, window.Width(), window.Height());
    cairo_rectangle(cairo, window.client.left, window.client.top, window.ClientWidth(),
                    window.ClientHeight());
    cairo_set_fill_rule(cairo, CAIRO_FILL_RULE_EVEN_ODD);
    sim::SetSourceColor(cairo, sim::theme::kFrame);
    cairo_fill(cairo);
    device.Graphics().Close(dc);
}

LRESULT ControlColor(HDC dc, int colorIndex) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(colorIndex));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(colorIndex));
}

} // namespace

LRESULT DefWindowProcW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = sim::LookUpWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    sim::Device& device = *sim::Device::Current();
    if (device.Recorders().Active()) {
        device.Recorders().Notify(handle, message, wParam, lParam, sim::Arrival::Default);
    }
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create != nullptr && create->lpszName != nullptr) {
            window->text = text::FromWide(create->lpszName);
        }
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect != nullptr) {
            *rect = sim::WindowManager::DefaultClientRect(*rect, window->style, window->exStyle);
        }
        return 0;
    }
    case WM_SETTEXT:
        window->text = text::FromWide(reinterpret_cast<LPCWSTR>(lParam));
        return TRUE;
    case WM_GETTEXT:
        return CopyTextOut(*window, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->text.size());
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(handle, &paint);
        EndPaint(handle, &paint);
        return 0;
    }
    case WM_NCPAINT:
        PaintFrame(*window);
        return 0;
    case WM_ERASEBKGND:
        return EraseBackground(*window, reinterpret_cast<HDC>(wParam));
    case WM_CLOSE:
        DestroyWindow(handle);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus == nullptr || !IsChild(handle, focus)) {
                SetFocus(handle);
            }
        }
        return 0;
    case WM_MOUSEACTIVATE:
        if (window->parent != nullptr) {
            const LRESULT parentAnswer =
                sim::SendToWindow(*window->parent, WM_MOUSEACTIVATE, wParam, lParam);
            if (parentAnswer != 0) {
                return parentAnswer;
            }
        }
        return MA_ACTIVATE;
    case WM_NCHITTEST: {
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const RECT client = device.Windows().ScreenClientRect(*window);
        if (PtInRect(&client, point)) {
            return HTCLIENT;
        }
        const RECT whole = device.Windows().ScreenRect(*window);
        return PtInRect(&whole, point) ? HTBORDER : HTNOWHERE;
    }
    case WM_WINDOWPOSCHANGED: {
        const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (position == nullptr) {
            return 0;
        }
        if ((position->flags & kNoClientMove) == 0) {
            sim::SendToWindow(*window, WM_MOVE, 0,
                              MAKELPARAM(static_cast<WORD>(window->rect.left + window->client.left),
                                         static_cast<WORD>(window->rect.top + window->client.top)));
        }
        if ((position->flags & kNoClientSize) == 0) {
            sim::SendToWindow(*window, WM_SIZE, SIZE_RESTORED,
                              MAKELPARAM(static_cast<WORD>(window->ClientWidth()),
                                         static_cast<WORD>(window->ClientHeight())));
        }
        return 0;
    }
    case WM_SETREDRAW:
        window->redraw = wParam != FALSE;
        return 0;
    case WM_CANCELMODE:
        if (GetCapture() == handle) {
            ReleaseCapture();
        }
        return 0;
    case WM_CONTEXTMENU:
    case WM_HELP:
        // Passed up to the parent, as Win32 does.
        if (window->parent != nullptr) {
            return sim::SendToWindow(*window->parent, message, wParam, lParam);
        }
        return message == WM_HELP ? TRUE : 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORMSGBOX:
        return ControlColor(reinterpret_cast<HDC>(wParam), COLOR_STATIC);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return ControlColor(reinterpret_cast<HDC>(wParam), COLOR_WINDOW);
    case WM_CTLCOLORSCROLLBAR:
        return ControlColor(reinterpret_cast<HDC>(wParam), COLOR_SCROLLBAR);
    case WM_NOTIFYFORMAT:
        return 2; // NFR_UNICODE
    case WM_NCACTIVATE:
        return TRUE;
    case WM_GETDLGCODE:
    case WM_QUIT:
    default:
        return 0;
    }
}

// The dialog keyboard: IsDialogMessageW and the tab and group order.
#include <vector>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/Messages.h"
#include "platform/Window.h"
#include "platform/sim/ApiSupport.h"

using sim::Window;

namespace {

bool CanTakeFocus(const Window& control) {
    return (control.style & WS_VISIBLE) != 0 && (control.style & WS_DISABLED) == 0 &&
           control.IsAlive();
}

// The dialog's controls in tab order (their z-order).
std::vector<Window*> Controls(HWND dialog) {
    Window* window = sim::LookUpWindow(dialog);
    return window != nullptr ? window->children : std::vector<Window*>{};
}

// The dialog's default button id: DM_GETDEFID's answer, else IDOK.
int DefaultId(HWND dialog) {
    const LRESULT answer = SendMessageW(dialog, DM_GETDEFID, 0, 0);
    return HIWORD(static_cast<std::uintptr_t>(answer)) == DC_HASDEFID ? LOWORD(answer) : IDOK;
}

void Command(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    if (control != nullptr && !IsWindowEnabled(control)) {
        return;
    }
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

} // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
    const std::vector<Window*> controls = Controls(dialog);
    if (controls.empty()) {
        return nullptr;
    }
    const std::size_t count = controls.size();
    std::size_t start = previous ? 0 : count - 1;
    for (std::size_t i = 0; i < count; ++i) {
        if (controls[i]->handle == control) {
            start = i;
            break;
        }
    }
    for (std::size_t step = 1; step <= count; ++step) {
        const std::size_t index =
            previous ? (start + count - step) % count : (start + step) % count;
        const Window* candidate = controls[index];
        if ((candidate->style & WS_TABSTOP) != 0 && CanTakeFocus(*candidate)) {
            return candidate->handle;
        }
    }
    return nullptr;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    const std::vector<Window*> controls = Controls(dialog);
    std::size_t at = controls.size();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i]->handle == control) {
            at = i;
        }
    }
    if (at == controls.size()) {
        return GetNextDlgTabItem(dialog, control, previous);
    }
    // The group runs from a WS_GROUP control up to the next one.
    std::size_t first = at;
    while (first > 0 && (controls[first]->style & WS_GROUP) == 0) {
        --first;
    }
    std::size_t last = at + 1;
    while (last < controls.size() && (controls[last]->style & WS_GROUP) == 0) {
        ++last;
    }
    const std::size_t size = last - first;
    for (std::size_t step = 1; step <= size; ++step) {
        const std::size_t offset = at - first;
        const std::size_t index =
            first + (previous ? (offset + size - step) % size : (offset + step) % size);
        if (CanTakeFocus(*controls[index])) {
            return controls[index]->handle;
        }
    }
    return control;
}

BOOL IsDialogMessageW(HWND dialog, MSG* msg) {
    if (msg == nullptr || sim::LookUpWindow(dialog) == nullptr) {
        return FALSE;
    }
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) {
        return FALSE;
    }
    const bool isKey = msg->message == WM_KEYDOWN || msg->message == WM_CHAR;
    if (isKey) {
        const LRESULT code =
            SendMessageW(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
        const bool wantsAll = (code & DLGC_WANTMESSAGE) != 0;
        if (msg->message == WM_KEYDOWN && !wantsAll) {
            const HWND focus = GetFocus();
            switch (msg->wParam) {
            case VK_TAB:
                if ((code & DLGC_WANTTAB) == 0) {
                    const bool back = GetKeyState(VK_SHIFT) < 0;
                    SendMessageW(dialog, WM_NEXTDLGCTL, back ? 1 : 0, 0);
                    return TRUE;
                }
                break;
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN:
                if ((code & DLGC_WANTARROWS) == 0 && focus != nullptr && IsChild(dialog, focus)) {
                    const bool back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
                    if (const HWND next = GetNextDlgGroupItem(dialog, focus, back ? TRUE : FALSE)) {
                        SetFocus(next);
                    }
                    return TRUE;
                }
                break;
            case VK_ESCAPE:
                Command(dialog, IDCANCEL);
                return TRUE;
            case VK_RETURN:
                Command(dialog, DefaultId(dialog));
                return TRUE;
            default:
                break;
            }
        }
        if (msg->message == WM_CHAR && !wantsAll && (code & DLGC_WANTCHARS) == 0) {
            // The characters of the keys handled above are swallowed.
            if (msg->wParam == u'\t' && (code & DLGC_WANTTAB) == 0) {
                return TRUE;
            }
            if (msg->wParam == u'\r' || msg->wParam == 0x1B) {
                return TRUE;
            }
        }
    }
    TranslateMessage(msg);
    DispatchMessageW(msg);
    return TRUE;
}

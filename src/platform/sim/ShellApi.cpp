// The shell functions of platform/Shell.h that belong to the device's core:
// tap-and-hold recognition, application-button associations and the shell's
// dialog sizing. (The menu bar comes with the device's controls; full screen
// and the extra controls with the system services.)
#include "platform/Shell.h"

#include <cmath>

#include "platform/Program.h"
#include "platform/Window.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/Gdi.h"
#include "platform/sim/InputRouter.h"
#include "platform/sim/Screen.h"
#include "platform/sim/Theme.h"

namespace {

// How long the stylus must stay down, and how far it may wander, for a hold.
constexpr sim::DeviceTime kHoldDelay = 500;
constexpr sim::DeviceTime kLongHoldDelay = 1000;
constexpr int kHoldTolerance = 5;
// The animation moves on this often.
constexpr sim::DeviceTime kAnimationStep = 50;

// The shell's tap-and-hold animation: dots appearing round the point, one for
// each part of the wait that has passed.
void DrawHoldAnimation(sim::Device& device, POINT center, double progress) {
    const auto overlay = device.GetScreen().Overlay();
    overlay->Clear();
    sim::CairoContext cairo(overlay->Surface());
    const double radius = device.Scale(sim::theme::kGestureRadius);
    const double dot = device.Scale(3);
    const int shown = static_cast<int>(progress * sim::theme::kGestureDots);
    sim::SetSourceColor(cairo, sim::theme::kGestureDot);
    for (int i = 0; i < shown && i < sim::theme::kGestureDots; ++i) {
        const double angle = -M_PI / 2 + 2 * M_PI * i / sim::theme::kGestureDots;
        cairo_arc(cairo, center.x + radius * std::cos(angle), center.y + radius * std::sin(angle),
                  dot, 0, 2 * M_PI);
        cairo_fill(cairo);
    }
}

enum class StylusNews { None, Released, MovedAway };

// Looks at the stylus messages waiting in the program's queue: a release or a
// move beyond the tolerance ends the wait (and stays queued for the window);
// small moves are taken away.
StylusNews ReadStylus(sim::Program& program, POINT down, int tolerance) {
    for (auto it = program.posted.begin(); it != program.posted.end();) {
        const MSG& msg = it->msg;
        if (msg.message == WM_LBUTTONUP) {
            return StylusNews::Released;
        }
        if (msg.message == WM_MOUSEMOVE) {
            if (std::abs(msg.pt.x - down.x) > tolerance ||
                std::abs(msg.pt.y - down.y) > tolerance) {
                return StylusNews::MovedAway;
            }
            it = program.posted.erase(it);
            continue;
        }
        ++it;
    }
    return StylusNews::None;
}

bool HasStylusMessage(const sim::Program& program) {
    for (const sim::QueuedMessage& queued : program.posted) {
        if (queued.msg.message == WM_LBUTTONUP || queued.msg.message == WM_MOUSEMOVE) {
            return true;
        }
    }
    return false;
}

} // namespace

DWORD SHRecognizeGesture(SHRGINFO* info) {
    sim::Program* program = sim::CallingProgram();
    if (program == nullptr || info == nullptr || info->cbSize < sizeof(SHRGINFO)) {
        return 0;
    }
    sim::Window* window = sim::LookUpWindow(info->hwndClient);
    if (window == nullptr) {
        return 0;
    }
    sim::Device& device = *sim::Device::Current();
    const HWND client = info->hwndClient;
    POINT down = info->ptDown;
    ClientToScreen(client, &down);
    const sim::DeviceTime start = device.Now();
    const sim::DeviceTime delay =
        (info->dwFlags & SHRG_LONGDELAY) != 0 ? kLongHoldDelay : kHoldDelay;
    const bool animate = (info->dwFlags & SHRG_NOANIMATION) == 0;
    const int tolerance = device.Scale(kHoldTolerance);

    bool hold = false;
    while (device.Input().StylusIsDown() || HasStylusMessage(*program)) {
        if (ReadStylus(*program, down, tolerance) != StylusNews::None) {
            break;
        }
        if (!device.Input().StylusIsDown()) {
            break;
        }
        const sim::DeviceTime now = device.Now();
        if (now - start >= delay) {
            hold = true;
            break;
        }
        if (animate) {
            DrawHoldAnimation(device, down, static_cast<double>(now - start) / delay);
        }
        const sim::DeviceTime wake = std::min(start + delay, now + kAnimationStep);
        program->Park(sim::Wait{[program, &device, wake] {
                                    return device.Now() >= wake || HasStylusMessage(*program) ||
                                           !program->incomingCalls.empty();
                                },
                                [wake] { return std::optional<sim::DeviceTime>(wake); }});
        program->RunIncomingCalls();
        if (!IsWindow(client)) {
            break;
        }
    }
    if (animate) {
        device.GetScreen().ClearOverlay();
    }

    DWORD result = 0;
    if (hold && IsWindow(client)) {
        if ((info->dwFlags & SHRG_RETURNCMD) != 0) {
            result = GN_CONTEXTMENU;
        } else {
            NMRGINFO notice;
            notice.hdr.hwndFrom = client;
            notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(client));
            notice.hdr.code = GN_CONTEXTMENU;
            notice.ptAction = down;
            const HWND target =
                (info->dwFlags & SHRG_NOTIFYPARENT) != 0 ? GetParent(client) : client;
            if (target != nullptr) {
                result = static_cast<DWORD>(
                    SendMessageW(target, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice)));
            }
        }
    }
    device.Record("SHRecognizeGesture",
                  {sim::JournalValue(client), static_cast<long long>(info->ptDown.x),
                   static_cast<long long>(info->ptDown.y), static_cast<long long>(info->dwFlags)},
                  static_cast<long long>(result));
    return result;
}

BOOL SHSetAppKeyWndAssoc(BYTE virtualKey, HWND handle) {
    sim::Device* device = sim::Device::Current();
    if (device == nullptr) {
        return FALSE;
    }
    BOOL result = FALSE;
    if (virtualKey != 0 && (handle == nullptr || sim::LookUpWindow(handle) != nullptr)) {
        device->Input().SetAppKeyWindow(virtualKey, handle);
        result = TRUE;
    }
    device->Record("SHSetAppKeyWndAssoc",
                   {static_cast<long long>(virtualKey), sim::JournalValue(handle)},
                   result != FALSE);
    return result;
}

BOOL SHInitDialog(SHINITDLGINFO* info) {
    sim::Device* device = sim::Device::Current();
    if (device == nullptr || info == nullptr || sim::LookUpWindow(info->hDlg) == nullptr) {
        return FALSE;
    }
    const DWORD flags = (info->dwMask & SHIDIM_FLAGS) != 0 ? info->dwFlags : 0;
    const int bar = device->BarHeight();
    if ((flags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) != 0) {
        MoveWindow(info->hDlg, 0, bar, device->ScreenWidth(), device->ScreenHeight() - bar, TRUE);
    } else if ((flags & SHIDIF_SIZEDLG) != 0) {
        MoveWindow(info->hDlg, 0, bar, device->ScreenWidth(), device->ScreenHeight() - 2 * bar,
                   TRUE);
    }
    device->Record("SHInitDialog", {sim::JournalValue(info->hDlg), static_cast<long long>(flags)},
                   true);
    return TRUE;
}

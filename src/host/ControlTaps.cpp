#include "host/ControlTaps.h"

#include <optional>
#include <string>

#include "host/Session.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Window.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/Screen.h"

namespace host {
namespace {

POINT Centre(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The screen point of a visible button of a bar owned by window.
std::optional<POINT> BarButton(Session& session, HWND window, int command) {
    sim::Automation& automation = session.Automation();
    for (HWND bar :
         automation.FindWindows(sim::WindowQuery().Class(sim::kMenuBarClass).Visible())) {
        const auto info = automation.Describe(bar);
        if (!info || info->owner != window ||
            SendMessageW(bar, TB_ISBUTTONHIDDEN, static_cast<WPARAM>(command), 0) != 0) {
            continue;
        }
        RECT rect{};
        if (SendMessageW(bar, TB_GETRECT, static_cast<WPARAM>(command),
                         reinterpret_cast<LPARAM>(&rect)) != 0) {
            const POINT centre = Centre(rect);
            return POINT{info->clientRect.left + centre.x, info->clientRect.top + centre.y};
        }
    }
    return std::nullopt;
}

std::optional<POINT> Target(Session& session, int id) {
    sim::Automation& automation = session.Automation();
    const HWND front = automation.Foreground();
    if (front == nullptr) {
        return std::nullopt;
    }
    if (const HWND control =
            automation.FindWindow(sim::WindowQuery().Within(front).Id(id).Visible())) {
        if (const auto info = automation.Describe(control)) {
            return Centre(info->rect);
        }
    }
    if (const auto button = BarButton(session, front, id)) {
        return button;
    }
    if (id == IDOK) {
        if (const std::optional<RECT> ok = session.Device().GetScreen().CaptionOkButton()) {
            return Centre(*ok);
        }
    }
    return std::nullopt;
}

} // namespace

Done TapById(Session& session, int id) {
    const std::optional<POINT> point = Target(session, id);
    if (!point) {
        return Error{"no visible control, menu-bar button or soft key with id " +
                         std::to_string(id) + " in the foreground window",
                     0};
    }
    session.Automation().Tap(*point);
    return std::monostate{};
}

} // namespace host

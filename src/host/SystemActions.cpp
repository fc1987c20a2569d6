#include "host/SystemActions.h"

#include "host/Session.h"
#include "platform/Display.h"
#include "platform/Window.h"
#include "platform/sim/SystemServices.h"

namespace host {

Done BringToFront(Session& session, bool player) {
    sim::SystemServices& services = session.Device().Services();
    if (!player) {
        if (services.ShowTodayScreen() == nullptr) {
            return Error{"front other: the Today screen did not come up", 0};
        }
        session.Device().RunUntilIdle();
        return std::monostate();
    }
    const HWND main = session.PlayerMainWindow();
    if (main == nullptr) {
        return Error{"front vantrel: the player has no window", 0};
    }
    if (!services.BringToFront(main)) {
        return Error{"front vantrel: the player's window did not come to the front", 0};
    }
    session.Device().RunUntilIdle();
    return std::monostate();
}

Done RotateDisplay(Session& session, int degrees) {
    DEVMODEW mode;
    mode.dmSize = sizeof(DEVMODEW);
    mode.dmFields = DM_DISPLAYORIENTATION;
    switch (degrees) {
    case 90:
        mode.dmDisplayOrientation = DMDO_90;
        break;
    case 180:
        mode.dmDisplayOrientation = DMDO_180;
        break;
    case 270:
        mode.dmDisplayOrientation = DMDO_270;
        break;
    default:
        mode.dmDisplayOrientation = DMDO_0;
        break;
    }
    // Called from outside every program, as the system's settings are.
    const LONG result = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
    if (result != DISP_CHANGE_SUCCESSFUL) {
        return Error{"rotate: the display refused to turn (" + std::to_string(result) + ")", 0};
    }
    session.Device().RunUntilIdle();
    return std::monostate();
}

} // namespace host

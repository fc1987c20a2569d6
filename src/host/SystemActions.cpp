#include "host/SystemActions.h"

#include "host/Session.h"
#include "platform/Window.h"

namespace host {

Done BringToFront(Session& session, bool player) {
    if (!player) {
        // FIXME: needs the device's other program (the Today screen).
        return Error{"front other: this device has no other program yet", 0};
    }
    const HWND main = session.PlayerMainWindow();
    if (main == nullptr) {
        return Error{"front vantrel: the player has no window", 0};
    }
    SetForegroundWindow(main);
    session.Device().RunUntilIdle();
    return std::monostate();
}

Done RotateDisplay(Session&, int) {
    // FIXME: needs the device's display settings.
    return Error{"rotate: this device cannot turn its display yet", 0};
}

} // namespace host

// Full screen and the display's rotation, operations of the player view.
#include "platform/Display.h"
#include "window/MainFrame.h"
#include "window/PlayerView.h"

namespace player {

void CPlayerView::ToggleFullScreen() {
    fullScreen = !fullScreen;
    if (settings.landscapeInFullScreen != 0) {
        ApplyMoviePlacement();
    }
    // Does nothing while another program is in front; the frame's next
    // activation shows the new mode.
    frame.ApplyScreenMode(fullScreen);
    if (movieControl.GetReadyState() < MovieControl::kLoaded) {
        return;
    }
    // A playing movie goes on playing in the new window size, a paused one
    // stays paused.
    movieControl.SetPlaying(movieControl.GetPlaying());
}

DWORD CPlayerView::QueryDisplayOrientation() {
    DEVMODEW mode;
    mode.dmSize = sizeof(DEVMODEW);
    mode.dmFields = DM_DISPLAYORIENTATION;
    ChangeDisplaySettingsExW(nullptr, &mode, nullptr, CDS_TEST, nullptr);
    return mode.dmDisplayOrientation;
}

void CPlayerView::RotateScreen(bool left) {
    const DWORD current = QueryDisplayOrientation();
    // Any turned display goes back upright, whichever way was asked.
    DWORD turned = DMDO_0;
    if (current == DMDO_0) {
        turned = left ? DMDO_270 : DMDO_90;
    }
    DEVMODEW mode;
    mode.dmSize = sizeof(DEVMODEW);
    mode.dmFields = DM_DISPLAYORIENTATION | DM_ORIENTATION;
    mode.dmDisplayOrientation = turned;
    mode.dmOrientation = turned == DMDO_0 ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
    ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
}

} // namespace player

// The bottom strip of the player view: the position slider or the volume bar
// (the "Volume" label and its slider), never both, switched by two toolbar
// buttons that show as pressed while their part of the strip is shown.
#include "platform/Controls.h"
#include "resources/resource.h"
#include "window/MainFrame.h"
#include "window/PlayerView.h"

namespace player {
namespace {

// Marks a strip button of the toolbar as pressed or not. The toolbar bar is
// addressed even while the frame shows its plain bar.
void SetStripButtonPressed(const framework::CommandBar& bar, UINT command, bool pressed) {
    TBBUTTONINFOW info;
    info.dwMask = TBIF_STATE;
    SendMessageW(bar.Handle(), TB_GETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
    if (pressed) {
        info.fsState |= TBSTATE_PRESSED;
    } else {
        info.fsState &= static_cast<BYTE>(~TBSTATE_PRESSED);
    }
    SendMessageW(bar.Handle(), TB_SETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
}

} // namespace

void CPlayerView::TogglePositionBar() {
    if (volumeSlider.IsWindowVisible() != FALSE) {
        ToggleVolumeBar();
    }
    const bool show = positionSlider.IsWindowVisible() == FALSE;
    positionSlider.ShowWindow(show ? SW_SHOW : SW_HIDE);
    if (show) {
        positionSlider.SetFocus();
    }
    SetStripButtonPressed(frame.ToolbarCommandBar(), ID_POSITION_BAR, show);
    const RECT client = GetClientRect();
    LayoutView(client.right - client.left, client.bottom - client.top);
}

void CPlayerView::ToggleVolumeBar() {
    if (positionSlider.IsWindowVisible() != FALSE) {
        TogglePositionBar();
    }
    const bool show = volumeSlider.IsWindowVisible() == FALSE;
    volumeSlider.ShowWindow(show ? SW_SHOW : SW_HIDE);
    volumeLabel.ShowWindow(show ? SW_SHOW : SW_HIDE);
    SetStripButtonPressed(frame.ToolbarCommandBar(), ID_VOLUME_BAR, show);
    const RECT client = GetClientRect();
    LayoutView(client.right - client.left, client.bottom - client.top);
    // Another program may have changed the volume since the bar was made.
    volumeSlider.SetPos(ReadSystemVolume(), true);
}

} // namespace player

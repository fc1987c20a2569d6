// The status tick, every 50 ms for the life of the view: the hot keys while
// the player is in front, a movie handed over by a second launch (or the
// default movie, once), and, for a completely loaded movie, the slider, the
// Play and Pause buttons, the placement, the full-screen layout and the
// device's power state, all asked afresh of the control.
#include "app/HandoffFile.h"
#include "app/ProgramPath.h"
#include "platform/Input.h"
#include "platform/Power.h"
#include "platform/Window.h"
#include "window/MainFrame.h"
#include "window/PlayerView.h"

namespace player {
namespace {

// The key event that counts a playing tick as user activity: a silent
// release of a key nothing uses.
constexpr BYTE kActivityKey = VK_F24;
constexpr DWORD kActivityKeyFlags = KEYEVENTF_KEYUP | KEYEVENTF_SILENT;

} // namespace

bool CPlayerView::BacklightKept() const {
    // Option 1 never keeps it; option 2 keeps it except in slide mode.
    return settings.backlightOption != 1 && !(settings.backlightOption == 2 && slideMode);
}

bool CPlayerView::CheckPendingOpen() {
    if (std::optional<std::u16string> handedOver = TakeOpenRequest()) {
        defaultMoviePending = false;
        StopPlayback();
        OpenMovieUrl(u"file://" + *handedOver);
        return true;
    }
    if (defaultMoviePending) {
        OpenMovieUrl(u"file://" + ProgramPath() + u".swf");
        defaultMoviePending = false;
    }
    return false;
}

void CPlayerView::StatusTick() {
    const HWND active = GetActiveWindow();
    if (active != nullptr && (active == frame.Handle() || active == Handle())) {
        RegisterPlayerHotKeys();
    }
    if (!movieControl.Exists()) {
        return;
    }
    if (CheckPendingOpen()) {
        return;
    }
    if (movieControl.GetReadyState() < MovieControl::kLoaded ||
        movieControl.GetReadyState() < MovieControl::kComplete) {
        return;
    }
    // The range only ever grows.
    if (movieControl.GetTotalFrames() > positionSlider.GetRangeMax()) {
        positionSlider.SetRangeMax(movieControl.GetTotalFrames(), false);
    }
    if (fullScreen) {
        frame.ApplyScreenMode(true);
    }
    ApplyMoviePlacement();
    if (!movieControl.GetPlaying()) {
        if (backlightRequest != nullptr) {
            PausePlayback();
        }
        ShowPlayButton(true);
        if (slideMode) {
            movieControl.StopMovie();
        }
        return;
    }
    positionSlider.SetPos(movieControl.GetFrameNumber(), true);
    ShowPlayButton(false);
    const bool slideException = settings.backlightOption == 2 && slideMode;
    if (!slideException) {
        SetSystemPowerState(nullptr, POWER_STATE_ON, 0);
    }
    if (backlightRequest == nullptr && !slideException) {
        PlaceBacklightRequest();
        if (backlightRequest == nullptr) {
            // The backlight cannot be kept: stop as the Stop command does.
            StopPlayback();
        }
    }
    if (backlightRequest != nullptr && !BacklightKept()) {
        ReleaseBacklightRequest();
    }
    keybd_event(kActivityKey, 0, kActivityKeyFlags, 0);
}

} // namespace player

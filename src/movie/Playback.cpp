// The playback commands of the player view: play and pause, stop, frame
// steps, scale modes, zoom steps and the seek with the position slider, and
// the backlight requirement held while a movie plays.
#include "platform/Power.h"
#include "resources/resource.h"
#include "window/MainFrame.h"
#include "window/PlayerView.h"

namespace player {
namespace {

constexpr char16_t kBacklightDevice[] = u"BKL1:";
// The device given by name, held even in system states that would lower it.
constexpr ULONG kBacklightFlags = POWER_NAME | POWER_FORCE;

// Forward and Back move by a fiftieth of the movie, and by 5 frames in a
// movie of fewer than 50.
LONG FrameStep(LONG totalFrames) {
    const LONG step = totalFrames / 50;
    return step <= 0 ? 5 : step;
}

} // namespace

void CPlayerView::ShowPlayButton(bool play) const {
    const framework::CommandBar& bar = frame.ToolbarCommandBar();
    bar.HideButton(ID_PLAY_PAUSE, !play);
    bar.HideButton(ID_PAUSE, play);
}

void CPlayerView::PlaceBacklightRequest() {
    std::u16string device = kBacklightDevice;
    const HANDLE request = SetPowerRequirement(device.data(), D0, kBacklightFlags, nullptr, 0);
    // The all-ones handle is a failure too: nothing is held then.
    backlightRequest = request == INVALID_HANDLE_VALUE ? nullptr : request;
}

void CPlayerView::ReleaseBacklightRequest() {
    if (backlightRequest != nullptr) {
        ReleasePowerRequirement(backlightRequest);
        backlightRequest = nullptr;
    }
}

void CPlayerView::TogglePlayPause() {
    if (movieControl.GetPlaying()) {
        PausePlayback();
        return;
    }
    ReleaseBacklightRequest();
    // Whatever the backlight option says: the next tick releases it again
    // where the option does not keep the backlight.
    PlaceBacklightRequest();
    if (slideMode) {
        movieControl.StopMovie();
    }
    movieControl.SetPlaying(true);
    ShowPlayButton(false);
}

void CPlayerView::PausePlayback() {
    ReleaseBacklightRequest();
    movieControl.StopMovie();
    ShowPlayButton(true);
}

void CPlayerView::StopPlayback() {
    PausePlayback();
    movieControl.RewindMovie();
}

void CPlayerView::StepForward() {
    const LONG step = FrameStep(movieControl.GetTotalFrames());
    const LONG frameNumber = movieControl.GetFrameNumber();
    // Past the last frame as it comes: the control decides what that shows.
    movieControl.SetFrameNumber(frameNumber + step);
}

void CPlayerView::StepBack() {
    const LONG step = FrameStep(movieControl.GetTotalFrames());
    const LONG frameNumber = movieControl.GetFrameNumber();
    movieControl.SetFrameNumber(frameNumber - step < 0 ? 0 : frameNumber - step);
}

void CPlayerView::SelectScaleMode(int mode) {
    settings.scaleMode = mode;
    movieControl.SetScaleMode(mode);
}

void CPlayerView::SelectZoom(int percent) {
    // The movie follows at the next tick with a completely loaded movie.
    zoomPercent = percent;
}

void CPlayerView::SeekToSliderPosition(HWND sender) {
    const bool wasPlaying = movieControl.GetPlaying();
    if (sender == positionSlider.Handle() && sender != nullptr) {
        movieControl.SetFrameNumber(positionSlider.GetPos());
        // A seek while paused stays paused.
        if (wasPlaying) {
            movieControl.PlayMovie();
        }
    } else if (sender == volumeSlider.Handle() && sender != nullptr) {
        SetSystemVolume(static_cast<WORD>(volumeSlider.GetPos()));
    }
}

} // namespace player

// "Jump to...": the movie moves to a typed frame number or percentage. It
// stands still while the dialog is open and plays on afterwards if it played
// before, whatever the user did in the dialog.
#include "framework/MessageBox.h"
#include "movie/JumpEntry.h"
#include "movie/JumpToBox.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "resources/resource.h"
#include "window/PlayerView.h"

namespace player {

void CPlayerView::JumpToPosition() {
    if (movieControl.GetReadyState() < MovieControl::kLoaded) {
        framework::ShowMessageBox(IDS_MOVIE_NOT_LOADED, MB_OK);
        return;
    }
    CJumpToBox box;
    box.currentFrame = movieControl.GetFrameNumber();
    box.lengthFrames = movieControl.GetTotalFrames();
    box.entryText = text::FromUtf8(std::to_string(box.currentFrame));
    const bool wasPlaying = movieControl.GetPlaying();
    movieControl.StopMovie();
    if (box.DoModal() == IDOK) {
        const std::optional<LONG> frame = JumpTarget(
            box.entryText, box.currentFrame, [this] { return movieControl.GetTotalFrames(); });
        if (frame) {
            movieControl.SetFrameNumber(*frame);
        }
    }
    if (wasPlaying) {
        movieControl.PlayMovie();
    }
}

} // namespace player

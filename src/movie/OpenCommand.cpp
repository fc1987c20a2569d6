// The Open command of the player view: a location from the Open dialog, the
// stage size probed from the file's header, and the movie's URL handed to
// the control.
#include "dialogs/OpenSwfDialog.h"
#include "movie/HeaderProbe.h"
#include "movie/MovieUrl.h"
#include "platform/Controls.h"
#include "window/PlayerView.h"

namespace player {

void CPlayerView::RunOpenCommand() {
    modalUiOpen = true;
    COpenSWFDialog dialog;
    const INT_PTR result = dialog.DoModal();
    modalUiOpen = false;
    if (result != IDOK) {
        return;
    }
    ProbeMovieHeader(dialog.location);
    const std::u16string url = FormMovieUrl(dialog.location);
    slideMode = dialog.presentationFlag == BST_CHECKED;
    OpenMovieUrl(url);
}

void CPlayerView::ProbeMovieHeader(const std::u16string& path) {
    // A location that is no file (an "http://" one, a missing file) leaves
    // the stage unknown rather than that of the movie before.
    header = ProbeMovieFile(path).value_or(SwfHeaderInfo{});
}

} // namespace player

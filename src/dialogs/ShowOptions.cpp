// "Options...": the Options dialog over the player's settings, which are
// written whichever way it closes.
#include "dialogs/OptionsBox.h"
#include "window/PlayerView.h"

namespace player {

void CPlayerView::ShowOptions() {
    modalUiOpen = true;
    COptionsBox box;
    box.backlightIndex = settings.backlightOption;
    box.landscapeChecked = settings.landscapeInFullScreen;
    box.carriedFlag = settings.storedFlag5;
    // OK or Cancel: after Cancel the members hold what was put in, as the
    // dialog showed it.
    box.DoModal();
    settings.backlightOption = box.backlightIndex;
    settings.landscapeInFullScreen = box.landscapeChecked;
    settings.storedFlag5 = box.carriedFlag != 0 ? 1 : 0;
    modalUiOpen = false;
    SaveSettings();
}

} // namespace player

// The Options dialog: the backlight choice, the landscape option (its check
// box is never shown), which hardware keys act, and the button that
// associates ".swf" movie files with the player.
#pragma once

#include "framework/Dialog.h"

namespace player {

class COptionsBox : public framework::Dialog {
public:
    COptionsBox();

    // The selection of the hidden hot-key list 1003; nobody uses it.
    int hotKeyIndex = 0;
    // The selection of the "Backlight:" list 1019 (-1 for none).
    int backlightIndex = 0;
    // Carried through the dialog untouched, bound to no control.
    int carriedFlag = 0;
    // The state of check box 1021.
    int landscapeChecked = 0;

protected:
    void DoDataExchange(framework::DataExchange& dx) override;
    bool OnInitDialog() override;
    const framework::MessageTable& Messages() const override;

private:
    void OnAssociate();
    void OnIgnored();
};

} // namespace player

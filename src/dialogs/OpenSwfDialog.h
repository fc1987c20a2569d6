// The Open location dialog: a movie location typed into an edit box or picked
// with "Browse...", and the "Open as Presentation Slides" check box (which the
// dialog never shows). Each Open builds a new one, so it starts empty and
// unchecked.
#pragma once

#include <string>

#include "framework/Dialog.h"

namespace player {

class COpenSWFDialog : public framework::Dialog {
public:
    COpenSWFDialog();

    // Check box 1012: BST_CHECKED or BST_UNCHECKED.
    int presentationFlag = 0;
    // Edit box 1009.
    std::u16string location;

protected:
    void DoDataExchange(framework::DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    const framework::MessageTable& Messages() const override;

private:
    void OnBrowse();
};

} // namespace player

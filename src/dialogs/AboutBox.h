// The About box: the program's icon and version line, laid out for an
// upright or a landscape screen, whichever the screen is whenever the box
// changes size (a turn of the screen resizes it). It closes with the OK
// button in its caption.
#pragma once

#include "framework/Dialog.h"

namespace player {

class CAboutBox : public framework::Dialog {
public:
    CAboutBox();

protected:
    const framework::MessageTable& Messages() const override;

private:
    void OnSize(UINT type, int width, int height);
};

} // namespace player

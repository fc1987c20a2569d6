// The view's child window around the hosted movie control. It creates the
// control by class id, offers the dispatch operations of MovieControl, and,
// once it has subclassed the control's window, sees the control's messages
// first: a tap-and-hold on the movie opens the "Control" popup, everything
// else goes on to the control unchanged.
#pragma once

#include "framework/Menu.h"
#include "framework/Window.h"
#include "movie/MovieControl.h"

namespace player {

class CShockwaveFlash : public framework::Window, public MovieControl {
public:
    // Loads the wrapper's menu and creates the control: text "Vantrel", child
    // and visible, id 9907. False when the control cannot be made (none is
    // installed, or hosting is off).
    bool CreateControl(HWND parent, const RECT& rect);
    // Lets the wrapper see the control window's messages first; nothing
    // without a control.
    bool SubclassControl();

protected:
    const framework::MessageTable& Messages() const override;

private:
    void OnLButtonDown(UINT keys, POINT point);

    framework::Menu menu;
};

} // namespace player

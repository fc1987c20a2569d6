#include "movie/ShockwaveFlash.h"

#include "platform/Shell.h"
#include "platform/Window.h"
#include "resources/resource.h"

namespace player {

bool CShockwaveFlash::CreateControl(HWND parent, const RECT& rect) {
    menu.Load(IDR_MAINFRAME);
    const HWND control = CreateControlWindow(kMovieControlClassId, u"Vantrel",
                                             WS_CHILD | WS_VISIBLE, rect, parent, ID_MOVIE_CONTROL);
    SetControlWindow(control);
    return control != nullptr;
}

bool CShockwaveFlash::SubclassControl() {
    return Exists() && Subclass(ControlWindow());
}

const framework::MessageTable& CShockwaveFlash::Messages() const {
    using T = framework::Table<CShockwaveFlash>;
    static const T table{Window::Messages(), {T::LButtonDown(&CShockwaveFlash::OnLButtonDown)}};
    return table;
}

void CShockwaveFlash::OnLButtonDown(UINT, POINT point) {
    SHRGINFO gesture;
    gesture.hwndClient = Handle();
    gesture.ptDown = point;
    gesture.dwFlags = SHRG_RETURNCMD;
    if (SHRecognizeGesture(&gesture) != GN_CONTEXTMENU) {
        // Not a hold: the press belongs to the movie.
        Default();
        return;
    }
    if (!menu.IsLoaded()) {
        menu.Load(IDR_MAINFRAME);
    }
    // The tap point goes unchanged as the popup's place. The view receives the
    // commands, so only what the view handles acts from here.
    framework::TrackPopup(menu.SubMenu(0), point, GetParent(Handle()));
}

} // namespace player

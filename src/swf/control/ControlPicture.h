// The picture in the movie control's window: the control's movie as its
// player shows it, rendered at the window's size in the control's scale
// mode with the "_root" properties, and put on the window's device context
// with the device's DIB call.
//
// The control's window keeps one. After a tick of its timer (or a change of
// size, scale mode or "_root"), Update renders the frame if the stage
// changed, and the window invalidates itself when it did; WM_PAINT then
// calls PaintPicture. Frames rendered and frames skipped are counted in the
// state's counters, so its state reports them.
#pragma once

#include <memory>

#include "platform/Painting.h"
#include "swf/control/MovieControlState.h"
#include "swf/render/MovieView.h"

namespace swf {

class ControlPicture {
public:
    // Brings the picture up to date with state's movie for a client area of
    // width x height pixels. Returns whether the pixels changed.
    bool Update(MovieControlState& state, int width, int height);

    // The view of the current movie; nullptr while there is none.
    const MovieView* View() const { return view.get(); }

private:
    const Movie* movie = nullptr; // borrowed from the state
    std::unique_ptr<MovieView> view;
};

// Puts the view's picture at the top left of dc. Returns false (and draws
// nothing) before the first picture or when the device refuses it.
bool PaintPicture(HDC dc, const MovieView& view);

} // namespace swf

#include "swf/control/ControlPicture.h"

namespace swf {

bool ControlPicture::Update(MovieControlState& state, int width, int height) {
    const Movie* current = state.CurrentMovie();
    const MoviePlayer* player = state.Player();
    if (current == nullptr || player == nullptr) {
        movie = nullptr;
        view.reset();
        return false;
    }
    if (current != movie || !view) {
        // A new movie: its own view, with its own caches.
        movie = current;
        view = std::make_unique<MovieView>(*current);
    }
    const auto rendered = view->FramesRendered();
    const auto skipped = view->FramesSkipped();
    const bool changed =
        view->Update(*player, {width, height, ScaleModeFromNumber(state.ScaleMode())});
    state.framesRendered += view->FramesRendered() - rendered;
    state.framesSkipped += view->FramesSkipped() - skipped;
    return changed;
}

} // namespace swf

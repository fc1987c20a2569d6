#include "RenderHelpers.h"

namespace rendertest {

namespace {

bool TimelineHasActions(const swf::Timeline& timeline) {
    for (const swf::Frame& frame : timeline.frames) {
        if (!frame.actionTags.empty()) {
            return true;
        }
        for (const swf::DisplayTag& tag : frame.displayTags) {
            const auto* place = std::get_if<swf::PlaceObject>(&tag);
            if (place != nullptr && !place->clipActions.empty()) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

bool HasActions(const swf::Movie& movie) {
    if (TimelineHasActions(movie.root)) {
        return true;
    }
    for (const auto& [id, character] : movie.dictionary) {
        if (const auto* sprite = std::get_if<swf::Sprite>(&character.data)) {
            if (TimelineHasActions(sprite->timeline)) {
                return true;
            }
        }
        if (const auto* button = std::get_if<swf::Button>(&character.data)) {
            if (!button->actions.empty()) {
                return true;
            }
        }
    }
    return false;
}

PlayedMovie Play(std::span<const std::uint8_t> bytes, int frame) {
    PlayedMovie played;
    played.parser = testmovies::Parse(bytes);
    played.player = std::make_unique<swf::MoviePlayer>(played.parser->GetMovie());
    played.player->SetComplete(true);
    played.player->FramesAdded();
    for (int i = 1; i < frame; ++i) {
        played.player->Tick();
    }
    return played;
}

std::unique_ptr<swf::MovieView> RenderAtStageSize(const swf::Movie& movie, int frame) {
    swf::MoviePlayer player(movie);
    player.SetComplete(true);
    player.FramesAdded();
    for (int i = 1; i < frame; ++i) {
        player.Tick();
    }
    auto view = std::make_unique<swf::MovieView>(movie);
    const swf::Rect& stage = movie.header.frameSize;
    view->Update(player,
                 {std::max(1, stage.Width() / swf::TwipsPerPixel),
                  std::max(1, stage.Height() / swf::TwipsPerPixel), swf::ScaleMode::ShowAll});
    return view;
}

} // namespace rendertest

// fontconfig keeps its configuration and font caches for the life of the
// process, by design; the tests that draw with the device's fonts go through
// it, so the leak checker of the sanitizer build is told to let them be.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

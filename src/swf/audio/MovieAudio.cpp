#include "swf/audio/MovieAudio.h"

namespace swf {

void MovieAudio::Attach(const Movie& value) {
    Detach();
    movie = &value;
    sounds = std::make_unique<MovieSound>(value, mixer);
}

void MovieAudio::Detach() {
    if (sounds) {
        ++generation;
    }
    sounds.reset();
    movie = nullptr;
    lastFrame.reset();
}

void MovieAudio::Follow(const MoviePlayer& player) {
    if (!sounds) {
        return;
    }
    // The main timeline's frames, once per frame entered.
    const auto frame = player.Root().CurrentFrame();
    if (!frame || frame == lastFrame) {
        return;
    }
    lastFrame = frame;
    if (*frame < movie->root.frames.size()) {
        for (const RawTag& tag : movie->root.frames[*frame].soundTags) {
            sounds->TagReached(0, tag);
        }
    }
}

} // namespace swf

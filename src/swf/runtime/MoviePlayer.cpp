#include "swf/runtime/MoviePlayer.h"

#include <algorithm>

namespace swf {

MoviePlayer::MoviePlayer(const Movie& movie) : movie(movie), root(movie, movie.root, budget) {}

void MoviePlayer::FramesAdded() {
    if (!root.CurrentFrame()) {
        root.GotoFrame(0);
    }
}

void MoviePlayer::Tick() {
    FramesAdded();
    // Sprites on stage first, so that those the next frame places start at
    // their first frame.
    root.AdvanceSprites();
    if (playing) {
        root.NextFrame(complete);
    }
}

void MoviePlayer::GotoFrame(long frame) {
    playing = false;
    root.GotoFrame(static_cast<std::size_t>(std::max(frame, 0L)));
}

void MoviePlayer::Rewind() {
    GotoFrame(0);
}

std::size_t MoviePlayer::TotalFrames() const {
    if (complete) {
        return movie.root.frames.size();
    }
    return std::max<std::size_t>(movie.header.frameCount, movie.root.frames.size());
}

FrameClock::FrameClock(double framesPerSecond) {
    // A rate of 0 (or one too small to be meant) plays at one frame a second;
    // the format cannot express more than 256 frames a second.
    const double rate = framesPerSecond < 0.01 ? 1.0 : framesPerSecond;
    period = 1000.0 / rate;
}

int FrameClock::Advance(std::uint64_t nowMilliseconds) {
    const auto now = static_cast<double>(nowMilliseconds);
    if (!start) {
        start = now;
        periods = 0;
        return 0;
    }
    // Periods are counted from the start rather than added up, so that
    // rounding never drifts the clock; a hair of tolerance keeps a period
    // that ends exactly on a millisecond from slipping to the next tick.
    const auto ended = [&](std::uint64_t count) {
        return now + 1e-6 >= *start + static_cast<double>(count) * period;
    };
    int due = 0;
    while (due < maxCatchUp && ended(periods + 1)) {
        ++periods;
        ++due;
    }
    if (ended(periods + 1)) {
        // Too far behind: start over from now.
        start = now;
        periods = 0;
    }
    return due;
}

} // namespace swf

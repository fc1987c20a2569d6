// Plays a movie's timelines: the main timeline (which loops at its end once
// the whole movie is in, and waits for frames still loading), and every
// sprite on stage, which advances with each frame period whether the main
// timeline plays or not. Frame numbers are 0-based.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "swf/format/Movie.h"
#include "swf/runtime/DisplayList.h"

namespace swf {

// The properties of the whole movie that the host can set ("_root" of the
// clip property calls): position in pixels, scale in percent, rotation in
// degrees. The renderer applies them on top of the stage placement.
struct RootProperties {
    double x = 0.0;
    double y = 0.0;
    double xScale = 100.0;
    double yScale = 100.0;
    double rotation = 0.0; // -180 < rotation <= 180
};

class MoviePlayer {
public:
    // movie is borrowed; it may still be loading (see SetComplete).
    explicit MoviePlayer(const Movie& movie);

    // The movie will get no more frames: the main timeline may loop.
    void SetComplete(bool value) { complete = value; }
    bool Complete() const { return complete; }

    // Shows the first frame once it is in; call after frames are added.
    void FramesAdded();

    // One frame period: sprites advance, then the main timeline if playing.
    void Tick();

    void Play() { playing = true; }
    void Stop() { playing = false; }
    bool Playing() const { return playing; }
    // Shows frame (the last one available when past it) and stops, as the
    // host's frame-number calls expect.
    void GotoFrame(long frame);
    void Rewind();

    // The frame shown (0 before the first frame is in).
    std::size_t FrameNumber() const { return root.CurrentFrame().value_or(0); }
    // Frames of the movie: what the header declares while loading, what the
    // movie holds once complete.
    std::size_t TotalFrames() const;

    const TimelineInstance& Root() const { return root; }
    RootProperties& Properties() { return properties; }
    const RootProperties& Properties() const { return properties; }

private:
    const Movie& movie;
    SpriteBudget budget;
    TimelineInstance root;
    RootProperties properties;
    bool playing = true;
    bool complete = false;
};

// Turns the device clock into frame periods at the movie's frame rate.
class FrameClock {
public:
    explicit FrameClock(double framesPerSecond);

    // The number of frame periods that have ended since the last call (the
    // first call starts the clock and returns 0). A clock that falls far
    // behind (a stalled host) drops the periods past maxCatchUp instead of
    // racing through them.
    int Advance(std::uint64_t nowMilliseconds);
    double PeriodMilliseconds() const { return period; }

    static constexpr int maxCatchUp = 10;

private:
    double period;
    std::optional<double> start;
    std::uint64_t periods = 0; // periods counted since start
};

} // namespace swf

// Plays a movie: the main timeline and every clip on stage, each with its
// own play state, in Flash Player's frame loop. A tick is three phases a
// script engine joins through its ScriptHost:
//
//   AdvanceTimelines()  every clip, newest first: its enter-frame event is
//                       queued, then (if it plays) it enters its next frame:
//                       the frame's display tags run at once (new clips run
//                       their first frame as they are placed), its actions
//                       and the new clips' events are queued;
//   RunActions()        the queue runs, init actions first, then initialize
//                       and construct events, then frame actions and other
//                       events in the order they were queued; what they do
//                       (gotos, new clips) queues more, which runs in turn;
//   FinishFrame()       removed clips that waited for their unload events
//                       leave.
//
// Frame numbers are 0-based. See docs/engine-runtime.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "swf/format/Movie.h"
#include "swf/runtime/MovieClip.h"
#include "swf/runtime/RuntimeContext.h"
#include "swf/runtime/RuntimeEvents.h"
#include "swf/runtime/UserInput.h"

namespace swf {

class ScriptHost;

// The properties of the whole movie that the host can set ("_root" of the
// clip property calls): position in pixels, scale in percent, rotation in
// degrees. They are the main timeline's transformation.
struct RootProperties {
    double x = 0.0;
    double y = 0.0;
    double xScale = 100.0;
    double yScale = 100.0;
    double rotation = 0.0; // -180 < rotation <= 180
};

// The transformation the root properties make, in twips.
Matrix RootMatrix(const RootProperties& properties);

class MoviePlayer {
public:
    // movie is borrowed; it may still be loading (see SetComplete).
    explicit MoviePlayer(const Movie& movie);
    ~MoviePlayer();
    MoviePlayer(const MoviePlayer&) = delete;
    MoviePlayer& operator=(const MoviePlayer&) = delete;

    // The script engine that runs queued actions and says which objects
    // handle which events; borrowed, nullptr for none.
    void SetScriptHost(ScriptHost* host);

    // The movie will get no more frames: the main timeline may loop.
    void SetComplete(bool value) { context->movieComplete = value; }
    bool Complete() const { return context->movieComplete; }

    // Shows the first frame once it is in (and runs its actions); call after
    // frames are added.
    void FramesAdded();

    // One frame period: the three phases below.
    void Tick();
    void AdvanceTimelines();
    void RunActions();
    void FinishFrame();

    // The host's control of the main timeline.
    void Play() { root->Play(); }
    void Stop() { root->Stop(); }
    bool Playing() const { return root->Playing(); }
    // Shows frame (the last one loaded when past it) and stops, as the
    // host's frame-number calls expect; the frame's actions run.
    void GotoFrame(long frame);
    void Rewind();

    // The frame shown (0 before the first frame is in).
    std::size_t FrameNumber() const { return root->CurrentFrame().value_or(0); }
    // Frames of the movie: what the header declares while loading, what the
    // movie holds once complete.
    std::size_t TotalFrames() const { return root->TotalFrames(); }

    MovieClip& Root() { return *root; }
    const MovieClip& Root() const { return *root; }
    // The object a handle refers to; nullptr once it is gone.
    DisplayObject* Find(DisplayHandle handle) const { return context->objects.Find(handle); }
    void SetRootProperties(const RootProperties& properties);

    // The stylus and the keys, at points of the stage in twips (where the
    // window's pixels fall on the stage, see StagePlacement.h). Buttons go
    // through their states and clips get their mouse and key events; what
    // that queues runs with RunActions() and FinishFrame().
    void PointerMoved(double x, double y) { input.PointerMoved(*root, x, y); }
    void PointerDown(double x, double y) { input.PointerDown(*root, x, y); }
    void PointerUp(double x, double y) { input.PointerUp(*root, x, y); }
    void KeyDown(std::uint32_t virtualKey) { input.KeyDown(*root, virtualKey); }
    void KeyUp(std::uint32_t virtualKey) { input.KeyUp(*root, virtualKey); }
    void CharacterTyped(std::uint16_t character) { input.CharacterTyped(*root, character); }
    // Where the pointer is and what it is over or pressed on.
    const UserInput& Input() const { return input; }
    // hitTest(x, y, shapeFlag) at a stage point: on what object shows, or
    // within its bounds.
    bool HitTest(const DisplayObject& object, double x, double y, bool shapeFlag);

    // What happened since the current tick began, in order.
    const std::vector<RuntimeEvent>& Events() const { return context->events; }
    std::vector<RuntimeEvent> TakeEvents();
    // Changes with everything the picture shows.
    std::uint64_t Version() const { return context->version; }
    ObjectBudget& Budget() { return context->budget; }
    // The movie's own sound transformation, over every sound it plays.
    SoundTransform& GlobalSound() { return context->globalSound; }
    const SoundTransform& GlobalSound() const { return context->globalSound; }
    // Plays the sounds scripts start; borrowed, nullptr for none.
    void SetSoundPlayback(SoundPlayback* playback) { context->soundPlayback = playback; }
    SoundPlayback* GetSoundPlayback() const { return context->soundPlayback; }
    const Movie& GetMovie() const { return context->movie; }

private:
    std::unique_ptr<RuntimeContext> context;
    std::unique_ptr<MovieClip> root; // destroyed before the context it uses
    UserInput input{*context};
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
    // The first whole millisecond at which Advance will count a period
    // more; nothing before the clock has started.
    std::optional<std::uint64_t> NextPeriodEnd() const;

    static constexpr int maxCatchUp = 10;

private:
    double period;
    std::optional<double> start;
    std::uint64_t periods = 0; // periods counted since start
};

} // namespace swf

#include "swf/runtime/MoviePlayer.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "swf/runtime/ObjectRemoval.h"
#include "swf/runtime/ScriptHost.h"
#include "swf/runtime/TimelineExecutor.h"

namespace swf {

namespace {

// Actions one drain of the queue runs at most: actions that keep queueing
// more (frames going to each other) end there, and the rest is dropped.
constexpr std::size_t MaxActionsPerDrain = std::size_t{1} << 18;

} // namespace

Matrix RootMatrix(const RootProperties& properties) {
    const auto finite = [](double value, double otherwise) {
        return std::isfinite(value) ? value : otherwise;
    };
    const double radians = finite(properties.rotation, 0.0) * M_PI / 180.0;
    const double xScale = finite(properties.xScale, 100.0) / 100.0;
    const double yScale = finite(properties.yScale, 100.0) / 100.0;
    Matrix matrix;
    matrix.scaleX = std::cos(radians) * xScale;
    matrix.rotateSkew0 = std::sin(radians) * xScale;
    matrix.rotateSkew1 = -std::sin(radians) * yScale;
    matrix.scaleY = std::cos(radians) * yScale;
    const auto twips = [&](double pixels) {
        return static_cast<Twips>(
            std::clamp(std::round(finite(pixels, 0.0) * TwipsPerPixel), -1e9, 1e9));
    };
    matrix.translateX = twips(properties.x);
    matrix.translateY = twips(properties.y);
    return matrix;
}

MoviePlayer::MoviePlayer(const Movie& movie)
    : context(std::make_unique<RuntimeContext>(movie)),
      root(std::make_unique<MovieClip>(*context, nullptr, &movie.root, 0)) {
    context->clipsByAge.push_back(root->Handle());
}

MoviePlayer::~MoviePlayer() {
    root.reset();
}

void MoviePlayer::SetScriptHost(ScriptHost* host) {
    context->host = host;
}

void MoviePlayer::FramesAdded() {
    if (root->CurrentFrame() || GetMovie().root.frames.empty()) {
        return;
    }
    TimelineExecutor::EnterFirstFrame(*root);
    // The main timeline's load event follows its first frame's actions.
    context->QueueEvent(*root, ClipEvent::Load, ActionPriority::Normal);
    RunActions();
    FinishFrame();
}

void MoviePlayer::Tick() {
    context->events.clear();
    FramesAdded();
    AdvanceTimelines();
    RunActions();
    FinishFrame();
}

void MoviePlayer::AdvanceTimelines() {
    std::vector<DisplayHandle>& clips = context->clipsByAge;
    // Clips made during the walk are not visited: they have just shown
    // their first frame.
    std::size_t gone = 0;
    for (std::size_t i = clips.size(); i-- > 0;) {
        const DisplayHandle handle = clips[i];
        DisplayObject* object = context->objects.Find(handle);
        if (object == nullptr) {
            ++gone;
            continue;
        }
        auto& clip = static_cast<MovieClip&>(*object);
        if (clip.Unloading()) {
            continue;
        }
        context->QueueEvent(clip, ClipEvent::EnterFrame, ActionPriority::Normal);
        if (clip.Playing()) {
            TimelineExecutor::Advance(clip);
        }
    }
    if (gone > clips.size() / 2) {
        std::erase_if(clips, [&](DisplayHandle handle) { return !context->objects.Find(handle); });
    }
    // Buttons the frame brought under the pointer, or took from under it.
    input.Recheck(*root);
}

void MoviePlayer::RunActions() {
    std::size_t run = 0;
    while (auto action = context->queue.Pop()) {
        if (++run > MaxActionsPerDrain) {
            context->queue.Clear();
            break;
        }
        const DisplayObject* target = context->objects.Find(action->target);
        if (target == nullptr) {
            continue;
        }
        // A clip leaving runs nothing but its load and unload events: what
        // loaded reports that it unloads, even in the frame it came and went.
        const bool lifetimeEvent =
            action->kind == ActionKind::ClipEvent &&
            (action->event == ClipEvent::Unload || action->event == ClipEvent::Load);
        if (target->Unloading() && !lifetimeEvent) {
            continue;
        }
        if (context->host != nullptr) {
            context->host->Run(*action);
        }
    }
}

void MoviePlayer::FinishFrame() {
    ObjectRemoval::FinishUnloads(*context);
}

void MoviePlayer::GotoFrame(long frame) {
    root->GotoFrame(static_cast<std::size_t>(std::max(frame, 0L)), false);
    RunActions();
    FinishFrame();
}

void MoviePlayer::Rewind() {
    GotoFrame(0);
}

void MoviePlayer::SetRootProperties(const RootProperties& properties) {
    root->SetMatrix(RootMatrix(properties));
}

bool MoviePlayer::HitTest(const DisplayObject& object, double x, double y, bool shapeFlag) {
    if (shapeFlag) {
        return HitsObject(object, x, y, context->hitAreas);
    }
    const std::optional<Bounds> bounds = BoundsOf(object, GlobalMatrix(object));
    return bounds && x >= bounds->xMin && x <= bounds->xMax && y >= bounds->yMin &&
           y <= bounds->yMax;
}

std::vector<RuntimeEvent> MoviePlayer::TakeEvents() {
    return std::exchange(context->events, {});
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

std::optional<std::uint64_t> FrameClock::NextPeriodEnd() const {
    if (!start) {
        return std::nullopt;
    }
    // The least whole now for which Advance's test holds.
    const double end = *start + static_cast<double>(periods + 1) * period - 1e-6;
    return static_cast<std::uint64_t>(std::max(0.0, std::ceil(end)));
}

} // namespace swf

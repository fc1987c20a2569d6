// The frame loop's order, on writer movies: the events a tick reports, the
// order queued actions run in, removals that wait for their unload events,
// and loops a movie drives that end.
#include <gtest/gtest.h>

#include "RecordingHost.h"
#include "TestMovies.h"
#include "swf/format/TagCodes.h"
#include "swf/runtime/ScriptDepths.h"

namespace {

using swfwriter::ClipAction;
using swfwriter::MovieWriter;
using swfwriter::TimelineWriter;

constexpr std::uint32_t Load = 0x1;
constexpr std::uint32_t Unload = 0x4;
constexpr std::uint32_t Initialize = 0x200;
constexpr std::uint32_t Construct = 0x40000;

std::vector<std::uint8_t> Marker(std::uint8_t code) {
    return {code, 0x00};
}

// Names the events of a tick: "entered outer 1", "created inner", ...
std::vector<std::string> Describe(const swf::MoviePlayer& player,
                                  const std::vector<swf::RuntimeEvent>& events,
                                  const std::map<std::uint64_t, std::string>& names) {
    const auto name = [&](swf::DisplayHandle handle) {
        const auto found = names.find(handle.id);
        return found != names.end() ? found->second : std::string("?");
    };
    std::vector<std::string> lines;
    for (const auto& event : events) {
        if (const auto* entered = std::get_if<swf::FrameEntered>(&event)) {
            lines.push_back("entered " + name(entered->clip) + " " +
                            std::to_string(entered->frameIndex));
        } else if (const auto* created = std::get_if<swf::ObjectCreated>(&event)) {
            lines.push_back("created " + name(created->object));
        } else if (const auto* removed = std::get_if<swf::ObjectRemoved>(&event)) {
            lines.push_back("removed " + name(removed->object));
        } else if (const auto* sound = std::get_if<swf::EventSoundStarted>(&event)) {
            lines.push_back("sound " + name(sound->clip));
        } else {
            lines.push_back("other");
        }
    }
    (void)player;
    return lines;
}

TEST(FrameLoop, TickReportsNestedSpritesNewestFirstThenTheRemovalAndTheSound) {
    MovieWriter movie(8, 100, 100, 12);
    const auto square = movie.DefineShape(testmovies::Square({255, 0, 0}));
    const auto sound =
        movie.DefineRaw(swf::tag::DefineSound, std::vector<std::uint8_t>{0x3E, 0, 0, 0, 0, 0});
    TimelineWriter innerTimeline;
    innerTimeline.Place(1, square);
    innerTimeline.ShowFrame();
    innerTimeline.ShowFrame();
    const auto inner = movie.DefineSprite(innerTimeline);
    TimelineWriter outerTimeline;
    outerTimeline.Place(1, inner, {.name = "inner"});
    outerTimeline.ShowFrame();
    outerTimeline.ShowFrame();
    const auto outer = movie.DefineSprite(outerTimeline);
    TimelineWriter goneTimeline;
    goneTimeline.ShowFrame();
    const auto gone = movie.DefineSprite(goneTimeline);
    movie.Place(1, outer, {.name = "outer"});
    movie.Place(2, gone, {.name = "gone"});
    movie.ShowFrame();
    movie.Remove(2);
    movie.Tag(swf::tag::StartSound, std::vector<std::uint8_t>{std::uint8_t(sound), 0, 0});
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    swf::MoviePlayer player(parser->GetMovie());
    player.SetComplete(true);
    player.FramesAdded();

    std::map<std::uint64_t, std::string> names{{player.Root().Handle().id, "root"}};
    for (const char* name : {"outer", "gone"}) {
        names[player.Root().FindChild(name, true)->Handle().id] = name;
    }
    const auto* outerClip =
        static_cast<const swf::MovieClip*>(player.Root().FindChild("outer", true));
    names[outerClip->FindChild("inner", true)->Handle().id] = "inner";
    // Loading shows frame 1: each clip as it is placed, depth first.
    EXPECT_EQ(Describe(player, player.Events(), names),
              (std::vector<std::string>{"entered root 0", "created outer", "entered outer 0",
                                        "created inner", "entered inner 0", "created gone",
                                        "entered gone 0"}));

    player.Tick();
    // The newest clip first (a clip of one frame stays on it), the main
    // timeline last; its frame removes a clip and starts a sound.
    EXPECT_EQ(Describe(player, player.Events(), names),
              (std::vector<std::string>{"entered inner 1", "entered outer 1", "entered root 1",
                                        "removed gone", "sound root"}));
}

TEST(FrameLoop, PlacedClipsEventsRunInFlashPlayersPriorities) {
    MovieWriter movie(8, 100, 100, 12);
    TimelineWriter inner;
    inner.Tag(swf::tag::DoAction, Marker(0x07));
    inner.ShowFrame();
    const auto sprite = movie.DefineSprite(inner);
    // The frame's action comes before the placement in the file.
    movie.Tag(swf::tag::DoAction, Marker(0x06));
    movie.Place(1, sprite,
                {.name = "clip",
                 .clipActions = {ClipAction{Load}, ClipAction{Initialize}, ClipAction{Construct}}});
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    swf::MoviePlayer player(parser->GetMovie());
    runtimetest::RecordingHost host(player);
    host.Handle(player.Root(), swf::ClipEvent::Load);
    player.FramesAdded();
    // Initialize and construct before everything queued ahead of them; the
    // clip's load before its own first frame's actions; the main timeline's
    // load after its frame.
    EXPECT_EQ(host.log, (std::vector<std::string>{"clip event initialize", "clip event construct",
                                                  "root frame 0x06", "clip event load",
                                                  "clip frame 0x07", "root event load"}));
}

TEST(FrameLoop, RemovedClipWithAnUnloadHandlerStaysFindableUntilTheFramesActionsHaveRun) {
    MovieWriter movie(8, 100, 100, 12);
    TimelineWriter inner;
    inner.ShowFrame();
    const auto sprite = movie.DefineSprite(inner);
    movie.Place(1, sprite, {.name = "ball", .clipActions = {ClipAction{Unload}}});
    movie.ShowFrame();
    movie.Remove(1);
    movie.Tag(swf::tag::DoAction, Marker(0x06));
    movie.ShowFrame();
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    swf::MoviePlayer player(parser->GetMovie());
    runtimetest::RecordingHost host(player);
    player.FramesAdded();
    const swf::DisplayHandle ball = player.Root().FindChild("ball", true)->Handle();
    std::vector<bool> found;
    host.onRun = [&](const swf::QueuedAction&) {
        const swf::DisplayObject* object = player.Root().FindChild("ball", true);
        found.push_back(object != nullptr);
        if (object != nullptr) {
            // Moved to its own depth below everything, script depth -32769 - depth.
            EXPECT_EQ(swf::depths::ToScript(object->GetDepth()), -32769 - swf::depths::ToScript(1));
            EXPECT_TRUE(object->Unloading());
        }
    };
    player.Tick();
    EXPECT_EQ(host.log, (std::vector<std::string>{"ball event unload", "root frame 0x06"}));
    EXPECT_EQ(found, (std::vector<bool>{true, true}));
    EXPECT_EQ(player.Find(ball), nullptr) << "gone once the frame's actions ran";
}

TEST(FrameLoop, UnloadKeepsWhatHandlesItAndRunsChildrenFirst) {
    MovieWriter movie(8, 100, 100, 12);
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    swf::MoviePlayer player(parser->GetMovie());
    runtimetest::RecordingHost host(player);
    player.FramesAdded();
    swf::MovieClip* a = player.Root().CreateEmptyClip("a", swf::depths::FromScript(0));
    swf::MovieClip* plain = a->CreateEmptyClip("plain", swf::depths::FromScript(0));
    swf::MovieClip* handler = a->CreateEmptyClip("handler", swf::depths::FromScript(1));
    const swf::DisplayHandle plainHandle = plain->Handle();
    host.Handle(*handler, swf::ClipEvent::Unload);
    host.log.clear();

    a->Remove();
    // a stays (something inside it handles unload), at its unload depth;
    // what handles nothing inside it goes at once.
    EXPECT_EQ(player.Root().FindChild("a", true), a);
    EXPECT_EQ(swf::depths::ToScript(a->GetDepth()), -32769);
    EXPECT_EQ(player.Find(plainHandle), nullptr);
    EXPECT_EQ(a->FindChild("handler", true), handler);
    a->Remove(); // already leaving: nothing
    player.RunActions();
    player.FinishFrame();
    EXPECT_EQ(host.log, (std::vector<std::string>{"handler event unload"}));
    EXPECT_EQ(player.Root().FindChild("a", true), nullptr);
}

TEST(FrameLoop, GotosThatQueueEachOtherWithoutEndStopAndThePlayerGoesOn) {
    MovieWriter movie(8, 100, 100, 12);
    movie.Tag(swf::tag::DoAction, Marker(0x06));
    movie.ShowFrame();
    movie.Tag(swf::tag::DoAction, Marker(0x07));
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    swf::MoviePlayer player(parser->GetMovie());
    runtimetest::RecordingHost host(player);
    player.SetComplete(true);
    player.FramesAdded();
    // Every frame action sends the main timeline to the other frame, which
    // queues that frame's action, and so on.
    host.onRun = [&](const swf::QueuedAction&) {
        player.Root().GotoFrame(1 - player.Root().CurrentFrame().value_or(0), false);
    };
    host.log.clear();
    player.Tick();
    EXPECT_GT(host.log.size(), 1000u);
    host.onRun = nullptr;
    host.log.clear();
    player.Play();
    player.Tick();
    EXPECT_EQ(host.log.size(), 1u) << "the next tick runs as usual";
}

TEST(FrameLoop, DamagedPlacementStopsTheFrameAndThePlayheadStaysBeforeIt) {
    MovieWriter movie(8, 100, 100, 12);
    const auto square = movie.DefineShape(testmovies::Square({0, 0, 0}));
    movie.ShowFrame();
    // A PlaceObject2 that neither moves nor names a character.
    movie.Tag(swf::tag::PlaceObject2, std::vector<std::uint8_t>{0x00, 0x01, 0x00});
    movie.Place(2, square);
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    swf::MoviePlayer player(parser->GetMovie());
    player.SetComplete(true);
    player.FramesAdded();
    player.Tick();
    player.Tick();
    EXPECT_EQ(player.FrameNumber(), 0u);
    EXPECT_EQ(player.Root().ChildAt(2), nullptr);
}

} // namespace

// What a script engine does through the runtime's interface, on writer
// movies: objects it makes, properties it sets and clips it stops, against
// what the timeline does next.
#include <gtest/gtest.h>

#include "RecordingHost.h"
#include "TestMovies.h"
#include "swf/format/TagCodes.h"
#include "swf/runtime/ScriptDepths.h"

namespace {

using swf::depths::FromScript;
using swfwriter::Matrix;
using swfwriter::MovieWriter;
using swfwriter::TimelineWriter;

swf::MovieClip* AsClip(swf::DisplayObject* object) {
    return object != nullptr && object->Kind() == swf::DisplayKind::MovieClip
               ? static_cast<swf::MovieClip*>(object)
               : nullptr;
}

// A movie whose sprite "mover" at depth 1 is moved by the timeline every
// frame (20 twips a frame), beside a second one, "follower", at depth 2.
struct MovingMovie {
    MovingMovie() {
        MovieWriter movie(8, 100, 100, 12);
        const auto square = movie.DefineShape(testmovies::Square({0, 0, 255}));
        TimelineWriter inner;
        inner.Place(1, square);
        inner.ShowFrame();
        inner.ShowFrame();
        inner.ShowFrame();
        const auto sprite = movie.DefineSprite(inner);
        movie.Place(1, sprite, {.matrix = Matrix::Translate(0, 0), .name = "mover"});
        movie.Place(2, sprite, {.matrix = Matrix::Translate(0, 0), .name = "follower"});
        movie.ShowFrame();
        for (int frame = 1; frame < 6; ++frame) {
            movie.Move(1, {.matrix = Matrix::Translate(frame * 20, 0)});
            movie.Move(2, {.matrix = Matrix::Translate(frame * 20, 0)});
            movie.ShowFrame();
        }
        parser = testmovies::Parse(movie.Finish());
        player = std::make_unique<swf::MoviePlayer>(parser->GetMovie());
        player->SetComplete(true);
        player->FramesAdded();
    }
    swf::DisplayObject* Child(const char* name) const {
        return player->Root().FindChild(name, true);
    }
    std::unique_ptr<swf::MovieParser> parser;
    std::unique_ptr<swf::MoviePlayer> player;
};

TEST(ScriptInterface, ClipAtAScriptDepthSurvivesAGotoBackButOneAtATimelineDepthDoesNot) {
    MovingMovie movie;
    swf::MovieClip& root = movie.player->Root();
    swf::MovieClip* kept = root.CreateEmptyClip("kept", FromScript(5));
    swf::MovieClip* dropped = root.CreateEmptyClip("dropped", FromScript(-5));
    ASSERT_NE(kept, nullptr);
    ASSERT_NE(dropped, nullptr);
    const swf::DisplayHandle keptHandle = kept->Handle();
    const swf::DisplayHandle droppedHandle = dropped->Handle();
    EXPECT_EQ(swf::depths::ToScript(kept->GetDepth()), 5);
    for (int tick = 0; tick < 3; ++tick) {
        movie.player->Tick();
    }
    EXPECT_EQ(movie.player->FrameNumber(), 3u);

    movie.player->GotoFrame(0);
    EXPECT_EQ(movie.player->Find(keptHandle), kept);
    EXPECT_EQ(root.FindChild("kept", true), kept);
    EXPECT_EQ(movie.player->Find(droppedHandle), nullptr) << "the timeline's depths are cleared";
    EXPECT_EQ(root.FindChild("dropped", true), nullptr);
    // The timeline's own objects are back where frame 1 has them.
    ASSERT_NE(movie.Child("mover"), nullptr);
    EXPECT_EQ(movie.Child("mover")->GetMatrix().translateX, 0);

    // The main timeline looping at its end is a goto back too.
    for (int tick = 0; tick < 6; ++tick) {
        movie.player->Tick();
    }
    EXPECT_EQ(movie.player->FrameNumber(), 0u);
    EXPECT_EQ(movie.player->Find(keptHandle), kept);
}

TEST(ScriptInterface, PropertySetByAScriptSurvivesTheTimelinesNextMove) {
    MovingMovie movie;
    swf::DisplayObject* mover = movie.Child("mover");
    swf::DisplayObject* follower = movie.Child("follower");
    ASSERT_NE(mover, nullptr);
    ASSERT_NE(follower, nullptr);
    swf::Matrix moved = mover->GetMatrix();
    moved.translateX = 999;
    mover->SetMatrix(moved);
    swf::ColorTransform faded;
    faded.multA = 128;
    follower->SetColorTransform(faded);

    movie.player->Tick();
    movie.player->Tick();
    EXPECT_EQ(mover->GetMatrix().translateX, 999) << "the script's matrix stays";
    EXPECT_EQ(follower->GetMatrix().translateX, 40) << "the untouched matrix follows its tags";
    EXPECT_EQ(follower->GetColorTransform().multA, 128);
    EXPECT_TRUE(mover->ScriptOwns(swf::ScriptProperty::Matrix));
    EXPECT_FALSE(follower->ScriptOwns(swf::ScriptProperty::Matrix));

    // A goto back keeps the object (it is still the timeline's placement)
    // and what the script set.
    movie.player->GotoFrame(0);
    EXPECT_EQ(movie.Child("mover"), mover);
    EXPECT_EQ(mover->GetMatrix().translateX, 999);
    EXPECT_EQ(follower->GetMatrix().translateX, 0);
}

TEST(ScriptInterface, SpriteStoppedByAScriptStaysOnItsFrameWhileTheMainTimelinePlays) {
    MovingMovie movie;
    swf::MovieClip* mover = AsClip(movie.Child("mover"));
    swf::MovieClip* follower = AsClip(movie.Child("follower"));
    ASSERT_NE(mover, nullptr);
    ASSERT_NE(follower, nullptr);
    mover->Stop();
    for (int tick = 1; tick <= 4; ++tick) {
        movie.player->Tick();
        EXPECT_EQ(mover->CurrentFrame(), 0u);
        EXPECT_EQ(follower->CurrentFrame(), static_cast<std::size_t>(tick % 3));
        EXPECT_EQ(movie.player->FrameNumber(), static_cast<std::size_t>(tick));
    }
    EXPECT_FALSE(mover->Playing());
    mover->GotoFrame(2, true);
    EXPECT_EQ(mover->CurrentFrame(), 2u);
    movie.player->Tick();
    EXPECT_EQ(mover->CurrentFrame(), 0u) << "played on and looped";
}

TEST(ScriptInterface, SwappedClipIsNoLongerTheTimelines) {
    MovieWriter movie(8, 100, 100, 12);
    const auto square = movie.DefineShape(testmovies::Square({0, 0, 0}));
    TimelineWriter inner;
    inner.Place(1, square);
    inner.ShowFrame();
    const auto sprite = movie.DefineSprite(inner);
    movie.Place(1, sprite, {.name = "a"});
    movie.Place(2, sprite, {.name = "b"});
    movie.ShowFrame();
    movie.Move(1, {.matrix = Matrix::Translate(100, 0)});
    movie.Remove(2);
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    swf::MoviePlayer player(parser->GetMovie());
    player.FramesAdded();
    swf::DisplayObject* a = player.Root().FindChild("a", true);
    swf::DisplayObject* b = player.Root().FindChild("b", true);
    ASSERT_TRUE(a->SwapDepths(2));
    EXPECT_EQ(a->GetDepth(), 2);
    EXPECT_EQ(b->GetDepth(), 1);
    EXPECT_FALSE(a->TimelineOwned());
    player.Tick();
    // The timeline's move and removal named the depths, not the clips: the
    // swapped clips are the script's now and neither is touched.
    EXPECT_EQ(player.Root().FindChild("a", true), a);
    EXPECT_EQ(player.Root().FindChild("b", true), b);
    EXPECT_EQ(a->GetMatrix().translateX, 0);
    EXPECT_EQ(b->GetMatrix().translateX, 0);
}

TEST(ScriptInterface, MadeClipsReplaceWhatIsAtTheirDepthAndAreFoundByName) {
    MovingMovie movie;
    swf::MovieClip& root = movie.player->Root();
    const swf::Depth depth = root.NextHighestDepth();
    EXPECT_EQ(swf::depths::ToScript(depth), 0);
    swf::MovieClip* first = root.CreateEmptyClip("Thing", depth);
    EXPECT_EQ(root.NextHighestDepth(), depth + 1);
    const swf::DisplayHandle firstHandle = first->Handle();
    swf::MovieClip* second = root.CreateEmptyClip("other", depth);
    EXPECT_EQ(movie.player->Find(firstHandle), nullptr);
    EXPECT_EQ(root.ChildAt(depth), second);
    EXPECT_EQ(root.FindChild("OTHER", false), second);
    EXPECT_EQ(root.FindChild("OTHER", true), nullptr);

    // A copy starts from the first frame with the original's transform.
    swf::MovieClip* mover = AsClip(movie.Child("mover"));
    movie.player->Tick();
    swf::MovieClip* copy = mover->Duplicate("copy", FromScript(7));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Definition(), mover->Definition());
    EXPECT_EQ(copy->GetMatrix(), mover->GetMatrix());
    EXPECT_EQ(copy->CurrentFrame(), 0u);
    EXPECT_EQ(mover->CurrentFrame(), 1u);
    EXPECT_EQ(copy->ParentClip(), &root);
    EXPECT_EQ(root.Duplicate("nothing", 3), nullptr) << "the root has no parent to copy into";
}

TEST(ScriptInterface, RemovedObjectsHandlesFindNothingAndTheirActionsDoNotRun) {
    MovieWriter movie(8, 100, 100, 12);
    TimelineWriter inner;
    inner.Tag(swf::tag::DoAction, std::vector<std::uint8_t>{0x06, 0x00});
    inner.ShowFrame();
    inner.Tag(swf::tag::DoAction, std::vector<std::uint8_t>{0x07, 0x00});
    inner.ShowFrame();
    const auto sprite = movie.DefineSprite(inner);
    movie.Place(1, sprite, {.name = "first"});
    movie.Place(2, sprite, {.name = "second"});
    movie.ShowFrame();
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    swf::MoviePlayer player(parser->GetMovie());
    runtimetest::RecordingHost host(player);
    player.FramesAdded();
    host.log.clear();
    const swf::DisplayHandle second = player.Root().FindChild("second", true)->Handle();
    // "second" is newer, so it enters its frame first; when its actions
    // run it removes "first", whose queued actions then never run.
    host.onRun = [&](const swf::QueuedAction& action) {
        if (action.target == second) {
            player.Root().FindChild("first", true)->Remove();
        }
    };
    player.Tick();
    EXPECT_EQ(host.log, (std::vector<std::string>{"second frame 0x07"}));
    EXPECT_EQ(player.Root().FindChild("first", true), nullptr);
    const auto& events = player.Events();
    EXPECT_TRUE(std::any_of(events.begin(), events.end(), [&](const swf::RuntimeEvent& event) {
        return std::holds_alternative<swf::ObjectRemoved>(event);
    }));
}

} // namespace

#include "swf/runtime/MoviePlayer.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "TestMovies.h"

namespace {

using swfwriter::Compression;
using testmovies::BusyMovie;
using testmovies::Parse;

// What the timeline gave an object: its character, the frame that placed
// it, and the fields of its tags.
struct Placed {
    swf::CharacterId characterId = 0;
    std::size_t placedFrame = 0;
    swf::Matrix matrix;
    swf::ColorTransform colorTransform;
    std::uint16_t ratio = 0;
    swf::Depth clipDepth = 0;
    bool visible = true;
    bool operator==(const Placed&) const = default;
};

// What the main timeline put on stage: every depth with its placement.
std::vector<std::pair<swf::Depth, Placed>> Snapshot(const swf::MoviePlayer& player) {
    std::vector<std::pair<swf::Depth, Placed>> result;
    for (const auto& [depth, object] : player.Root().GetChildren()) {
        result.emplace_back(depth, Placed{object->CharacterIdOrZero(), object->PlacedFrame(),
                                          object->GetMatrix(), object->GetColorTransform(),
                                          object->Ratio(), object->ClipDepth(), object->Visible()});
    }
    return result;
}

const swf::MovieClip* AsClip(const swf::DisplayObject* object) {
    return object != nullptr && object->Kind() == swf::DisplayKind::MovieClip
               ? static_cast<const swf::MovieClip*>(object)
               : nullptr;
}

class BusyMoviePlayer : public testing::Test {
protected:
    static constexpr int frames = 1000;
    void SetUp() override {
        parser = Parse(BusyMovie(frames, Compression::Zlib));
        ASSERT_FALSE(parser->Failure()) << parser->Failure()->message;
        player = std::make_unique<swf::MoviePlayer>(parser->GetMovie());
        player->SetComplete(true);
        player->FramesAdded();
    }
    const swf::DisplayObject* At(swf::Depth depth) const { return player->Root().ChildAt(depth); }
    std::unique_ptr<swf::MovieParser> parser;
    std::unique_ptr<swf::MoviePlayer> player;
};

TEST_F(BusyMoviePlayer, GotosForwardAndBackwardEqualAStraightRun) {
    std::vector<std::vector<std::pair<swf::Depth, Placed>>> straight;
    for (int frame = 0; frame < frames; ++frame) {
        ASSERT_EQ(player->FrameNumber(), static_cast<std::size_t>(frame));
        straight.push_back(Snapshot(*player));
        player->Tick();
    }
    // The main timeline loops: after the last frame comes the first again.
    EXPECT_EQ(player->FrameNumber(), 0u);
    EXPECT_EQ(Snapshot(*player), straight[0]);

    swf::MoviePlayer jumper(parser->GetMovie());
    jumper.SetComplete(true);
    jumper.FramesAdded();
    std::mt19937 random(6);
    std::uniform_int_distribution<int> anyFrame(0, frames - 1);
    std::uniform_int_distribution<int> shortStep(-3, 3);
    for (int i = 0; i < 400; ++i) {
        const int target =
            i % 2 == 0 ? anyFrame(random)
                       : std::clamp(static_cast<int>(jumper.FrameNumber()) + shortStep(random), 0,
                                    frames - 1);
        jumper.GotoFrame(target);
        ASSERT_EQ(jumper.FrameNumber(), static_cast<std::size_t>(target));
        ASSERT_EQ(Snapshot(jumper), straight[target]) << "after a goto to frame " << target;
    }
}

TEST_F(BusyMoviePlayer, SpritesAdvanceWithTheRootAndWhileItIsStopped) {
    const swf::MovieClip* sprite = AsClip(At(3));
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->CurrentFrame(), 0u);
    for (int tick = 1; tick <= 20; ++tick) {
        player->Tick();
        ASSERT_EQ(At(3), sprite) << "the sprite stays the same object";
        EXPECT_EQ(sprite->CurrentFrame(), static_cast<std::size_t>(tick % 7));
    }
    player->Stop();
    player->Tick();
    EXPECT_EQ(player->FrameNumber(), 20u);
    EXPECT_EQ(sprite->CurrentFrame(), 21u % 7);
    // The sprite's own display list follows its frames.
    const auto& inner = sprite->GetChildren();
    ASSERT_EQ(inner.size(), 1u);
    EXPECT_EQ(inner.begin()->second->GetMatrix().translateX, static_cast<int>(21 % 7) * 20);
}

TEST_F(BusyMoviePlayer, ObjectsThatStayInPlaceKeepTheirStateAcrossGotos) {
    for (int tick = 0; tick < 100; ++tick) {
        player->Tick();
    }
    const swf::MovieClip* sprite = AsClip(At(3));
    ASSERT_NE(sprite, nullptr);
    const auto spriteFrame = sprite->CurrentFrame();
    EXPECT_EQ(spriteFrame, 100u % 7);
    const swf::DisplayHandle handle = sprite->Handle();

    // Back to frame 50: the sprite placed at frame 0 is still there.
    player->GotoFrame(50);
    EXPECT_EQ(At(3), sprite);
    EXPECT_EQ(sprite->CurrentFrame(), spriteFrame);

    // Forward past frame 250, where the sprite is placed anew.
    player->GotoFrame(260);
    ASSERT_NE(AsClip(At(3)), nullptr);
    EXPECT_EQ(At(3)->PlacedFrame(), 250u);
    EXPECT_EQ(AsClip(At(3))->CurrentFrame(), 0u);
    EXPECT_EQ(player->Find(handle), nullptr) << "the old sprite's handle finds nothing";
}

TEST_F(BusyMoviePlayer, FrameNumbersPastTheEndGoToTheLastFrameAndStop) {
    EXPECT_TRUE(player->Playing());
    player->GotoFrame(5000);
    EXPECT_EQ(player->FrameNumber(), static_cast<std::size_t>(frames - 1));
    EXPECT_FALSE(player->Playing());
    player->GotoFrame(-4);
    EXPECT_EQ(player->FrameNumber(), 0u);
    player->Play();
    player->Tick();
    EXPECT_EQ(player->FrameNumber(), 1u);
    player->Rewind();
    EXPECT_EQ(player->FrameNumber(), 0u);
    EXPECT_FALSE(player->Playing());
    EXPECT_EQ(player->TotalFrames(), static_cast<std::size_t>(frames));
}

TEST_F(BusyMoviePlayer, LabelsNameTheirFrames) {
    const auto& root = parser->GetMovie().root;
    for (int frame = 0; frame < frames; frame += 100) {
        std::string label = "f";
        label += std::to_string(frame);
        EXPECT_EQ(root.FindLabel(label), static_cast<std::size_t>(frame));
    }
    EXPECT_FALSE(root.FindLabel("f50"));
}

TEST(MoviePlayer, WaitsAtTheLastLoadedFrameUntilTheMovieIsComplete) {
    const auto bytes = BusyMovie(40, Compression::None);
    swf::MovieParser parser;
    parser.Append(std::span(bytes).first(bytes.size() / 2));
    swf::MoviePlayer player(parser.GetMovie());
    player.FramesAdded();
    const std::size_t loaded = parser.GetMovie().root.frames.size();
    ASSERT_GT(loaded, 2u);
    EXPECT_EQ(player.TotalFrames(), 40u); // as declared while loading
    for (std::size_t tick = 0; tick < loaded + 5; ++tick) {
        player.Tick();
    }
    EXPECT_EQ(player.FrameNumber(), loaded - 1);
    parser.Append(std::span(bytes).subspan(bytes.size() / 2));
    ASSERT_TRUE(parser.Complete());
    player.SetComplete(true);
    for (std::size_t tick = loaded - 1; tick < 40; ++tick) {
        player.Tick();
    }
    EXPECT_EQ(player.FrameNumber(), 0u);
}

// Counts the objects on a list and everything nested under it.
std::size_t CountObjects(const swf::MovieClip& clip, int level, int& deepest) {
    deepest = std::max(deepest, level);
    std::size_t count = 0;
    for (const auto& [depth, object] : clip.GetChildren()) {
        ++count;
        if (const swf::MovieClip* inner = AsClip(object.get())) {
            count += CountObjects(*inner, level + 1, deepest);
        }
    }
    return count;
}

TEST(MoviePlayer, SpritesThatPlaceThemselvesAreBounded) {
    using namespace swfwriter;
    MovieWriter movie(8, 100, 100, 12);
    const auto square = movie.DefineShape(testmovies::Square({0, 0, 0}));
    // The sprite will be character 2 and places itself twice, and a square.
    TimelineWriter inner;
    inner.Place(1, square);
    inner.Place(2, square + 1);
    inner.Place(3, square + 1);
    inner.ShowFrame();
    const auto sprite = movie.DefineSprite(inner);
    ASSERT_EQ(sprite, square + 1);
    movie.Place(1, sprite);
    movie.ShowFrame();
    const auto parser = Parse(movie.Finish());
    swf::MoviePlayer player(parser->GetMovie());
    player.SetComplete(true);
    player.FramesAdded();
    player.Tick();
    int deepest = 0;
    const std::size_t objects = CountObjects(player.Root(), 0, deepest);
    EXPECT_LE(deepest, 33);
    EXPECT_LT(objects, 3u * 20000 + 10);
    EXPECT_GT(objects, 100u);
}

TEST(FrameClock, CountsFramePeriodsOfTheClock) {
    swf::FrameClock clock(12.0);
    EXPECT_EQ(clock.Advance(1000), 0); // starts the clock
    EXPECT_EQ(clock.Advance(1050), 0);
    EXPECT_EQ(clock.Advance(1084), 1);
    int frames = 1;
    for (std::uint64_t now = 1100; now <= 2000; now += 10) {
        frames += clock.Advance(now);
    }
    EXPECT_EQ(frames, 12);

    // A stalled host does not make the movie race to catch up.
    EXPECT_EQ(clock.Advance(60000), swf::FrameClock::maxCatchUp);
    EXPECT_EQ(clock.Advance(60000 + 84), 1);

    swf::FrameClock still(0.0);
    EXPECT_DOUBLE_EQ(still.PeriodMilliseconds(), 1000.0);
}

} // namespace

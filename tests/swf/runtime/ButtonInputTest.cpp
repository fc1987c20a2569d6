// The stylus and the keys on writer movies: buttons going through their
// pointer states with the conditions Flash gives each transition, their
// exact hit shapes under transforms and masks, key presses, clips acting
// as buttons, and the clips' mouse events.
#include <gtest/gtest.h>

#include "RecordingHost.h"
#include "TestMovies.h"
#include "swf/runtime/ButtonCondition.h"
#include "swf/runtime/ButtonObject.h"

namespace {

namespace condition = swf::buttoncondition;
using swfwriter::ButtonActions;
using swfwriter::ButtonPart;
using swfwriter::ClipAction;
using swfwriter::Matrix;
using swfwriter::MovieWriter;
using swfwriter::Placement;
using swfwriter::TimelineWriter;

// A right triangle with its corner at the origin and legs of 1000 twips:
// (300, 300) lies on it, (700, 700) in its box but off it.
swfwriter::ShapeBuilder Triangle() {
    swfwriter::ShapeBuilder shape;
    shape.SetStyle(0, shape.AddFill(swfwriter::Fill::Solid({0, 255, 0})), 0);
    shape.MoveTo(0, 0);
    shape.LineTo(1000, 0);
    shape.LineTo(0, 1000);
    shape.LineTo(0, 0);
    return shape;
}

struct Ids {
    std::uint16_t up = 0;
    std::uint16_t down = 0;
    std::uint16_t hit = 0;
};

// A button showing a red square (up, over) or a blue one (down), hit on
// the triangle, with an action block for every transition of the pointer
// and for the key presses of "a" and the left arrow.
std::uint16_t DefineTestButton(MovieWriter& movie, Ids& ids, bool trackAsMenu = false) {
    ids.up = movie.DefineShape(testmovies::Square({255, 0, 0}, 1000));
    ids.down = movie.DefineShape(testmovies::Square({0, 0, 255}, 1000));
    ids.hit = movie.DefineShape(Triangle());
    std::vector<ButtonActions> blocks;
    for (std::uint16_t bit = 1; bit <= condition::OverDownToIdle; bit <<= 1) {
        blocks.push_back({bit, {0x06, 0x00}});
    }
    blocks.push_back({condition::KeyPress('a'), {0x06, 0x00}});
    blocks.push_back({condition::KeyPress(1), {0x06, 0x00}});
    return movie.DefineButton2(
        {
            {.characterId = ids.up, .depth = 1, .down = false, .hit = false},
            {.characterId = ids.down, .depth = 2, .up = false, .over = false, .hit = false},
            {.characterId = ids.hit, .depth = 3, .up = false, .over = false, .down = false},
        },
        blocks, trackAsMenu);
}

struct Played {
    explicit Played(std::vector<std::uint8_t> bytes)
        : parser(testmovies::Parse(bytes)),
          player(std::make_unique<swf::MoviePlayer>(parser->GetMovie())),
          host(std::make_unique<runtimetest::RecordingHost>(*player)) {
        player->SetComplete(true);
        player->FramesAdded();
        host->log.clear();
    }
    swf::ButtonObject& Button(const char* name) const {
        auto* found = player->Root().FindChild(name, true);
        EXPECT_NE(found, nullptr) << name;
        return static_cast<swf::ButtonObject&>(*found);
    }
    // The conditions of the buttons' transitions since the last call.
    std::vector<std::uint16_t> Conditions() {
        std::vector<std::uint16_t> conditions;
        const auto& events = player->Events();
        for (; seen < events.size(); ++seen) {
            if (const auto* change = std::get_if<swf::ButtonStateChanged>(&events[seen])) {
                conditions.push_back(change->condition);
            }
        }
        return conditions;
    }
    // The actions input queued, as the host ran them.
    std::vector<std::string> Run() {
        host->log.clear();
        player->RunActions();
        player->FinishFrame();
        return host->log;
    }
    void Tap(double x, double y) {
        player->PointerDown(x, y);
        player->PointerUp(x, y);
    }

    std::unique_ptr<swf::MovieParser> parser;
    std::unique_ptr<swf::MoviePlayer> player;
    std::unique_ptr<runtimetest::RecordingHost> host;
    std::size_t seen = 0;
};

// The button "b" at (1000, 1000) on a 200 x 200 stage.
std::vector<std::uint8_t> OneButton(Ids& ids) {
    MovieWriter movie(8, 200, 200, 12);
    const auto button = DefineTestButton(movie, ids);
    movie.Place(1, button, {.matrix = Matrix::Translate(1000, 1000), .name = "b"});
    movie.ShowFrame();
    return movie.Finish();
}

TEST(ButtonInput, ATapGoesOverPressesAndReleasesWithFlashsConditionsAndShowsEachState) {
    Ids ids;
    Played movie(OneButton(ids));
    swf::ButtonObject& button = movie.Button("b");
    ASSERT_EQ(button.Parts().size(), 1u);
    EXPECT_EQ(button.Parts()[0].object->CharacterIdOrZero(), ids.up);

    movie.player->PointerDown(1300, 1300);
    EXPECT_EQ(movie.Conditions(),
              (std::vector<std::uint16_t>{condition::IdleToOverUp, condition::OverUpToOverDown}));
    EXPECT_EQ(button.State(), swf::ButtonState::Down);
    ASSERT_EQ(button.Parts().size(), 1u);
    EXPECT_EQ(button.Parts()[0].object->CharacterIdOrZero(), ids.down);
    EXPECT_EQ(movie.Run(), (std::vector<std::string>{"b button 0x0001", "b button 0x0004"}));

    movie.player->PointerUp(1300, 1300);
    EXPECT_EQ(movie.Conditions(), std::vector<std::uint16_t>{condition::OverDownToOverUp});
    EXPECT_EQ(button.State(), swf::ButtonState::Over);
    EXPECT_EQ(movie.Run(), std::vector<std::string>{"b button 0x0008"});

    // The next tap elsewhere takes the pointer off it first.
    movie.Tap(3500, 3500);
    EXPECT_EQ(movie.Conditions(), std::vector<std::uint16_t>{condition::OverUpToIdle});
    EXPECT_EQ(button.State(), swf::ButtonState::Up);
    EXPECT_EQ(button.Parts()[0].object->CharacterIdOrZero(), ids.up);
}

TEST(ButtonInput, OnlyTheHitShapeTakesThePointerNotItsBoxNorTheStatesShown) {
    Ids ids;
    Played movie(OneButton(ids));
    // Inside the triangle's box and on the red square, but off the triangle.
    movie.Tap(1700, 1700);
    movie.Tap(1990, 1010);
    EXPECT_TRUE(movie.Conditions().empty());
    EXPECT_TRUE(movie.Run().empty());
    // Just inside its long side.
    movie.Tap(1490, 1490);
    EXPECT_EQ(movie.Conditions().size(), 3u);
}

TEST(ButtonInput, DraggedOffAndBackAndReleasedOutsideItNeverReleases) {
    Ids ids;
    Played movie(OneButton(ids));
    swf::ButtonObject& button = movie.Button("b");
    movie.player->PointerDown(1300, 1300);
    movie.player->PointerMoved(3000, 3000);
    EXPECT_EQ(button.State(), swf::ButtonState::Over);
    movie.player->PointerMoved(1200, 1200);
    EXPECT_EQ(button.State(), swf::ButtonState::Down);
    movie.player->PointerMoved(3000, 3000);
    movie.player->PointerUp(3000, 3000);
    EXPECT_EQ(button.State(), swf::ButtonState::Up);
    EXPECT_EQ(movie.Conditions(), (std::vector<std::uint16_t>{
                                      condition::IdleToOverUp, condition::OverUpToOverDown,
                                      condition::OverDownToOutDown, condition::OutDownToOverDown,
                                      condition::OverDownToOutDown, condition::OutDownToIdle}));
    // A press that starts off the button does not take it on the way.
    movie.player->PointerDown(3000, 3000);
    movie.player->PointerMoved(1300, 1300);
    EXPECT_TRUE(movie.Conditions().empty());
    movie.player->PointerUp(1300, 1300);
    EXPECT_EQ(movie.Conditions(), std::vector<std::uint16_t>{condition::IdleToOverUp});
}

TEST(ButtonInput, MenuButtonsPassThePressedStylusOnFromOneToTheNext) {
    MovieWriter movie(8, 200, 200, 12);
    Ids ids;
    const auto button = DefineTestButton(movie, ids, /*trackAsMenu=*/true);
    movie.Place(1, button, {.matrix = Matrix::Translate(0, 0), .name = "first"});
    movie.Place(2, button, {.matrix = Matrix::Translate(2000, 0), .name = "second"});
    movie.ShowFrame();
    Played played(movie.Finish());
    played.player->PointerDown(300, 300);
    played.Run();
    played.player->PointerMoved(2300, 300);
    played.player->PointerUp(2300, 300);
    EXPECT_EQ(played.Run(), (std::vector<std::string>{"first button 0x0100", "second button 0x0080",
                                                      "second button 0x0008"}));
    EXPECT_EQ(played.Button("first").State(), swf::ButtonState::Up);
    EXPECT_EQ(played.Button("second").State(), swf::ButtonState::Over);
}

TEST(ButtonInput, TheHitShapeFollowsEveryTransformDownFromTheRootProperties) {
    // The button inside a sprite that doubles it and turns it a quarter.
    MovieWriter movie(8, 400, 400, 12);
    Ids ids;
    const auto button = DefineTestButton(movie, ids);
    TimelineWriter inner;
    inner.Place(1, button, {.matrix = Matrix::Translate(1000, 1000), .name = "b"});
    inner.ShowFrame();
    const auto sprite = movie.DefineSprite(inner);
    movie.Place(1, sprite, {.matrix = Matrix::Transform(6000, 1000, 2, 2, 90), .name = "s"});
    movie.ShowFrame();
    Played played(movie.Finish());
    // Zoomed to 150 %, moved and turned by -90 degrees, as the player puts
    // a landscape movie on a portrait screen.
    played.player->SetRootProperties(
        {.x = 10, .y = 300, .xScale = 150, .yScale = 150, .rotation = -90});
    // A point of the triangle's own space, on the stage: the sprite turns
    // (x, y) to (-2y, 2x) and moves it; the root's turn takes (x, y) to (y, -x).
    const auto stage = [](double x, double y) {
        const double sx = -2 * (1000 + y) + 6000;
        const double sy = 2 * (1000 + x) + 1000;
        return std::array<double, 2>{1.5 * sy + 200, -1.5 * sx + 6000};
    };
    const auto off = stage(700, 700);
    played.Tap(off[0], off[1]);
    EXPECT_TRUE(played.Conditions().empty());
    const auto on = stage(300, 300);
    played.Tap(on[0], on[1]);
    EXPECT_EQ(played.Conditions().size(), 3u);
    EXPECT_EQ(played.Run(),
              (std::vector<std::string>{"b button 0x0001", "b button 0x0004", "b button 0x0008"}));
}

TEST(ButtonInput, MasksDisabledAndHiddenButtonsLeaveThePointerAloneButShapesAboveDoNot) {
    MovieWriter movie(8, 200, 200, 12);
    Ids ids;
    const auto button = DefineTestButton(movie, ids);
    // A mask over the left half of the first button only.
    const auto mask = movie.DefineShape(testmovies::Square({0, 0, 0}, 500));
    movie.Place(1, mask, {.matrix = Matrix::Translate(1000, 1000), .clipDepth = 2});
    movie.Place(2, button, {.matrix = Matrix::Translate(1000, 1000), .name = "masked"});
    movie.Place(3, button, {.matrix = Matrix::Translate(0, 2500), .name = "other"});
    // A square over everything.
    const auto cover = movie.DefineShape(testmovies::Square({9, 9, 9}, 4000));
    movie.Place(4, cover);
    movie.ShowFrame();
    Played played(movie.Finish());

    played.Tap(1200, 1400); // on the triangle, under the mask
    EXPECT_EQ(played.Conditions().size(), 3u);
    played.Tap(1600, 1200); // on the triangle, off the mask
    EXPECT_EQ(played.Conditions(), std::vector<std::uint16_t>{condition::OverUpToIdle});

    played.Button("other").SetEnabled(false);
    played.Tap(200, 2700);
    EXPECT_TRUE(played.Conditions().empty());
    played.Button("other").SetEnabled(true);
    played.Button("other").SetVisible(false);
    played.Tap(200, 2700);
    EXPECT_TRUE(played.Conditions().empty());
    played.Button("other").SetVisible(true);
    played.Tap(200, 2700);
    EXPECT_EQ(played.Conditions().size(), 3u);
}

TEST(ButtonInput, KeysPressButtonsByTheirKeyCodes) {
    Ids ids;
    Played movie(OneButton(ids));
    movie.player->CharacterTyped('a');
    movie.player->KeyDown(0x25); // left
    movie.player->KeyUp(0x25);
    movie.player->KeyDown(0x41); // "A" types a character, no key code of its own
    movie.player->CharacterTyped('b');
    movie.player->CharacterTyped('\r'); // enter comes as its key
    EXPECT_EQ(movie.Run(), (std::vector<std::string>{"b button 0xc200", "b button 0x0200"}));
    const auto& events = movie.player->Events();
    const auto* first = std::get_if<swf::ButtonStateChanged>(&events.back());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->from, first->to);
}

TEST(ButtonInput, ClipsWithPressHandlersActAsButtonsAndEveryClipHearsTheStylus) {
    MovieWriter movie(8, 200, 200, 12);
    const auto square = movie.DefineShape(testmovies::Square({255, 0, 0}, 1000));
    TimelineWriter pad;
    for (const char* label : {"_up", "_over", "_down"}) {
        pad.Place(1, square);
        pad.Label(label);
        pad.ShowFrame();
    }
    const auto padSprite = movie.DefineSprite(pad);
    TimelineWriter empty;
    empty.ShowFrame();
    const auto emptySprite = movie.DefineSprite(empty);
    movie.Place(1, padSprite,
                {.matrix = Matrix::Translate(1000, 1000),
                 .name = "pad",
                 .clipActions = {ClipAction{.events = 0x400}, ClipAction{.events = 0x800}}});
    movie.Place(2, emptySprite,
                {.name = "watcher", .clipActions = {ClipAction{.events = 0x10 | 0x20}}});
    movie.ShowFrame();
    Played played(movie.Finish());
    auto& padClip = static_cast<swf::MovieClip&>(*played.player->Root().FindChild("pad", true));
    EXPECT_EQ(padClip.CurrentFrame(), 0u);
    played.player->PointerDown(1500, 1500);
    EXPECT_EQ(padClip.CurrentFrame(), 2u); // "_down"
    EXPECT_FALSE(padClip.Playing());
    played.player->PointerUp(1500, 1500);
    EXPECT_EQ(padClip.CurrentFrame(), 1u); // "_over"
    EXPECT_EQ(played.Run(),
              (std::vector<std::string>{"watcher event mouseDown", "pad event press",
                                        "watcher event mouseUp", "pad event release"}));
    // Off the clip only the mouse events come.
    played.Tap(3500, 3500);
    EXPECT_EQ(played.Run(),
              (std::vector<std::string>{"watcher event mouseDown", "watcher event mouseUp"}));
}

TEST(ButtonInput, TheScriptEngineHearsInputBetweenTheClipsEventsAndTheButtonsTransitions) {
    MovieWriter movie(8, 200, 200, 12);
    Ids ids;
    const auto button = DefineTestButton(movie, ids);
    TimelineWriter empty;
    empty.ShowFrame();
    const auto sprite = movie.DefineSprite(empty);
    movie.Place(1, button, {.matrix = Matrix::Translate(1000, 1000), .name = "b"});
    // Key down, key up, mouse down.
    movie.Place(2, sprite,
                {.name = "keys", .clipActions = {ClipAction{.events = 0x40 | 0x80 | 0x10}}});
    movie.ShowFrame();
    Played played(movie.Finish());
    played.player->PointerDown(1300, 1300);
    played.player->KeyDown(0x41);
    played.player->KeyUp(0x41);
    played.player->CharacterTyped('a');
    played.Run();
    played.host->log.clear();
    played.player->PointerUp(1300, 1300);
    played.player->PointerDown(1300, 1300);
    EXPECT_EQ(played.host->log,
              (std::vector<std::string>{"input up 1300 1300", "input down 1300 1300"}));
    EXPECT_EQ(played.Run(), (std::vector<std::string>{"b button 0x0008", "keys event mouseDown",
                                                      "b button 0x0004"}));
    played.host->log.clear();
    played.player->KeyDown(0x25);
    played.player->KeyUp(0x25);
    EXPECT_EQ(played.host->log, (std::vector<std::string>{"input keyDown 37", "input keyUp 37"}));
    EXPECT_EQ(played.Run(), (std::vector<std::string>{"keys event keyDown", "b button 0x0200",
                                                      "keys event keyUp"}));
}

TEST(ButtonInput, AButtonTheFrameBringsUnderTheStillPointerTakesItAndOneRemovedLetsGo) {
    MovieWriter movie(8, 200, 200, 12);
    Ids ids;
    const auto button = DefineTestButton(movie, ids);
    movie.Place(1, button, {.matrix = Matrix::Translate(3000, 3000), .name = "b"});
    movie.ShowFrame();
    movie.Move(1, {.matrix = Matrix::Translate(1000, 1000)});
    movie.ShowFrame();
    movie.Remove(1);
    movie.ShowFrame();
    movie.Actions(std::vector<std::uint8_t>{0x07, 0x00}); // stop
    movie.ShowFrame();
    Played played(movie.Finish());
    played.player->PointerMoved(1300, 1300);
    EXPECT_TRUE(played.Conditions().empty());
    played.player->Tick();
    played.seen = 0;
    EXPECT_EQ(played.Conditions(), std::vector<std::uint16_t>{condition::IdleToOverUp});
    played.player->Tick();
    played.seen = 0;
    EXPECT_TRUE(played.Conditions().empty());
    EXPECT_FALSE(played.player->Input().Target());
    // A lift with no touch before it (the shell took a hold) presses nothing.
    played.player->PointerUp(1300, 1300);
    EXPECT_TRUE(played.Conditions().empty());
}

TEST(ButtonConditions, ActionBlocksAreReadUntilADamagedOneAndDefineButtonRunsOnRelease) {
    swf::Button button;
    button.version = 2;
    // A block of 6 bytes on press, then a last one (size 0) on release.
    button.actions = {6, 0, 0x04, 0x00, 0x07, 0x00, 0, 0, 0x08, 0x00, 0x06, 0x00};
    auto blocks = swf::ActionBlocks(button);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].conditions, condition::OverUpToOverDown);
    EXPECT_EQ(blocks[0].actions.size(), 2u);
    EXPECT_EQ(blocks[1].actions[0], 0x06);
    // A size past the end: the list ends before it.
    button.actions = {6, 0, 0x04, 0x00, 0x07, 0x00, 40, 0, 0x08, 0x00, 0x06, 0x00};
    EXPECT_EQ(swf::ActionBlocks(button).size(), 1u);
    button.actions = {3, 0, 0x04};
    EXPECT_TRUE(swf::ActionBlocks(button).empty());

    button.version = 1;
    button.actions = {0x06, 0x00};
    blocks = swf::ActionBlocks(button);
    ASSERT_EQ(blocks.size(), 1u);
    EXPECT_TRUE(swf::ConditionHolds(blocks[0].conditions, condition::OverDownToOverUp));
    EXPECT_FALSE(swf::ConditionHolds(blocks[0].conditions, condition::OverUpToOverDown));
    // Key presses match their code only, never a transition.
    const std::uint16_t keyA = condition::KeyPress('a') | condition::OverUpToOverDown;
    EXPECT_TRUE(swf::ConditionHolds(keyA, condition::KeyPress('a')));
    EXPECT_FALSE(swf::ConditionHolds(keyA, condition::KeyPress('b')));
    EXPECT_TRUE(swf::ConditionHolds(keyA, condition::OverUpToOverDown));
}

} // namespace

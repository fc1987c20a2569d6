#include "ScriptBenchMovies.h"

#include <functional>

#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace benchmovies {

namespace {

using swfwriter::ActionWriter;
namespace action = swfwriter::action;

constexpr std::uint16_t DoAction = 12;

// for (name = 0; name < count; name++) { body }
void Loop(ActionWriter& a, const char* name, double count,
          const std::function<void(ActionWriter&)>& body) {
    a.Push(name).Push(0.0).Op(action::SetVariable);
    const auto top = a.NewLabel();
    const auto end = a.NewLabel();
    a.Bind(top).Push(name).Op(action::GetVariable).Push(count).Op(action::Less2);
    a.Op(action::Not).If(end);
    body(a);
    a.Push(name).Push(name).Op(action::GetVariable).Op(action::Increment);
    a.Op(action::SetVariable).Jump(top);
    a.Bind(end);
}

ActionWriter& Get(ActionWriter& a, const char* name) {
    return a.Push(name).Op(action::GetVariable);
}

// _root.onEnterFrame = function () { work }
void EveryFrame(ActionWriter& a, const ActionWriter& work) {
    Get(a, "_root").Push("onEnterFrame");
    a.DefineFunction("", {}, work).Op(action::SetMember);
}

std::vector<std::uint8_t> Movie(const ActionWriter& setup, bool withBall = false) {
    swfwriter::MovieWriter movie(6, 240, 320, 30.0);
    movie.SetBackground({255, 255, 255});
    if (withBall) {
        swfwriter::ShapeBuilder square;
        square.SetStyle(0, square.AddFill(swfwriter::Fill::Solid({200, 40, 40})), 0);
        square.Rectangle(0, 0, 160, 160);
        swfwriter::TimelineWriter ball;
        ball.Place(1, movie.DefineShape(square, 3));
        ball.ShowFrame();
        movie.Place(1, movie.DefineSprite(ball), {.name = "ball"});
    }
    movie.Tag(DoAction, setup.Finish());
    movie.ShowFrame();
    return movie.Finish(swfwriter::Compression::Zlib);
}

std::vector<std::uint8_t> Arrays() {
    ActionWriter setup;
    // list = []; for (i = 0; i < 1000; i++) list[i] = i * 2;
    setup.Push("list").Push(0.0).Op(action::InitArray).Op(action::SetVariable);
    Loop(setup, "i", 1000, [](ActionWriter& a) {
        Get(a, "list");
        Get(a, "i");
        Get(a, "i").Push(2.0).Op(action::Multiply).Op(action::SetMember);
    });
    ActionWriter work;
    // sum = 0; for (j = 0; j < list.length; j++) sum += list[j];
    work.Push("sum").Push(0.0).Op(action::SetVariable);
    Loop(work, "j", 1000, [](ActionWriter& a) {
        a.Push("sum");
        Get(a, "sum");
        Get(a, "list");
        Get(a, "j").Op(action::GetMember).Op(action::Add2).Op(action::SetVariable);
    });
    Get(work, "sum").Op(action::Trace);
    EveryFrame(setup, work);
    return Movie(setup);
}

std::vector<std::uint8_t> Strings() {
    ActionWriter setup;
    ActionWriter work;
    // text = ""; for (j = 0; j < 500; j++) text = text + "item " + j + ",";
    work.Push("text").Push("").Op(action::SetVariable);
    Loop(work, "j", 500, [](ActionWriter& a) {
        a.Push("text");
        Get(a, "text").Push("item ").Op(action::Add2);
        Get(a, "j").Op(action::Add2).Push(",").Op(action::Add2).Op(action::SetVariable);
    });
    Get(work, "text").Push("length").Op(action::GetMember).Op(action::Trace);
    EveryFrame(setup, work);
    return Movie(setup);
}

std::vector<std::uint8_t> Calls() {
    ActionWriter setup;
    // function next(x) { return x + 1; }
    ActionWriter body;
    Get(body, "x").Push(1.0).Op(action::Add2).Op(action::Return);
    setup.DefineFunction("next", {"x"}, body);
    ActionWriter work;
    // n = 0; for (j = 0; j < 2000; j++) n = next(n);
    work.Push("n").Push(0.0).Op(action::SetVariable);
    Loop(work, "j", 2000, [](ActionWriter& a) {
        a.Push("n");
        Get(a, "n").Push(1.0).Push("next").Op(action::CallFunction).Op(action::SetVariable);
    });
    Get(work, "n").Op(action::Trace);
    EveryFrame(setup, work);
    return Movie(setup);
}

std::vector<std::uint8_t> ClipProperties() {
    ActionWriter setup;
    // for (j = 0; j < 960; j++) { ball._x = (ball._x + 1) % 240; ball._rotation = j; }
    ActionWriter work;
    Loop(work, "j", 960, [](ActionWriter& a) {
        Get(a, "ball").Push("_x");
        Get(a, "ball").Push("_x").Op(action::GetMember).Push(1.0).Op(action::Add2);
        a.Push(240.0).Op(action::Modulo).Op(action::SetMember);
        Get(a, "ball").Push("_rotation");
        Get(a, "j").Op(action::SetMember);
    });
    // 960 steps of one pixel, four times round: where the frame began.
    Get(work, "ball").Push("_x").Op(action::GetMember).Op(action::Trace);
    EveryFrame(setup, work);
    return Movie(setup, true);
}

std::vector<std::uint8_t> MovingClips() {
    ActionWriter setup;
    // function move() { this._x = (this._x + 3) % 240; this._y = (this._y + 2) % 320; }
    ActionWriter move;
    for (const char* axis : {"_x", "_y"}) {
        const double step = axis[1] == 'x' ? 3.0 : 2.0;
        const double size = axis[1] == 'x' ? 240.0 : 320.0;
        Get(move, "this").Push(axis);
        Get(move, "this").Push(axis).Op(action::GetMember).Push(step).Op(action::Add2);
        move.Push(size).Op(action::Modulo).Op(action::SetMember);
    }
    setup.DefineFunction("move", {}, move);
    // for (i = 0; i < 200; i++) {
    //   c = ball.duplicateMovieClip("c" + i, i + 1);
    //   c._x = i; c._y = i * 1.5; c.onEnterFrame = move;
    // }
    Loop(setup, "i", 200, [](ActionWriter& a) {
        a.Push("c");
        Get(a, "i").Push(1.0).Op(action::Add2);
        a.Push("c");
        Get(a, "i").Op(action::Add2).Push(2.0);
        Get(a, "ball").Push("duplicateMovieClip").Op(action::CallMethod).Op(action::SetVariable);
        Get(a, "c").Push("_x");
        Get(a, "i").Op(action::SetMember);
        Get(a, "c").Push("_y");
        Get(a, "i").Push(1.5).Op(action::Multiply).Op(action::SetMember);
        Get(a, "c").Push("onEnterFrame");
        Get(a, "move").Op(action::SetMember);
    });
    return Movie(setup, true);
}

} // namespace

std::vector<ScriptMovie> ScriptMovies() {
    return {
        {"script-arrays", "sums an array of 1000 numbers", Arrays(), "999000"},
        {"script-strings", "builds a string of 500 pieces", Strings(), "4390"},
        {"script-calls", "2000 calls of a script function", Calls(), "2000"},
        {"script-clip-properties", "960 reads and writes of a clip's _x and _rotation",
         ClipProperties(), "0"},
        {"script-moving-clips", "200 clips, each moved by its own onEnterFrame", MovingClips(), ""},
    };
}

} // namespace benchmovies

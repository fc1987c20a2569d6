// Keyboard focus as scripts see it, on movies the writer makes: Selection's
// focus changes with their events, and _focusrect on the root and on clips.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <string>
#include <vector>

#include "TestMovies.h"
#include "swf/format/TagCodes.h"
#include "swf/script/TraceRun.h"
#include "swfwriter/ActionWriter.h"

namespace {

using swfwriter::ActionWriter;
namespace action = swfwriter::action;

using scripttest::Traces;

// object.member = function (parameter) { trace(label + parameter); }
void SetTracingHandler(ActionWriter& a, std::string_view object, std::string_view member,
                       std::string_view label) {
    ActionWriter body;
    body.Push(label).Push("argument").Op(action::GetVariable).Op(action::Add2).Op(action::Trace);
    a.Push(object).Op(action::GetVariable).Push(member);
    a.DefineFunction("", {"argument"}, body).Op(action::SetMember);
}

// trace(Selection.setFocus(target)), target a variable or a literal path.
void SetFocus(ActionWriter& a, std::string_view target, bool isPath = false) {
    a.Push(target);
    if (!isPath) {
        a.Op(action::GetVariable);
    }
    a.Push(1.0).Push("Selection").Op(action::GetVariable).Push("setFocus");
    a.Op(action::CallMethod).Op(action::Trace);
}

// Clips "a" and "b" placed by the timeline (SWF 5 has no createEmptyMovieClip).
void PlaceClips(swfwriter::MovieWriter& movie) {
    swfwriter::TimelineWriter empty;
    empty.ShowFrame();
    const std::uint16_t sprite = movie.DefineSprite(empty);
    movie.Place(1, sprite, {.name = std::string("a")});
    movie.Place(2, sprite, {.name = std::string("b")});
}

std::vector<std::uint8_t> FocusMovie(int version) {
    swfwriter::MovieWriter movie(version, 200, 150, 12.0);
    PlaceClips(movie);
    ActionWriter a;
    SetTracingHandler(a, "a", "onKillFocus", "a lost to ");
    SetTracingHandler(a, "b", "onSetFocus", "b took from ");
    // Selection.addListener({onSetFocus: ...}) with a listener that traces
    // where the focus went.
    a.Push("listener").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    ActionWriter moved;
    moved.Push("moved to ").Push("to").Op(action::GetVariable).Op(action::Add2).Op(action::Trace);
    a.Push("listener").Op(action::GetVariable).Push("onSetFocus");
    a.DefineFunction("", {"from", "to"}, moved).Op(action::SetMember);
    a.Push("listener").Op(action::GetVariable).Push(1.0).Push("Selection").Op(action::GetVariable);
    a.Push("addListener").Op(action::CallMethod).Op(action::Pop);
    SetFocus(a, "a");
    SetFocus(a, "b");
    SetFocus(a, "b"); // already there: no events
    SetFocus(a, "/nowhere", true);
    a.Push(0.0).Push("Selection").Op(action::GetVariable).Push("getFocus");
    a.Op(action::CallMethod).Op(action::Trace);
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    return movie.Finish();
}

TEST(Focus, SelectionMovesTheFocusWithItsEvents) {
    EXPECT_EQ(Traces(FocusMovie(6)),
              (std::vector<std::string>{"moved to _level0.a", "true", "a lost to _level0.b",
                                        "b took from _level0.a", "moved to _level0.b", "true",
                                        "true", "false", "_level0.b"}));
    // Clips take the focus from SWF 6.
    EXPECT_EQ(Traces(FocusMovie(5)),
              (std::vector<std::string>{"false", "false", "false", "false", "null"}));
}

void TraceFocusRects(ActionWriter& a) {
    a.Push("a").Op(action::GetVariable).Push("_focusrect").Op(action::GetMember);
    a.Push(" ").Op(action::Add2);
    a.Push("this").Op(action::GetVariable).Push("_focusrect").Op(action::GetMember);
    a.Op(action::Add2).Op(action::Trace);
}

void SetFocusRect(ActionWriter& a, std::string_view object, double value) {
    a.Push(object).Op(action::GetVariable).Push("_focusrect").Push(value).Op(action::SetMember);
}

void SetFocusRect(ActionWriter& a, std::string_view object, std::string_view value) {
    a.Push(object).Op(action::GetVariable).Push("_focusrect").Push(value).Op(action::SetMember);
}

std::vector<std::uint8_t> FocusRectMovie(int version) {
    swfwriter::MovieWriter movie(version, 200, 150, 12.0);
    PlaceClips(movie);
    ActionWriter a;
    TraceFocusRects(a);
    SetFocusRect(a, "a", 0.5);
    SetFocusRect(a, "this", "not a number"); // leaves the root's
    TraceFocusRects(a);
    SetFocusRect(a, "a", "");
    SetFocusRect(a, "this", 0.0);
    TraceFocusRects(a);
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    return movie.Finish();
}

TEST(Focus, FocusRectIsTheRootsNumberAndAClipsBoolean) {
    EXPECT_EQ(Traces(FocusRectMovie(7)),
              (std::vector<std::string>{"null true", "true true", "false false"}));
    EXPECT_EQ(Traces(FocusRectMovie(5)), (std::vector<std::string>{" 1", " 1", " 0"}));
}

} // namespace

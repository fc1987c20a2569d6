// Target paths as scripts write them: the steps a path text reads as, how a
// variable name splits into a holder and a name, and what GetVariable finds
// on a small stage of clips in SWF 5 and SWF 7.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "swf/format/TagCodes.h"
#include "swf/script/TargetPathSyntax.h"
#include "swf/script/TraceRun.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using swf::script::ParseTargetPath;
using swf::script::PathStep;
using swf::script::PathStepKind;
using swf::script::SplitVariableName;
using swfwriter::ActionWriter;
namespace action = swfwriter::action;

// The steps written short: "/" the root, ".." the parent, others names.
std::optional<std::vector<std::string>> StepsOf(std::string_view text) {
    const auto steps = ParseTargetPath(text);
    if (!steps) {
        return std::nullopt;
    }
    std::vector<std::string> written;
    for (const PathStep& step : *steps) {
        if (step.kind == PathStepKind::Root) {
            written.emplace_back("/");
        } else if (step.kind == PathStepKind::Parent) {
            written.emplace_back("..");
        } else {
            written.emplace_back(step.text);
        }
    }
    return written;
}

using Steps = std::vector<std::string>;

TEST(TargetPathSyntax, SlashAndDotSyntaxReadAsTheSameSteps) {
    EXPECT_EQ(StepsOf(""), Steps{});
    EXPECT_EQ(StepsOf("/"), Steps{"/"});
    EXPECT_EQ(StepsOf("/a/b"), (Steps{"/", "a", "b"}));
    EXPECT_EQ(StepsOf("a.b.c"), (Steps{"a", "b", "c"}));
    EXPECT_EQ(StepsOf("a:b"), (Steps{"a", "b"}));
    EXPECT_EQ(StepsOf("_level0/a"), (Steps{"_level0", "a"}));
    // One separator may end a path.
    EXPECT_EQ(StepsOf("a/"), Steps{"a"});
    EXPECT_EQ(StepsOf("a."), Steps{"a"});
    EXPECT_EQ(StepsOf("a:"), Steps{"a"});
}

TEST(TargetPathSyntax, ParentStepsClimbOnlyWhereSlashSyntaxAllows) {
    EXPECT_EQ(StepsOf(".."), Steps{".."});
    EXPECT_EQ(StepsOf("../../a"), (Steps{"..", "..", "a"}));
    EXPECT_EQ(StepsOf("a/..:"), (Steps{"a", ".."}));
    EXPECT_EQ(StepsOf("a:.."), (Steps{"a", ".."}));
    // After a dot, ".." is a name, as is anything longer that starts so.
    EXPECT_EQ(StepsOf("a..."), (Steps{"a", ".."}));
    EXPECT_EQ(StepsOf("..."), Steps{"..."});
    EXPECT_EQ(StepsOf("a/..c"), (Steps{"a", "..c"}));
    EXPECT_EQ(StepsOf("a:..."), (Steps{"a", "..."}));
}

TEST(TargetPathSyntax, DotsBelongToNamesOnceTheSyntaxIsSlashes) {
    EXPECT_EQ(StepsOf("/a.b"), Steps({"/", "a.b"}));
    EXPECT_EQ(StepsOf("a/b.c:d"), (Steps{"a", "b.c", "d"}));
    EXPECT_EQ(StepsOf("../a.b"), (Steps{"..", "a.b"}));
    // A colon does not switch: "b" here is still a dot-syntax step.
    EXPECT_EQ(StepsOf("a:b.c"), (Steps{"a", "b", "c"}));
    // Slashes switch from where they stand, not before.
    EXPECT_EQ(StepsOf("a.b/c.d"), (Steps{"a", "b", "c.d"}));
}

TEST(TargetPathSyntax, EmptyStepsAndStrayColons) {
    // Colons where a step starts are skipped...
    EXPECT_EQ(StepsOf("::a"), Steps{"a"});
    EXPECT_EQ(StepsOf("/:a"), (Steps{"/", "a"}));
    EXPECT_EQ(StepsOf("a::b"), (Steps{"a", "b"}));
    // ...unless the colon is the whole step: then it is a name.
    EXPECT_EQ(StepsOf(":"), Steps{":"});
    EXPECT_EQ(StepsOf("a::"), (Steps{"a", ":"}));
    EXPECT_EQ(StepsOf("a/:/"), (Steps{"a", ":"}));
    // An empty step between slashes, or after the root, leads nowhere.
    EXPECT_EQ(StepsOf("a//b"), std::nullopt);
    EXPECT_EQ(StepsOf("//"), std::nullopt);
    EXPECT_EQ(StepsOf("a./b"), std::nullopt);
    EXPECT_EQ(StepsOf("a:/"), std::nullopt);
}

TEST(TargetPathSyntax, VariableNamesSplitAtTheirLastColonOrDot) {
    const auto plain = SplitVariableName("name");
    EXPECT_TRUE(plain.plain);
    EXPECT_EQ(plain.variable, "name");

    const auto clipPath = SplitVariableName("/a/b");
    EXPECT_FALSE(clipPath.plain);
    EXPECT_TRUE(clipPath.pathOnly);
    EXPECT_EQ(clipPath.holderPath, "/a/b");

    const auto colon = SplitVariableName("a/b.c:v");
    EXPECT_FALSE(colon.pathOnly);
    EXPECT_EQ(colon.holderPath, "a/b.c");
    EXPECT_EQ(colon.variable, "v");

    const auto dots = SplitVariableName("a..v");
    EXPECT_EQ(dots.holderPath, "a.");
    EXPECT_EQ(dots.variable, "v");

    const auto bare = SplitVariableName(":v");
    EXPECT_FALSE(bare.plain);
    EXPECT_EQ(bare.holderPath, "");
    EXPECT_EQ(bare.variable, "v");
}

// Plays the actions on a stage where the root has a clip "a" with a clip
// "a" in it.
std::vector<std::string> PlayOnStage(int version, const ActionWriter& actions) {
    swfwriter::MovieWriter movie(version, 200, 150, 12.0);
    swfwriter::TimelineWriter empty;
    empty.ShowFrame();
    const std::uint16_t innerId = movie.DefineSprite(empty);
    swfwriter::TimelineWriter outer;
    outer.Place(1, innerId, {.name = "a"});
    outer.ShowFrame();
    movie.Place(1, movie.DefineSprite(outer), {.name = "a"});
    movie.Tag(swf::tag::DoAction, actions.Finish());
    movie.ShowFrame();
    return scripttest::Traces(movie.Finish(), swf::script::TraceRunOptions{}.frames);
}

// Traces GetVariable of each name, where besides the clips "a" is also a
// variable of the root holding an object with a = 42, and the text "a/b" is
// a variable of the root.
std::vector<std::string> TraceNames(int version, const std::vector<std::string>& names) {
    ActionWriter a;
    a.Push("a").Push("a").Push(42.0).Push(1.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("a/b").Push("plain").Op(action::SetVariable);
    for (const std::string& text : names) {
        a.Push(text + " => ").Push(text).Op(action::GetVariable).Op(action::Add2);
        a.Op(action::Trace);
    }
    return PlayOnStage(version, a);
}

TEST(TargetPathSyntax, GetVariableFindsChildClipsBeforeVariables) {
    const std::vector<std::string> names = {"a/a", "a:a", "/:a", "a/b", ":a", "a//a", "A/a"};
    // A path takes the child clip "a", a variable lookup the object.
    EXPECT_EQ(TraceNames(7, names),
              (std::vector<std::string>{"a/a => _level0.a.a", "a:a => _level0.a.a",
                                        "/:a => [object Object]", "a/b => plain", ":a => undefined",
                                        "a//a => undefined", "A/a => undefined"}));
    // Before SWF 7 names in paths ignore case.
    EXPECT_EQ(TraceNames(6, {"A/a", "/A/A"}),
              (std::vector<std::string>{"A/a => _level0.a.a", "/A/A => _level0.a.a"}));
}

TEST(TargetPathSyntax, RootStopsAtALockedClipFromSwf7) {
    ActionWriter a;
    a.Push("a:_lockroot").Push(true).Op(action::SetVariable);
    a.Push("a/a:_root").Op(action::GetVariable).Op(action::Trace);
    a.Push("a:_root").Op(action::GetVariable).Op(action::Trace);
    EXPECT_EQ(PlayOnStage(7, a), (std::vector<std::string>{"_level0.a", "_level0.a"}));
    EXPECT_EQ(PlayOnStage(6, a), (std::vector<std::string>{"_level0", "_level0"}));
}

TEST(TargetPathSyntax, TheRootTakesANameWithoutChangingPaths) {
    constexpr std::uint8_t GetProperty = 0x22;
    constexpr std::uint8_t SetProperty = 0x23;
    constexpr double nameProperty = 13;
    ActionWriter a;
    a.Push("").Push(nameProperty).Push("kitty").Op(SetProperty);
    a.Push("").Push(nameProperty).Op(GetProperty).Op(action::Trace);
    a.Push("this").Op(action::GetVariable).Op(action::Trace);
    a.Push("/a/a").Op(action::GetVariable).Op(action::Trace);
    EXPECT_EQ(PlayOnStage(7, a), (std::vector<std::string>{"kitty", "_level0", "_level0.a.a"}));
}

} // namespace

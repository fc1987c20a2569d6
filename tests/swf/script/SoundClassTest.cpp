// The Sound class on movies the writer makes: where a Sound's transform
// lives (its clip's, shared by every Sound on that clip; the movie's, shared
// by every Sound without a target; none for a path that names nothing),
// the pan worked out from the transform, and the transform of its own that
// loadSound gives from SWF 6; an attached sound's duration, from its
// definition.
#include <gtest/gtest.h>

#include "ScriptTraces.h"
#include "swfwriter/SoundWriter.h"

#include <string>
#include <variant>
#include <vector>

namespace {

using swfwriter::ActionWriter;
namespace action = swfwriter::action;

using scripttest::Play;

using Arg = std::variant<double, std::string>;

void PushArgs(ActionWriter& a, const std::vector<Arg>& args) {
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
        if (const auto* n = std::get_if<double>(&*it)) {
            a.Push(*n);
        } else {
            a.Push(std::get<std::string>(*it));
        }
    }
    a.Push(double(args.size()));
}

// variable = new Sound(target), the target a variable's value when given.
void NewSound(ActionWriter& a, std::string_view variable, std::string_view targetVariable = {}) {
    a.Push(variable);
    if (!targetVariable.empty()) {
        a.Push(targetVariable).Op(action::GetVariable).Push(1.0);
    } else {
        a.Push(0.0);
    }
    a.Push("Sound").Op(action::NewObject).Op(action::SetVariable);
}

// variable = new Sound("path")
void NewSoundOnPath(ActionWriter& a, std::string_view variable, std::string_view path) {
    a.Push(variable).Push(path).Push(1.0).Push("Sound").Op(action::NewObject);
    a.Op(action::SetVariable);
}

// variable.method(args), the result left on the stack.
void Call(ActionWriter& a, std::string_view variable, std::string_view method,
          const std::vector<Arg>& args = {}) {
    PushArgs(a, args);
    a.Push(variable).Op(action::GetVariable).Push(method).Op(action::CallMethod);
}

void Do(ActionWriter& a, std::string_view variable, std::string_view method,
        const std::vector<Arg>& args) {
    Call(a, variable, method, args);
    a.Op(action::Pop);
}

void TraceCall(ActionWriter& a, std::string_view variable, std::string_view method) {
    Call(a, variable, method);
    a.Op(action::Trace);
}

TEST(SoundClass, SoundsOnOneClipShareItsTransformApartFromTheMoviesOwn) {
    ActionWriter a;
    // createEmptyMovieClip("c", 1)
    a.Push(1.0).Push("c").Push(2.0).Push("createEmptyMovieClip").Op(action::CallFunction);
    a.Op(action::Pop);
    NewSound(a, "g");
    Do(a, "g", "setPan", {-50.0});
    NewSound(a, "x", "c");
    Do(a, "x", "setVolume", {30.0});
    NewSoundOnPath(a, "y", "c");
    TraceCall(a, "y", "getVolume");
    TraceCall(a, "y", "getPan");
    NewSound(a, "h");
    TraceCall(a, "h", "getVolume");
    TraceCall(a, "h", "getPan");
    // The pan turned the right side down: rr reads back 50, ll stays full.
    Call(a, "h", "getTransform");
    a.Push("rr").Op(action::GetMember).Op(action::Trace);
    Call(a, "h", "getTransform");
    a.Push("ll").Op(action::GetMember).Op(action::Trace);
    NewSoundOnPath(a, "z", "nothing");
    TraceCall(a, "z", "getVolume");
    TraceCall(a, "z", "getTransform");
    EXPECT_EQ(Play(7, a), (std::vector<std::string>{"30", "0", "100", "-50", "50", "100",
                                                    "undefined", "undefined"}));
}

TEST(SoundClass, APanFromEitherSideAndVolumesOutOfRangeReadBackAsStored) {
    ActionWriter a;
    NewSound(a, "s");
    Do(a, "s", "setPan", {30.0});
    TraceCall(a, "s", "getPan");
    Call(a, "s", "getTransform");
    a.Push("ll").Op(action::GetMember).Op(action::Trace);
    Do(a, "s", "setVolume", {-1234567890.0});
    TraceCall(a, "s", "getVolume");
    Do(a, "s", "setVolume", {"not a number"});
    TraceCall(a, "s", "getVolume");
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"30", "70", "-1234567890", "0"}));
}

// loadSound is not there for SWF 5: the volume set stays with the movie.
TEST(SoundClass, LoadSoundGivesTheSoundATransformOfItsOwnFromSwf6) {
    const auto run = [](int version) {
        ActionWriter a;
        NewSound(a, "s");
        Do(a, "s", "setVolume", {40.0});
        Do(a, "s", "loadSound", {"missing.mp3", 1.0});
        TraceCall(a, "s", "getVolume");
        Do(a, "s", "setVolume", {70.0});
        NewSound(a, "t");
        TraceCall(a, "t", "getVolume");
        return Play(version, a);
    };
    EXPECT_EQ(run(6), (std::vector<std::string>{"100", "40"}));
    EXPECT_EQ(run(5), (std::vector<std::string>{"40", "70"}));
}

// A movie exporting a silent sound of that many frames at a rate code as
// "quiet", whose one frame runs the actions.
std::vector<std::uint8_t> ExportingMovie(int version, std::uint32_t frames, std::uint8_t rateCode,
                                         const ActionWriter& actions) {
    swfwriter::MovieWriter movie(version, 200, 150, 12.0);
    const std::vector<std::int16_t> samples(frames, 0);
    const auto id = movie.DefineRaw(
        swf::tag::DefineSound, swfwriter::DefineSoundBody({.coding = 3, .rateCode = rateCode},
                                                          frames, swfwriter::PcmBytes(samples)));
    std::vector<std::uint8_t> exports = {1, 0, static_cast<std::uint8_t>(id & 0xFF),
                                         static_cast<std::uint8_t>(id >> 8)};
    for (const char c : std::string_view("quiet")) {
        exports.push_back(static_cast<std::uint8_t>(c));
    }
    exports.push_back(0);
    movie.Tag(swf::tag::Exports, exports);
    movie.Tag(swf::tag::DoAction, actions.Finish());
    movie.ShowFrame();
    return movie.Finish();
}

TEST(SoundClass, AnAttachedSoundsDurationComesFromItsDefinition) {
    ActionWriter a;
    NewSound(a, "s");
    a.Push("s").Op(action::GetVariable).Push("duration").Op(action::GetMember).Op(action::Trace);
    Do(a, "s", "attachSound", {"QUIET"});
    a.Push("s").Op(action::GetVariable).Push("duration").Op(action::GetMember).Op(action::Trace);
    TraceCall(a, "s", "getDuration");
    a.Push("s").Op(action::GetVariable).Push("position").Op(action::GetMember).Op(action::Trace);
    Do(a, "s", "attachSound", {"missing"});
    TraceCall(a, "s", "getDuration");
    // 11025 frames: a quarter of a second at 44.1 kHz, half of one at 22 kHz.
    EXPECT_EQ(scripttest::Traces(ExportingMovie(7, 11025, 3, a)),
              (std::vector<std::string>{"undefined", "250", "250", "0", "undefined"}));
    EXPECT_EQ(scripttest::Traces(ExportingMovie(7, 11025, 2, a)),
              (std::vector<std::string>{"undefined", "500", "500", "0", "undefined"}));
}

} // namespace

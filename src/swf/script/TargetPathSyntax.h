// How a script names a clip or a variable by text: "/a/b:v", "a.b.v",
// "../c", "_level0/a", ":v". The rules, as Flash reads such text:
//
// A variable name (GetVariable, SetVariable) with none of ':', '.', '/' is a
// plain name. Otherwise it splits at its last ':' or '.': what is before is
// the path of the holder, what is after is the variable ("a/b.c:v" is v of
// "a/b.c"; "a..v" is v of "a."). A name with '/' but neither ':' nor '.' is a
// path alone and names a clip ("/a/b"). A holder path that is empty (".v",
// ":v") leads nowhere.
//
// A path is read from the left, one step at a time, from the current target:
//   - a '/' at the very start is the root of the target's level;
//   - ".." followed by the end, '/' or ':' is the parent, except straight
//     after a '.' ("a/.." and "a:.." climb, "a..." does not);
//   - ':' where a step starts is skipped ("::a" is a), unless it is all the
//     step there is (before '/' or the end): then it names a clip ":";
//   - any other step that starts with '/' leads nowhere ("a//b", "//");
//   - otherwise the step is a name up to the next '/' or ':', or also '.'
//     while the path is still in dot syntax. A '/' anywhere before, or a
//     ".." step, switches it to slash syntax, where '.' belongs to names
//     ("/a.b" is the clip "a.b" of the root, "a.b" is b of a). A name that
//     starts with '.' keeps its dots in either syntax ("a:...", "/.b");
//   - one '/', ':' or '.' after a step separates it from the next; a
//     separator that ends the path is allowed ("a/", "a.", "..:").
// A step that finds nothing (no child clip, no variable holding an object)
// makes the whole path lead nowhere. A step finds a child clip before a
// variable of the same name. A path alone that leads to no clip is taken
// as a plain variable name after all ("a/b" may be a variable's name).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace swf::script {

enum class PathStepKind { Root, Parent, Named };

struct PathStep {
    PathStepKind kind = PathStepKind::Named;
    std::string_view text; // the name of a Named step
    friend bool operator==(const PathStep&, const PathStep&) = default;
};

// The steps of a path; none when the text is not a well-formed path. The
// empty path has no steps (it is the current target).
std::optional<std::vector<PathStep>> ParseTargetPath(std::string_view path);

// A variable name split into the path of its holder and its own name.
struct VariableReference {
    // No path characters: a plain name, looked up through the scope chain.
    bool plain = true;
    // A path alone, without a variable: it names a clip.
    bool pathOnly = false;
    std::string_view holderPath;
    std::string_view variable;
};
VariableReference SplitVariableName(std::string_view text);

} // namespace swf::script

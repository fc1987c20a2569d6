// A user's actions, one a line, as a script gives them to the host. Parsing
// turns the text into actions and rejects a line it does not understand with
// its line number; running them is the ScriptRunner's business.
//
//   wait MS                  tap X Y               hold X Y
//   drag X1 Y1 X2 Y2 MS      button NAME           key [ctrl+][shift+]NAME
//   type TEXT                softkey 1|2           menu TEXT...
//   front other|vantrel      rotate 0|90|180|270   launch ARGS...
//   open PATH                tapid ID              screenshot FILE
//   state FILE
//
// Words are separated by blanks; a word in double quotes may hold blanks (\"
// and \\ inside). A '#' that begins a word starts a comment, except in the
// text of type and launch, which is the rest of the line as it stands.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "host/KeyNames.h"
#include "platform/Result.h"

namespace host {

struct ScriptPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScriptPoint&) const = default;
};

namespace action {
struct Wait {
    std::uint64_t ms = 0;
};
struct Tap {
    ScriptPoint at;
};
struct Hold {
    ScriptPoint at;
};
struct Drag {
    ScriptPoint from;
    ScriptPoint to;
    std::uint64_t ms = 0;
};
struct Button {
    DeviceButton button = DeviceButton::Action;
};
struct Key {
    KeyStroke stroke;
};
struct Type {
    std::string text; // UTF-8
};
struct SoftKey {
    int number = 1;
};
struct Menu {
    std::vector<std::string> path;
};
struct Front {
    bool player = true; // false: another program comes to the front
};
struct Rotate {
    int degrees = 0;
};
struct Launch {
    std::string commandLine;
};
// The device's shell opens a document, as a tap on it in the shell does.
struct Open {
    std::string path; // UTF-8, a device path
};
// A tap on the centre of the control, menu-bar button or soft key with this
// id in the foreground window.
struct TapId {
    int id = 0;
};
struct Screenshot {
    std::string path;
};
struct State {
    std::string path;
};
} // namespace action

using ScriptAction =
    std::variant<action::Wait, action::Tap, action::Hold, action::Drag, action::Button, action::Key,
                 action::Type, action::SoftKey, action::Menu, action::Front, action::Rotate,
                 action::Launch, action::Open, action::TapId, action::Screenshot, action::State>;

struct ScriptStep {
    int line = 0;
    ScriptAction action;
};

// One line: no step for a blank or comment line. The error's message names
// what is wrong, without the line number.
Result<std::optional<ScriptStep>> ParseScriptLine(std::string_view line, int lineNumber);
// A whole script; the error's message begins with "line N: ".
Result<std::vector<ScriptStep>> ParseScript(std::string_view text);

} // namespace host

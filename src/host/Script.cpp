#include "host/Script.h"

#include <charconv>
#include <limits>

namespace host {
namespace {

// Screen coordinates far outside any screen are a typing slip, not a tap.
constexpr int kCoordinateLimit = 100'000;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r' || text.back() == '\n')) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

// Splits the arguments into words, quoted words kept whole; a word that begins
// with '#' ends the line.
Result<std::vector<std::string>> Words(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (true) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        if (i >= text.size() || text[i] == '#') {
            return words;
        }
        std::string word;
        if (text[i] == '"') {
            ++i;
            bool closed = false;
            while (i < text.size()) {
                const char c = text[i++];
                if (c == '"') {
                    closed = true;
                    break;
                }
                if (c == '\\' && i < text.size() && (text[i] == '"' || text[i] == '\\')) {
                    word += text[i++];
                } else {
                    word += c;
                }
            }
            if (!closed) {
                return Error{"a quoted text is not closed", 0};
            }
            if (i < text.size() && !IsBlank(text[i])) {
                return Error{"a quoted text runs into the next word", 0};
            }
        } else {
            while (i < text.size() && !IsBlank(text[i])) {
                word += text[i++];
            }
        }
        words.push_back(std::move(word));
    }
}

std::optional<std::int64_t> Integer(const std::string& word) {
    std::int64_t value = 0;
    const char* first = word.data();
    const char* last = word.data() + word.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (word.empty() || error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

struct Parser {
    std::vector<std::string> words;
    std::string verb;

    Error Problem(const std::string& message) const { return Error{verb + ": " + message, 0}; }

    std::optional<Error> Count(std::size_t expected, const char* usage) const {
        if (words.size() != expected) {
            return Problem(std::string("expected ") + usage);
        }
        return std::nullopt;
    }

    Result<std::uint64_t> Milliseconds(std::size_t index) const {
        const auto value = Integer(words[index]);
        if (!value || *value < 0) {
            return Problem("'" + words[index] + "' is not a number of milliseconds");
        }
        return static_cast<std::uint64_t>(*value);
    }

    Result<ScriptPoint> Point(std::size_t index) const {
        const auto x = Integer(words[index]);
        const auto y = Integer(words[index + 1]);
        if (!x || !y || *x < -kCoordinateLimit || *x > kCoordinateLimit || *y < -kCoordinateLimit ||
            *y > kCoordinateLimit) {
            return Problem("'" + words[index] + " " + words[index + 1] + "' is not a screen point");
        }
        return ScriptPoint{static_cast<int>(*x), static_cast<int>(*y)};
    }
};

Result<ScriptAction> ParseAction(const std::string& verb, std::string_view rest) {
    // The free texts: the rest of the line, as it stands.
    if (verb == "type") {
        if (rest.empty()) {
            return Error{"type: expected the text to type", 0};
        }
        return ScriptAction(action::Type{std::string(rest)});
    }
    if (verb == "launch") {
        return ScriptAction(action::Launch{std::string(rest)});
    }

    auto words = Words(rest);
    if (!words) {
        return Error{verb + ": " + words.GetError().message, 0};
    }
    const Parser p{std::move(words).Value(), verb};

    if (verb == "wait") {
        if (auto error = p.Count(1, "wait MS")) {
            return *error;
        }
        const auto ms = p.Milliseconds(0);
        if (!ms) {
            return ms.GetError();
        }
        return ScriptAction(action::Wait{*ms});
    }
    if (verb == "tap" || verb == "hold") {
        if (auto error = p.Count(2, verb == "tap" ? "tap X Y" : "hold X Y")) {
            return *error;
        }
        const auto point = p.Point(0);
        if (!point) {
            return point.GetError();
        }
        return verb == "tap" ? ScriptAction(action::Tap{*point})
                             : ScriptAction(action::Hold{*point});
    }
    if (verb == "drag") {
        if (auto error = p.Count(5, "drag X1 Y1 X2 Y2 MS")) {
            return *error;
        }
        const auto from = p.Point(0);
        const auto to = p.Point(2);
        const auto ms = p.Milliseconds(4);
        if (!from) {
            return from.GetError();
        }
        if (!to) {
            return to.GetError();
        }
        if (!ms) {
            return ms.GetError();
        }
        return ScriptAction(action::Drag{*from, *to, *ms});
    }
    if (verb == "button") {
        if (auto error = p.Count(1, "button NAME")) {
            return *error;
        }
        const auto button = ButtonByName(p.words[0]);
        if (!button) {
            return p.Problem("no button '" + p.words[0] +
                             "' (APP1 to APP6, ACTION, RECORD, TALK, END, UP, DOWN, LEFT, RIGHT)");
        }
        return ScriptAction(action::Button{*button});
    }
    if (verb == "key") {
        if (auto error = p.Count(1, "key NAME")) {
            return *error;
        }
        const auto stroke = KeyByName(p.words[0]);
        if (!stroke) {
            return p.Problem("no key '" + p.words[0] + "'");
        }
        return ScriptAction(action::Key{*stroke});
    }
    if (verb == "softkey") {
        if (p.words.size() != 1 || (p.words[0] != "1" && p.words[0] != "2")) {
            return p.Problem("expected softkey 1 or softkey 2");
        }
        return ScriptAction(action::SoftKey{p.words[0] == "1" ? 1 : 2});
    }
    if (verb == "menu") {
        if (p.words.empty()) {
            return p.Problem("expected the texts of the menu items to choose");
        }
        for (const std::string& word : p.words) {
            if (word.empty()) {
                return p.Problem("an empty item text");
            }
        }
        return ScriptAction(action::Menu{p.words});
    }
    if (verb == "front") {
        if (p.words.size() != 1 || (p.words[0] != "other" && p.words[0] != "vantrel")) {
            return p.Problem("expected front other or front vantrel");
        }
        return ScriptAction(action::Front{p.words[0] == "vantrel"});
    }
    if (verb == "rotate") {
        const auto degrees = p.words.size() == 1 ? Integer(p.words[0]) : std::nullopt;
        if (!degrees || (*degrees != 0 && *degrees != 90 && *degrees != 180 && *degrees != 270)) {
            return p.Problem("expected rotate 0, 90, 180 or 270");
        }
        return ScriptAction(action::Rotate{static_cast<int>(*degrees)});
    }
    if (verb == "open") {
        if (auto error = p.Count(1, "open PATH")) {
            return *error;
        }
        return ScriptAction(action::Open{p.words[0]});
    }
    if (verb == "tapid") {
        const auto id = p.words.size() == 1 ? Integer(p.words[0]) : std::nullopt;
        if (!id || *id < 0 || *id > 0xFFFF) {
            return p.Problem("expected tapid ID, a control or command id from 0 to 65535");
        }
        return ScriptAction(action::TapId{static_cast<int>(*id)});
    }
    if (verb == "screenshot" || verb == "state") {
        if (auto error = p.Count(1, verb == "state" ? "state FILE" : "screenshot FILE")) {
            return *error;
        }
        if (verb == "state") {
            return ScriptAction(action::State{p.words[0]});
        }
        return ScriptAction(action::Screenshot{p.words[0]});
    }
    return Error{"unknown action '" + verb + "'", 0};
}

} // namespace

Result<std::optional<ScriptStep>> ParseScriptLine(std::string_view line, int lineNumber) {
    line = TrimLeft(TrimRight(line));
    if (line.empty() || line.front() == '#') {
        return std::optional<ScriptStep>();
    }
    std::size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) {
        ++end;
    }
    const std::string verb(line.substr(0, end));
    // One blank separates the verb from its arguments; the free texts keep the
    // rest as it stands.
    std::string_view rest = line.substr(end);
    if (!rest.empty()) {
        rest.remove_prefix(1);
    }
    auto parsed = ParseAction(verb, rest);
    if (!parsed) {
        return parsed.GetError();
    }
    return std::optional<ScriptStep>(ScriptStep{lineNumber, std::move(parsed).Value()});
}

Result<std::vector<ScriptStep>> ParseScript(std::string_view text) {
    std::vector<ScriptStep> steps;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        ++lineNumber;
        auto step = ParseScriptLine(text.substr(start, end - start), lineNumber);
        if (!step) {
            return Error{"line " + std::to_string(lineNumber) + ": " + step.GetError().message,
                         start};
        }
        if (step.Value()) {
            steps.push_back(std::move(*step.Value()));
        }
        start = end + 1;
    }
    return steps;
}

} // namespace host

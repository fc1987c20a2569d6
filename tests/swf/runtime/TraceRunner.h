// A stand-in for the script engine in the runtime's tests: it runs the few
// actions that the reference movies about frame order use (push, trace,
// the clip's name and frame, gotos, play and stop, a variable or two) and
// collects what trace writes, so that the runtime's order can be checked
// against what Flash Player wrote for those movies. A movie using anything
// else is reported as beyond it.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "swf/runtime/MoviePlayer.h"
#include "swf/runtime/ScriptHost.h"

namespace tracetest {

class TraceRunner final : public swf::ScriptHost {
public:
    explicit TraceRunner(swf::MoviePlayer& player);
    ~TraceRunner() override;

    bool Handles(const swf::DisplayObject& object, swf::ClipEvent event) override;
    void Run(const swf::QueuedAction& action) override;

    // Loads the movie's first frame and runs frames more frame periods, as
    // the reference traces were made; stops early at fscommand quit.
    void Play(int frames);

    const std::vector<std::string>& Lines() const { return lines; }
    // The first action it cannot run, if any.
    const std::optional<std::string>& Beyond() const { return beyond; }

    struct Value {
        enum class Type { Undefined, Null, Boolean, Number, String, Clip } type = Type::Undefined;
        double number = 0.0;
        bool boolean = false;
        std::string string;
        swf::DisplayHandle clip;
    };

private:
    void RunActions(std::span<const std::uint8_t> code, swf::DisplayHandle self);
    std::string Path(const swf::DisplayObject& object) const;
    std::string Text(const Value& value) const;

    swf::MoviePlayer& player;
    std::vector<std::string> lines;
    std::optional<std::string> beyond;
    bool quit = false;
    std::map<std::pair<std::uint64_t, std::string>, Value> variables;
};

} // namespace tracetest

// A script host for the runtime's tests: it says an object handles an event
// when its clip actions do or the test registered it, and writes down every
// action it is asked to run ("root frame 0x06", "x event unload"), so a
// test compares the order with what Flash Player does. A test may act on
// the player while an action runs, as a script would.
#pragma once

#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "swf/runtime/MoviePlayer.h"
#include "swf/runtime/ScriptHost.h"

namespace runtimetest {

inline const char* EventName(swf::ClipEvent event) {
    static constexpr const char* names[] = {"load",           "enterFrame", "unload",   "mouseMove",
                                            "mouseDown",      "mouseUp",    "keyDown",  "keyUp",
                                            "data",           "initialize", "press",    "release",
                                            "releaseOutside", "rollOver",   "rollOut",  "dragOver",
                                            "dragOut",        "keyPress",   "construct"};
    return names[static_cast<int>(event)];
}

class RecordingHost final : public swf::ScriptHost {
public:
    explicit RecordingHost(swf::MoviePlayer& player) : player(player) {
        player.SetScriptHost(this);
    }
    ~RecordingHost() override { player.SetScriptHost(nullptr); }

    void Handle(const swf::DisplayObject& object, swf::ClipEvent event) {
        handled.insert({object.Handle().id, event});
    }

    bool Handles(const swf::DisplayObject& object, swf::ClipEvent event) override {
        return object.HasClipAction(event) || handled.contains({object.Handle().id, event});
    }

    void Run(const swf::QueuedAction& action) override {
        const swf::DisplayObject* target = player.Find(action.target);
        std::string line =
            target == nullptr || target->Parent() == nullptr ? "root" : target->Name();
        char code[16];
        switch (action.kind) {
        case swf::ActionKind::FrameActions:
            // Test movies mark each action block by its first action's code.
            std::snprintf(code, sizeof code, "0x%02x",
                          action.tag->body.empty() ? 0 : action.tag->body[0]);
            line += std::string(" frame ") + code;
            break;
        case swf::ActionKind::InitActions:
            line += " init";
            break;
        case swf::ActionKind::ClipEvent:
            line += std::string(" event ") + EventName(action.event);
            break;
        case swf::ActionKind::ButtonActions:
            std::snprintf(code, sizeof code, "0x%04x", action.condition);
            line += std::string(" button ") + code;
            break;
        }
        log.push_back(line);
        if (onRun) {
            onRun(action);
        }
    }

    // Input is written down as it arrives ("input down 1300 1300").
    void InputArrived(const swf::InputEvent& event) override {
        static constexpr const char* kinds[] = {"move", "down", "up", "keyDown", "keyUp", "char"};
        std::string line = "input ";
        line += kinds[static_cast<int>(event.kind)];
        const auto add = [&line](long long value) {
            line += ' ';
            line += std::to_string(value);
        };
        if (event.kind == swf::InputKind::KeyDown || event.kind == swf::InputKind::KeyUp) {
            add(event.virtualKey);
        } else if (event.kind == swf::InputKind::Character) {
            add(event.character);
        } else {
            add(std::llround(event.x));
            add(std::llround(event.y));
        }
        log.push_back(line);
    }

    std::vector<std::string> log;
    std::function<void(const swf::QueuedAction&)> onRun;

private:
    swf::MoviePlayer& player;
    std::set<std::pair<std::uint64_t, swf::ClipEvent>> handled;
};

} // namespace runtimetest

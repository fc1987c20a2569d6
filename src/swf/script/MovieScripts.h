// The scripts of one movie playing in the runtime: the script engine joined
// to the player's frame loop. The player queues frame actions, init actions,
// clip events and button actions; this runs them on the clips' script
// objects, says which objects handle which events, and between frames runs
// the interval timers and the collector.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>

#include "swf/runtime/MoviePlayer.h"
#include "swf/runtime/ScriptHost.h"
#include "swf/script/Vm.h"

namespace swf::script {

class ClipObject;
class RuntimeClips;

class MovieScripts final : public ScriptHost {
public:
    // player and host are borrowed; this becomes the player's script host
    // and leaves it on destruction.
    MovieScripts(MoviePlayer& player, VmHost& host, VmLimits limits = {});
    ~MovieScripts() override;
    MovieScripts(const MovieScripts&) = delete;
    MovieScripts& operator=(const MovieScripts&) = delete;

    bool Handles(const DisplayObject& object, ClipEvent event) override;
    void Run(const QueuedAction& action) override;
    void InputArrived(const InputEvent& event) override;
    void FieldPlaced(DisplayObject& field) override;

    // The keys as Key sees them: down now, the last pressed, the last typed.
    bool KeyIsDown(unsigned code) const { return code < keysDown.size() && keysDown[code]; }
    std::uint32_t LastKeyCode() const { return lastKeyCode; }
    std::uint16_t LastCharacter() const { return lastCharacter; }

    // One frame period: the player's tick, then the interval timers due by
    // the host's clock and their actions; the heap is collected when it has
    // grown enough.
    void Tick();
    // The first frame, shown once it is in (the player's FramesAdded).
    void Start();

    // The Call action: a frame's actions, run at once on clip.
    void RunFrameActionsNow(MovieClip& clip, const Frame& frame);
    // A clip a script made (duplicateMovieClip, attachMovie): its construct
    // event and class run at once, inside the call that made it.
    void ConstructNow(MovieClip& clip);
    void RequestUrl(const UrlRequest& request);
    std::string MovieUrl();

    Vm& GetVm() { return *vm; }
    RuntimeClips& Clips() { return *clips; }

private:
    // The action bytes at data, kept for the functions defined in them.
    ActionBytes BytesOf(std::span<const std::uint8_t> data);
    void RunBlock(std::span<const std::uint8_t> code, Object* target);
    void RunEvent(DisplayObject& object, ClipEvent event, std::uint8_t keyCode);
    // The class Object.registerClass gave the clip's symbol, on the clip.
    void RunClass(DisplayObject& object, ClipObject& self);
    void CollectIfGrown();

    MoviePlayer& player;
    VmHost& host;
    std::unique_ptr<Vm> vm;
    std::unique_ptr<RuntimeClips> clips;
    std::unordered_map<const std::uint8_t*, ActionBytes> blocks;
    std::size_t collectAfterBytes;
    std::array<bool, 256> keysDown{};
    std::uint32_t lastKeyCode = 0;
    std::uint16_t lastCharacter = 0;
};

} // namespace swf::script

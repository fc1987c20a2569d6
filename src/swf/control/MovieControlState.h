// The movie control's state and its dispatch operations, apart from the
// window that hosts it: the URL and its loading, the movie's playback on the
// frame clock, the scale mode and the properties of "_root". The control's
// window owns one and forwards its dispatch calls, wake-ups and timer ticks.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/ControlHost.h"
#include "swf/audio/MovieAudio.h"
#include "swf/control/ControlScriptHost.h"
#include "swf/runtime/HostServices.h"
#include "swf/runtime/MovieLoader.h"
#include "swf/runtime/MoviePlayer.h"
#include "swf/script/MovieScripts.h"

namespace swf {

// Dispatch ids of the movie control.
namespace dispid {
constexpr DISPID ReadyState = -525;
constexpr DISPID MovieUrl = 102;
constexpr DISPID FrameNumber = 107;
constexpr DISPID Play = 112;
constexpr DISPID Stop = 113;
constexpr DISPID Rewind = 116;
constexpr DISPID ScaleMode = 120;
constexpr DISPID TotalFrames = 124;
constexpr DISPID Playing = 125;
constexpr DISPID MenuEnabled = 135;
constexpr DISPID QualityName = 141;
constexpr DISPID SetClipProperty = 153;
constexpr DISPID SetClipPropertyNumber = 157;
} // namespace dispid

// Indices of the clip properties the control sets on "_root".
namespace clipproperty {
constexpr LONG X = 0;
constexpr LONG Y = 1;
constexpr LONG XScale = 2;
constexpr LONG YScale = 3;
constexpr LONG Rotation = 10;
} // namespace clipproperty

class MovieControlState {
public:
    // files, fetcher and clock are borrowed and must outlive the state.
    // wake asks for Pump on the user-interface thread (from any thread);
    // redraw asks for the control to be painted again; trace gets the
    // movie's trace lines.
    MovieControlState(FileSystem& files, Fetcher& fetcher, const Clock& clock,
                      std::function<void()> wake, std::function<void()> redraw,
                      TraceSink trace = {});
    ~MovieControlState();
    MovieControlState(const MovieControlState&) = delete;
    MovieControlState& operator=(const MovieControlState&) = delete;

    HRESULT Invoke(DISPID id, WORD kind, std::span<const Variant> args, Variant& result);
    static const char* OperationName(DISPID id, WORD kind);
    std::string StateJson() const;

    // Where the movie's FSCommands, pages and notes are raised.
    void SetContainerEvents(ContainerEvent events) {
        scriptHost.SetContainerEvents(std::move(events));
    }

    // Loading work that is due (after a wake-up).
    void Pump();
    // A tick of the control's timer: runs the frame periods that have ended.
    // unheard: the mixer frames the output holds that have not been heard
    // yet, when an output plays them; a streamed sound then paces the
    // main timeline.
    void Tick(std::optional<std::uint64_t> unheard = std::nullopt);
    // When the next frame period ends, while a movie's frame clock runs;
    // nothing otherwise.
    std::optional<std::uint64_t> NextFrameTime() const;

    // The stylus at a point of the control's window (pixels of its client
    // area of width x height), and the keys: they reach the movie where the
    // stage lies in the window, and what they start runs at once.
    enum class Stylus { Move, Down, Up };
    void StylusInput(Stylus action, int x, int y, int width, int height);
    void KeyInput(bool down, std::uint32_t virtualKey);
    void CharacterInput(std::uint16_t character);

    int ReadyState() const { return loader.ReadyState(); }
    const Movie* CurrentMovie() const;
    const MoviePlayer* Player() const { return player.get(); }
    // The movie's sound; the control's speaker pulls its mixer.
    MovieAudio& Audio() { return audio; }
    int ScaleMode() const { return scaleMode; }
    const std::u16string& Url() const { return url; }

    // Counters for the renderer to keep; they stay 0 until it exists.
    std::uint64_t framesRendered = 0;
    std::uint64_t framesSkipped = 0;

private:
    HRESULT SetClipProperty(std::span<const Variant> args);
    void FollowLoad();
    // Runs what input queued, and shows what it changed since versionBefore.
    void AfterInput(std::uint64_t versionBefore);
    // Hands the events since the last time to the sound, noting the
    // buttons' transitions among them.
    void FollowEvents();

    // The last transitions of buttons, oldest first, for the state's report.
    struct ButtonReport {
        std::string name;
        std::uint16_t condition = 0;
    };
    static constexpr std::size_t ButtonReportsKept = 16;
    std::deque<ButtonReport> buttonReports;
    std::uint64_t buttonReportCount = 0; // since the movie was opened

    const Clock& clock;
    std::function<void()> redraw;
    MovieLoader loader;

    std::u16string url;
    bool menuEnabled = true;
    std::u16string quality = u"high";
    int scaleMode = 0;
    // Playing as asked before the movie is there; a new movie plays by itself.
    bool playRequested = true;
    RootProperties rootProperties;

    MovieAudio audio; // borrows the loader's movie
    ControlScriptHost scriptHost;
    std::unique_ptr<MoviePlayer> player; // once the header is read
    // The movie's scripts; made with the player, and gone before it.
    std::unique_ptr<script::MovieScripts> scripts;
    std::optional<FrameClock> frameClock;
    std::size_t framesSeen = 0;
};

} // namespace swf

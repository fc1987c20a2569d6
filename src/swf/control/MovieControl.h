// The movie control as the device hosts it: a child window created by class
// id that loads the movie of its URL, plays it on the device clock with a
// device timer (starting by itself once the movie is in), and answers the
// dispatch operations through MovieControlState. Loading results come back
// from the HTTP worker thread as posted messages.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/ControlHost.h"
#include "platform/Messages.h"
#include "swf/control/ControlPicture.h"
#include "swf/control/HttpFetcher.h"
#include "swf/control/MovieControlState.h"
#include "swf/control/WaveSpeaker.h"
#include "swf/runtime/HostServices.h"

namespace swf {

// The class id the movie control is registered under.
inline constexpr char16_t MovieControlClassId[] = u"{D27CDB6E-AE6D-11CF-96B8-444553540000}";

// Registers the movie control with the current device. files reads the
// movies of "file://" URLs; by default host paths only, until the device's
// own file functions are there to read device paths. trace gets the trace
// lines of every movie's scripts.
void InstallMovieControl();
void InstallMovieControl(std::shared_ptr<FileSystem> files, HttpLimits limits = {},
                         TraceSink trace = {});

class MovieControl final : public HostedControl {
public:
    // Posted to the control's window when loading work is waiting.
    static constexpr UINT WakeMessage = WM_APP + 0x5F0;
    // The frame timer; the frame clock decides which ticks end a frame.
    // Its ticks fall every 10 ms from the window's creation; while no sound
    // plays, it skips the ticks at which no frame is due, so that a movie
    // costs the device nothing between its frames.
    static constexpr UINT_PTR FrameTimerId = 1;
    static constexpr UINT FrameTimerMilliseconds = 10;
    // Posted to the control's window for a tick that is due at once.
    static constexpr UINT TickMessage = WM_APP + 0x5F1;

    MovieControl(std::shared_ptr<FileSystem> files, HttpLimits limits, TraceSink trace = {});
    ~MovieControl() override;
    MovieControl(const MovieControl&) = delete;
    MovieControl& operator=(const MovieControl&) = delete;

    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    HRESULT Invoke(DISPID id, WORD kind, std::span<const Variant> args, Variant& result) override;
    const char* OperationName(DISPID id, WORD kind) const override;
    std::string StateJson() const override;

private:
    class DeviceClock final : public Clock {
    public:
        std::uint64_t NowMilliseconds() const override;
    };

    // The stylus at the point lParam gives, in the window's client area.
    void Stylus(MovieControlState::Stylus action, LPARAM lParam);
    // Tells the container of an event of the movie (journalled by the device).
    void Raise(const char* event, const std::vector<std::string>& args);
    // Renders the frame when the stage changed, and asks for a paint then.
    void UpdatePicture();
    void Paint(HWND window);

    // A tick of the frame timer, and the next one set.
    void FrameTick();
    // When the next tick must come: while sound plays (or no movie runs) at
    // the next step, otherwise at the frame's.
    std::optional<std::uint64_t> QuietUntil();
    // The first of the timer's steps at or after time.
    std::uint64_t StepAtOrAfter(std::uint64_t time) const;
    // After anything but a tick: brings the next tick forward when what
    // happened needs it sooner (a movie loaded, a sound started).
    void KeepTickDue();
    void SetFrameTimer(UINT interval);

    // The window is known from WM_NCCREATE on, before any load can start, and
    // does not change; the HTTP worker reads it to post its wake-ups.
    HWND window = nullptr;
    std::shared_ptr<FileSystem> files;
    DeviceClock clock;
    HttpFetcher fetcher;
    MovieControlState state;    // borrows the members above, so it goes first
    ControlPicture picture;     // reads the state; goes before it
    WaveSpeaker speaker;        // plays the state's mixer; goes before it
    std::uint64_t lastTick = 0; // device milliseconds of the last tick (or the creation)
    std::uint64_t nextTick = 0; // when the timer is set to tick next
    UINT timerInterval = FrameTimerMilliseconds;
};

} // namespace swf

#include "swf/control/MovieControl.h"

#include <algorithm>

#include "platform/BackgroundWork.h"
#include "platform/Painting.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "swf/control/HostFiles.h"

namespace swf {

void InstallMovieControl() {
    InstallMovieControl(std::make_shared<HostFiles>());
}

void InstallMovieControl(std::shared_ptr<FileSystem> files, HttpLimits limits, TraceSink trace) {
    RegisterControlClass(MovieControlClassId,
                         [files, limits, trace]() -> std::unique_ptr<HostedControl> {
                             return std::make_unique<MovieControl>(files, limits, trace);
                         });
}

std::uint64_t MovieControl::DeviceClock::NowMilliseconds() const {
    return GetTickCount();
}

MovieControl::MovieControl(std::shared_ptr<FileSystem> files, HttpLimits limits, TraceSink trace)
    : files(std::move(files)),
      // A transfer counts as the device's background work while it runs, so
      // that a virtual clock waits for its result.
      fetcher(limits, [] { return std::make_shared<BackgroundWork>(); }),
      state(
          *this->files, fetcher, clock,
          [this] {
              if (window != nullptr) {
                  PostMessageW(window, WakeMessage, 0, 0);
              }
          },
          [this] { UpdatePicture(); }, std::move(trace)) {
    state.SetContainerEvents(
        [this](const char* event, const std::vector<std::string>& args) { Raise(event, args); });
}

void MovieControl::Raise(const char* event, const std::vector<std::string>& args) {
    if (window == nullptr) {
        return;
    }
    std::vector<Variant> values;
    for (const std::string& arg : args) {
        values.push_back(Variant::Text(text::FromUtf8(arg)));
    }
    RaiseControlEvent(window, event, values);
}

MovieControl::~MovieControl() = default;

LRESULT MovieControl::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        window = handle;
        break;
    case WM_CREATE:
        SetTimer(handle, FrameTimerId, FrameTimerMilliseconds, nullptr);
        lastTick = GetTickCount();
        nextTick = lastTick + FrameTimerMilliseconds;
        return 0;
    case WM_SIZE:
        UpdatePicture();
        return 0;
    case WM_LBUTTONDOWN:
        // The stylus belongs to the movie until it is lifted, wherever it goes.
        SetCapture(handle);
        Stylus(MovieControlState::Stylus::Down, lParam);
        KeepTickDue();
        return 0;
    case WM_MOUSEMOVE:
        Stylus(MovieControlState::Stylus::Move, lParam);
        KeepTickDue();
        return 0;
    case WM_LBUTTONUP:
        Stylus(MovieControlState::Stylus::Up, lParam);
        if (GetCapture() == handle) {
            ReleaseCapture();
        }
        KeepTickDue();
        return 0;
    case WM_KEYDOWN:
        state.KeyInput(true, static_cast<std::uint32_t>(wParam));
        KeepTickDue();
        return 0;
    case WM_KEYUP:
        state.KeyInput(false, static_cast<std::uint32_t>(wParam));
        KeepTickDue();
        return 0;
    case WM_CHAR:
        state.CharacterInput(static_cast<std::uint16_t>(wParam));
        KeepTickDue();
        return 0;
    case WM_TIMER:
        if (wParam == FrameTimerId) {
            FrameTick();
            return 0;
        }
        break;
    case TickMessage:
        FrameTick();
        return 0;
    case MM_WOM_DONE:
        speaker.BufferDone(reinterpret_cast<HWAVEOUT>(wParam), reinterpret_cast<WAVEHDR*>(lParam),
                           state.Audio().GetMixer());
        return 0;
    case WakeMessage:
        state.Pump();
        KeepTickDue();
        return 0;
    case WM_ERASEBKGND:
        return 1; // the paint covers the whole window
    case WM_PAINT:
        Paint(handle);
        return 0;
    case WM_DESTROY:
        KillTimer(handle, FrameTimerId);
        speaker.Close();
        break;
    default:
        break;
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

void MovieControl::FrameTick() {
    lastTick = GetTickCount();
    state.Tick(speaker.Unheard());
    speaker.Feed(window, state.Audio().GetMixer(), state.Audio().Generation());
    const std::uint64_t next = StepAtOrAfter(QuietUntil().value_or(lastTick));
    // The device sets the timer again by its interval after each tick.
    SetFrameTimer(static_cast<UINT>(next - lastTick));
    nextTick = next;
}

std::optional<std::uint64_t> MovieControl::QuietUntil() {
    // Sound is fed and paced on every step.
    if (speaker.Open() || state.Audio().GetMixer().VoiceCount() > 0) {
        return std::nullopt;
    }
    return state.NextFrameTime();
}

std::uint64_t MovieControl::StepAtOrAfter(std::uint64_t time) const {
    const std::uint64_t step = FrameTimerMilliseconds;
    const std::uint64_t steps =
        time <= lastTick ? 1 : std::max<std::uint64_t>(1, (time - lastTick + step - 1) / step);
    return lastTick + steps * step;
}

void MovieControl::KeepTickDue() {
    if (window == nullptr) {
        return;
    }
    const std::uint64_t now = GetTickCount();
    const std::uint64_t wanted = StepAtOrAfter(std::max(now, QuietUntil().value_or(now)));
    if (wanted >= nextTick) {
        return;
    }
    if (wanted <= now) {
        // The step is now: the tick comes once this message is done.
        nextTick = now;
        PostMessageW(window, TickMessage, 0, 0);
    } else {
        SetFrameTimer(static_cast<UINT>(wanted - now));
        nextTick = now + timerInterval;
    }
}

void MovieControl::SetFrameTimer(UINT interval) {
    // The device waits at least its shortest timer interval.
    interval = std::max(interval, FrameTimerMilliseconds);
    if (interval != timerInterval) {
        SetTimer(window, FrameTimerId, interval, nullptr);
        timerInterval = interval;
    }
}

void MovieControl::Stylus(MovieControlState::Stylus action, LPARAM lParam) {
    RECT client;
    GetClientRect(window, &client);
    state.StylusInput(action, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam),
                      client.right - client.left, client.bottom - client.top);
}

void MovieControl::UpdatePicture() {
    if (window == nullptr) {
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    if (picture.Update(state, client.right - client.left, client.bottom - client.top) ||
        picture.View() == nullptr) {
        InvalidateRect(window, nullptr, FALSE);
    }
}

void MovieControl::Paint(HWND handle) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(handle, &paint);
    if (dc != nullptr && (picture.View() == nullptr || !PaintPicture(dc, *picture.View()))) {
        // No movie (yet): an empty white stage.
        HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
        RECT client;
        GetClientRect(handle, &client);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
    }
    EndPaint(handle, &paint);
}

HRESULT MovieControl::Invoke(DISPID id, WORD kind, std::span<const Variant> args, Variant& result) {
    const HRESULT answer = state.Invoke(id, kind, args, result);
    KeepTickDue();
    return answer;
}

const char* MovieControl::OperationName(DISPID id, WORD kind) const {
    return MovieControlState::OperationName(id, kind);
}

std::string MovieControl::StateJson() const {
    return state.StateJson();
}

} // namespace swf

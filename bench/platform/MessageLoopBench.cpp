// How fast the device's message loop runs: posted messages and timer ticks
// dispatched per second of host time, and ten minutes of device time with a
// 50 ms timer on the virtual clock.
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/Messages.h"
#include "platform/Window.h"
#include "platform/sim/Automation.h"
#include "platform/sim/Device.h"

namespace {

constexpr UINT kCount = WM_APP + 1;

// Counts what its window gets; the counter lives in the window's user data.
LRESULT CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kCount || message == WM_TIMER) {
        auto* counter = reinterpret_cast<long long*>(GetWindowLongW(window, GWL_USERDATA));
        ++*counter;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A device with one program: a window counting its messages, and optionally a
// timer of the given period; the program runs the usual message loop.
class LoopDevice {
public:
    explicit LoopDevice(UINT timerPeriod) {
        sim::DeviceConfig config;
        config.directory = directory.Path();
        device = std::make_unique<sim::Device>(config);
        sim::ProgramImage image;
        image.entry = [this, timerPeriod](HINSTANCE, LPWSTR) {
            WNDCLASSW wndClass;
            wndClass.lpfnWndProc = CountingProcedure;
            wndClass.lpszClassName = u"Counting";
            RegisterClassW(&wndClass);
            window = CreateWindowExW(0, u"Counting", u"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
            SetWindowLongW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&count));
            if (timerPeriod != 0) {
                SetTimer(window, 1, timerPeriod, nullptr);
            }
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                DispatchMessageW(&msg);
            }
            return 0;
        };
        program = &device->Launch(image, u"");
        device->RunUntilIdle();
    }

    sim::TemporaryDirectory directory;
    std::unique_ptr<sim::Device> device;
    sim::Program* program = nullptr;
    HWND window = nullptr;
    long long count = 0;
};

void PostedMessages(benchmark::State& state) {
    LoopDevice loop(0);
    const int batch = static_cast<int>(state.range(0));
    for (auto _ : state) {
        // The program posts a batch to itself; the device runs until all of
        // it has been dispatched.
        loop.device->RunOnProgram(*loop.program, [&loop, batch] {
            for (int i = 0; i < batch; ++i) {
                PostMessageW(loop.window, kCount, static_cast<WPARAM>(i), 0);
            }
        });
    }
    if (loop.count != static_cast<long long>(state.iterations()) * batch) {
        state.SkipWithError("messages went missing");
    }
    state.SetItemsProcessed(loop.count);
}
BENCHMARK(PostedMessages)->Arg(1000)->UseRealTime();

void PostedMessagesFromTheDriver(benchmark::State& state) {
    LoopDevice loop(0);
    for (auto _ : state) {
        // One message at a time from outside: each wakes the program.
        PostMessageW(loop.window, kCount, 0, 0);
        loop.device->RunUntilIdle();
    }
    state.SetItemsProcessed(loop.count);
}
BENCHMARK(PostedMessagesFromTheDriver)->UseRealTime();

void TimerTicks(benchmark::State& state) {
    LoopDevice loop(10);
    for (auto _ : state) {
        // One second of device time: 100 ticks of the 10 ms timer.
        loop.device->Advance(1000);
    }
    if (loop.count != static_cast<long long>(state.iterations()) * 100) {
        state.SkipWithError("ticks went missing");
    }
    state.SetItemsProcessed(loop.count);
}
BENCHMARK(TimerTicks)->UseRealTime();

void TimerTicksWithAnotherProgramWaiting(benchmark::State& state) {
    LoopDevice loop(10);
    // A second program with a timer of its own: the two take turns, so every
    // tick goes through the driver (no program may move the clock alone).
    long long otherTicks = 0;
    sim::ProgramImage other;
    other.entry = [&otherTicks](HINSTANCE, LPWSTR) {
        WNDCLASSW wndClass;
        wndClass.lpfnWndProc = CountingProcedure;
        wndClass.lpszClassName = u"Counting";
        RegisterClassW(&wndClass);
        const HWND window = CreateWindowExW(0, u"Counting", u"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                            nullptr, nullptr);
        SetWindowLongW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&otherTicks));
        SetTimer(window, 1, 15, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            DispatchMessageW(&msg);
        }
        return 0;
    };
    loop.device->Launch(other, u"");
    loop.device->RunUntilIdle();
    for (auto _ : state) {
        loop.device->Advance(1000);
    }
    if (otherTicks == 0) {
        state.SkipWithError("the other program's timer did not run");
    }
    state.SetItemsProcessed(loop.count + otherTicks);
}
BENCHMARK(TimerTicksWithAnotherProgramWaiting)->UseRealTime();

void TenMinutesWithA50msTimer(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        LoopDevice loop(50);
        state.ResumeTiming();
        loop.device->Advance(10 * 60 * 1000);
        state.PauseTiming();
        if (loop.count != 12000) {
            state.SkipWithError("ticks went missing");
        }
        loop.device.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(TenMinutesWithA50msTimer)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

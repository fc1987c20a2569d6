// The movie control hosted on the simulated device: created by class id as a
// child window, loading from the device's files and over HTTP, playing on the
// device clock with its timer, and answering dispatch calls that the device
// journals by name.
#include "swf/control/MovieControl.h"

#include <gtest/gtest.h>

#include <httplib.h>

#include <fstream>
#include <thread>

#include "DeviceTestSupport.h"
#include "TestMovies.h"
#include "platform/Input.h"
#include "platform/Text.h"
#include "platform/sim/MessageRecorder.h"
#include "platform/sim/WindowManager.h"
#include "platform/sim/WindowObject.h"
#include "swf/control/HostFiles.h"
#include "swf/runtime/ButtonCondition.h"
#include "swfwriter/ActionWriter.h"

namespace {

using swfwriter::Compression;

class MovieControlOnDevice : public simtest::DeviceTest {
protected:
    void SetUp() override {
        // Device paths are where the device keeps its storage.
        auto files = std::make_shared<swf::HostFiles>(
            [this](const std::string& path) -> std::optional<std::filesystem::path> {
                return device->HostPath(text::FromUtf8(path));
            });
        swf::InstallMovieControl(files);
    }

    void Store(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(device->StorageRoot() / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    // A program with a parent window and the movie control inside it.
    simtest::RunningProgram LaunchWithControl() {
        return Launch([this](HINSTANCE) {
            simtest::RegisterTestClass();
            parent = simtest::CreateTestWindow(&none, WS_VISIBLE, RECT{0, 26, 240, 294});
            ASSERT_TRUE(EnableControlHosting());
            control = CreateControlWindow(swf::MovieControlClassId, u"Vantrel", WS_VISIBLE,
                                          RECT{0, 0, 240, 268}, parent, 9907);
            ASSERT_NE(control, nullptr);
        });
    }

    Variant Call(sim::Program& program, DISPID id, WORD kind, std::vector<Variant> args = {}) {
        Variant result;
        HRESULT hr = E_FAIL;
        OnProgram(program, [&] { hr = InvokeControl(control, id, kind, args, &result); });
        EXPECT_EQ(hr, S_OK) << "dispatch id " << id;
        return result;
    }
    LONG GetInt(sim::Program& program, DISPID id) {
        LONG value = -1;
        EXPECT_TRUE(Call(program, id, DISPATCH_PROPERTYGET).ToInt(value));
        return value;
    }

    simtest::Handler none = [](HWND, UINT, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return std::nullopt;
    };
    HWND parent = nullptr;
    HWND control = nullptr;
};

TEST_F(MovieControlOnDevice, LoadsADeviceFileAndPlaysOnTheDeviceClock) {
    Store("busy.swf", testmovies::BusyMovie(100, Compression::Zlib)); // 24 fps
    auto program = LaunchWithControl();
    ASSERT_TRUE(IsControlWindow(control));
    EXPECT_EQ(GetInt(program, swf::dispid::ReadyState), 0);

    Call(program, swf::dispid::MovieUrl, DISPATCH_PROPERTYPUT,
         {Variant::Text(u"file://\\busy.swf")});
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(GetInt(program, swf::dispid::ReadyState), 4);
    EXPECT_EQ(GetInt(program, swf::dispid::TotalFrames), 100);
    bool playing = false;
    EXPECT_TRUE(Call(program, swf::dispid::Playing, DISPATCH_PROPERTYGET).ToBool(playing));
    EXPECT_TRUE(playing);

    const LONG start = GetInt(program, swf::dispid::FrameNumber);
    ASSERT_TRUE(device->Advance(1000));
    EXPECT_EQ(GetInt(program, swf::dispid::FrameNumber) - start, 24);

    Call(program, swf::dispid::Stop, DISPATCH_METHOD);
    const LONG stopped = GetInt(program, swf::dispid::FrameNumber);
    ASSERT_TRUE(device->Advance(500));
    EXPECT_EQ(GetInt(program, swf::dispid::FrameNumber), stopped);

    // The device journals the calls under the operations' names.
    EXPECT_FALSE(automation->Journal("SetMovieUrl").empty());
    EXPECT_FALSE(automation->Journal("GetReadyState").empty());
    EXPECT_FALSE(automation->Journal("StopMovie").empty());
}

TEST_F(MovieControlOnDevice, WithoutSoundTheFrameTimerTicksOnlyWhenAFrameIsDue) {
    Store("busy.swf", testmovies::BusyMovie(100, Compression::Zlib)); // 24 fps
    auto program = LaunchWithControl();
    Call(program, swf::dispid::MovieUrl, DISPATCH_PROPERTYPUT,
         {Variant::Text(u"file://\\busy.swf")});
    ASSERT_TRUE(device->RunUntilIdle());
    const auto log = device->Recorders().Record({control});
    const LONG start = GetInt(program, swf::dispid::FrameNumber);
    // A question from the container between frames changes nothing.
    ASSERT_TRUE(device->Advance(520));
    EXPECT_EQ(GetInt(program, swf::dispid::ReadyState), 4);
    ASSERT_TRUE(device->Advance(480));
    EXPECT_EQ(GetInt(program, swf::dispid::FrameNumber) - start, 24);
    int ticks = 0;
    for (const auto& message : log->Of(control)) {
        ticks += message.message == WM_TIMER && message.wParam == swf::MovieControl::FrameTimerId;
    }
    EXPECT_GE(ticks, 24);
    EXPECT_LE(ticks, 26) << "not every 10 ms";
}

TEST_F(MovieControlOnDevice, PaintsTheMovieItPlays) {
    // A stage the size of the control: blue, with a red left half that
    // turns green in the second frame.
    swfwriter::MovieWriter movie(8, 240, 268, 12);
    movie.SetBackground({0, 0, 255});
    const auto red = movie.DefineShape(testmovies::Square({255, 0, 0}, 120 * 20));
    const auto green = movie.DefineShape(testmovies::Square({0, 255, 0}, 120 * 20));
    movie.Place(1, red, {.matrix = swfwriter::Matrix::Transform(0, 0, 1.0, 268.0 / 120, 0)});
    movie.ShowFrame();
    movie.Replace(1, green);
    movie.ShowFrame();
    Store("halves.swf", movie.Finish());

    auto program = LaunchWithControl();
    RECT rect;
    OnProgram(program, [&] { GetWindowRect(control, &rect); });
    // Before a movie: a white stage.
    EXPECT_EQ(automation->Screenshot()->Pixel(rect.left + 60, rect.top + 134), 0xFFFFFFFFu);

    Call(program, swf::dispid::MovieUrl, DISPATCH_PROPERTYPUT,
         {Variant::Text(u"file://\\halves.swf")});
    Call(program, swf::dispid::Stop, DISPATCH_METHOD);
    ASSERT_TRUE(device->Advance(50));
    auto shot = automation->Screenshot();
    EXPECT_EQ(shot->Pixel(rect.left + 60, rect.top + 134), 0xFFFF0000u);
    EXPECT_EQ(shot->Pixel(rect.left + 180, rect.top + 134), 0xFF0000FFu);

    Call(program, swf::dispid::FrameNumber, DISPATCH_PROPERTYPUT, {Variant::Int(1)});
    ASSERT_TRUE(device->Advance(50));
    EXPECT_EQ(automation->Screenshot()->Pixel(rect.left + 60, rect.top + 134), 0xFF00FF00u);
}

TEST_F(MovieControlOnDevice, TheStylusAndTheKeysReachTheMovieFromTheControlsWindow) {
    // A stage the size of the control with a button in it: red, blue while
    // pressed; "a" and the left arrow run its actions.
    swfwriter::MovieWriter movie(8, 240, 268, 12);
    movie.SetBackground({255, 255, 255});
    const auto red = movie.DefineShape(testmovies::Square({255, 0, 0}, 100 * 20));
    const auto blue = movie.DefineShape(testmovies::Square({0, 0, 255}, 100 * 20));
    const auto trace = [](const char* text) {
        swfwriter::ActionWriter actions;
        actions.Push(text).Op(swfwriter::action::Trace);
        return actions.Finish();
    };
    namespace condition = swf::buttoncondition;
    const auto button = movie.DefineButton2(
        {{.characterId = red, .depth = 1, .down = false},
         {.characterId = blue, .depth = 2, .up = false, .over = false, .hit = false}},
        {{condition::KeyPress('a'), trace("a")},
         {condition::KeyPress(1), trace("left")},
         {condition::OverDownToOverUp, trace("release")}});
    movie.Place(1, button, {.matrix = swfwriter::Matrix::Translate(70 * 20, 84 * 20)});
    movie.ShowFrame();
    Store("button.swf", movie.Finish());

    auto program = LaunchWithControl();
    Call(program, swf::dispid::MovieUrl, DISPATCH_PROPERTYPUT,
         {Variant::Text(u"file://\\button.swf")});
    ASSERT_TRUE(device->Advance(100));
    RECT rect;
    OnProgram(program, [&] { GetWindowRect(control, &rect); });
    const auto pixel = [&] {
        return automation->Screenshot()->Pixel(rect.left + 120, rect.top + 134);
    };
    EXPECT_EQ(pixel(), 0xFFFF0000u);
    const auto send = [&](UINT message, WPARAM wParam, LPARAM lParam) {
        OnProgram(program, [&] { SendMessageW(control, message, wParam, lParam); });
        ASSERT_TRUE(device->Advance(50));
    };
    // The picture shows the state the runtime holds: down while pressed.
    send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(120, 134));
    EXPECT_EQ(pixel(), 0xFF0000FFu);
    send(WM_LBUTTONUP, 0, MAKELPARAM(120, 134));
    EXPECT_EQ(pixel(), 0xFFFF0000u);
    send(WM_CHAR, 'a', 0);
    send(WM_KEYDOWN, VK_LEFT, 0);
    send(WM_KEYUP, VK_LEFT, 0);
    const sim::Window* window = device->Windows().Find(control);
    ASSERT_NE(window, nullptr);
    const std::string state = window->hostedControl->StateJson();
    EXPECT_NE(state.find("\"trace\":[\"release\",\"a\",\"left\"]"), std::string::npos) << state;
}

TEST_F(MovieControlOnDevice, MissingFileLeavesTheControlAtReadyStateZero) {
    auto program = LaunchWithControl();
    Call(program, swf::dispid::MovieUrl, DISPATCH_PROPERTYPUT,
         {Variant::Text(u"file://\\nowhere.swf")});
    ASSERT_TRUE(device->Advance(500));
    EXPECT_EQ(GetInt(program, swf::dispid::ReadyState), 0);
    EXPECT_EQ(GetInt(program, swf::dispid::TotalFrames), 0);
    Call(program, swf::dispid::Play, DISPATCH_METHOD);
    Call(program, swf::dispid::ScaleMode, DISPATCH_PROPERTYPUT, {Variant::Int(2)});
    EXPECT_EQ(GetInt(program, swf::dispid::ScaleMode), 2);
}

TEST_F(MovieControlOnDevice, LoadsALargeMovieOverHttpWithoutHoldingUpTheProgram) {
    // Some megabytes (the engine's own tests load 20 MB this way).
    const auto large = testmovies::LargeMovie(6);
    httplib::Server server;
    server.Get("/large.swf", [&](const httplib::Request&, httplib::Response& response) {
        response.set_content(reinterpret_cast<const char*>(large.data()), large.size(),
                             "application/x-shockwave-flash");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    ASSERT_GT(port, 0);
    std::thread serverThread([&] { server.listen_after_bind(); });
    for (int wait = 0; wait < 2000 && !server.is_running(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    auto program = LaunchWithControl();
    // A subclass of the control's window asks the control for its ready state
    // after each message it handles, on the program's thread: the states it
    // sees while the movie comes in show the program going on with its
    // messages meanwhile.
    static std::vector<LONG>* seen = nullptr;
    static WNDPROC original = nullptr;
    std::vector<LONG> states;
    seen = &states;
    OnProgram(program, [&] {
        original = reinterpret_cast<WNDPROC>(SetWindowLongW(
            control, GWL_WNDPROC,
            reinterpret_cast<LONG_PTR>(+[](HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) -> LRESULT {
                const LRESULT answer = CallWindowProcW(original, window, message, wParam, lParam);
                Variant result;
                LONG state = -1;
                if (message == swf::MovieControl::WakeMessage && seen != nullptr &&
                    InvokeControl(window, swf::dispid::ReadyState, DISPATCH_PROPERTYGET, {},
                                  &result) == S_OK &&
                    result.ToInt(state) && (seen->empty() || seen->back() != state)) {
                    seen->push_back(state);
                }
                return answer;
            })));
    });
    const std::u16string url = u"http://127.0.0.1:" + text::FromInt(port) + u"/large.swf";
    Call(program, swf::dispid::MovieUrl, DISPATCH_PROPERTYPUT, {Variant::Text(url)});
    const bool loaded =
        device->RunUntil([&] { return !states.empty() && states.back() == 4; }, 60'000);
    EXPECT_TRUE(loaded);
    // The program answered while the movie was still coming in: its thread
    // was never held up by the download.
    ASSERT_GE(states.size(), 2u);
    EXPECT_LT(states.front(), 4);
    EXPECT_EQ(states.back(), 4);
    EXPECT_TRUE(std::is_sorted(states.begin(), states.end()));
    EXPECT_EQ(GetInt(program, swf::dispid::TotalFrames), 6);
    seen = nullptr; // the list goes before the program does
    server.stop();
    serverThread.join();
}

} // namespace

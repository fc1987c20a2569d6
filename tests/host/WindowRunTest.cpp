// vantrel in a window, on a virtual X display that the test starts itself: the
// window shows the device's screen at twice its size inside the frame, and
// closing the window ends the run the way the device closes the player (its
// settings saved). The run has no movie control, so the screen holds still
// while it is compared.
#include "host/WindowRun.h"

#include <cairo.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "ProcessRunner.h"
#include "ToneMovie.h"
#include "host/ChildProcess.h"
#include "host/DeviceFrame.h"
#include "platform/sim/Automation.h"

#include "VirtualDisplay.h"
// Last: it brings Xlib's macros.
#include "XClient.h"

namespace host {
namespace {

using namespace std::chrono_literals;
using testing::VirtualDisplay;
using testing::XClient;

const std::string kVantrel = VANTREL_BINARY_DIR "/vantrel";

// Waits for done() for up to limit.
template <typename Done>
bool WaitFor(Done done, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// Drops a file on target at (x, y) in its coordinates as a file manager
// does, over the drag-and-drop protocol: enter, position, drop, then the
// file's URI handed over through the drag selection. True once the target
// said it finished.
bool DropFile(Display* display, Window target, int x, int y, const std::string& path) {
    const auto atom = [display](const char* name) { return XInternAtom(display, name, False); };
    const Atom selection = atom("XdndSelection");
    const Atom uriList = atom("text/uri-list");
    const Window root = DefaultRootWindow(display);
    const Window source = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, selection, source, CurrentTime);
    const auto send = [&](const char* message, long l1, long l2, long l3, long l4) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = target;
        event.xclient.message_type = atom(message);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(source);
        event.xclient.data.l[1] = l1;
        event.xclient.data.l[2] = l2;
        event.xclient.data.l[3] = l3;
        event.xclient.data.l[4] = l4;
        XSendEvent(display, target, False, NoEventMask, &event);
        XFlush(display);
    };
    // Waits for a client message of that type to the source, answering the
    // target's request for the selection meanwhile.
    const auto await = [&](const char* message) {
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (std::chrono::steady_clock::now() < deadline) {
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.type == ClientMessage && event.xclient.message_type == atom(message)) {
                    return true;
                }
                if (event.type == SelectionRequest) {
                    const XSelectionRequestEvent& request = event.xselectionrequest;
                    const std::string uri = "file://" + path + "\r\n";
                    XChangeProperty(display, request.requestor, request.property, request.target, 8,
                                    PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(uri.data()),
                                    static_cast<int>(uri.size()));
                    XEvent reply{};
                    reply.xselection.type = SelectionNotify;
                    reply.xselection.requestor = request.requestor;
                    reply.xselection.selection = request.selection;
                    reply.xselection.target = request.target;
                    reply.xselection.property = request.property;
                    reply.xselection.time = request.time;
                    XSendEvent(display, request.requestor, False, NoEventMask, &reply);
                    XFlush(display);
                }
            }
            std::this_thread::sleep_for(20ms);
        }
        return false;
    };
    int rootX = 0;
    int rootY = 0;
    Window child = 0;
    XTranslateCoordinates(display, target, root, x, y, &rootX, &rootY, &child);
    send("XdndEnter", 5L << 24, static_cast<long>(uriList), 0, 0);
    send("XdndPosition", 0, (long{rootX} << 16) | rootY, CurrentTime,
         static_cast<long>(atom("XdndActionCopy")));
    const bool accepted = await("XdndStatus");
    send("XdndDrop", 0, CurrentTime, 0, 0);
    const bool finished = accepted && await("XdndFinished");
    XDestroyWindow(display, source);
    XFlush(display);
    return finished;
}

TEST(WindowRun, TheWindowShowsTheDeviceScreenAndClosingItClosesThePlayer) {
    if (!std::filesystem::exists("/usr/bin/Xvfb")) {
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    }
    VirtualDisplay virtualDisplay;
    ASSERT_TRUE(virtualDisplay.Running()) << "cannot start Xvfb";

    sim::TemporaryDirectory scratch;
    const auto device = scratch.Path() / "device";
    const auto shot = scratch.Path() / "device-screen.png";
    const auto journal = scratch.Path() / "journal.jsonl";
    testing::WriteFile(scratch.Path() / "script.txt",
                       std::string("wait 1000\nscreenshot ") + shot.string() + "\n");
    ::setenv("DISPLAY", virtualDisplay.Name().c_str(), 1);
    // In the sanitizer build the window process does not check for leaks:
    // SDL loads the window system's libraries at run time and unloads them
    // on the way out, so what they keep for the process's life cannot be told
    // from a leak of ours. The headless runs check the rest of vantrel.
    const char* const sanitizerOptions = std::getenv("ASAN_OPTIONS");
    const bool hadSanitizerOptions = sanitizerOptions != nullptr;
    const std::string savedSanitizerOptions = hadSanitizerOptions ? sanitizerOptions : "";
    ::setenv("ASAN_OPTIONS", (savedSanitizerOptions + ":detect_leaks=0").c_str(), 1);
    auto started = ChildProcess::Start(kVantrel, {"--device", device.string(), "--no-control",
                                                  "--state", (scratch.Path() / "end.json").string(),
                                                  "--journal", journal.string(), "--script",
                                                  (scratch.Path() / "script.txt").string()});
    ::unsetenv("DISPLAY");
    if (hadSanitizerOptions) {
        ::setenv("ASAN_OPTIONS", savedSanitizerOptions.c_str(), 1);
    } else {
        ::unsetenv("ASAN_OPTIONS");
    }
    ASSERT_TRUE(started) << started.GetError().message;
    std::unique_ptr<ChildProcess> vantrel = std::move(started).Value();

    // The screenshot through the host comes after a second of the run.
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(shot) || vantrel->Poll(); }, 30s));
    ASSERT_FALSE(vantrel->Poll()) << "vantrel ended early";

    XClient client(virtualDisplay.Name());
    ASSERT_TRUE(client.Connected());
    Display* const display = client.Get();
    Window window = client.AwaitNamedWindow("Vantrel", 10s);
    ASSERT_NE(window, 0u) << "no window named Vantrel";
    const DeviceFrame frame(240, 320, 96, 2);
    XWindowAttributes attributes;
    ASSERT_NE(XGetWindowAttributes(display, window, &attributes), 0);
    EXPECT_EQ(attributes.width, frame.Width());
    EXPECT_EQ(attributes.height, frame.Height());

    // The window's screen area is the device's screen, each pixel doubled
    // (below the task bar, whose clock may have moved on meanwhile).
    cairo_surface_t* expected = cairo_image_surface_create_from_png(shot.c_str());
    ASSERT_EQ(cairo_surface_status(expected), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_width(expected), 240);
    const auto* pixels =
        reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(expected));
    const int stride = cairo_image_surface_get_stride(expected) / 4;
    bool matched = false;
    for (int attempt = 0; attempt < 20 && !matched; ++attempt) {
        const auto image = client.Capture(window, "Vantrel", frame.Width(), frame.Height(), 10s);
        ASSERT_NE(image, nullptr) << "the window cannot be read";
        int mismatches = 0;
        int compared = 0;
        for (int y = 30; y < 320; y += 3) {
            for (int x = 0; x < 240; x += 3) {
                const std::uint32_t want = pixels[y * stride + x] & 0xFFFFFF;
                for (int d = 0; d < 4; ++d) {
                    const unsigned long got =
                        XGetPixel(image.get(), frame.ScreenArea().x + 2 * x + d % 2,
                                  frame.ScreenArea().y + 2 * y + d / 2) &
                        0xFFFFFF;
                    mismatches += got != want;
                    ++compared;
                }
            }
        }
        matched = compared > 30'000 && mismatches == 0;
        if (!matched) {
            std::this_thread::sleep_for(100ms);
        }
    }
    cairo_surface_destroy(expected);
    EXPECT_TRUE(matched) << "the window does not show the device's screen";

    // How many calls of that name the device has journaled so far.
    const auto journaled = [&](const std::string& call) {
        int count = 0;
        std::istringstream lines(testing::ReadFile(journal));
        for (std::string line; std::getline(lines, line);) {
            const auto entry = nlohmann::json::parse(line, nullptr, false);
            count += entry.is_object() && entry["call"] == call;
        }
        return count;
    };
    // Clicks as a window system delivers them: the mouse is the stylus on the
    // screen, and the frame's buttons are the handheld's. Each click waits
    // for the call of the device that it leads to.
    auto click = [&](int x, int y, const std::string& leadsTo) {
        const int before = journaled(leadsTo);
        // The pointer moves to the point first: a window system reports a
        // press where the pointer is.
        XWarpPointer(display, None, window, 0, 0, 0, 0, x, y);
        XSync(display, False);
        for (const int type : {ButtonPress, ButtonRelease}) {
            XEvent event{};
            event.xbutton.type = type;
            event.xbutton.window = window;
            event.xbutton.root = DefaultRootWindow(display);
            event.xbutton.button = Button1;
            event.xbutton.x = x;
            event.xbutton.y = y;
            event.xbutton.same_screen = True;
            event.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
            XSendEvent(display, window, True,
                       type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &event);
            XSync(display, False);
        }
        EXPECT_TRUE(WaitFor([&] { return journaled(leadsTo) > before; }, 30s))
            << "a click at " << x << ", " << y << " did not lead to " << leadsTo;
    };
    // The message box's OK soft key, at the left of the bar along the bottom
    // (its hot keys are the player's again once the box is gone)...
    click(frame.ScreenArea().x + 2 * 20, frame.ScreenArea().y + 2 * 307, "MessageBoxW");
    // ...then APP1, which turns full screen on.
    for (int y = 0; y < frame.Height(); ++y) {
        int x = 0;
        while (x < frame.Width() && frame.HitTest(x, y).button != DeviceButton::App1) {
            ++x;
        }
        if (x < frame.Width()) {
            click(x + 4, y + 4, "SHFullScreen");
            break;
        }
    }

    // A movie dropped on the window is opened as the shell opens an
    // associated file: another launch, which hands it to the running player
    // and ends with -1.
    const auto dropped = scratch.Path() / "dropped.swf";
    testing::WriteFile(dropped, "FWS");
    EXPECT_TRUE(DropFile(display, window, frame.ScreenArea().x + 240, frame.ScreenArea().y + 320,
                         dropped.string()))
        << "the window did not take the drop";
    const auto droppedLaunchEnded = [&] {
        std::istringstream lines(testing::ReadFile(journal));
        for (std::string line; std::getline(lines, line);) {
            const auto entry = nlohmann::json::parse(line, nullptr, false);
            if (entry.is_object() && entry["call"] == "launch" &&
                entry["args"] == nlohmann::json::array({dropped.string()}) &&
                entry["result"] == 255) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(WaitFor(droppedLaunchEnded, 60s)) << testing::ReadFile(journal);

    // Closing the window, as a window manager asks a client to.
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &close);
    XFlush(display);
    EXPECT_EQ(client.TakeErrors(), 0) << "a request to the window failed";

    std::optional<int> exitCode;
    ASSERT_TRUE(WaitFor([&] { return (exitCode = vantrel->Poll()).has_value(); }, 30s));
    EXPECT_EQ(*exitCode, 0);
    const auto state =
        nlohmann::json::parse(testing::ReadFile(scratch.Path() / "end.json"), nullptr, false);
    EXPECT_TRUE(state["messageBoxes"].empty()) << "the tap on OK did not reach the device";
    EXPECT_EQ(state["taskbarVisible"], false) << "APP1 did not reach the player";
    // The player was closed as the device closes it: its settings were saved.
    EXPECT_TRUE(std::filesystem::exists(device / "storage" / "Program Files" / "Vantrel" /
                                        "Vantrel.exe.cfg"));
}

// The window's speaker is SDL audio: under the virtual display, SDL's disk
// driver stands in for a sound card and keeps what it was fed; with no
// driver SDL can open, the device has no sound card and the movie plays
// silently.
TEST(WindowRun, TheWindowFeedsSdlAudioAndPlaysSilentlyWithoutASoundCard) {
    if (!std::filesystem::exists("/usr/bin/Xvfb")) {
        GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    }
    VirtualDisplay virtualDisplay;
    ASSERT_TRUE(virtualDisplay.Running()) << "cannot start Xvfb";
    sim::TemporaryDirectory scratch;
    const auto movie = scratch.Path() / "tone.swf";
    testing::WriteFile(movie, testing::ToneMovie(1.0));
    const auto run = [&](const std::string& driver, const std::string& name) {
        testing::ProcessOptions options;
        options.environment = {"DISPLAY=" + virtualDisplay.Name(), "SDL_AUDIODRIVER=" + driver,
                               "SDL_DISKAUDIOFILE=" + (scratch.Path() / "speaker.raw").string(),
                               "ASAN_OPTIONS=detect_leaks=0"};
        return testing::RunProcess(kVantrel,
                                   {"--device", (scratch.Path() / name).string(), "--run-for",
                                    "2000", "--state", (scratch.Path() / (name + ".json")).string(),
                                    "--", movie.string()},
                                   options);
    };

    const auto played = run("disk", "device");
    ASSERT_EQ(played.exitCode, 0) << played.err;
    const auto heard =
        testing::Listen(tones::Samples(testing::ReadFile(scratch.Path() / "speaker.raw")));
    ASSERT_TRUE(heard) << "SDL's audio device was fed nothing but silence";
    // A busy host may let the speaker run dry for a moment; what it was fed
    // between such moments is the tone.
    EXPECT_GT(heard->unbrokenFrames, 4410u);
    EXPECT_NEAR(heard->hertz, 440.0, 1.0);

    const auto silent = run("no-such-driver", "quiet");
    ASSERT_EQ(silent.exitCode, 0) << silent.err;
    EXPECT_NE(silent.err.find("playing silently"), std::string::npos) << silent.err;
    const auto state =
        nlohmann::json::parse(testing::ReadFile(scratch.Path() / "quiet.json"), nullptr, false);
    EXPECT_EQ(state["movie"]["playing"], true);
    EXPECT_EQ(state["movie"]["readyState"], 4);
}

} // namespace
} // namespace host

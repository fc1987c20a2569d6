#include "host/WindowRun.h"

#include <algorithm>
#include <cstdlib>

#include "host/DeviceButtons.h"
#include "host/JournalFile.h"
#include "host/ScriptRunner.h"
#include "host/SdlLibrary.h"
#include "host/Session.h"
#include "host/WindowKeys.h"
#include "platform/Text.h"
#include "platform/sim/Screen.h"

namespace host {
namespace {

// One frame of the window, in milliseconds: the device runs between frames.
constexpr sim::DeviceTime kFrameTime = 16;

std::string SdlError(const char* what) {
    return std::string(what) + ": " + Sdl()->GetError();
}

} // namespace

bool DisplayNamed() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

DeviceWindow::DeviceWindow(const DeviceProfile& deviceProfile, int windowZoom)
    : profile(deviceProfile),
      zoom(windowZoom > 0 ? windowZoom
                          : DeviceFrame::DefaultZoom(profile.screenWidth, profile.screenHeight)),
      frame(profile.screenWidth, profile.screenHeight, profile.dpi, zoom) {}

Result<std::unique_ptr<DeviceWindow>> DeviceWindow::Open(const DeviceProfile& profile, int zoom) {
    auto deviceWindow = std::make_unique<DeviceWindow>(profile, zoom);
    const SdlLibrary* const sdl = deviceWindow->sdl;
    if (sdl == nullptr) {
        return Error{std::string("cannot open a window: ") + SdlLoadError(), 0};
    }
    if (sdl->InitSubSystem(SDL_INIT_VIDEO) != 0) {
        return Error{SdlError("cannot open a window"), 0};
    }
    deviceWindow->videoStarted = true;
    std::string error;
    if (!deviceWindow->CreateSurfaces(error)) {
        return Error{error, 0};
    }
    return deviceWindow;
}

DeviceWindow::~DeviceWindow() {
    if (texture != nullptr) {
        sdl->DestroyTexture(texture);
    }
    if (renderer != nullptr) {
        sdl->DestroyRenderer(renderer);
    }
    if (window != nullptr) {
        sdl->DestroyWindow(window);
    }
    if (videoStarted) {
        sdl->QuitSubSystem(SDL_INIT_VIDEO);
    }
}

bool DeviceWindow::CreateSurfaces(std::string& error) {
    if (window == nullptr) {
        // The window is shown only once it has its renderer: a renderer that
        // draws through OpenGL makes SDL destroy a window made without it and
        // create another, and a shown window would flash up and go away
        // under the window system's eyes (its id with it).
        window = sdl->CreateWindow("Vantrel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   frame.Width(), frame.Height(), SDL_WINDOW_HIDDEN);
        if (window == nullptr) {
            error = SdlError("cannot open a window");
            return false;
        }
        renderer = sdl->CreateRenderer(window, -1, 0);
        if (renderer == nullptr) {
            error = SdlError("cannot draw in the window");
            return false;
        }
        sdl->ShowWindow(window);
    }
    if (texture != nullptr) {
        sdl->DestroyTexture(texture);
    }
    // cairo's ARGB32 is SDL's ARGB8888: 32-bit pixels, alpha in the top byte.
    texture = sdl->CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 frame.Width(), frame.Height());
    if (texture == nullptr) {
        error = SdlError("cannot draw in the window");
        return false;
    }
    image = std::make_unique<sim::Canvas>(frame.Width(), frame.Height());
    return true;
}

void DeviceWindow::FitScreen(int width, int height) {
    if (width == frame.ScreenWidth() && height == frame.ScreenHeight()) {
        return;
    }
    frame = DeviceFrame(width, height, profile.dpi, zoom);
    sdl->SetWindowSize(window, frame.Width(), frame.Height());
    std::string error;
    CreateSurfaces(error);
}

void DeviceWindow::PressButton(Session& session, DeviceButton button) {
    if (std::find(pressed.begin(), pressed.end(), button) != pressed.end()) {
        return;
    }
    pressed.push_back(button);
    DeviceButtonDown(session.Automation(), button);
}

void DeviceWindow::ReleaseButton(Session& session, DeviceButton button) {
    const auto it = std::find(pressed.begin(), pressed.end(), button);
    if (it == pressed.end()) {
        return;
    }
    pressed.erase(it);
    DeviceButtonUp(session.Automation(), button);
}

bool DeviceWindow::HandleEvent(const SDL_Event& event, Session& session,
                               const LaunchPlan& launchPlan) {
    sim::Automation& automation = session.Automation();
    switch (event.type) {
    case SDL_QUIT:
        return false;
    case SDL_WINDOWEVENT:
        return event.window.event != SDL_WINDOWEVENT_CLOSE;
    case SDL_MOUSEBUTTONDOWN: {
        if (event.button.button != SDL_BUTTON_LEFT) {
            break;
        }
        const FrameHit hit = frame.HitTest(event.button.x, event.button.y);
        if (hit.screenPoint) {
            stylusDown = true;
            sdl->CaptureMouse(SDL_TRUE);
            automation.StylusDown(*hit.screenPoint);
        } else if (hit.button) {
            mouseButton = hit.button;
            PressButton(session, *hit.button);
        }
        break;
    }
    case SDL_MOUSEMOTION:
        if (stylusDown) {
            automation.StylusMove(frame.ClampToScreen(event.motion.x, event.motion.y));
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (event.button.button != SDL_BUTTON_LEFT) {
            break;
        }
        if (stylusDown) {
            stylusDown = false;
            sdl->CaptureMouse(SDL_FALSE);
            automation.StylusUp(frame.ClampToScreen(event.button.x, event.button.y));
        }
        if (mouseButton) {
            ReleaseButton(session, *mouseButton);
            mouseButton.reset();
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = event.type == SDL_KEYDOWN;
        const SDL_Keycode code = event.key.keysym.sym;
        if (code == SDLK_LCTRL || code == SDLK_RCTRL) {
            controlHeld = down;
        }
        if (event.key.repeat != 0) {
            break;
        }
        const auto key = MapWindowKey(code, controlHeld);
        if (!key) {
            break;
        }
        if (key->button) {
            down ? PressButton(session, *key->button) : ReleaseButton(session, *key->button);
        } else if (down) {
            automation.KeyDown(key->key);
        } else {
            automation.KeyUp(key->key);
        }
        break;
    }
    case SDL_TEXTINPUT:
        if (!controlHeld) {
            automation.TypeText(text::FromUtf8(event.text.text));
        }
        break;
    case SDL_DROPFILE: {
        const std::string path = event.drop.file != nullptr ? event.drop.file : "";
        sdl->free(event.drop.file);
        if (path.empty()) {
            break;
        }
        auto child = ChildProcess::Start(launchPlan.executable, launchPlan.ArgumentsFor(path));
        if (child) {
            dropped.push_back(Dropped{std::move(child).Value(), path});
        } else {
            session.Device().ReportProblem(child.GetError().message);
        }
        break;
    }
    default:
        break;
    }
    return true;
}

void DeviceWindow::Present(Session& session) {
    const auto screen = session.Device().GetScreen().Compose();
    {
        sim::CairoContext cairo(image->Surface());
        frame.Draw(cairo, screen->Surface(), pressed);
    }
    cairo_surface_flush(image->Surface());
    sdl->UpdateTexture(texture, nullptr, cairo_image_surface_get_data(image->Surface()),
                       cairo_image_surface_get_stride(image->Surface()));
    sdl->RenderClear(renderer);
    sdl->RenderCopy(renderer, texture, nullptr, nullptr);
    sdl->RenderPresent(renderer);
}

RunEnd DeviceWindow::Run(Session& session, ScriptRunner* script, const RunLimits& limits,
                         JournalFile* journal, const LaunchPlan& launchPlan) {
    sim::Device& device = session.Device();
    const auto playerEnded = [&session] { return session.PlayerEnded(); };
    sdl->StartTextInput();
    device.RunUntilIdle();
    for (;;) {
        SDL_Event event;
        while (sdl->PollEvent(&event) != 0) {
            if (!HandleEvent(event, session, launchPlan)) {
                return RunEnd::WindowClosed;
            }
        }
        for (auto it = dropped.begin(); it != dropped.end();) {
            if (const auto exitCode = it->child->Poll()) {
                JournalLaunch(device, *it->child, it->commandLine, *exitCode);
                it = dropped.erase(it);
            } else {
                ++it;
            }
        }
        if (const auto end = StepRun(session, script, limits, journal)) {
            return *end;
        }
        FitScreen(device.ScreenWidth(), device.ScreenHeight());
        sim::DeviceTime step = kFrameTime;
        if (limits.endAt) {
            const sim::DeviceTime now = device.Now();
            step = std::min(step, *limits.endAt > now ? *limits.endAt - now : 0);
        }
        device.RunUntil(playerEnded, step);
        Present(session);
    }
}

} // namespace host

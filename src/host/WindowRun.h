// The run in a window: an SDL2 window showing the device's screen in its
// frame, on the wall clock. The mouse is the stylus (holding it still is a
// tap-and-hold, which the device itself recognises), the frame's buttons and
// the keyboard are the handheld's, a file dropped on the window is opened the
// way the shell opens an associated file (another launch, handed over to the
// running player), and closing the window ends the run.
#pragma once

#include <SDL.h>

#include <memory>
#include <vector>

#include "host/ChildProcess.h"
#include "host/DeviceFrame.h"
#include "host/DeviceSetup.h"
#include "host/HeadlessRun.h"
#include "host/SdlLibrary.h"
#include "platform/Result.h"
#include "platform/sim/Canvas.h"

namespace host {

// A display is named in the environment (DISPLAY or WAYLAND_DISPLAY).
bool DisplayNamed();

class DeviceWindow {
public:
    // zoom 0 picks the frame's default for the screen.
    static Result<std::unique_ptr<DeviceWindow>> Open(const DeviceProfile& profile, int zoom);
    DeviceWindow(const DeviceProfile& profile, int zoom);
    ~DeviceWindow();
    DeviceWindow(const DeviceWindow&) = delete;
    DeviceWindow& operator=(const DeviceWindow&) = delete;

    // Runs until the window is closed, the player ends, the time is up or the
    // script fails. script and journal may be null.
    RunEnd Run(Session& session, ScriptRunner* script, const RunLimits& limits,
               JournalFile* journal, const LaunchPlan& launchPlan);

private:
    bool CreateSurfaces(std::string& error);
    // Follows the device's screen when the display turns.
    void FitScreen(int width, int height);
    // False when the window was closed.
    bool HandleEvent(const SDL_Event& event, Session& session, const LaunchPlan& launchPlan);
    void Present(Session& session);
    void PressButton(Session& session, DeviceButton button);
    void ReleaseButton(Session& session, DeviceButton button);

    // Loaded with the first window.
    const SdlLibrary* sdl = Sdl();
    DeviceProfile profile;
    int zoom;
    DeviceFrame frame;
    bool videoStarted = false;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    std::unique_ptr<sim::Canvas> image;

    bool stylusDown = false;
    // Buttons held down by the mouse or the keyboard.
    std::vector<DeviceButton> pressed;
    std::optional<DeviceButton> mouseButton;
    bool controlHeld = false;

    struct Dropped {
        std::unique_ptr<ChildProcess> child;
        std::string commandLine;
    };
    std::vector<Dropped> dropped;
};

} // namespace host

// The player's application object: from launch to a shown main window with
// the command line's movie loading, one player per device (a second launch
// hands its movie to the running player and ends with -1), and the end of the
// process when the main window closes.
#pragma once

#include "app/SingleInstance.h"
#include "framework/Application.h"

namespace player {

class CPlayerApp : public framework::Application {
public:
    // The exit code of a launch that handed its movie to the running player.
    static constexpr int kHandedOver = -1;

    CPlayerApp() = default;
    ~CPlayerApp() override;

protected:
    bool InitApplication() override;
    bool InitInstance() override;
    const framework::MessageTable& Messages() const override;

private:
    void OnAppAbout();
    void OnFileOpen();

    SingleInstance singleInstance;
    bool socketsStarted = false;
};

// The program's entry: the application object run on the device's module and
// command line. Returns the exit code.
int PlayerMain(HINSTANCE instance, LPWSTR commandLine);

} // namespace player

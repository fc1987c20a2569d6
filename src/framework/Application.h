// The application object: the program's start-up hooks, its command line, its
// main window, the message loop and the exit code, and the last command table
// of the routing.
//
// The device starts a program at an entry function with its module and its
// command line; the program's entry hands both to RunProgram with its
// application object:
//     int ProgramMain(HINSTANCE instance, LPWSTR commandLine) {
//         CMyApp app;
//         return framework::RunProgram(app, instance, commandLine);
//     }
#pragma once

#include <memory>
#include <string>

#include "framework/FrameWindow.h"
#include "framework/MessageTable.h"
#include "platform/Messages.h"

namespace framework {

class Application : public CommandTarget {
public:
    // The exit code of a start-up that failed without saying which code.
    static constexpr int kStartupFailed = -1;

    Application() = default;
    ~Application() override;

    // The program's module.
    HINSTANCE Instance() const { return instance; }
    // The command line as the device gave it: the text after the program's
    // name, unchanged (no quotes removed, no blanks trimmed).
    const std::u16string& CommandLine() const { return commandLine; }
    // The title of the program's message boxes: its module's name ("Vantrel").
    const std::u16string& Title() const { return title; }

    // The main window, or null. The object lives as long as its window (or,
    // when its window never came, as long as the application).
    FrameWindow* MainWindow() const { return mainWindow; }
    // Makes frame the main window. The application keeps it until the frame's
    // window is loaded; from then on the frame belongs to its window and is
    // released after the window's last message. Returns the frame.
    template <class Frame>
    Frame& SetMainWindow(std::unique_ptr<Frame> frame) {
        Frame& adopted = *frame;
        AdoptMainWindow(std::unique_ptr<FrameWindow>(std::move(frame)));
        return adopted;
    }

    // Lets the program's windows host controls created by class id.
    bool EnableControlHosting();

    // The application's own table: the last stop of command routing.
    virtual bool RouteCommand(const Message& command);

    // The code of the quit message that ended the loop.
    int QuitCode() const { return quitCode; }

protected:
    // The early initialisation, before anything else of the program's own:
    // false ends the program (see InitInstance).
    virtual bool InitApplication() { return true; }
    // Instance start-up: true runs the message loop. False ends the program
    // at once, without a loop, with the code EndStartup gave (kStartupFailed
    // when none).
    virtual bool InitInstance() { return true; }
    // After the message loop: the process exit code; the quit code unless an
    // override says otherwise.
    virtual int ExitInstance() { return quitCode; }

    // Ends start-up with exitCode instead of running the message loop. Returns
    // false, for InitInstance to return.
    bool EndStartup(int exitCode);

    // A queued message before it is translated and dispatched: offered to the
    // framework windows from its window up to the top-level window, then to
    // the main window; true when one used it up.
    virtual bool PreTranslateMessage(MSG& message);

private:
    friend int RunProgram(Application& application, HINSTANCE instance, LPWSTR commandLine);
    friend class FrameWindow;

    void AdoptMainWindow(std::unique_ptr<FrameWindow> frame);
    // The frame's window exists now: the frame belongs to it from here on.
    void HandMainWindowToItsWindow(FrameWindow& frame);
    void ForgetMainWindow(const FrameWindow& frame);
    int Run();
    void CloseMainWindow();

    HINSTANCE instance = nullptr;
    std::u16string commandLine;
    std::u16string title;
    FrameWindow* mainWindow = nullptr;
    // The main window while its window does not exist yet.
    std::unique_ptr<FrameWindow> pendingMainWindow;
    int startupExitCode = kStartupFailed;
    int quitCode = 0;
};

// Runs the program: the early initialisation, instance start-up, the message
// loop until the quit message, and the exit handling. Returns the process exit
// code: ExitInstance's (the quit code by default), or the start-up's code when
// start-up ended the program.
int RunProgram(Application& application, HINSTANCE instance, LPWSTR commandLine);

} // namespace framework

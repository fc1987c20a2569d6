// A small program built on the framework, for the framework's tests: an
// application, a frame with a view, a command bar, a subclassed edit, a
// superclassed slider and a form dialog. It writes what it does into a log
// that the test reads while the device is idle (the program runs only while
// the test waits in a run call, so no locks are needed).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ControlHost.h"
#include "platform/WinTypes.h"

namespace testprogram {

// The members of the form dialog.
struct FormValues {
    std::u16string name;
    int count = 0;
    int shown = 0;
    int flag = 0;
    int listIndex = -1;
    int choiceIndex = -1;

    bool operator==(const FormValues&) const = default;
};

// What the program is asked to do at start-up and exit.
struct Behaviour {
    enum class Startup {
        Run,
        // InitApplication returns false.
        FailApplication,
        // InitInstance ends start-up with startupCode.
        EndStartup,
        // InitInstance returns false without a code.
        FailInstance,
        // The frame's creation handler fails.
        FailFrameCreation,
    };
    Startup startup = Startup::Run;
    int startupCode = 0;
    // The code Exit posts after destroying the frame.
    int exitCode = 0;
    // The form's members before it runs.
    FormValues formPreset{u"ab", 4, 77, 1, 1, 2};
};

struct ProgramLog {
    std::vector<std::string> events;
    std::u16string commandLine;
    HWND frame = nullptr;
    HWND view = nullptr;
    HWND bar = nullptr;
    HWND edit = nullptr;
    HWND slider = nullptr;
    HWND label = nullptr;
    HWND control = nullptr;
    HWND form = nullptr;
    HWND formBar = nullptr;
    HMENU lastPopup = nullptr;
    bool frameLoaded = false;
    bool frameReleased = false;
    bool formEnded = false;
    INT_PTR formResult = 0;
    FormValues formValues;
    int messageBoxResult = 0;
    // Stylus presses that reached the hosted control's own procedure.
    int controlTaps = 0;

    bool Has(std::string_view event) const;
    // How many times the event was logged.
    int Count(std::string_view event) const;
    // The events joined by ", ", for failure messages.
    std::string Joined() const;
};

// A control for the device's control host that counts the presses it gets;
// the test program's view hosts one and subclasses its window.
inline constexpr char16_t kTapCounterClassId[] = u"{0B5A7E3C-1D2F-4A6B-9C8D-7E6F5A4B3C2D}";
HostedControlFactory TapCounterFactory(ProgramLog& log);

// The program's entry, as the device calls it.
std::function<int(HINSTANCE, LPWSTR)> Entry(ProgramLog& log, Behaviour behaviour = {});

} // namespace testprogram

// A fresh simulated handheld in a temporary directory with the player
// installed on it, and a user's actions: taps on the menu bar, its menus and
// the toolbar, holds, hardware buttons, keys and typed text, each followed by
// a run of the device; the clock moves on only when a test says so.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/Automation.h"
#include "platform/sim/Device.h"
#include "platform/sim/PopupMenu.h"
#include "playertest/TestControl.h"

// Rectangles compare and print in the tests' messages.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& rect, std::ostream* out) {
    *out << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom
         << "}";
}

namespace playertest {

inline constexpr char16_t kProgramPath[] = u"\\Program Files\\Vantrel\\Vantrel.exe";
inline constexpr char16_t kSettingsPath[] = u"\\Program Files\\Vantrel\\Vantrel.exe.cfg";
inline constexpr char16_t kHandoffPath[] = u"\\A347BD5F-BAD90-46785.txt";

struct DeviceSpec {
    int width = 240;
    int height = 320;
    int pixelsPerInch = 96;
    // The device refuses to start the sockets layer.
    bool failSockets = false;
    // The power manager refuses every requirement.
    bool refuseRequirements = false;
};

class PlayerFixture : public ::testing::Test {
protected:
    explicit PlayerFixture(DeviceSpec spec = {});
    ~PlayerFixture() override;

    // Installs the test control (unless told not to) and launches the player
    // with the command line, then runs until it waits, still starting (it
    // waits 50 ms before it loads the command line's movie).
    sim::Program& LaunchPlayer(std::u16string commandLine = {}, bool withControl = true);
    // The same, and on until start-up is over: the command line's movie
    // loaded and the first status tick done.
    sim::Program& StartPlayer(std::u16string commandLine = {}, bool withControl = true);
    // Launches another player on the same device, without settling.
    sim::Program& LaunchAnother(std::u16string commandLine);

    // Runs work in a short program of its own on the device (another program
    // changing the display or the volume, say) and lets it end.
    void RunOnDevice(std::function<void()> work);

    // Lets the device run until every program waits.
    void Settle();
    // Moves the clock on, running what falls due.
    void Advance(sim::DeviceTime ms);
    // Status ticks: 50 ms each.
    void Ticks(int count = 1) { Advance(50 * static_cast<sim::DeviceTime>(count)); }

    // The player's windows (null when there is none).
    HWND Frame() const;
    HWND View() const;
    HWND Control() const;
    HWND Child(int id) const;
    // The frame's two menu bars: the one with the toolbar buttons and the
    // plain one.
    HWND ToolbarBar() const;
    HWND PlainBar() const;
    // The menu bar now shown.
    HWND VisibleBar() const;
    // The open popup menus, newest first.
    std::vector<HWND> Popups() const;
    // The rows of the popup in front.
    std::vector<sim::PopupMenuRow> FrontPopupRows() const;
    // Whether the row with that text in the popup in front is checked.
    bool RowChecked(std::u16string_view text) const;
    // Closes every open popup with a tap outside them.
    void DismissPopups();
    // The dialog or message box in front, or null.
    HWND Dialog() const;
    bool IsVisible(HWND window) const;
    RECT ScreenRect(HWND window) const;
    RECT ClientRect(HWND window) const;

    // User actions.
    void Tap(POINT screenPoint);
    void TapWindow(HWND window);
    // A soft key or a toolbar button of the menu bar now shown.
    void TapBarButton(int command);
    // Opens the "Menu" soft key and taps the items along the path, submenus
    // first ({u"Screen", u"Toggle Fullscreen"}).
    void ChooseMenu(std::initializer_list<std::u16string_view> path);
    // Taps an item of the popup in front.
    void ChoosePopupItem(std::u16string_view text);
    // A tap-and-hold long enough for the shell to take it as one.
    void HoldOn(POINT screenPoint);
    void Press(sim::HardwareButton button);
    void Type(std::u16string_view text);
    void PressKey(BYTE key, UINT modifiers = 0);

    // The Open dialog.
    void TapDialogSoftKey(int command);
    // Opens a location through the Open dialog as a user types it; slides
    // checks the dialog's hidden "Open as Presentation Slides" box first, as
    // nothing in the dialog itself can. Returns the URL the control got.
    std::string OpenLocation(std::u16string_view location, bool slides = false);
    // Opens a movie of that stage, made by the SWF writer, through the dialog.
    void OpenMovieOfStage(int width, int height, bool slides = false);

    // The power requirements the device holds.
    std::size_t HeldRequirements() const;

    // The journal.
    std::vector<sim::JournalEntry> Journal() const;
    std::vector<sim::JournalEntry> Calls(std::string_view call) const;
    // Marks the journal's end, for CallsSince.
    std::size_t Mark() const;
    std::vector<sim::JournalEntry> Since(std::size_t mark) const;
    // Only the calls named, in order.
    static std::vector<sim::JournalEntry> Only(const std::vector<sim::JournalEntry>& entries,
                                               std::initializer_list<std::string_view> calls);
    static std::vector<std::string> Names(const std::vector<sim::JournalEntry>& entries);

    // Files of the device.
    std::filesystem::path HostPath(const std::u16string& devicePath) const;
    void WriteFile(const std::u16string& devicePath, const std::vector<std::uint8_t>& bytes) const;
    void WriteText(const std::u16string& devicePath, const std::string& text) const;
    bool FileExists(const std::u16string& devicePath) const;
    std::string ReadText(const std::u16string& devicePath) const;
    // How often the player opened the file for writing (or created it).
    int WritesOf(const std::u16string& devicePath, std::size_t sinceMark = 0) const;
    // How often a file written whole took the settings file's place.
    int SettingsSaves(std::size_t sinceMark = 0) const;

    // Everything that helps explain a failure.
    std::string Report() const;

    sim::TemporaryDirectory directory;
    std::unique_ptr<sim::Device> device;
    std::unique_ptr<sim::Automation> automation;
    std::shared_ptr<ControlScript> control = std::make_shared<ControlScript>();
    sim::Program* player = nullptr;
    // Where the player is installed on the device.
    std::u16string programPath = kProgramPath;
};

} // namespace playertest

#include "playertest/PlayerFixture.h"

#include <fstream>
#include <iterator>

#include "app/PlayerApp.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/PopupMenu.h"
#include "platform/sim/SystemServices.h"
#include "resources/ProgramResources.h"
#include "resources/resource.h"
#include "swfwriter/MovieWriter.h"

namespace playertest {
namespace {

POINT Centre(const RECT& rect) {
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

RECT OnScreen(HWND window, RECT rect) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return RECT{rect.left + origin.x, rect.top + origin.y, rect.right + origin.x,
                rect.bottom + origin.y};
}

LRESULT ButtonCount(HWND bar) {
    return bar != nullptr ? SendMessageW(bar, TB_BUTTONCOUNT, 0, 0) : 0;
}

} // namespace

PlayerFixture::PlayerFixture(DeviceSpec spec) {
    sim::DeviceConfig config;
    config.directory = directory.Path();
    config.screenWidth = spec.width;
    config.screenHeight = spec.height;
    config.pixelsPerInch = spec.pixelsPerInch;
    config.services.failSocketStartup = spec.failSockets;
    config.services.power.refuseRequirements = spec.refuseRequirements;
    device = std::make_unique<sim::Device>(config);
    automation = std::make_unique<sim::Automation>(*device);
}

PlayerFixture::~PlayerFixture() {
    automation.reset();
    device.reset();
}

sim::Program& PlayerFixture::LaunchPlayer(std::u16string commandLine, bool withControl) {
    if (withControl) {
        InstallTestControl(control);
    }
    player = &LaunchAnother(std::move(commandLine));
    Settle();
    return *player;
}

sim::Program& PlayerFixture::StartPlayer(std::u16string commandLine, bool withControl) {
    LaunchPlayer(std::move(commandLine), withControl);
    Advance(50);
    return *player;
}

sim::Program& PlayerFixture::LaunchAnother(std::u16string commandLine) {
    sim::ProgramImage image;
    image.modulePath = programPath;
    image.resources = resources::ProgramResources();
    image.entry = &player::PlayerMain;
    return device->Launch(image, std::move(commandLine));
}

void PlayerFixture::RunOnDevice(std::function<void()> work) {
    sim::ProgramImage image;
    image.modulePath = u"\\Windows\\helper.exe";
    image.entry = [work](HINSTANCE, LPWSTR) {
        work();
        return 0;
    };
    sim::Program& program = device->Launch(image, u"");
    Settle();
    EXPECT_TRUE(program.Finished()) << Report();
}

void PlayerFixture::Settle() {
    EXPECT_TRUE(device->RunUntilIdle()) << Report();
}

void PlayerFixture::Advance(sim::DeviceTime ms) {
    EXPECT_TRUE(device->Advance(ms)) << Report();
}

HWND PlayerFixture::Frame() const {
    if (player == nullptr) {
        return nullptr;
    }
    for (HWND window : automation->FindWindows(sim::WindowQuery().Text(u"Vantrel"))) {
        const auto info = automation->Describe(window);
        // The frame is the window with the view in it (a message box at
        // start-up has the same title).
        if (info && info->parent == nullptr && info->owner == nullptr &&
            info->pid == player->Pid() &&
            automation->FindWindow(sim::WindowQuery().Within(window).Id(ID_PLAYER_VIEW)) !=
                nullptr) {
            return window;
        }
    }
    return nullptr;
}

HWND PlayerFixture::View() const {
    return Child(ID_PLAYER_VIEW);
}

HWND PlayerFixture::Control() const {
    return Child(ID_MOVIE_CONTROL);
}

HWND PlayerFixture::Child(int id) const {
    const HWND frame = Frame();
    return frame != nullptr ? automation->FindWindow(sim::WindowQuery().Within(frame).Id(id))
                            : nullptr;
}

HWND PlayerFixture::ToolbarBar() const {
    const HWND frame = Frame();
    for (HWND bar : automation->FindWindows(sim::WindowQuery().Class(sim::kMenuBarClass))) {
        const auto info = automation->Describe(bar);
        if (info && info->owner == frame && ButtonCount(bar) > 2) {
            return bar;
        }
    }
    return nullptr;
}

HWND PlayerFixture::PlainBar() const {
    const HWND frame = Frame();
    for (HWND bar : automation->FindWindows(sim::WindowQuery().Class(sim::kMenuBarClass))) {
        const auto info = automation->Describe(bar);
        if (info && info->owner == frame && ButtonCount(bar) == 2) {
            return bar;
        }
    }
    return nullptr;
}

HWND PlayerFixture::VisibleBar() const {
    if (IsVisible(ToolbarBar())) {
        return ToolbarBar();
    }
    return IsVisible(PlainBar()) ? PlainBar() : nullptr;
}

std::vector<HWND> PlayerFixture::Popups() const {
    return automation->FindWindows(sim::WindowQuery().Class(sim::kPopupMenuClass).Visible());
}

std::vector<sim::PopupMenuRow> PlayerFixture::FrontPopupRows() const {
    const std::vector<HWND> popups = Popups();
    return popups.empty() ? std::vector<sim::PopupMenuRow>{}
                          : sim::DescribePopupMenu(popups.front());
}

bool PlayerFixture::RowChecked(std::u16string_view text) const {
    for (const sim::PopupMenuRow& row : FrontPopupRows()) {
        if (row.text == text) {
            return row.checked;
        }
    }
    ADD_FAILURE() << "no row \"" << text::ToUtf8(text) << "\" in the popup in front";
    return false;
}

void PlayerFixture::DismissPopups() {
    // The task bar's middle is no popup's.
    for (int i = 0; i < 4 && !Popups().empty(); ++i) {
        Tap(POINT{device->ScreenWidth() / 2, 5});
    }
}

HWND PlayerFixture::Dialog() const {
    if (const HWND dialog = automation->FindWindow(sim::WindowQuery().Class(WC_DIALOG).Visible())) {
        return dialog;
    }
    return automation->FindWindow(sim::WindowQuery().Class(u"MessageBox").Visible());
}

bool PlayerFixture::IsVisible(HWND window) const {
    const auto info = window != nullptr ? automation->Describe(window) : std::nullopt;
    return info && info->visible;
}

RECT PlayerFixture::ScreenRect(HWND window) const {
    const auto info = window != nullptr ? automation->Describe(window) : std::nullopt;
    return info ? info->rect : RECT{};
}

RECT PlayerFixture::ClientRect(HWND window) const {
    const auto info = window != nullptr ? automation->Describe(window) : std::nullopt;
    return info ? info->clientRect : RECT{};
}

void PlayerFixture::Tap(POINT screenPoint) {
    automation->Tap(screenPoint);
    Settle();
}

void PlayerFixture::TapWindow(HWND window) {
    ASSERT_NE(window, nullptr) << Report();
    Tap(Centre(ScreenRect(window)));
}

void PlayerFixture::TapBarButton(int command) {
    const HWND bar = VisibleBar();
    ASSERT_NE(bar, nullptr) << Report();
    RECT rect{};
    ASSERT_NE(SendMessageW(bar, TB_GETRECT, static_cast<WPARAM>(command),
                           reinterpret_cast<LPARAM>(&rect)),
              0)
        << "no button " << command << " on the bar shown\n"
        << Report();
    Tap(Centre(OnScreen(bar, rect)));
}

void PlayerFixture::ChooseMenu(std::initializer_list<std::u16string_view> path) {
    TapBarButton(ID_MENU_BUTTON);
    for (const std::u16string_view item : path) {
        ChoosePopupItem(item);
    }
}

void PlayerFixture::ChoosePopupItem(std::u16string_view text) {
    const std::vector<HWND> popups = Popups();
    ASSERT_FALSE(popups.empty()) << "no popup open for \"" << text::ToUtf8(text) << "\"\n"
                                 << Report();
    const HWND popup = popups.front();
    for (const sim::PopupMenuRow& row : sim::DescribePopupMenu(popup)) {
        if (row.text != text) {
            continue;
        }
        // A tap, whether it chooses the item or opens its submenu (which on
        // a narrow screen may open under the stylus).
        Tap(Centre(OnScreen(popup, row.rect)));
        return;
    }
    FAIL() << "no item \"" << text::ToUtf8(text) << "\" in the popup in front\n" << Report();
}

void PlayerFixture::HoldOn(POINT screenPoint) {
    automation->Hold(screenPoint, 1000);
    Advance(1100);
}

void PlayerFixture::Press(sim::HardwareButton button) {
    automation->PressButton(button);
    Settle();
}

void PlayerFixture::Type(std::u16string_view typed) {
    automation->TypeText(typed);
    Settle();
}

void PlayerFixture::PressKey(BYTE key, UINT modifiers) {
    automation->PressKey(key, modifiers);
    Settle();
}

void PlayerFixture::TapDialogSoftKey(int command) {
    const HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr) << Report();
    for (HWND bar : automation->FindWindows(sim::WindowQuery().Class(sim::kMenuBarClass))) {
        const auto info = automation->Describe(bar);
        if (info && info->owner == dialog) {
            RECT rect{};
            SendMessageW(bar, TB_GETRECT, static_cast<WPARAM>(command),
                         reinterpret_cast<LPARAM>(&rect));
            Tap(Centre(OnScreen(bar, rect)));
            return;
        }
    }
    FAIL() << "the dialog has no soft keys\n" << Report();
}

std::string PlayerFixture::OpenLocation(std::u16string_view location, bool slides) {
    TapBarButton(ID_FILE_OPEN);
    const HWND dialog = Dialog();
    EXPECT_NE(dialog, nullptr) << Report();
    if (dialog == nullptr) {
        return {};
    }
    Type(location);
    if (slides) {
        SendMessageW(automation->FindWindow(sim::WindowQuery().Within(dialog).Id(IDC_OPEN_SLIDES)),
                     BM_SETCHECK, BST_CHECKED, 0);
    }
    const std::size_t mark = Mark();
    TapDialogSoftKey(IDOK);
    const auto loads = Only(Since(mark), {"SetMovieUrl"});
    EXPECT_EQ(loads.size(), 1u) << Report();
    return loads.empty() ? std::string() : loads.back().args[0].Text();
}

void PlayerFixture::OpenMovieOfStage(int width, int height, bool slides) {
    swfwriter::MovieWriter movie(8, width, height, 12.0);
    movie.ShowFrame();
    WriteFile(u"\\stage.swf", movie.Finish());
    ::testing::internal::CaptureStdout();
    OpenLocation(u"\\stage.swf", slides);
    ::testing::internal::GetCapturedStdout();
}

std::size_t PlayerFixture::HeldRequirements() const {
    return device->Services().Power().Status().requirements.size();
}

std::vector<sim::JournalEntry> PlayerFixture::Journal() const {
    return device->GetJournal().Entries();
}

std::vector<sim::JournalEntry> PlayerFixture::Calls(std::string_view call) const {
    return device->GetJournal().Calls(call);
}

std::size_t PlayerFixture::Mark() const {
    return Journal().size();
}

std::vector<sim::JournalEntry> PlayerFixture::Since(std::size_t mark) const {
    std::vector<sim::JournalEntry> entries = Journal();
    if (mark >= entries.size()) {
        return {};
    }
    return std::vector<sim::JournalEntry>(entries.begin() + static_cast<std::ptrdiff_t>(mark),
                                          entries.end());
}

std::vector<sim::JournalEntry> PlayerFixture::Only(const std::vector<sim::JournalEntry>& entries,
                                                   std::initializer_list<std::string_view> calls) {
    std::vector<sim::JournalEntry> kept;
    for (const sim::JournalEntry& entry : entries) {
        for (const std::string_view call : calls) {
            if (entry.call == call) {
                kept.push_back(entry);
                break;
            }
        }
    }
    return kept;
}

std::vector<std::string> PlayerFixture::Names(const std::vector<sim::JournalEntry>& entries) {
    std::vector<std::string> names;
    for (const sim::JournalEntry& entry : entries) {
        names.push_back(entry.call);
    }
    return names;
}

std::filesystem::path PlayerFixture::HostPath(const std::u16string& devicePath) const {
    return device->HostPath(devicePath);
}

void PlayerFixture::WriteFile(const std::u16string& devicePath,
                              const std::vector<std::uint8_t>& bytes) const {
    const std::filesystem::path path = HostPath(devicePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

void PlayerFixture::WriteText(const std::u16string& devicePath, const std::string& text) const {
    WriteFile(devicePath, std::vector<std::uint8_t>(text.begin(), text.end()));
}

bool PlayerFixture::FileExists(const std::u16string& devicePath) const {
    return std::filesystem::exists(HostPath(devicePath));
}

std::string PlayerFixture::ReadText(const std::u16string& devicePath) const {
    std::ifstream in(HostPath(devicePath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int PlayerFixture::WritesOf(const std::u16string& devicePath, std::size_t sinceMark) const {
    const std::string wanted = text::ToUtf8(devicePath);
    int writes = 0;
    for (const sim::JournalEntry& call : Only(Since(sinceMark), {"_wfopen"})) {
        writes += !call.args.empty() && call.args[0].Text() == wanted ? 1 : 0;
    }
    return writes;
}

int PlayerFixture::SettingsSaves(std::size_t sinceMark) const {
    const std::string settings = text::ToUtf8(kSettingsPath);
    int saves = 0;
    for (const sim::JournalEntry& call :
         Only(Since(sinceMark), {"DeleteAndRenameFile", "MoveFileW"})) {
        const std::string& target = call.args[call.call == "MoveFileW" ? 1 : 0].Text();
        saves += target == settings && call.result.Int() == 0 ? 1 : 0;
    }
    return saves;
}

std::string PlayerFixture::Report() const {
    return automation->Report();
}

} // namespace playertest

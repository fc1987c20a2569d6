// The Open command as the user meets it: the "Open" soft key (or Ctrl+N)
// shows the location dialog; a typed or browsed location becomes the URL the
// control gets, and a local movie's header gives the stage the placement
// works with.
#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/sim/ControlSupport.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"
#include "swfwriter/MovieWriter.h"

namespace {

using playertest::PlayerFixture;

std::vector<std::uint8_t> Movie(swfwriter::Compression compression, int width, int height) {
    swfwriter::MovieWriter movie(8, width, height, 12.0);
    movie.ShowFrame();
    return movie.Finish(compression);
}

class OpenDialogTest : public PlayerFixture {
protected:
    void SetUp() override {
        StartPlayer();
        // At 150 % the normal placement's offsets are a quarter of the stage.
        ChooseMenu({u"Zoom", u"150%"});
        Ticks(1);
    }

    void OpenDialog() {
        TapBarButton(ID_FILE_OPEN);
        ASSERT_NE(Dialog(), nullptr) << Report();
    }

    void TapSoftKey(int command) { TapDialogSoftKey(command); }

    std::string OpenTyped(std::u16string_view location) { return OpenLocation(location); }

    // The stage the next tick's placement works with, in pixels.
    std::pair<double, double> PlacedStage() {
        const std::size_t mark = Mark();
        Ticks(1);
        double x = 1;
        double y = 1;
        for (const sim::JournalEntry& call : Only(Since(mark), {"SetClipPropertyNumber"})) {
            (call.args[1].Int() == 0 ? x : y) = std::stod(call.args[2].Json());
        }
        return {x / -0.25, y / -0.25};
    }
};

TEST_F(OpenDialogTest, ALocalMovieIsProbedAndLoadedBehindFile) {
    WriteFile(u"\\My Documents\\plain.swf", Movie(swfwriter::Compression::None, 550, 400));
    ::testing::internal::CaptureStdout();
    const std::string url = OpenTyped(u"\\My Documents\\plain.swf");
    const std::string line = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(url, "file://\\My Documents\\plain.swf");
    EXPECT_EQ(line.substr(0, 8), "F W S 8 ");
    EXPECT_EQ(PlacedStage(), (std::pair<double, double>{550, 400}));
    EXPECT_EQ(Dialog(), nullptr);

    WriteFile(u"\\packed.swf", Movie(swfwriter::Compression::Zlib, 320, 240));
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(OpenTyped(u"\\packed.swf"), "file://\\packed.swf");
    EXPECT_EQ(::testing::internal::GetCapturedStdout().substr(0, 8), "C W S 8 ");
    EXPECT_EQ(PlacedStage(), (std::pair<double, double>{320, 240}));
}

TEST_F(OpenDialogTest, LocationsBecomeUrlsByTheirFirstSevenCharacters) {
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(OpenTyped(u"HTTP://Example.com/a.swf"), "HTTP://Example.com/a.swf");
    EXPECT_EQ(OpenTyped(u"http:/"), "file://http:/");
    EXPECT_EQ(OpenTyped(u""), "file://");
    EXPECT_EQ(OpenTyped(u"file://\\a.swf"), "file://file://\\a.swf");
    // None of these is a file: no header line, and no stage.
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(PlacedStage(), (std::pair<double, double>{0, 0}));
}

TEST_F(OpenDialogTest, AStageUnknownAfterALocationThatIsNoFile) {
    WriteFile(u"\\plain.swf", Movie(swfwriter::Compression::None, 550, 400));
    ::testing::internal::CaptureStdout();
    OpenTyped(u"\\plain.swf");
    OpenTyped(u"http://example.com/b.swf");
    ::testing::internal::GetCapturedStdout();
    // The stage of the movie before does not carry over to this one.
    EXPECT_EQ(PlacedStage(), (std::pair<double, double>{0, 0}));
}

TEST_F(OpenDialogTest, CancelLoadsNothingAndTheDialogStartsEmptyEachTime) {
    OpenDialog();
    const HWND dialog = Dialog();
    EXPECT_EQ(automation->TextOf(dialog), u"Dialog");
    // The check box is there but never shown.
    const HWND slides =
        automation->FindWindow(sim::WindowQuery().Within(dialog).Id(IDC_OPEN_SLIDES));
    ASSERT_NE(slides, nullptr);
    EXPECT_FALSE(IsVisible(slides));
    EXPECT_EQ(automation->Focus(),
              automation->FindWindow(sim::WindowQuery().Within(dialog).Id(IDC_OPEN_LOCATION)));
    Type(u"\\typed.swf");
    const std::size_t mark = Mark();
    TapSoftKey(IDCANCEL);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_TRUE(Only(Since(mark), {"SetMovieUrl"}).empty());
    // Ctrl+N opens it again, empty.
    PressKey('N', MOD_CONTROL);
    ASSERT_NE(Dialog(), nullptr) << Report();
    EXPECT_EQ(automation->TextOf(automation->FindWindow(
                  sim::WindowQuery().Within(Dialog()).Id(IDC_OPEN_LOCATION))),
              u"");
    TapSoftKey(IDCANCEL);
}

TEST_F(OpenDialogTest, TheButtonsOfTheDeviceDoNothingWhileTheDialogIsUp) {
    OpenDialog();
    Press(sim::HardwareButton::App1);
    Press(sim::HardwareButton::Action);
    TapSoftKey(IDCANCEL);
    EXPECT_EQ(ScreenRect(Frame()), (RECT{0, 26, 240, 294}));
    // And afterwards they act again.
    Press(sim::HardwareButton::App1);
    EXPECT_EQ(ScreenRect(Frame()), (RECT{0, 0, 240, 320}));
}

TEST_F(OpenDialogTest, BrowseReplacesTheTypedLocationWithTheChosenPath) {
    WriteFile(u"\\Movies\\clip.swf", Movie(swfwriter::Compression::None, 200, 100));
    OpenDialog();
    Type(u"\\typed.swf");
    TapWindow(automation->FindWindow(sim::WindowQuery().Within(Dialog()).Id(IDC_OPEN_BROWSE)));
    const HWND browser =
        automation->FindWindow(sim::WindowQuery().Class(sim::kOpenFileClass).Visible());
    ASSERT_NE(browser, nullptr) << Report();
    EXPECT_EQ(automation->TextOf(browser), u"Browse Flash Movies");
    const HWND list =
        automation->FindWindow(sim::WindowQuery().Class(WC_LISTBOXW).Within(browser).Visible());
    ASSERT_NE(list, nullptr);
    // Into the folder, then the movie.
    for (const std::u16string entry : {u"[Movies]", u"clip.swf"}) {
        const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        int index = -1;
        for (int i = 0; i < count; ++i) {
            WCHAR text[128] = {};
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            index = entry == text ? i : index;
        }
        ASSERT_GE(index, 0) << Report();
        RECT rect{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&rect));
        POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(list, &centre);
        Tap(centre);
    }
    const auto browsed = Calls("GetOpenFileNameW");
    ASSERT_EQ(browsed.size(), 1u);
    EXPECT_EQ(browsed[0].args[1].Text(), "Browse Flash Movies");
    EXPECT_EQ(browsed[0].args[2].Int(), 2);
    EXPECT_EQ(automation->TextOf(automation->FindWindow(
                  sim::WindowQuery().Within(Dialog()).Id(IDC_OPEN_LOCATION))),
              u"\\Movies\\clip.swf");
    ::testing::internal::CaptureStdout();
    const std::size_t mark = Mark();
    TapSoftKey(IDOK);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(Only(Since(mark), {"SetMovieUrl"}).back().args[0].Text(),
              "file://\\Movies\\clip.swf");
    EXPECT_EQ(PlacedStage(), (std::pair<double, double>{200, 100}));
}

TEST_F(OpenDialogTest, CancellingTheBrowserKeepsTheTypedLocation) {
    OpenDialog();
    Type(u"\\typed.swf");
    TapWindow(automation->FindWindow(sim::WindowQuery().Within(Dialog()).Id(IDC_OPEN_BROWSE)));
    const HWND browser =
        automation->FindWindow(sim::WindowQuery().Class(sim::kOpenFileClass).Visible());
    ASSERT_NE(browser, nullptr);
    for (HWND bar : automation->FindWindows(sim::WindowQuery().Class(sim::kMenuBarClass))) {
        const auto info = automation->Describe(bar);
        if (info && info->owner == browser) {
            RECT rect{};
            SendMessageW(bar, TB_GETRECT, IDCANCEL, reinterpret_cast<LPARAM>(&rect));
            POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
            ClientToScreen(bar, &centre);
            Tap(centre);
        }
    }
    EXPECT_EQ(automation->TextOf(automation->FindWindow(
                  sim::WindowQuery().Within(Dialog()).Id(IDC_OPEN_LOCATION))),
              u"\\typed.swf");
    TapSoftKey(IDCANCEL);
}

} // namespace

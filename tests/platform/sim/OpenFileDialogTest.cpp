// The open-file dialog: browsing the device's folders, the filter, the full
// path it returns and its offsets, a typed name with the default extension,
// Cancel, and a buffer too small for the path.
#include <gtest/gtest.h>

#include <fstream>

#include "ControlTestSupport.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/FileDialog.h"
#include "platform/Input.h"
#include "platform/sim/ControlSupport.h"

namespace {

using simtest::ButtonOnScreen;
using simtest::Centre;

class OpenFileDialogTest : public simtest::DeviceTest {
protected:
    sim::Program& Running() { return *device->Programs().back(); }

    // Launches the test program; each test holds it while it runs.
    simtest::RunningProgram Start() {
        const auto storage = device->StorageRoot();
        std::filesystem::create_directories(storage / "Movies");
        for (const char* name : {"Movies/clip.swf", "Movies/notes.txt", "top.swf"}) {
            std::ofstream(storage / name) << "FWS";
        }
        return Launch([&](HINSTANCE) {
            simtest::RegisterTestClass();
            owner = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
        });
    }

    // Opens the dialog as the player's Browse button does.
    void Open(DWORD bufferLength = 1024) {
        buffer.assign(bufferLength, u'\0');
        info = OPENFILENAMEW{};
        info.hwndOwner = owner;
        info.lpstrFilter = filter;
        info.nFilterIndex = 1;
        info.lpstrFile = buffer.data();
        info.nMaxFile = bufferLength;
        info.lpstrTitle = u"Browse Flash Movies";
        info.lpstrDefExt = u"swf";
        info.Flags = 2;
        info.lpstrFileTitle = title;
        info.nMaxFileTitle = 64;
        EXPECT_FALSE(device->RunOnProgram(Running(), [this] {
            result = GetOpenFileNameW(&info);
            error = CommDlgExtendedError();
        }));
        dialog = automation->FindWindow(sim::WindowQuery().Class(sim::kOpenFileClass).Visible());
        ASSERT_NE(dialog, nullptr);
        list =
            automation->FindWindow(sim::WindowQuery().Class(WC_LISTBOXW).Within(dialog).Visible());
        ASSERT_NE(list, nullptr);
        bar = simtest::MenuBarOf(*automation, dialog);
        ASSERT_NE(bar, nullptr);
    }

    // The device's root: the folders every new device has, the test's folder
    // and the one movie at the top.
    static std::vector<std::u16string> RootEntries() {
        return {u"[Movies]", u"[My Documents]", u"[Program Files]", u"[Temp]", u"[Windows]",
                u"top.swf"};
    }

    std::vector<std::u16string> Entries() const {
        std::vector<std::u16string> entries;
        const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            WCHAR text[128] = {};
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            entries.emplace_back(text);
        }
        return entries;
    }

    void TapEntry(const std::u16string& text) {
        const auto entries = Entries();
        const auto found = std::find(entries.begin(), entries.end(), text);
        ASSERT_NE(found, entries.end()) << "no entry " << text.size();
        RECT rect{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(found - entries.begin()),
                     reinterpret_cast<LPARAM>(&rect));
        automation->Tap(Centre(simtest::ClientToScreenRect(list, rect)));
        ASSERT_TRUE(device->RunUntilIdle());
    }

    static constexpr char16_t filter[] = u"Flash Movies(*.swf)\0*.swf\0All files(*.*)\0*.*\0";
    simtest::Handler plain;
    HWND owner = nullptr;
    HWND dialog = nullptr;
    HWND list = nullptr;
    HWND bar = nullptr;
    std::u16string buffer;
    WCHAR title[64] = {};
    OPENFILENAMEW info;
    BOOL result = -1;
    DWORD error = 0xFFFF;
};

TEST_F(OpenFileDialogTest, BrowsesIntoAFolderAndReturnsTheChosenFilesFullPath) {
    auto program = Start();
    Open();
    EXPECT_EQ(automation->TextOf(dialog), u"Browse Flash Movies");
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(Entries(), RootEntries());
    TapEntry(u"[Movies]");
    EXPECT_EQ(Entries(), (std::vector<std::u16string>{u"[..]", u"clip.swf"}))
        << "the filter hides notes.txt";
    EXPECT_EQ(result, -1);
    TapEntry(u"clip.swf");
    EXPECT_EQ(result, TRUE);
    EXPECT_EQ(std::u16string(buffer.c_str()), u"\\Movies\\clip.swf");
    EXPECT_EQ(info.nFileOffset, 8);
    EXPECT_EQ(info.nFileExtension, 13);
    EXPECT_EQ(info.nFilterIndex, 1u);
    EXPECT_EQ(std::u16string(title), u"clip.swf");
    EXPECT_EQ(error, 0u);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(owner));
    const auto entries = automation->Journal("GetOpenFileNameW");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].result.Text(), "\\Movies\\clip.swf");
}

TEST_F(OpenFileDialogTest, CancelReturnsNothingAndLeavesTheBufferAlone) {
    auto program = Start();
    Open();
    buffer[0] = u'x';
    automation->Tap(Centre(ButtonOnScreen(bar, IDCANCEL)));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, FALSE);
    EXPECT_EQ(error, 0u) << "a cancel is no error";
    EXPECT_EQ(buffer[0], u'x');
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(automation->Journal("GetOpenFileNameW").back().result.Int(), 0);
}

TEST_F(OpenFileDialogTest, TheParentEntryGoesUpAndTheOtherFilterShowsEveryFile) {
    auto program = Start();
    Open();
    TapEntry(u"[Movies]");
    const HWND combo =
        automation->FindWindow(sim::WindowQuery().Class(WC_COMBOBOXW).Within(dialog));
    ASSERT_NE(combo, nullptr);
    automation->TapWindow(combo);
    ASSERT_TRUE(device->RunUntilIdle());
    const HWND dropped =
        automation->FindWindow(sim::WindowQuery().Class(sim::kDropListClass).Visible());
    ASSERT_NE(dropped, nullptr);
    const auto droppedInfo = automation->Describe(dropped);
    automation->Tap(POINT{Centre(droppedInfo->clientRect).x, droppedInfo->clientRect.bottom - 4});
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(Entries(), (std::vector<std::u16string>{u"[..]", u"clip.swf", u"notes.txt"}));
    TapEntry(u"[..]");
    EXPECT_EQ(Entries(), RootEntries());
    automation->Tap(Centre(ButtonOnScreen(bar, IDCANCEL)));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, FALSE);
}

TEST_F(OpenFileDialogTest, ATypedNameTakesTheDefaultExtension) {
    auto program = Start();
    Open();
    const HWND name = automation->FindWindow(sim::WindowQuery().Class(WC_EDITW).Within(dialog));
    ASSERT_NE(name, nullptr);
    automation->TapWindow(name);
    automation->TypeText(u"Movies\\clip");
    automation->Tap(Centre(ButtonOnScreen(bar, IDOK)));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, TRUE);
    EXPECT_EQ(std::u16string(buffer.c_str()), u"\\Movies\\clip.swf");
}

TEST_F(OpenFileDialogTest, EnterOpensTheTypedNameAndEscapeCancels) {
    auto program = Start();
    Open();
    const HWND name = automation->FindWindow(sim::WindowQuery().Class(WC_EDITW).Within(dialog));
    ASSERT_NE(name, nullptr);
    automation->TapWindow(name);
    automation->TypeText(u"top");
    automation->PressKey(VK_RETURN);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, TRUE);
    EXPECT_EQ(std::u16string(buffer.c_str()), u"\\top.swf");

    Open();
    automation->PressKey(VK_ESCAPE);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, FALSE);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(OpenFileDialogTest, ABufferTooSmallForThePathFailsAndSaysHowMuchIsNeeded) {
    auto program = Start();
    Open(8);
    TapEntry(u"top.swf");
    EXPECT_EQ(result, FALSE);
    EXPECT_EQ(error, FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(static_cast<WORD>(buffer[0]), 9) << "\\top.swf and its terminator";
}

TEST_F(OpenFileDialogTest, ARecordTooSmallIsRefused) {
    auto program = Start();
    OPENFILENAMEW bad;
    bad.lStructSize = 12;
    OnProgram(Running(), [&] {
        result = GetOpenFileNameW(&bad);
        error = CommDlgExtendedError();
    });
    EXPECT_EQ(result, FALSE);
    EXPECT_EQ(error, CDERR_STRUCTSIZE);
}

} // namespace

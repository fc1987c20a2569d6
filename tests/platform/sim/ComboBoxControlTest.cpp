// The drop-down list combo box: its height, the list opening on a tap and
// closing on a choice or a tap elsewhere, the CBN_* notifications in order,
// and the messages.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/Controls.h"
#include "platform/Input.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/MessageRecorder.h"

namespace {

using simtest::Centre;

constexpr int kComboId = 1019;

class ComboBoxControlTest : public simtest::DeviceTest {
protected:
    sim::Program& Running() { return *device->Programs().back(); }

    // Launches the test program; each test holds it while it runs.
    simtest::RunningProgram Start() {
        return Launch([&](HINSTANCE) {
            simtest::RegisterTestClass();
            parent = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
            combo = CreateWindowExW(
                0, WC_COMBOBOXW, nullptr,
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 40, 60, 120,
                100, parent, reinterpret_cast<HMENU>(kComboId), nullptr, nullptr);
            for (const char16_t* text : {u"Keep Backlight", u"Do not keep backlight"}) {
                SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
            }
        });
    }

    HWND OpenList() const {
        return automation->FindWindow(sim::WindowQuery().Class(sim::kDropListClass).Visible());
    }

    std::vector<WORD> Notifications(const sim::MessageLog& log) const {
        std::vector<WORD> codes;
        for (const auto& message : log.Of(parent)) {
            if (message.message == WM_COMMAND && LOWORD(message.wParam) == kComboId) {
                codes.push_back(HIWORD(message.wParam));
            }
        }
        return codes;
    }

    simtest::Handler plain;
    HWND parent = nullptr;
    HWND combo = nullptr;
};

TEST_F(ComboBoxControlTest, TheWindowIsAsHighAsItsFieldAndTheRestIsForTheList) {
    auto program = Start();
    const auto info = automation->Describe(combo);
    ASSERT_TRUE(info);
    const int height = info->rect.bottom - info->rect.top;
    EXPECT_LT(height, 40);
    EXPECT_EQ(height, SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    RECT dropped{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(dropped.top, info->rect.top);
    EXPECT_GT(dropped.bottom, info->rect.bottom);
}

TEST_F(ComboBoxControlTest, ATapOpensTheListAndAChoiceClosesItWithTheSelection) {
    auto program = Start();
    auto log = device->Recorders().Record({parent});
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    automation->TapWindow(combo);
    ASSERT_TRUE(device->RunUntilIdle());
    const HWND list = OpenList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    EXPECT_EQ(Notifications(*log), (std::vector<WORD>{CBN_SETFOCUS, CBN_DROPDOWN}));
    const auto listInfo = automation->Describe(list);
    const auto comboInfo = automation->Describe(combo);
    ASSERT_TRUE(listInfo && comboInfo);
    EXPECT_EQ(listInfo->rect.top, comboInfo->rect.bottom) << "under the field";

    // The second item, in the lower half of the open list.
    log->Clear();
    automation->Tap(POINT{Centre(listInfo->clientRect).x, listInfo->clientRect.bottom - 4});
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(OpenList(), nullptr);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Notifications(*log), (std::vector<WORD>{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    WCHAR text[64] = {};
    SendMessageW(combo, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::u16string(text), u"Do not keep backlight");
}

TEST_F(ComboBoxControlTest, ATapOutsideClosesTheListWithoutAChoice) {
    auto program = Start();
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    automation->TapWindow(combo);
    ASSERT_TRUE(device->RunUntilIdle());
    ASSERT_NE(OpenList(), nullptr);
    auto log = device->Recorders().Record({parent});
    automation->Tap(POINT{220, 280});
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(OpenList(), nullptr);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Notifications(*log), (std::vector<WORD>{CBN_SELENDCANCEL, CBN_CLOSEUP}));
    // The tap that closed the list went no further.
    EXPECT_FALSE(log->Received(parent, WM_LBUTTONDOWN));
}

TEST_F(ComboBoxControlTest, KeysChangeTheSelectionOfAClosedList) {
    auto program = Start();
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    automation->TapWindow(combo);
    automation->TapWindow(combo);
    ASSERT_TRUE(device->RunUntilIdle());
    ASSERT_EQ(OpenList(), nullptr) << "a second tap on the field closes the list";
    auto log = device->Recorders().Record({parent});
    automation->PressKey(VK_DOWN);
    automation->PressKey(VK_DOWN);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Notifications(*log), (std::vector<WORD>{CBN_SELCHANGE, CBN_SELENDOK}));
}

TEST_F(ComboBoxControlTest, SortedListsAndTheMessagesAnswerLikeWin32) {
    auto program = Start();
    HWND sorted = nullptr;
    OnProgram(Running(), [&] {
        sorted =
            CreateWindowExW(0, WC_COMBOBOXW, nullptr, WS_CHILD | CBS_DROPDOWNLIST | CBS_SORT, 79,
                            150, 81, 70, parent, reinterpret_cast<HMENU>(1003), nullptr, nullptr);
    });
    for (const char16_t* text : {u"(NONE)", u"ACTION", u"APP1", u"APP2"}) {
        SendMessageW(sorted, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    EXPECT_EQ(SendMessageW(sorted, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"APP0")), 2);
    WCHAR text[16] = {};
    EXPECT_EQ(SendMessageW(sorted, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text)), 6);
    EXPECT_EQ(std::u16string(text), u"(NONE)");
    EXPECT_EQ(SendMessageW(sorted, CB_GETLBTEXT, 9, reinterpret_cast<LPARAM>(text)), CB_ERR);
    EXPECT_EQ(SendMessageW(sorted, CB_SETCURSEL, 9, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(sorted, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(u"app2")),
              4);
    EXPECT_EQ(SendMessageW(sorted, CB_GETCURSEL, 0, 0), 4);
    EXPECT_EQ(SendMessageW(sorted, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"nothing")), CB_ERR);
    EXPECT_EQ(SendMessageW(sorted, CB_DELETESTRING, 4, 0), 4);
    EXPECT_EQ(SendMessageW(sorted, CB_GETCURSEL, 0, 0), CB_ERR);
    // An index past the items clears the selection, as -1 does.
    SendMessageW(sorted, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(SendMessageW(sorted, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(sorted, CB_GETCURSEL, 0, 0), CB_ERR);
}

} // namespace

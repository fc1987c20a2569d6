// The list box: items by message, sorted or not, the selection picked with
// the stylus and the keys and LBN_SELCHANGE for it, and scrolling.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/Controls.h"
#include "platform/Input.h"
#include "platform/sim/MessageRecorder.h"

namespace {

using simtest::Centre;

constexpr int kListId = 1101;

class ListBoxControlTest : public simtest::DeviceTest {
protected:
    sim::Program& Running() { return *device->Programs().back(); }

    // Launches the test program; each test holds it while it runs.
    simtest::RunningProgram Start() {
        return Launch([&](HINSTANCE) {
            simtest::RegisterTestClass();
            parent = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
        });
    }

    HWND CreateList(DWORD style, int height = 100) {
        HWND list = nullptr;
        OnProgram(Running(), [&] {
            list = CreateWindowExW(0, WC_LISTBOXW, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_BORDER | style, 10, 10, 150, height,
                                   parent, reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
        });
        return list;
    }

    void Add(HWND list, std::initializer_list<const char16_t*> texts) {
        for (const char16_t* text : texts) {
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
    }

    std::u16string ItemText(HWND list, int index) {
        WCHAR buffer[64] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    POINT ItemOnScreen(HWND list, int index) {
        RECT rect{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&rect));
        return Centre(simtest::ClientToScreenRect(list, rect));
    }

    int SelChanges(const sim::MessageLog& log) {
        int count = 0;
        for (const auto& message : log.Of(parent)) {
            if (message.message == WM_COMMAND &&
                message.wParam == MAKEWPARAM(kListId, LBN_SELCHANGE)) {
                ++count;
            }
        }
        return count;
    }

    simtest::Handler plain;
    HWND parent = nullptr;
};

TEST_F(ListBoxControlTest, ATapSelectsTheItemAndTellsTheParent) {
    auto program = Start();
    const HWND list = CreateList(LBS_NOTIFY);
    Add(list, {u"one", u"two", u"three"});
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    auto log = device->Recorders().Record({parent});
    automation->Tap(ItemOnScreen(list, 1));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SelChanges(*log), 1);
    for (const auto& message : log->Of(parent)) {
        if (message.message == WM_COMMAND) {
            EXPECT_EQ(reinterpret_cast<HWND>(message.lParam), list);
        }
    }
    // Setting the selection by message tells nobody.
    SendMessageW(list, LB_SETCURSEL, 2, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    automation->PressKey(VK_UP);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SelChanges(*log), 2) << "the keys pick too";
}

TEST_F(ListBoxControlTest, WithoutNotifyTheParentHearsNothing) {
    auto program = Start();
    const HWND list = CreateList(0);
    Add(list, {u"one", u"two"});
    auto log = device->Recorders().Record({parent});
    automation->Tap(ItemOnScreen(list, 0));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SelChanges(*log), 0);
}

TEST_F(ListBoxControlTest, SortedListsPlaceItemsAndMessagesAnswerLikeWin32) {
    auto program = Start();
    const HWND list = CreateList(LBS_SORT);
    Add(list, {u"beta", u"Alpha", u"gamma"});
    EXPECT_EQ(ItemText(list, 0), u"Alpha");
    EXPECT_EQ(ItemText(list, 2), u"gamma");
    EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, 1, 0), 4);
    EXPECT_EQ(SendMessageW(list, LB_GETTEXT, 7, reinterpret_cast<LPARAM>(u"")), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(u"GAM")),
              2);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(u"gam")),
              LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 5, 0), LB_ERR);
    SendMessageW(list, LB_SETITEMDATA, 1, 42);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 1, 0), 42);
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 1, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR) << "the selected item went";
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListBoxControlTest, TheScrollBarMovesTheItemsIntoView) {
    auto program = Start();
    const HWND list = CreateList(LBS_NOTIFY | WS_VSCROLL, 60);
    for (int i = 0; i < 20; ++i) {
        const std::u16string text = u"item " + std::u16string(1, static_cast<char16_t>(u'a' + i));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
    const auto info = automation->Describe(list);
    ASSERT_TRUE(info);
    // The bottom of the scroll bar steps down a line at a time.
    automation->Tap(POINT{info->clientRect.right - 3, info->clientRect.bottom - 3});
    automation->Tap(POINT{info->clientRect.right - 3, info->clientRect.bottom - 3});
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 2);
    // Selecting the last item brings it into view.
    SendMessageW(list, LB_SETCURSEL, 19, 0);
    const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
    EXPECT_GT(top, 10);
    RECT last{};
    SendMessageW(list, LB_GETITEMRECT, 19, reinterpret_cast<LPARAM>(&last));
    EXPECT_LE(last.bottom, info->clientRect.bottom - info->clientRect.top);
}

TEST_F(ListBoxControlTest, MultipleSelectionTogglesEachTappedItem) {
    auto program = Start();
    const HWND list = CreateList(LBS_NOTIFY | LBS_MULTIPLESEL);
    Add(list, {u"one", u"two", u"three"});
    automation->Tap(ItemOnScreen(list, 0));
    automation->Tap(ItemOnScreen(list, 2));
    automation->Tap(ItemOnScreen(list, 0));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), 1);
    int selected[3] = {-1, -1, -1};
    EXPECT_EQ(SendMessageW(list, LB_GETSELITEMS, 3, reinterpret_cast<LPARAM>(selected)), 1);
    EXPECT_EQ(selected[0], 2);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 0, 0), LB_ERR) << "not for multiple selection";
}

} // namespace

// Windows: the order of the creation and destruction messages, failed
// creation, subclassing, moving and sizing, activation and focus, z-order and
// hit testing.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "platform/Program.h"
#include "platform/sim/MessageRecorder.h"

namespace {

using sim::Arrival;
using sim::ExpectedMessage;
using sim::Optional;
using simtest::DeviceTest;
using simtest::Handler;

class WindowManagerTest : public DeviceTest {};

ExpectedMessage Sent(UINT message) {
    ExpectedMessage expected;
    expected.message = message;
    expected.arrival = Arrival::Sent;
    return expected;
}

TEST_F(WindowManagerTest, CreationSendsNcCreateNcCalcSizeCreateSizeMoveThenShows) {
    Handler plain;
    HWND window = nullptr;
    auto log = device->Recorders().Record({});
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        window = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
    });
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(log->Check(window,
                         {Sent(WM_NCCREATE),
                          Sent(WM_NCCALCSIZE),
                          Sent(WM_CREATE),
                          {WM_SIZE, SIZE_RESTORED, MAKELPARAM(240, 268), Arrival::Sent},
                          Sent(WM_MOVE),
                          Sent(WM_SHOWWINDOW),
                          Sent(WM_WINDOWPOSCHANGING),
                          Sent(WM_WINDOWPOSCHANGED),
                          Optional(WM_NCACTIVATE),
                          Optional(WM_ACTIVATE),
                          Optional(WM_SETFOCUS),
                          Optional(WM_PAINT),
                          Optional(WM_NCPAINT),
                          Optional(WM_ERASEBKGND)},
                         {}),
              "");
    EXPECT_EQ(automation->Foreground(), window);
}

TEST_F(WindowManagerTest, FailedCreateHandlerLeavesNoWindow) {
    Handler failCreate = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_CREATE) {
            return -1;
        }
        return std::nullopt;
    };
    Handler failNcCreate = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_NCCREATE) {
            return FALSE;
        }
        return std::nullopt;
    };
    HWND afterCreate = reinterpret_cast<HWND>(1);
    HWND afterNcCreate = reinterpret_cast<HWND>(1);
    auto log = device->Recorders().Record({});
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        afterCreate = simtest::CreateTestWindow(&failCreate, WS_VISIBLE, RECT{0, 0, 10, 10});
        afterNcCreate = simtest::CreateTestWindow(&failNcCreate, 0, RECT{0, 0, 10, 10});
    });
    EXPECT_EQ(afterCreate, nullptr);
    EXPECT_EQ(afterNcCreate, nullptr);
    EXPECT_TRUE(automation->FindWindows({}).empty());
    // The window whose WM_CREATE failed was destroyed with WM_DESTROY; the one
    // whose WM_NCCREATE failed never was created, so it gets WM_NCDESTROY only.
    int destroys = 0;
    int ncDestroys = 0;
    for (const auto& message : log->All()) {
        destroys += message.message == WM_DESTROY ? 1 : 0;
        ncDestroys += message.message == WM_NCDESTROY ? 1 : 0;
    }
    EXPECT_EQ(destroys, 1);
    EXPECT_EQ(ncDestroys, 2);
}

TEST_F(WindowManagerTest, DestructionSendsDestroyParentFirstAndNcDestroyChildrenFirst) {
    Handler plain;
    HWND parent = nullptr;
    HWND child = nullptr;
    HWND grandchild = nullptr;
    std::vector<std::pair<HWND, UINT>> order;
    Handler tracking = [&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_DESTROY || message == WM_NCDESTROY) {
            order.emplace_back(window, message);
            // The window is still there while it hears of its end.
            EXPECT_TRUE(IsWindow(window));
        }
        return std::nullopt;
    };
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        parent = simtest::CreateTestWindow(&tracking, WS_VISIBLE, RECT{0, 26, 240, 294});
        child = simtest::CreateTestWindow(&tracking, WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100},
                                          parent, 7);
        grandchild = simtest::CreateTestWindow(&tracking, WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10},
                                               child, 8);
    });
    OnProgram(program, [&] { EXPECT_TRUE(DestroyWindow(parent)); });
    const std::vector<std::pair<HWND, UINT>> expected = {
        {parent, WM_DESTROY},       {child, WM_DESTROY},   {grandchild, WM_DESTROY},
        {grandchild, WM_NCDESTROY}, {child, WM_NCDESTROY}, {parent, WM_NCDESTROY}};
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(grandchild));
}

TEST_F(WindowManagerTest, SubclassedWindowKeepsTheOldProcedureReachable) {
    static WNDPROC original = nullptr;
    static int subclassSaw = 0;
    original = nullptr;
    subclassSaw = 0;
    constexpr UINT kProbe = WM_USER + 5;
    WNDPROC subclass = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == kProbe) {
            ++subclassSaw;
            return CallWindowProcW(original, window, message, wParam + 1, lParam) * 10;
        }
        return CallWindowProcW(original, window, message, wParam, lParam);
    };
    Handler base = [](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == kProbe) {
            return static_cast<LRESULT>(wParam);
        }
        return std::nullopt;
    };
    HWND window = nullptr;
    LRESULT answer = 0;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        window = simtest::CreateTestWindow(&base, 0, RECT{0, 0, 10, 10});
    });
    OnProgram(program, [&] {
        original = reinterpret_cast<WNDPROC>(
            SetWindowLongW(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(subclass)));
        answer = SendMessageW(window, kProbe, 4, 0);
        EXPECT_EQ(GetWindowLongW(window, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(subclass));
    });
    EXPECT_NE(original, nullptr);
    EXPECT_EQ(subclassSaw, 1);
    EXPECT_EQ(answer, 50);
}

TEST_F(WindowManagerTest, MovingGivesWmSizeWithTheNewClientSizeOnlyWhenTheSizeChanges) {
    std::vector<LPARAM> sizes;
    Handler sizing = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_SIZE) {
            sizes.push_back(lParam);
        }
        return std::nullopt;
    };
    HWND window = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        window = simtest::CreateTestWindow(&sizing, WS_VISIBLE | WS_BORDER, RECT{0, 0, 0, 0});
    });
    sizes.clear();
    OnProgram(program, [&] {
        MoveWindow(window, 0, 26, 240, 268, TRUE);
        MoveWindow(window, 0, 26, 240, 268, TRUE);  // unchanged: no WM_SIZE
        MoveWindow(window, 10, 30, 240, 268, TRUE); // moved only: no WM_SIZE
    });
    // A bordered window's client area is one pixel in from each side.
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0], MAKELPARAM(238, 266));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 238);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 10);
    EXPECT_EQ(outer.top, 30);
}

TEST_F(WindowManagerTest, ActivationTellsTheWindowThatLosesAndTheWindowThatGains) {
    std::vector<std::tuple<HWND, WORD, HWND>> activations;
    Handler recording = [&](HWND window, UINT message, WPARAM wParam,
                            LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_ACTIVATE) {
            activations.emplace_back(window, LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        }
        return std::nullopt;
    };
    HWND first = nullptr;
    HWND second = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        first = simtest::CreateTestWindow(&recording, WS_VISIBLE, RECT{0, 26, 240, 294});
        second = simtest::CreateTestWindow(&recording, WS_VISIBLE, RECT{0, 26, 240, 294});
    });
    EXPECT_EQ(automation->Foreground(), second);
    activations.clear();
    OnProgram(program, [&] { EXPECT_TRUE(SetForegroundWindow(first)); });
    const std::vector<std::tuple<HWND, WORD, HWND>> expected = {{second, WA_INACTIVE, first},
                                                                {first, WA_ACTIVE, second}};
    EXPECT_EQ(activations, expected);
    // DefWindowProcW gave the focus to the window that became active.
    EXPECT_EQ(automation->Focus(), first);
    // Destroying the active window activates the next one.
    activations.clear();
    OnProgram(program, [&] { DestroyWindow(first); });
    EXPECT_EQ(automation->Foreground(), second);
    ASSERT_FALSE(activations.empty());
    EXPECT_EQ(activations.back(), std::make_tuple(second, WORD{WA_ACTIVE}, first));
    EXPECT_EQ(automation->Journal("SetForegroundWindow").size(), 1u);
}

TEST_F(WindowManagerTest, TheLowBitBringsTheLastActivePopupOfAnotherProgramsWindowForward) {
    Handler plain;
    HWND main = nullptr;
    HWND popup = nullptr;
    auto owner = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        main = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
        popup = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{20, 60, 220, 200}, main);
        // As a modal dialog leaves it.
        EnableWindow(main, FALSE);
    });
    HWND other = nullptr;
    auto caller = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        other = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
    });
    ASSERT_EQ(automation->Foreground(), other);
    const auto withLowBit = reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(main) | 1);
    OnProgram(caller, [&] { SetForegroundWindow(withLowBit); });
    EXPECT_EQ(automation->Foreground(), popup);
    EXPECT_EQ(automation->Focus(), popup);

    // Without the bit the window itself comes; so it does when its popup is
    // hidden.
    OnProgram(caller, [&] { SetForegroundWindow(other); });
    OnProgram(caller, [&] { SetForegroundWindow(main); });
    EXPECT_EQ(automation->Foreground(), main);
    OnProgram(owner, [&] { ShowWindow(popup, SW_HIDE); });
    OnProgram(caller, [&] { SetForegroundWindow(other); });
    OnProgram(caller, [&] { SetForegroundWindow(withLowBit); });
    EXPECT_EQ(automation->Foreground(), main);
}

TEST_F(WindowManagerTest, HitTestingFindsTheTopmostVisibleEnabledChildUnderThePoint) {
    Handler plain;
    HWND frame = nullptr;
    HWND lower = nullptr;
    HWND upper = nullptr;
    HWND hidden = nullptr;
    HWND disabled = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        frame = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
        // Children stack in creation order: the first is on top.
        upper = simtest::CreateTestWindow(&plain, WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100},
                                          frame, 1);
        lower = simtest::CreateTestWindow(&plain, WS_CHILD | WS_VISIBLE, RECT{50, 50, 200, 200},
                                          frame, 2);
        hidden = simtest::CreateTestWindow(&plain, WS_CHILD, RECT{150, 150, 230, 230}, frame, 3);
        disabled = simtest::CreateTestWindow(&plain, WS_CHILD | WS_VISIBLE | WS_DISABLED,
                                             RECT{0, 200, 50, 250}, frame, 4);
    });
    EXPECT_EQ(WindowFromPoint(POINT{60, 26 + 60}), upper);
    EXPECT_EQ(WindowFromPoint(POINT{150, 26 + 150}), lower);
    EXPECT_EQ(WindowFromPoint(POINT{210, 26 + 210}), frame);
    EXPECT_EQ(WindowFromPoint(POINT{10, 26 + 210}), frame);
    EXPECT_EQ(ChildWindowFromPoint(frame, POINT{220, 220}), hidden);
    EXPECT_EQ(ChildWindowFromPointEx(frame, POINT{220, 220}, CWP_SKIPINVISIBLE), frame);
    EXPECT_EQ(ChildWindowFromPointEx(frame, POINT{10, 210}, CWP_SKIPDISABLED), frame);
    EXPECT_EQ(ChildWindowFromPoint(frame, POINT{300, 10}), nullptr);
    EXPECT_EQ(GetWindow(frame, GW_CHILD), upper);
    EXPECT_EQ(GetWindow(upper, GW_HWNDNEXT), lower);
    EXPECT_EQ(GetDlgItem(frame, 4), disabled);
    EXPECT_EQ(GetDlgCtrlID(hidden), 3);
    POINT point{5, 5};
    MapWindowPoints(lower, frame, &point, 1);
    EXPECT_EQ(point.x, 55);
    EXPECT_EQ(point.y, 55);
}

TEST_F(WindowManagerTest, DeferredPositionsApplyTogetherAndChildrenCanChangeParents) {
    Handler plain;
    HWND frame = nullptr;
    HWND left = nullptr;
    HWND right = nullptr;
    HWND other = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        frame = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
        other = simtest::CreateTestWindow(&plain, WS_CHILD | WS_VISIBLE, RECT{0, 0, 240, 100},
                                          frame, 3);
        left = simtest::CreateTestWindow(&plain, WS_CHILD | WS_VISIBLE, RECT{0, 0, 1, 1}, frame, 1);
        right =
            simtest::CreateTestWindow(&plain, WS_CHILD | WS_VISIBLE, RECT{0, 0, 1, 1}, frame, 2);
        HDWP positions = BeginDeferWindowPos(2);
        positions = DeferWindowPos(positions, left, nullptr, 0, 0, 120, 50, SWP_NOZORDER);
        positions = DeferWindowPos(positions, right, nullptr, 120, 0, 120, 50, SWP_NOZORDER);
        EXPECT_TRUE(EndDeferWindowPos(positions));
        EXPECT_FALSE(EndDeferWindowPos(positions));
        EXPECT_EQ(SetParent(right, other), frame);
    });
    RECT rect{};
    GetWindowRect(left, &rect);
    EXPECT_EQ(rect.right - rect.left, 120);
    EXPECT_EQ(GetParent(right), other);
    EXPECT_EQ(GetDlgItem(frame, 2), nullptr);
    EXPECT_EQ(GetDlgItem(other, 2), right);
    EXPECT_TRUE(IsChild(frame, right));
    // Its position is now in its new parent's client area.
    GetWindowRect(right, &rect);
    EXPECT_EQ(rect.left, 120);
    EXPECT_EQ(rect.top, 26);
}

TEST_F(WindowManagerTest, HiddenWindowsAndTheirChildrenAreNotShown) {
    Handler plain;
    HWND frame = nullptr;
    HWND child = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        frame = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294}, nullptr, 0,
                                          u"Frame");
        child =
            simtest::CreateTestWindow(&plain, WS_CHILD | WS_VISIBLE, RECT{0, 0, 10, 10}, frame, 1);
    });
    EXPECT_TRUE(IsWindowVisible(child));
    OnProgram(program, [&] { ShowWindow(frame, SW_HIDE); });
    EXPECT_FALSE(IsWindowVisible(child));
    EXPECT_FALSE(IsWindowVisible(frame));
    EXPECT_EQ(automation->FindWindow(sim::WindowQuery().Text(u"Frame").Visible()), nullptr);
    EXPECT_EQ(automation->FindWindow(sim::WindowQuery().Text(u"Frame")), frame);
    WCHAR name[32] = {};
    EXPECT_EQ(GetClassNameW(child, name, 32), 10);
    EXPECT_EQ(std::u16string(name), u"TestWindow");
}

TEST_F(WindowManagerTest, StyleChangesAreAnnouncedAndTopLevelWindowsCanBeFoundAndListed) {
    std::vector<UINT> styleMessages;
    Handler styled = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_STYLECHANGING || message == WM_STYLECHANGED) {
            styleMessages.push_back(message);
        }
        return std::nullopt;
    };
    HWND first = nullptr;
    HWND second = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        first = simtest::CreateTestWindow(&styled, WS_VISIBLE, RECT{0, 26, 240, 294}, nullptr, 0,
                                          u"Vantrel");
        second = simtest::CreateTestWindow(&styled, 0, RECT{0, 26, 240, 294}, nullptr, 0, u"Other");
        const LONG_PTR old = SetWindowLongW(first, GWL_STYLE, WS_BORDER);
        EXPECT_EQ(old, static_cast<LONG_PTR>(WS_VISIBLE));
    });
    EXPECT_EQ(styleMessages, (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
    // Visibility is not a style to set: the window stays shown.
    EXPECT_EQ(GetWindowLongW(first, GWL_STYLE), static_cast<LONG_PTR>(WS_BORDER | WS_VISIBLE));
    EXPECT_EQ(FindWindowW(simtest::kTestClass, u"Vantrel"), first);
    EXPECT_EQ(FindWindowW(nullptr, u"Other"), second);
    EXPECT_EQ(FindWindowW(u"NoSuchClass", nullptr), nullptr);
    std::vector<HWND> listed;
    EnumWindows(
        [](HWND window, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&listed));
    EXPECT_EQ(listed.size(), 2u);
    DWORD pid = 0;
    EXPECT_EQ(GetWindowThreadProcessId(first, &pid), program->ThreadId());
    EXPECT_EQ(pid, program->Pid());
}

} // namespace

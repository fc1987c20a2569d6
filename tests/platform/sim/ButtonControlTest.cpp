// Buttons: BN_CLICKED for a tap that ends on the button, automatic check
// boxes and radio buttons checking themselves, plain check boxes leaving it
// to the program, and what the screen shows.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/Controls.h"
#include "platform/sim/MessageRecorder.h"

namespace {

class ButtonControlTest : public simtest::DeviceTest {
protected:
    sim::Program& Running() { return *device->Programs().back(); }

    // Launches the test program; each test holds it while it runs.
    simtest::RunningProgram Start() {
        return Launch([&](HINSTANCE) {
            simtest::RegisterTestClass();
            parent = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
        });
    }

    HWND Create(DWORD style, int id, int y, const char16_t* text) {
        HWND button = nullptr;
        OnProgram(Running(), [&] {
            button = CreateWindowExW(
                0, WC_BUTTONW, text, WS_CHILD | WS_VISIBLE | style, 10, y, 160, 20, parent,
                reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr, nullptr);
        });
        return button;
    }

    int Clicks(const sim::MessageLog& log, int id) {
        int count = 0;
        for (const auto& message : log.Of(parent)) {
            if (message.message == WM_COMMAND && message.wParam == MAKEWPARAM(id, BN_CLICKED)) {
                ++count;
            }
        }
        return count;
    }

    simtest::Handler plain;
    HWND parent = nullptr;
};

TEST_F(ButtonControlTest, ATapThatEndsOnThePushButtonClicksIt) {
    auto program = Start();
    const HWND button = Create(BS_PUSHBUTTON, 1014, 20, u"Associate SWF with me!");
    auto log = device->Recorders().Record({parent});
    automation->TapWindow(button);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(Clicks(*log, 1014), 1);

    // Pressed while the stylus is down: the face changes.
    const auto info = automation->Describe(button);
    ASSERT_TRUE(info);
    const POINT inside{info->clientRect.left + 4, info->clientRect.top + 4};
    const std::uint32_t up = automation->Screenshot()->Pixel(inside.x, inside.y);
    automation->StylusDown(simtest::Centre(info->rect));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_NE(automation->Screenshot()->Pixel(inside.x, inside.y), up);
    EXPECT_NE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    // Sliding off and lifting clicks nothing.
    automation->StylusMove(POINT{200, 250});
    automation->StylusUp(POINT{200, 250});
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(Clicks(*log, 1014), 1);
    EXPECT_EQ(automation->Screenshot()->Pixel(inside.x, inside.y), up);
}

TEST_F(ButtonControlTest, AutomaticCheckBoxesCheckThemselvesPlainOnesDoNot) {
    auto program = Start();
    const HWND automatic = Create(BS_AUTOCHECKBOX, 1021, 20, u"Landscape");
    const HWND plainBox = Create(BS_CHECKBOX, 1022, 50, u"Plain");
    auto log = device->Recorders().Record({parent});
    automation->TapWindow(automatic);
    automation->TapWindow(plainBox);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(automatic, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(plainBox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Clicks(*log, 1021), 1);
    EXPECT_EQ(Clicks(*log, 1022), 1);
    automation->TapWindow(automatic);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(automatic, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // A two-state box takes no third state.
    SendMessageW(automatic, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessageW(automatic, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ButtonControlTest, AutomaticRadioButtonsKeepOneCheckedInTheirGroup) {
    auto program = Start();
    const HWND first = Create(BS_AUTORADIOBUTTON | WS_GROUP, 1, 20, u"First");
    const HWND second = Create(BS_AUTORADIOBUTTON, 2, 50, u"Second");
    const HWND other = Create(BS_AUTORADIOBUTTON | WS_GROUP, 3, 80, u"Other group");
    SendMessageW(other, BM_SETCHECK, BST_CHECKED, 0);
    automation->TapWindow(first);
    automation->TapWindow(second);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(first, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(second, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(other, BM_GETCHECK, 0, 0), BST_CHECKED);
}

} // namespace

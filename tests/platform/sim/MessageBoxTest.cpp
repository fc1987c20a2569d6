// The message box: modal on the program's own queue (a 50 ms timer keeps
// firing), its text and caption, soft keys for its buttons, the owner
// disabled meanwhile, Escape, and the journal.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/sim/ControlSupport.h"

namespace {

using simtest::ButtonOnScreen;
using simtest::Centre;

class MessageBoxTest : public simtest::DeviceTest {
protected:
    sim::Program& Running() { return *device->Programs().back(); }

    // Launches the test program; each test holds it while it runs.
    simtest::RunningProgram Start() {
        handler = [this](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_TIMER && wParam == 101) {
                ++ticks;
                return 0;
            }
            return std::nullopt;
        };
        return Launch([&](HINSTANCE) {
            simtest::RegisterTestClass();
            frame = simtest::CreateTestWindow(&handler, WS_VISIBLE, RECT{0, 26, 240, 294}, nullptr,
                                              0, u"Vantrel");
            SetTimer(frame, 101, 50, nullptr);
        });
    }

    // Shows a box from the program; it stays open (the call has not
    // returned) until the test answers it.
    void Show(UINT type, const char16_t* text = u"Flash Movie not loaded") {
        EXPECT_FALSE(device->RunOnProgram(Running(), [this, type, text] {
            result = MessageBoxW(frame, text, u"Vantrel", type);
        }));
        box = automation->FindWindow(sim::WindowQuery().Class(sim::kMessageBoxClass).Visible());
        ASSERT_NE(box, nullptr);
        bar = simtest::MenuBarOf(*automation, box);
        ASSERT_NE(bar, nullptr);
    }

    simtest::Handler handler;
    HWND frame = nullptr;
    HWND box = nullptr;
    HWND bar = nullptr;
    int ticks = 0;
    int result = -1;
};

TEST_F(MessageBoxTest, TimersKeepFiringWhileTheBoxIsOpenAndOkAnswersIt) {
    auto program = Start();
    Show(MB_OK);
    EXPECT_EQ(automation->TextOf(box), u"Vantrel");
    EXPECT_FALSE(IsWindowEnabled(frame)) << "the owner waits for the box";
    ticks = 0;
    ASSERT_TRUE(device->Advance(500));
    EXPECT_GE(ticks, 9);
    EXPECT_LE(ticks, 11);
    EXPECT_EQ(result, -1);

    // The screen shows the text: the box's body is not all one colour.
    const auto screen = automation->Screenshot();
    const auto info = automation->Describe(box);
    ASSERT_TRUE(info);
    EXPECT_GE(simtest::ColoursIn(*screen, info->rect).size(), 3u);

    automation->Tap(Centre(ButtonOnScreen(bar, IDOK)));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_TRUE(IsWindowEnabled(frame));
    const auto entries = automation->Journal("MessageBoxW");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].args[1].Text(), "Flash Movie not loaded");
    EXPECT_EQ(entries[0].args[2].Text(), "Vantrel");
    EXPECT_EQ(entries[0].result.Int(), IDOK);
    ticks = 0;
    ASSERT_TRUE(device->Advance(100));
    EXPECT_GE(ticks, 1) << "and the timer goes on after it";
}

TEST_F(MessageBoxTest, EachButtonOfTheTypeIsASoftKey) {
    auto program = Start();
    Show(MB_YESNO | MB_ICONQUESTION, u"Associate?");
    EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(bar, TB_COMMANDTOINDEX, IDOK, 0), -1);
    // Escape cannot answer a yes-or-no question.
    automation->PressKey(VK_ESCAPE);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, -1);
    automation->Tap(Centre(ButtonOnScreen(bar, IDNO)));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, IDNO);
}

TEST_F(MessageBoxTest, EscapeCancelsABoxThatHasCancel) {
    auto program = Start();
    Show(MB_OKCANCEL);
    automation->PressKey(VK_ESCAPE);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(automation->Journal("MessageBoxW").back().result.Int(), IDCANCEL);
}

} // namespace

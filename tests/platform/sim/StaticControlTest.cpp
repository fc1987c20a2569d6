// The static control: texts that follow WM_SETTEXT, an icon named by the
// dialog template's number form, and STN_CLICKED for SS_NOTIFY only.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/Controls.h"
#include "platform/Resources.h"
#include "platform/sim/MessageRecorder.h"

namespace {

class StaticControlTest : public simtest::DeviceTest {
protected:
    simtest::RunningProgram Start() {
        return Launch(
            [&](HINSTANCE instance) {
                simtest::RegisterTestClass();
                parent = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
                // The number form a dialog template's icon control is created with.
                const WCHAR iconName[] = {0xFFFF, simtest::kIcon, 0};
                icon = CreateWindowExW(0, WC_STATICW, iconName, WS_CHILD | WS_VISIBLE | SS_ICON, 7,
                                       7, 20, 20, parent, reinterpret_cast<HMENU>(200), instance,
                                       nullptr);
                label = CreateWindowExW(0, WC_STATICW, u"Vantrel 1.5",
                                        WS_CHILD | WS_VISIBLE | SS_NOPREFIX, 40, 7, 150, 16, parent,
                                        reinterpret_cast<HMENU>(201), instance, nullptr);
                link = CreateWindowExW(0, WC_STATICW, u"Tap me", WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                                       40, 40, 150, 16, parent, reinterpret_cast<HMENU>(202),
                                       instance, nullptr);
            },
            resources);
    }

    std::vector<std::byte> resources = simtest::ControlTestResources();
    simtest::Handler plain;
    HWND parent = nullptr;
    HWND icon = nullptr;
    HWND label = nullptr;
    HWND link = nullptr;
};

TEST_F(StaticControlTest, AnIconFromTheProgramsResourcesIsDrawn) {
    auto program = Start();
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);
    const auto info = automation->Describe(icon);
    ASSERT_TRUE(info);
    const auto colours = simtest::ColoursIn(*automation->Screenshot(), info->rect);
    EXPECT_TRUE(colours.count(simtest::kIconColour));
}

TEST_F(StaticControlTest, NewTextIsShownAndOnlyNotifyingStaticsTellOfTaps) {
    auto program = Start();
    const auto info = automation->Describe(label);
    ASSERT_TRUE(info);
    const auto before = simtest::ColoursIn(*automation->Screenshot(), info->rect);
    EXPECT_GE(before.size(), 2u);
    SendMessageW(label, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u""));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(simtest::ColoursIn(*automation->Screenshot(), info->rect).size(), 1u)
        << "the old text is gone";

    auto log = device->Recorders().Record({parent});
    automation->TapWindow(label);
    automation->TapWindow(link);
    ASSERT_TRUE(device->RunUntilIdle());
    int clicks = 0;
    for (const auto& message : log->Of(parent)) {
        if (message.message == WM_COMMAND) {
            EXPECT_EQ(message.wParam, MAKEWPARAM(202, STN_CLICKED));
            ++clicks;
        }
    }
    EXPECT_EQ(clicks, 1);
}

} // namespace

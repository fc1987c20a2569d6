#include "host/DeviceState.h"

#include <gtest/gtest.h>

#include "StandInSession.h"
#include "platform/Controls.h"
#include "platform/Window.h"
#include "platform/sim/ControlSupport.h"

namespace host {
namespace {

using Json = nlohmann::ordered_json;

const Json* FindWindow(const Json& state, const std::string& className) {
    for (const Json& window : state["windows"]) {
        if (window["class"] == className) {
            return &window;
        }
    }
    return nullptr;
}

TEST(DeviceState, WindowsWithTheirPlaceAndTheMenuBarsButtons) {
    testing::StandInSession standIn;
    Session& session = *standIn.session;
    const Json state = CollectDeviceState(session);

    const Json* main = FindWindow(state, "VantrelStandIn");
    ASSERT_NE(main, nullptr) << state.dump(1);
    EXPECT_EQ((*main)["text"], "Stand-in movie.swf");
    EXPECT_EQ((*main)["parent"], nullptr);
    EXPECT_EQ((*main)["rect"], Json::array({0, 26, 240, 320 - 52}));
    EXPECT_EQ((*main)["visible"], true);
    EXPECT_EQ(state["foreground"], (*main)["handle"]);
    EXPECT_EQ(state["taskbarVisible"], true);

    const Json* bar = FindWindow(state, "menu_worker");
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ((*bar)["buttons"].size(), 2u) << bar->dump();
    const Json& open = (*bar)["buttons"][0];
    EXPECT_EQ(open["command"], 57600);
    EXPECT_EQ(open["hidden"], false);
    EXPECT_EQ(open["pressed"], false);
    // Where a tap on it goes, in screen pixels.
    ASSERT_EQ(open["rect"].size(), 4u);
    EXPECT_EQ(open["rect"][0], 0);
    EXPECT_EQ(open["rect"][1], 320 - 26);
    EXPECT_GT(open["rect"][2], 0);
    EXPECT_EQ((*bar)["rect"], Json::array({0, 320 - 26, 240, 26}));
    EXPECT_EQ(state["captionOkButton"], nullptr);

    EXPECT_TRUE(state["hotKeys"].empty());
    // The movie control's own account, with the stand-in's movie (not there).
    EXPECT_EQ(state["movie"]["url"], "file://movie.swf");
    EXPECT_EQ(state["movie"]["readyState"], 0);
    EXPECT_FALSE(state.contains("exitCode"));
}

TEST(DeviceState, ControlsReportWhatTheyHold) {
    testing::StandInSession standIn;
    Session& session = *standIn.session;
    const HWND main = session.PlayerMainWindow();
    // Controls made on the program's own thread, as the program would.
    HWND trackbar = nullptr;
    HWND list = nullptr;
    HWND check = nullptr;
    session.Device().RunOnProgram(session.Player(), [&] {
        trackbar = CreateWindowExW(0, u"msctls_trackbar32", u"", WS_CHILD | WS_VISIBLE, 0, 0, 100,
                                   20, main, reinterpret_cast<HMENU>(7), nullptr, nullptr);
        SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(5, 90));
        SendMessageW(trackbar, TBM_SETPOS, TRUE, 40);
        list = CreateWindowExW(0, u"ListBox", u"", WS_CHILD | WS_VISIBLE, 0, 30, 100, 60, main,
                               reinterpret_cast<HMENU>(8), nullptr, nullptr);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"one"));
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"two"));
        SendMessageW(list, LB_SETCURSEL, 1, 0);
        check = CreateWindowExW(0, u"Button", u"Keep", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0,
                                100, 100, 20, main, reinterpret_cast<HMENU>(9), nullptr, nullptr);
        SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    });
    const Json state = CollectDeviceState(session);

    const Json* slider = FindWindow(state, "msctls_trackbar32");
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ((*slider)["id"], 7);
    EXPECT_EQ((*slider)["rangeMin"], 5);
    EXPECT_EQ((*slider)["rangeMax"], 90);
    EXPECT_EQ((*slider)["pos"], 40);
    const Json* items = FindWindow(state, "ListBox");
    ASSERT_NE(items, nullptr);
    EXPECT_EQ((*items)["items"], Json::array({"one", "two"}));
    EXPECT_EQ((*items)["selection"], 1);
    const Json* box = FindWindow(state, "Button");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ((*box)["checked"], 1);
    EXPECT_EQ((*box)["text"], "Keep");
    EXPECT_EQ((*box)["parent"], state["foreground"]);
}

TEST(DeviceState, TheExitCodeOnceThePlayerHasEnded) {
    testing::StandInSession standIn("exit 3");
    const Json state = CollectDeviceState(*standIn.session);
    EXPECT_EQ(state["exitCode"], 3);
}

} // namespace
} // namespace host

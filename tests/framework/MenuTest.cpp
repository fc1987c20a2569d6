// Menus of the program's resources, the check and radio marks by position,
// and a popup menu whose commands go to the window it names.
#include "ProgramFixture.h"

#include <array>

#include "TestIds.h"
#include "framework/Menu.h"
#include "platform/Input.h"
#include "platform/Menus.h"

namespace {

class MenuTest : public ProgramFixture {
protected:
    void SetUp() override {
        Start();
        ASSERT_TRUE(log.frameLoaded) << Diagnostics();
    }

    // On the program's thread, where its menus are.
    void OnProgram(const std::function<void()>& fn) {
        ASSERT_TRUE(device->RunOnProgram(*program, fn));
    }

    static std::array<bool, 4> Checked(HMENU menu) {
        std::array<bool, 4> checked{};
        for (int position = 0; position < 4; ++position) {
            MENUITEMINFOW info;
            info.fMask = MIIM_STATE;
            GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
            checked[static_cast<std::size_t>(position)] = (info.fState & MFS_CHECKED) != 0;
        }
        return checked;
    }
};

TEST_F(MenuTest, RadioMarksByPositionMoveAndAPositionOutsideClearsThem) {
    OnProgram([] {
        framework::Menu menu;
        ASSERT_TRUE(menu.Load(IDR_TESTFRAME));
        const HMENU mode = GetSubMenu(menu.SubMenu(0), 2);
        ASSERT_NE(mode, nullptr);

        EXPECT_TRUE(framework::SetMenuRadioByPosition(mode, 0, 3, 2));
        EXPECT_EQ(Checked(mode), (std::array<bool, 4>{false, false, true, false}));
        MENUITEMINFOW info;
        info.fMask = MIIM_TYPE;
        GetMenuItemInfoW(mode, 2, TRUE, &info);
        EXPECT_NE(info.fType & MFT_RADIOCHECK, 0u);

        EXPECT_TRUE(framework::SetMenuRadioByPosition(mode, 0, 3, 0));
        EXPECT_EQ(Checked(mode), (std::array<bool, 4>{true, false, false, false}));
        // A value with no item (a mode read from a damaged file) shows no mark.
        framework::SetMenuRadioByPosition(mode, 0, 3, 7);
        EXPECT_EQ(Checked(mode), (std::array<bool, 4>{}));
        framework::SetMenuRadioByPosition(mode, 0, 3, -1);
        EXPECT_EQ(Checked(mode), (std::array<bool, 4>{}));
    });
}

TEST_F(MenuTest, ChecksAnItemByCommandInASubmenu) {
    OnProgram([] {
        framework::Menu menu;
        ASSERT_TRUE(menu.Load(IDR_TESTFRAME));
        EXPECT_TRUE(framework::SetMenuCheck(menu.Handle(), ID_MODE_LAST, true));
        EXPECT_EQ(Checked(GetSubMenu(menu.SubMenu(0), 2))[3], true);
        EXPECT_TRUE(framework::SetMenuCheck(menu.Handle(), ID_MODE_LAST, false));
        EXPECT_EQ(Checked(GetSubMenu(menu.SubMenu(0), 2))[3], false);
        EXPECT_FALSE(framework::SetMenuCheck(menu.Handle(), 12345, true));
    });
}

TEST_F(MenuTest, AMenuIsDestroyedOnceByItsLastOwner) {
    OnProgram([] {
        HMENU handle = nullptr;
        {
            framework::Menu first;
            ASSERT_TRUE(first.Load(IDR_TESTFRAME));
            handle = first.Handle();
            framework::Menu second = std::move(first);
            EXPECT_FALSE(first.IsLoaded());
            EXPECT_EQ(second.Handle(), handle);
            EXPECT_TRUE(IsMenu(handle));
        }
        EXPECT_FALSE(IsMenu(handle));
        framework::Menu missing;
        EXPECT_FALSE(missing.Load(999));
        EXPECT_EQ(missing.SubMenu(0), nullptr);
    });
}

// The popup's commands go to the view alone: the view's own command acts,
// and one only the frame handles (Exit) does nothing from there.
TEST_F(MenuTest, APopupFromTheResourcesSendsItsCommandsToItsTarget) {
    PressKey(VK_F15);
    ASSERT_FALSE(log.Has("view:popup-failed")) << Diagnostics();
    PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    ASSERT_TRUE(log.Has("view:popup-done")) << Diagnostics();
    EXPECT_TRUE(log.Has("view:view-and-frame"));
    EXPECT_FALSE(log.Has("frame:view-and-frame"));

    PressKey(VK_F15);
    PressKey(VK_UP);
    PressKey(VK_RETURN);
    EXPECT_EQ(log.Count("view:popup-done"), 2);
    EXPECT_FALSE(Finished());
    EXPECT_FALSE(log.Has("frame:destroy"));
}

} // namespace

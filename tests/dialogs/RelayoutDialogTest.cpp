// Moving a dialog's controls to another template's places: what a walk moves,
// where it stops, and when it reports failure.
#include <gtest/gtest.h>

#include <functional>

#include "dialogs/RelayoutDialog.h"
#include "platform/Dialogs.h"
#include "platform/Window.h"
#include "platform/sim/Automation.h"
#include "platform/sim/Device.h"
#include "resources/ProgramResources.h"
#include "resources/resource.h"

namespace {

INT_PTR NoProcedure(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

class RelayoutDialogTest : public ::testing::Test {
protected:
    // Runs work in a program with the player's resources, on a dialog made
    // from the Options template.
    void OnOptionsDialog(std::function<void(HINSTANCE, HWND)> work) {
        sim::ProgramImage image;
        image.resources = resources::ProgramResources();
        image.entry = [work](HINSTANCE instance, LPWSTR) {
            const HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_OPTIONS), nullptr,
                                                   &NoProcedure, 0);
            work(instance, dialog);
            DestroyWindow(dialog);
            return 0;
        };
        sim::Program& program = device.Launch(image, u"");
        ASSERT_TRUE(device.RunUntilIdle());
        EXPECT_TRUE(program.Finished());
    }

    static RECT Where(HWND dialog, int id) {
        RECT rect{};
        GetWindowRect(GetDlgItem(dialog, id), &rect);
        return rect;
    }

    static sim::DeviceConfig Config(const std::filesystem::path& directory) {
        sim::DeviceConfig config;
        config.directory = directory;
        return config;
    }

    sim::TemporaryDirectory directory;
    sim::Device device{Config(directory.Path())};
};

TEST_F(RelayoutDialogTest, EveryControlGoesBackToItsPlaceButStaticsWithoutIdsFailTheResult) {
    OnOptionsDialog([](HINSTANCE instance, HWND dialog) {
        const RECT placed = Where(dialog, IDC_OPTIONS_BACKLIGHT);
        MoveWindow(GetDlgItem(dialog, IDC_OPTIONS_BACKLIGHT), 0, 0, 10, 10, TRUE);
        // Four texts of the template share the id 0xFFFF.
        EXPECT_FALSE(player::RelayoutDialog(instance, dialog, IDD_OPTIONS));
        const RECT back = Where(dialog, IDC_OPTIONS_BACKLIGHT);
        EXPECT_EQ(back.left, placed.left);
        EXPECT_EQ(back.top, placed.top);
        EXPECT_EQ(back.right, placed.right);
    });
}

TEST_F(RelayoutDialogTest, AControlMissingFromTheDialogEndsTheWalk) {
    OnOptionsDialog([](HINSTANCE instance, HWND dialog) {
        MoveWindow(GetDlgItem(dialog, IDC_OPTIONS_BACKLIGHT), 0, 0, 10, 10, TRUE);
        // The hot-key list comes before the backlight list in the template.
        DestroyWindow(GetDlgItem(dialog, IDC_OPTIONS_HOTKEY));
        EXPECT_FALSE(player::RelayoutDialog(instance, dialog, IDD_OPTIONS));
        const RECT stayed = Where(dialog, IDC_OPTIONS_BACKLIGHT);
        POINT origin{0, 0};
        ClientToScreen(dialog, &origin);
        EXPECT_EQ(stayed.left, origin.x);
        EXPECT_EQ(stayed.right - stayed.left, 10);
        // No such template.
        EXPECT_FALSE(player::RelayoutDialog(instance, dialog, 999));
    });
}

} // namespace

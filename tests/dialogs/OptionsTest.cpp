// The Options dialog as the user meets it: its lists and hidden controls,
// the settings written after OK and after Cancel with their normalisations,
// the hardware keys idle while it is up, and "Associate SWF with me!" with
// the registry it leaves, also when the registry fails part-way.
#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Program.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/MessageBoxQuery.h"
#include "platform/sim/SystemServices.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"

namespace {

using playertest::PlayerFixture;

constexpr char16_t kIconValue[] = u"\\Program Files\\Vantrel\\Vantrel.exe,0";
constexpr char16_t kCommandValue[] = u"\"\\Program Files\\Vantrel\\Vantrel.exe\" %1";
constexpr char16_t kDoneText[] = u"Successfully associate SWF with Vantrel";

class OptionsTest : public PlayerFixture {
protected:
    HWND OpenOptions() {
        ChooseMenu({u"Options..."});
        const HWND dialog = Dialog();
        EXPECT_NE(dialog, nullptr) << Report();
        EXPECT_EQ(automation->TextOf(dialog), u"Options");
        return dialog;
    }

    HWND Item(int id) const {
        return automation->FindWindow(sim::WindowQuery().Within(Dialog()).Id(id));
    }

    std::vector<std::u16string> ListItems(HWND list) const {
        std::vector<std::u16string> items;
        const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            WCHAR text[64] = {};
            SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            items.emplace_back(text);
        }
        return items;
    }

    // Opens the "Backlight:" list and taps its second item.
    void ChooseSecondBacklight() {
        TapWindow(Item(IDC_OPTIONS_BACKLIGHT));
        const HWND list =
            automation->FindWindow(sim::WindowQuery().Class(sim::kDropListClass).Visible());
        ASSERT_NE(list, nullptr) << Report();
        const RECT rect = ScreenRect(list);
        Tap(POINT{(rect.left + rect.right) / 2, rect.bottom - 4});
    }

    void Associate() { TapWindow(Item(IDC_OPTIONS_ASSOCIATE)); }

    // The text of the message box in front, or "" when none is; the box is
    // closed with its OK.
    std::u16string TakeMessage() {
        const HWND box = automation->FindWindow(sim::WindowQuery().Class(sim::kMessageBoxClass));
        const auto content = box != nullptr ? sim::DescribeMessageBox(box) : std::nullopt;
        if (!content) {
            return {};
        }
        TapDialogSoftKey(IDOK);
        return content->text;
    }

    // A key's default value as stored: its text, or "(none)".
    std::u16string DefaultValue(std::vector<std::u16string> keys) const {
        const auto tree = device->Services().Registry().Snapshot();
        const sim::RegistryKey* key =
            tree ? tree->Find(sim::RegistryPath{sim::RegistryRoot::ClassesRoot, std::move(keys)})
                 : nullptr;
        const auto value = key != nullptr ? key->values.find(u"") : decltype(key->values.end()){};
        if (key == nullptr || value == key->values.end()) {
            return u"(none)";
        }
        const std::vector<BYTE>& data = value->second.data;
        std::u16string text;
        for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
            text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        }
        // The terminator is stored with the text.
        EXPECT_EQ(value->second.type, REG_SZ);
        EXPECT_FALSE(text.empty() || text.back() != u'\0') << text::ToUtf8(text);
        if (!text.empty()) {
            text.pop_back();
        }
        return text;
    }

    void SetDefaultValue(const std::u16string& key, const std::u16string& value) {
        RunOnDevice([&] {
            HKEY handle = nullptr;
            DWORD disposition = 0;
            RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, 0, nullptr, &handle,
                            &disposition);
            RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>((value.size() + 1) * 2));
            RegCloseKey(handle);
        });
    }
};

TEST_F(OptionsTest, TheDialogShowsTheBacklightListAndHidesWhatItNeverUses) {
    StartPlayer();
    OpenOptions();
    const HWND backlight = Item(IDC_OPTIONS_BACKLIGHT);
    EXPECT_EQ(ListItems(backlight),
              (std::vector<std::u16string>{u"Keep Backlight", u"Do not keep backlight"}));
    EXPECT_EQ(SendMessageW(backlight, CB_GETCURSEL, 0, 0), 0);
    const HWND hotKeys = Item(IDC_OPTIONS_HOTKEY);
    EXPECT_EQ(ListItems(hotKeys),
              (std::vector<std::u16string>{u"(NONE)", u"ACTION", u"APP1", u"APP2", u"APP3", u"APP4",
                                           u"APP5", u"APP6"}));
    EXPECT_EQ(SendMessageW(hotKeys, CB_GETCURSEL, 0, 0), 0);
    EXPECT_FALSE(IsVisible(hotKeys));
    EXPECT_FALSE(IsVisible(Item(IDC_OPTIONS_REMOVE)));
    EXPECT_FALSE(IsVisible(Item(IDC_OPTIONS_LANDSCAPE)));
    EXPECT_TRUE(IsVisible(Item(IDC_OPTIONS_ASSOCIATE)));
    // The landscape option comes in checked from its default of 1.
    EXPECT_EQ(SendMessageW(Item(IDC_OPTIONS_LANDSCAPE), BM_GETCHECK, 0, 0), BST_CHECKED);
    TapDialogSoftKey(IDCANCEL);
}

TEST_F(OptionsTest, OkStoresTheChosenBacklightAndWritesTheSettings) {
    StartPlayer();
    OpenOptions();
    ChooseSecondBacklight();
    const std::size_t mark = Mark();
    TapDialogSoftKey(IDOK);
    EXPECT_EQ(Dialog(), nullptr);
    EXPECT_EQ(ReadText(playertest::kSettingsPath), "1 1 10 560 1 0 0");
    EXPECT_FALSE(Since(mark).empty());
}

TEST_F(OptionsTest, CancelStillWritesTheSettingsWithTheTwoNormalisations) {
    WriteText(playertest::kSettingsPath, "0 7 10 560 44 0 8");
    StartPlayer();
    OpenOptions();
    ChooseSecondBacklight();
    TapDialogSoftKey(IDCANCEL);
    // The choice is dropped; the fifth value comes back as 1, a landscape
    // value outside 0 to 2 as 0.
    EXPECT_EQ(ReadText(playertest::kSettingsPath), "0 0 10 560 1 0 8");
}

TEST_F(OptionsTest, ABacklightValueWithoutAnItemShowsNoSelectionAndOkStoresMinusOne) {
    WriteText(playertest::kSettingsPath, "5 1 10 560 1 0 0");
    StartPlayer();
    OpenOptions();
    EXPECT_EQ(SendMessageW(Item(IDC_OPTIONS_BACKLIGHT), CB_GETCURSEL, 0, 0), CB_ERR);
    TapDialogSoftKey(IDOK);
    EXPECT_EQ(ReadText(playertest::kSettingsPath), "-1 1 10 560 1 0 0");
}

TEST_F(OptionsTest, NoHardwareKeyActsWhileTheDialogIsUp) {
    StartPlayer();
    OpenOptions();
    Press(sim::HardwareButton::App1);
    Press(sim::HardwareButton::Action);
    TapDialogSoftKey(IDCANCEL);
    EXPECT_EQ(ScreenRect(Frame()), (RECT{0, 26, 240, 294}));
    Press(sim::HardwareButton::Action);
    EXPECT_EQ(ScreenRect(Frame()), (RECT{0, 0, 240, 320}));
}

TEST_F(OptionsTest, TheAssociationNamesTheDefaultClassOnADeviceWithoutOne) {
    StartPlayer();
    OpenOptions();
    const std::size_t mark = Mark();
    Associate();
    EXPECT_EQ(TakeMessage(), kDoneText);
    EXPECT_EQ(DefaultValue({u".swf"}), u"ShockwaveFlashFile");
    EXPECT_EQ(DefaultValue({u"ShockwaveFlashFile", u"DefaultIcon"}), kIconValue);
    EXPECT_EQ(DefaultValue({u"ShockwaveFlashFile", u"Shell", u"Open", u"Command"}), kCommandValue);
    // Sizes count the terminator; the keys close in the order they opened.
    std::vector<std::int64_t> sizes;
    for (const auto& set : Only(Since(mark), {"RegSetValueExW"})) {
        sizes.push_back(set.args.back().Int());
    }
    std::vector<std::string> closed;
    for (const auto& close : Only(Since(mark), {"RegCloseKey"})) {
        closed.push_back(close.args[0].Text());
    }
    EXPECT_EQ(closed, (std::vector<std::string>{
                          "HKEY_CLASSES_ROOT\\.swf", "HKEY_CLASSES_ROOT\\ShockwaveFlashFile",
                          "HKEY_CLASSES_ROOT\\ShockwaveFlashFile\\DefaultIcon",
                          "HKEY_CLASSES_ROOT\\ShockwaveFlashFile\\Shell\\Open\\Command"}));
    EXPECT_EQ(device->Services().Registry().OpenHandles(), 0u);

    // Twice: the same values, and the message again. Cancel undoes nothing.
    Associate();
    EXPECT_EQ(TakeMessage(), kDoneText);
    TapDialogSoftKey(IDCANCEL);
    EXPECT_EQ(DefaultValue({u"ShockwaveFlashFile", u"Shell", u"Open", u"Command"}), kCommandValue);
}

TEST_F(OptionsTest, AnotherClassNamedByTheExtensionIsTakenOver) {
    SetDefaultValue(u".swf", u"Other.Movie");
    SetDefaultValue(u"Other.Movie\\DefaultIcon", u"\\Windows\\other.exe,3");
    SetDefaultValue(u"Other.Movie\\Shell\\Open\\Command", u"\\Windows\\other.exe %1");
    StartPlayer();
    OpenOptions();
    Associate();
    EXPECT_EQ(TakeMessage(), kDoneText);
    EXPECT_EQ(DefaultValue({u".swf"}), u"Other.Movie");
    EXPECT_EQ(DefaultValue({u"Other.Movie", u"DefaultIcon"}), kIconValue);
    EXPECT_EQ(DefaultValue({u"Other.Movie", u"Shell", u"Open", u"Command"}), kCommandValue);
    EXPECT_EQ(DefaultValue({u"ShockwaveFlashFile"}), u"(none)");
}

TEST_F(OptionsTest, ARegistryFailurePartWayEndsSilentlyKeepingWhatWasWritten) {
    StartPlayer();
    OpenOptions();
    sim::RegistryService& registry = device->Services().Registry();
    // Each run fails one call later than the one before, until one runs
    // through: create ".swf", read it, write the class name (until a run has
    // written it: later runs find it), create the class, its icon key, write
    // the icon, create the command key, write the command.
    int runs = 0;
    for (std::size_t calls = 0; calls < 20; ++calls) {
        registry.FailAfter(calls, static_cast<LONG>(ERROR_WRITE_FAULT));
        Associate();
        registry.Heal();
        ++runs;
        const std::u16string message = TakeMessage();
        EXPECT_EQ(registry.OpenHandles(), 0u) << "failing after " << calls;
        if (!message.empty()) {
            EXPECT_EQ(message, kDoneText);
            break;
        }
        // Only the class name can be written before the fourth call fails.
        if (calls >= 3) {
            EXPECT_EQ(DefaultValue({u".swf"}), u"ShockwaveFlashFile") << calls;
        }
        if (calls >= 6) {
            EXPECT_EQ(DefaultValue({u"ShockwaveFlashFile", u"DefaultIcon"}), kIconValue) << calls;
        }
        EXPECT_EQ(DefaultValue({u"ShockwaveFlashFile", u"Shell", u"Open", u"Command"}), u"(none)");
    }
    EXPECT_EQ(runs, 8);
    TapDialogSoftKey(IDCANCEL);
}

} // namespace

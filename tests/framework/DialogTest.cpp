// The modal dialog, driven as a user drives it: the form dialog of the test
// program opens on F13 with its members preset (name "ab", count 4, shown 77,
// flag checked, list "green", choice "three"); the user taps and types, then
// taps a soft key.
#include "ProgramFixture.h"

#include "TestIds.h"
#include "framework/Dialog.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/Window.h"
#include "platform/sim/WindowManager.h"

namespace {

using testprogram::FormValues;

class DialogTest : public ProgramFixture {
protected:
    void SetUp() override {
        Start();
        ASSERT_TRUE(log.frameLoaded) << Diagnostics();
        PressKey(VK_F13);
        ASSERT_NE(log.form, nullptr) << Diagnostics();
        ASSERT_NE(log.formBar, nullptr) << Diagnostics();
        ASSERT_FALSE(log.formEnded);
    }

    HWND Item(int id) const { return GetDlgItem(log.form, id); }

    // A tap just inside the right end of an edit box, which puts the caret
    // after its text.
    void TapEndOf(int id) {
        const RECT rect = ScreenRect(Item(id));
        Tap(POINT{rect.right - 3, (rect.top + rect.bottom) / 2});
    }
    void TapListItem(int id, int index) {
        RECT item;
        ASSERT_NE(SendMessageW(Item(id), LB_GETITEMRECT, static_cast<WPARAM>(index),
                               reinterpret_cast<LPARAM>(&item)),
                  LB_ERR);
        TapClient(Item(id), POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    }
    // Soft key 0 is "OK", 1 "Cancel".
    void TapSoftKey(int index) {
        RECT button;
        ASSERT_NE(SendMessageW(log.formBar, TB_GETITEMRECT, static_cast<WPARAM>(index),
                               reinterpret_cast<LPARAM>(&button)),
                  0);
        const RECT bar = ScreenRect(log.formBar);
        Tap(POINT{bar.left + (button.left + button.right) / 2,
                  bar.top + (button.top + button.bottom) / 2});
    }
    // The user's edits: name "ab" + "cd", count "4" + "2", the flag cleared,
    // "blue" picked.
    void EditEveryField() {
        TapEndOf(IDC_FORM_NAME);
        Type(u"cd");
        TapEndOf(IDC_FORM_COUNT);
        Type(u"2");
        TapCentre(Item(IDC_FORM_FLAG));
        TapListItem(IDC_FORM_LIST, 2);
    }
};

TEST_F(DialogTest, ShowsItsMembersAndReturnsWhatTheUserEnteredOnOk) {
    // The members, in the controls.
    EXPECT_EQ(TextOf(Item(IDC_FORM_NAME)), u"ab");
    EXPECT_EQ(TextOf(Item(IDC_FORM_COUNT)), u"4");
    EXPECT_EQ(TextOf(Item(IDC_FORM_SHOWN)), u"77");
    EXPECT_EQ(SendMessageW(Item(IDC_FORM_FLAG), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(Item(IDC_FORM_LIST), LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(Item(IDC_FORM_CHOICE), CB_GETCURSEL, 0, 0), 2);
    // Without a parent the main window owns the dialog, and waits for it.
    EXPECT_EQ(GetWindow(log.form, GW_OWNER), log.frame);
    EXPECT_FALSE(IsWindowEnabled(log.frame));

    EditEveryField();
    ASSERT_TRUE(log.Has("form:list-pick")) << Diagnostics();
    TapSoftKey(0);

    ASSERT_TRUE(log.formEnded) << Diagnostics();
    EXPECT_EQ(log.formResult, IDOK);
    EXPECT_EQ(log.formValues, (FormValues{u"abcd", 42, 77, BST_UNCHECKED, 2, 2}));
    EXPECT_TRUE(IsWindowEnabled(log.frame));
}

TEST_F(DialogTest, CancelReadsNothingBack) {
    EditEveryField();
    TapSoftKey(1);

    ASSERT_TRUE(log.formEnded) << Diagnostics();
    EXPECT_EQ(log.formResult, IDCANCEL);
    EXPECT_EQ(log.formValues, testprogram::Behaviour{}.formPreset);
}

// An integer binding whose text is not a number keeps the dialog open with the
// focus on that field and its text selected, and changes no member at all
// (not even those read before it); once the user fixes it, OK goes through.
TEST_F(DialogTest, OkWithANonNumberKeepsTheDialogOpenAndChangesNoMember) {
    TapEndOf(IDC_FORM_NAME);
    Type(u"cd");
    TapEndOf(IDC_FORM_COUNT);
    Type(u"x");
    ASSERT_EQ(TextOf(Item(IDC_FORM_COUNT)), u"4x");
    TapSoftKey(0);

    ASSERT_FALSE(log.formEnded);
    ASSERT_TRUE(IsWindow(log.form));
    ASSERT_NE(device->Windows().Focus(), nullptr);
    EXPECT_EQ(device->Windows().Focus()->handle, Item(IDC_FORM_COUNT));

    // The selected text goes as the user types over it.
    Type(u"17");
    EXPECT_EQ(TextOf(Item(IDC_FORM_COUNT)), u"17");
    TapSoftKey(0);
    ASSERT_TRUE(log.formEnded) << Diagnostics();
    EXPECT_EQ(log.formResult, IDOK);
    EXPECT_EQ(log.formValues.name, u"abcd");
    EXPECT_EQ(log.formValues.count, 17);
}

TEST_F(DialogTest, ANonNumberThenCancelLeavesEveryMemberAsItWas) {
    TapEndOf(IDC_FORM_NAME);
    Type(u"cd");
    TapEndOf(IDC_FORM_COUNT);
    Type(u"x");
    TapSoftKey(0);
    ASSERT_FALSE(log.formEnded);

    TapSoftKey(1);
    ASSERT_TRUE(log.formEnded) << Diagnostics();
    EXPECT_EQ(log.formResult, IDCANCEL);
    EXPECT_EQ(log.formValues, testprogram::Behaviour{}.formPreset);
}

TEST_F(DialogTest, ADialogThatGoesAwayWithoutEndingNeverReadsAsOk) {
    EditEveryField();
    // The dialog's table destroys its window on this message.
    ASSERT_TRUE(device->PostFromOutside(log.form, WM_APP + 1, 0, 0));
    ASSERT_TRUE(device->RunUntilIdle());

    ASSERT_TRUE(log.formEnded) << Diagnostics();
    EXPECT_EQ(log.formResult, framework::Dialog::kAborted);
    EXPECT_EQ(log.formValues, testprogram::Behaviour{}.formPreset);
    EXPECT_FALSE(Finished());
}

} // namespace

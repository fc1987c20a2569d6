// The edit control: typed text and what the parent hears of it, the caret
// placed by a tap, horizontal scrolling, the length limit and the filters of
// the styles; and text typed into a dialog's edit box coming back after the
// dialog's OK soft key.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/Shell.h"
#include "platform/sim/MessageRecorder.h"

namespace {

using simtest::Centre;

constexpr int kEditId = 1002;

class EditControlTest : public simtest::DeviceTest {
protected:
    sim::Program& Running() { return *device->Programs().back(); }

    HWND CreateEdit(DWORD style, RECT rect = RECT{10, 40, 130, 60}) {
        HWND edit = nullptr;
        OnProgram(Running(), [&] {
            edit =
                CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE | WS_BORDER | style,
                                rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                parent, reinterpret_cast<HMENU>(kEditId), nullptr, nullptr);
        });
        return edit;
    }

    std::u16string Text(HWND edit) {
        WCHAR buffer[256] = {};
        SendMessageW(edit, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    // The notification codes the parent got from the edit control.
    std::vector<WORD> Notifications(const sim::MessageLog& log) {
        std::vector<WORD> codes;
        for (const auto& message : log.Of(parent)) {
            if (message.message == WM_COMMAND && LOWORD(message.wParam) == kEditId) {
                codes.push_back(HIWORD(message.wParam));
            }
        }
        return codes;
    }

    // Launches the test program; each test holds it while it runs.
    simtest::RunningProgram Start() {
        return Launch(
            [&](HINSTANCE module) {
                instance = module;
                simtest::RegisterTestClass();
                parent = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
            },
            resources);
    }

    std::vector<std::byte> resources = simtest::ControlTestResources();
    simtest::Handler plain;
    HINSTANCE instance = nullptr;
    HWND parent = nullptr;
};

TEST_F(EditControlTest, TypedTextGoesInAtTheCaretAndEveryChangeIsAnnounced) {
    auto program = Start();
    const HWND edit = CreateEdit(ES_AUTOHSCROLL);
    automation->TapWindow(edit);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(automation->Focus(), edit);
    auto log = device->Recorders().Record({parent});
    automation->TypeText(u"12");
    automation->PressKey(VK_HOME);
    automation->TypeText(u"0");
    automation->PressKey(VK_END);
    automation->PressKey(VK_BACK);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(Text(edit), u"01");
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 2);
    EXPECT_EQ(Notifications(*log), (std::vector<WORD>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE,
                                                      EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));

    // A program's text replaces it, tells the parent, and is no user edit.
    log->Clear();
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"file.swf"));
    EXPECT_EQ(Text(edit), u"file.swf");
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    EXPECT_EQ(Notifications(*log), (std::vector<WORD>{EN_UPDATE, EN_CHANGE}));
}

TEST_F(EditControlTest, SelectionMessagesAndReplacingTheSelection) {
    auto program = Start();
    const HWND edit = CreateEdit(ES_AUTOHSCROLL);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"hello world"));
    SendMessageW(edit, EM_SETSEL, 6, -1);
    DWORD start = 0;
    DWORD end = 0;
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                           reinterpret_cast<LPARAM>(&end)),
              MAKELRESULT(6, 11));
    EXPECT_EQ(start, 6u);
    EXPECT_EQ(end, 11u);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"there"));
    EXPECT_EQ(Text(edit), u"hello there");
    EXPECT_TRUE(SendMessageW(edit, EM_CANUNDO, 0, 0));
    SendMessageW(edit, EM_UNDO, 0, 0);
    EXPECT_EQ(Text(edit), u"hello world");
    // A buffer too small gets what fits, terminated.
    WCHAR small[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(small)), 3);
    EXPECT_EQ(std::u16string(small), u"hel");
}

TEST_F(EditControlTest, ATapPlacesTheCaretWhereTheTextWasTapped) {
    auto program = Start();
    const HWND edit = CreateEdit(ES_AUTOHSCROLL);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"abcdef"));
    const LRESULT third = SendMessageW(edit, EM_POSFROMCHAR, 3, 0);
    automation->TapClient(edit, POINT{LOWORD(static_cast<std::uintptr_t>(third)) + 1, 5});
    automation->TypeText(u"-");
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(Text(edit), u"abc-def");
}

TEST_F(EditControlTest, AutoScrollKeepsTheCaretInViewAndWithoutItTheBoxTakesOnlyWhatFits) {
    auto program = Start();
    const HWND scrolling = CreateEdit(ES_AUTOHSCROLL);
    const std::u16string longText = u"http://example.com/a/rather/long/path/to/a/movie.swf";
    automation->TapWindow(scrolling);
    automation->TypeText(longText);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(Text(scrolling), longText);
    EXPECT_GT(SendMessageW(scrolling, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the start scrolled out";
    RECT client{};
    GetClientRect(scrolling, &client);
    const LRESULT caret = SendMessageW(scrolling, EM_POSFROMCHAR, longText.size(), 0);
    EXPECT_LE(static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(caret))), client.right);
    // Going home scrolls back.
    automation->PressKey(VK_HOME);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(scrolling, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    const HWND fixed = CreateEdit(0, RECT{10, 80, 130, 100});
    auto log = device->Recorders().Record({parent});
    automation->TapWindow(fixed);
    automation->TypeText(longText);
    ASSERT_TRUE(device->RunUntilIdle());
    // What is kept fits the box; characters that would not fit were refused.
    const std::u16string kept = Text(fixed);
    EXPECT_LT(kept.size(), longText.size());
    EXPECT_EQ(kept.substr(0, 7), u"http://");
    RECT box{};
    GetClientRect(fixed, &box);
    const LRESULT end = SendMessageW(fixed, EM_POSFROMCHAR, kept.size(), 0);
    EXPECT_LE(static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(end))), box.right);
    EXPECT_EQ(SendMessageW(fixed, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "nothing scrolls";
    const auto codes = Notifications(*log);
    EXPECT_NE(std::find(codes.begin(), codes.end(), EN_MAXTEXT), codes.end());
}

TEST_F(EditControlTest, LimitAndStylesFilterWhatIsTyped) {
    auto program = Start();
    const HWND numbers = CreateEdit(ES_AUTOHSCROLL | ES_NUMBER);
    SendMessageW(numbers, EM_LIMITTEXT, 3, 0);
    EXPECT_EQ(SendMessageW(numbers, EM_GETLIMITTEXT, 0, 0), 3);
    auto log = device->Recorders().Record({parent});
    automation->TapWindow(numbers);
    automation->TypeText(u"1a2-34");
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(Text(numbers), u"123");
    const auto codes = Notifications(*log);
    EXPECT_NE(std::find(codes.begin(), codes.end(), EN_MAXTEXT), codes.end());

    const HWND upper = CreateEdit(ES_AUTOHSCROLL | ES_UPPERCASE, RECT{10, 80, 130, 100});
    automation->TapWindow(upper);
    automation->TypeText(u"swf");
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(Text(upper), u"SWF");

    SendMessageW(upper, EM_SETREADONLY, TRUE, 0);
    automation->TypeText(u"x");
    automation->PressKey(VK_BACK);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(Text(upper), u"SWF");
}

// The dialog of the next test: its soft keys come from a menu resource, and
// OK reads the edit box before the dialog ends.
struct TypingRun {
    HINSTANCE instance = nullptr;
    HWND bar = nullptr;
    std::u16string typed;
};

INT_PTR TypingDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* run = reinterpret_cast<TypingRun*>(GetWindowLongW(dialog, DWL_USER));
    switch (message) {
    case WM_INITDIALOG: {
        run = reinterpret_cast<TypingRun*>(lParam);
        SetWindowLongW(dialog, DWL_USER, lParam);
        SHMENUBARINFO info;
        info.hwndParent = dialog;
        info.dwFlags = SHCMBF_HMENU;
        info.nToolBarId = simtest::kSoftKeyMenu;
        info.hInstRes = run->instance;
        SHCreateMenuBar(&info);
        run->bar = info.hwndMB;
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            WCHAR buffer[64] = {};
            GetDlgItemTextW(dialog, kEditId, buffer, 64);
            run->typed = buffer;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

TEST_F(EditControlTest, TextTypedIntoADialogComesBackAfterItsOkSoftKey) {
    auto program = Start();
    const simtest::Bytes dialogTemplate = simtest::DialogTemplate(
        WS_POPUP | WS_CAPTION, 0, 0, 188, 95, u"Jump to Position:",
        {{WS_CHILD | WS_VISIBLE, 7, 51, 37, 8, 0xFFFF, 0x82, u"", u"Jump to"},
         {WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 48, 50, 62, 11, kEditId,
          0x81, u"", u""}});
    TypingRun run;
    run.instance = instance;
    INT_PTR result = -2;
    EXPECT_FALSE(device->RunOnProgram(Running(), [&] {
        result = DialogBoxIndirectParamW(
            instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data.data()), parent,
            TypingDialog, reinterpret_cast<LPARAM>(&run));
    })) << "the dialog stays open";
    ASSERT_NE(run.bar, nullptr);
    const HWND edit =
        automation->FindWindow(sim::WindowQuery().Class(WC_EDITW).Id(kEditId).Visible());
    ASSERT_NE(edit, nullptr);
    automation->TapWindow(edit);
    automation->TypeText(u"50%");
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, -2);

    automation->Tap(Centre(simtest::ButtonOnScreen(run.bar, IDOK)));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(run.typed, u"50%");
    EXPECT_EQ(automation->FindWindow(sim::WindowQuery().Class(WC_EDITW).Id(kEditId)), nullptr);
    EXPECT_FALSE(IsWindow(run.bar)) << "the soft keys went with the dialog";
}

} // namespace

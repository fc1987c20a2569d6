// The dialog manager: dialogs from templates (dialog units, controls by class
// number, WM_INITDIALOG and the first tab stop), modal runs with their result,
// the owner disabled meanwhile, timers still running, the dialog keyboard, and
// WM_QUIT ending a modal loop.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/sim/DialogManager.h"
#include "platform/sim/UiFont.h"

namespace {

using simtest::DeviceTest;
using simtest::DialogItemSpec;
using simtest::Handler;

constexpr WORD kDialogId = 141;
constexpr WORD kEditId = 1009;
constexpr WORD kButtonId = 1010;

// Stand-ins for the device's edit and button classes, registered by the test
// program under their names: an edit keeps its text; a button sends
// BN_CLICKED when tapped.
LRESULT StandInEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) {
        return DLGC_WANTCHARS | DLGC_HASSETSEL;
    }
    if (message == WM_CHAR && wParam >= u' ') {
        WCHAR text[256] = {};
        const int length = GetWindowTextW(window, text, 255);
        text[length] = static_cast<WCHAR>(wParam);
        SetWindowTextW(window, text);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT StandInButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) {
        SendMessageW(GetParent(window), WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(window)), BN_CLICKED),
                     reinterpret_cast<LPARAM>(window));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterStandIns() {
    WNDCLASSW edit;
    edit.lpfnWndProc = StandInEdit;
    edit.lpszClassName = WC_EDITW;
    ASSERT_NE(RegisterClassW(&edit), 0);
    WNDCLASSW button;
    button.lpfnWndProc = StandInButton;
    button.lpszClassName = WC_BUTTONW;
    ASSERT_NE(RegisterClassW(&button), 0);
    WNDCLASSW text;
    text.lpfnWndProc = DefWindowProcW;
    text.lpszClassName = WC_STATICW;
    ASSERT_NE(RegisterClassW(&text), 0);
}

// The open-location dialog's shape: a label, an edit box and a button.
std::vector<std::byte> LocationDialogResources() {
    const auto dialog = simtest::DialogTemplate(
        WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 140, 95, u"Dialog",
        {
            DialogItemSpec{WS_CHILD | WS_VISIBLE, 7, 18, 39, 8, 0xFFFF, 0x82, u"", u"Location:"},
            DialogItemSpec{WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 48, 15,
                           76, 14, kEditId, 0x81, u"", u""},
            DialogItemSpec{WS_CHILD | WS_VISIBLE | WS_TABSTOP, 7, 46, 74, 14, kButtonId, 0x80, u"",
                           u"Browse..."},
        });
    return simtest::ResourceBuilder().Add(5, kDialogId, dialog).Build();
}

// What the dialog procedure saw; the procedure reaches it through DWL_USER.
struct DialogRecord {
    HWND initFocusParam = nullptr;
    LPARAM initParam = 0;
    int commands = 0;
    std::u16string typed;
};

INT_PTR LocationProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* record = reinterpret_cast<DialogRecord*>(GetWindowLongW(dialog, DWL_USER));
    switch (message) {
    case WM_INITDIALOG:
        record = reinterpret_cast<DialogRecord*>(lParam);
        SetWindowLongW(dialog, DWL_USER, lParam);
        record->initFocusParam = reinterpret_cast<HWND>(wParam);
        record->initParam = lParam;
        return TRUE;
    case WM_COMMAND:
        ++record->commands;
        if (LOWORD(wParam) == IDOK) {
            WCHAR text[64] = {};
            GetDlgItemTextW(dialog, kEditId, text, 64);
            record->typed = text;
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        if (LOWORD(wParam) == kButtonId) {
            EndDialog(dialog, 77);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

class DialogManagerTest : public DeviceTest {
protected:
    // Launches a program with a frame window and a 50 ms timer that opens the
    // dialog modally when it gets kOpen.
    static constexpr UINT kOpen = WM_APP + 3;

    void SetUp() override {
        resources = LocationDialogResources();
        frameHandler = [this](HWND window, UINT message, WPARAM wParam,
                              LPARAM) -> std::optional<LRESULT> {
            if (message == WM_TIMER && wParam == 101) {
                ++ticks;
                return 0;
            }
            if (message == kOpen) {
                result = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(kDialogId), window,
                                         LocationProcedure, reinterpret_cast<LPARAM>(&record));
                ++finishedRuns;
                return 0;
            }
            return std::nullopt;
        };
    }

    HWND FindDialog() const {
        return automation->FindWindow(sim::WindowQuery().Class(WC_DIALOG).Visible());
    }

    // Launches the program with its frame, and the frame's timer when asked.
    simtest::RunningProgram LaunchFrame(bool withTimer = false) {
        return Launch(
            [this, withTimer](HINSTANCE) {
                RegisterStandIns();
                simtest::RegisterTestClass();
                frame = simtest::CreateTestWindow(&frameHandler, WS_VISIBLE, RECT{0, 26, 240, 294});
                if (withTimer) {
                    SetTimer(frame, 101, 50, nullptr);
                }
            },
            resources);
    }

    std::vector<std::byte> resources;
    DialogRecord record;
    Handler frameHandler;
    HWND frame = nullptr;
    int ticks = 0;
    INT_PTR result = -2;
    int finishedRuns = 0;
};

TEST_F(DialogManagerTest, ModalDialogRunsWithItsOwnerDisabledAndTimersStillFiring) {
    auto program = LaunchFrame(/*withTimer=*/true);
    PostMessageW(frame, kOpen, 0, 0);
    ASSERT_TRUE(device->RunUntilIdle());
    const HWND dialog = FindDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(automation->Foreground(), dialog);
    EXPECT_FALSE(IsWindowEnabled(frame));
    EXPECT_EQ(record.initParam, reinterpret_cast<LPARAM>(&record));

    // The first tab stop, the edit box, had the focus offered and got it.
    const HWND edit = GetDlgItem(dialog, kEditId);
    EXPECT_EQ(record.initFocusParam, edit);
    EXPECT_EQ(automation->Focus(), edit);

    // The owner's 50 ms timer keeps running inside the dialog's loop.
    const int before = ticks;
    ASSERT_TRUE(device->Advance(500));
    EXPECT_EQ(ticks - before, 10);
    EXPECT_EQ(finishedRuns, 0);

    // Text typed into the edit box comes back after OK (Enter).
    automation->TypeText(u"http://a/b.swf");
    automation->PressKey(VK_RETURN);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(finishedRuns, 1);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(record.typed, u"http://a/b.swf");
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(frame));
    EXPECT_EQ(automation->Foreground(), frame);
}

TEST_F(DialogManagerTest, EscapeCancelsAndAButtonTapEndsWithItsResult) {
    auto program = LaunchFrame();
    PostMessageW(frame, kOpen, 0, 0);
    ASSERT_TRUE(device->RunUntilIdle());
    automation->PressKey(VK_ESCAPE);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(record.typed.empty());

    PostMessageW(frame, kOpen, 0, 0);
    ASSERT_TRUE(device->RunUntilIdle());
    const HWND dialog = FindDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(automation->TapWindow(GetDlgItem(dialog, kButtonId)));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, 77);
    EXPECT_EQ(finishedRuns, 2);
}

TEST_F(DialogManagerTest, TabMovesTheFocusAlongTheTabStops) {
    auto program = LaunchFrame();
    PostMessageW(frame, kOpen, 0, 0);
    ASSERT_TRUE(device->RunUntilIdle());
    const HWND dialog = FindDialog();
    ASSERT_NE(dialog, nullptr);
    automation->PressKey(VK_TAB);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(automation->Focus(), GetDlgItem(dialog, kButtonId));
    automation->PressKey(VK_TAB);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(automation->Focus(), GetDlgItem(dialog, kEditId));
    automation->PressKey(VK_TAB, MOD_SHIFT);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(automation->Focus(), GetDlgItem(dialog, kButtonId));
}

TEST_F(DialogManagerTest, EnterPressesTheDefaultButtonTheDialogNames) {
    auto program = LaunchFrame();
    PostMessageW(frame, kOpen, 0, 0);
    ASSERT_TRUE(device->RunUntilIdle());
    const HWND dialog = FindDialog();
    ASSERT_NE(dialog, nullptr);
    OnProgram(program, [&] { SendMessageW(dialog, DM_SETDEFID, kButtonId, 0); });
    EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(kButtonId, DC_HASDEFID));
    automation->PressKey(VK_RETURN);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, 77);
}

TEST_F(DialogManagerTest, QuitInsideAModalDialogEndsItAndReachesTheOuterLoop) {
    auto program = LaunchFrame();
    PostMessageW(frame, kOpen, 0, 0);
    ASSERT_TRUE(device->RunUntilIdle());
    ASSERT_NE(FindDialog(), nullptr);
    OnProgram(program, [] { PostQuitMessage(3); });
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(finishedRuns, 1);
    // A dialog that ends without EndDialog never reads as OK.
    EXPECT_EQ(result, 0);
    ASSERT_TRUE(program->Finished());
    EXPECT_EQ(program->ExitCode(), 3);
}

TEST_F(DialogManagerTest, DialogUnitsFollowTheTemplateFont) {
    HWND dialog = nullptr;
    auto program = Launch(
        [&](HINSTANCE instance) {
            RegisterStandIns();
            dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(kDialogId), nullptr,
                                        LocationProcedure, reinterpret_cast<LPARAM>(&record));
        },
        resources);
    ASSERT_NE(dialog, nullptr);
    const SIZE units = sim::DialogBaseUnits(sim::PointsToPixels(9, 96));
    EXPECT_GT(units.cx, 3);
    EXPECT_GT(units.cy, 9);
    RECT mapped{48, 15, 48 + 76, 15 + 14};
    ASSERT_TRUE(MapDialogRect(dialog, &mapped));
    EXPECT_EQ(mapped.left, (48 * units.cx + 2) / 4);
    EXPECT_EQ(mapped.top, (15 * units.cy + 4) / 8);
    // The edit box sits where its dialog units say, in the dialog's client area.
    RECT edit{};
    GetWindowRect(GetDlgItem(dialog, kEditId), &edit);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    EXPECT_EQ(edit.left - origin.x, mapped.left);
    EXPECT_EQ(edit.top - origin.y, mapped.top);
    EXPECT_EQ(edit.right - edit.left, mapped.right - mapped.left);
    // Not visible in the template: a modeless dialog stays hidden until shown.
    EXPECT_FALSE(IsWindowVisible(dialog));
    // The controls' texts came from the template.
    WCHAR text[32] = {};
    GetDlgItemTextW(dialog, kButtonId, text, 32);
    EXPECT_EQ(std::u16string(text), u"Browse...");
}

TEST_F(DialogManagerTest, DialogWithAnUnknownControlClassFailsWholly) {
    const auto broken = simtest::DialogTemplate(
        WS_POPUP, 0, 0, 100, 50, u"Broken",
        {DialogItemSpec{WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, 5, 0, u"NoSuchClass", u""}});
    const auto brokenResources = simtest::ResourceBuilder().Add(5, 7, broken).Build();
    INT_PTR modal = 0;
    HWND modeless = reinterpret_cast<HWND>(1);
    DWORD error = 0;
    auto program = Launch(
        [&](HINSTANCE) {
            modal = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(7), nullptr, LocationProcedure, 0);
            modeless =
                CreateDialogParamW(nullptr, MAKEINTRESOURCEW(7), nullptr, LocationProcedure, 0);
            error = GetLastError();
        },
        brokenResources);
    EXPECT_EQ(modal, -1);
    EXPECT_EQ(modeless, nullptr);
    EXPECT_EQ(error, ERROR_CANNOT_FIND_WND_CLASS);
    EXPECT_TRUE(automation->FindWindows(sim::WindowQuery().Class(WC_DIALOG)).empty());
}

TEST_F(DialogManagerTest, GetDlgItemIntReadsOnlyWholeNumbers) {
    HWND dialog = nullptr;
    auto program = Launch(
        [&](HINSTANCE instance) {
            RegisterStandIns();
            dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(kDialogId), nullptr,
                                        LocationProcedure, reinterpret_cast<LPARAM>(&record));
        },
        resources);
    ASSERT_NE(dialog, nullptr);
    struct Case {
        const char16_t* text;
        BOOL isSigned;
        BOOL translated;
        UINT value;
    };
    const Case cases[] = {
        {u"42", TRUE, TRUE, 42},
        {u"  -7 ", TRUE, TRUE, static_cast<UINT>(-7)},
        {u"-7", FALSE, FALSE, 0},
        {u"12abc", TRUE, FALSE, 0},
        {u"", TRUE, FALSE, 0},
        {u"99999999999", TRUE, FALSE, 0},
        {u"4294967295", FALSE, TRUE, 4294967295u},
    };
    for (const Case& c : cases) {
        OnProgram(program, [&] {
            SetDlgItemTextW(dialog, kEditId, c.text);
            BOOL translated = 2;
            const UINT value = GetDlgItemInt(dialog, kEditId, &translated, c.isSigned);
            EXPECT_EQ(translated, c.translated) << text::ToUtf8(c.text);
            EXPECT_EQ(value, c.value) << text::ToUtf8(c.text);
        });
    }
}

} // namespace

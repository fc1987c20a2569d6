// The message box: a modal window with the caption, the text and the buttons
// of its type as soft keys, on the program's own queue (so timers keep
// running). Enter picks the first button, Escape cancels where the box has
// a way to. Every box is recorded in the journal with the button chosen.
#include <algorithm>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/Painting.h"
#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ControlPaint.h"
#include "platform/sim/ControlProcedures.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/MenuBar.h"
#include "platform/sim/ModalLoop.h"

namespace sim {
namespace {

struct BoxButton {
    int id;
    const char16_t* text;
};

std::vector<BoxButton> ButtonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, u"Abort"}, {IDRETRY, u"Retry"}, {IDIGNORE, u"Ignore"}};
    case MB_YESNOCANCEL:
        return {{IDYES, u"Yes"}, {IDNO, u"No"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNO:
        return {{IDYES, u"Yes"}, {IDNO, u"No"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, u"Retry"}, {IDCANCEL, u"Cancel"}};
    default:
        return {{IDOK, u"OK"}};
    }
}

// What Escape answers: Cancel where there is one, OK for a box with only OK,
// nothing for Yes/No and Abort/Retry/Ignore, which must be answered.
int EscapeAnswer(UINT type) {
    for (const BoxButton& button : ButtonsOf(type)) {
        if (button.id == IDCANCEL) {
            return IDCANCEL;
        }
    }
    return (type & MB_TYPEMASK) == MB_OK ? IDOK : 0;
}

class MessageBoxState : public WindowState {
public:
    std::u16string text;
    std::u16string caption;
    UINT type = 0;
    // 0 until a button is chosen.
    int result = 0;
};

const char16_t* IconGlyph(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return u"\u2716";
    case MB_ICONQUESTION:
        return u"?";
    case MB_ICONEXCLAMATION:
        return u"!";
    case MB_ICONASTERISK:
        return u"i";
    default:
        return nullptr;
    }
}

// The box's height for its text, at the screen's width less a margin.
RECT BoxRect(const std::u16string& text, UINT type) {
    const int unit = ScreenUnit();
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int bar = GetSystemMetrics(SM_CYMENU);
    const int margin = 8 * unit;
    const int width = screenWidth - 2 * margin;
    const paint::WindowDC dc(nullptr);
    const int lineHeight = paint::TextHeight(dc.Get());
    const int iconRoom = IconGlyph(type) != nullptr ? 28 * unit : 0;
    RECT measure{0, 0, width - 2 * margin - iconRoom, 0};
    const std::u16string copy = text.empty() ? std::u16string(u" ") : text;
    DrawTextW(dc.Get(), copy.c_str(), static_cast<int>(copy.size()), &measure,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    const int textHeight = std::max(lineHeight, static_cast<int>(measure.bottom - measure.top));
    const int captionHeight = lineHeight + 8 * unit;
    const int available = screenHeight - 2 * bar;
    const int height = std::min(available, captionHeight + textHeight + 2 * margin);
    const int top = bar + (available - height) / 2;
    return RECT{margin, top, margin + width, top + height};
}

void OnPaint(HWND window, const MessageBoxState& state) {
    const paint::PaintCycle cycle(window);
    const HDC dc = cycle.Dc();
    const paint::Palette palette = paint::Palette::System();
    const int unit = ScreenUnit();
    const RECT& client = cycle.Client();
    const int captionHeight = paint::TextHeight(dc) + 8 * unit;
    paint::Fill(dc, client, palette.window);
    const RECT caption{client.left, client.top, client.right, client.top + captionHeight};
    paint::Fill(dc, caption, GetSysColor(COLOR_ACTIVECAPTION));
    paint::Text(
        dc, RECT{caption.left + 6 * unit, caption.top, caption.right - 4 * unit, caption.bottom},
        state.caption, GetSysColor(COLOR_CAPTIONTEXT),
        DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    const int margin = 8 * unit;
    RECT body{client.left + margin, caption.bottom + margin, client.right - margin,
              client.bottom - margin};
    if (const char16_t* glyph = IconGlyph(state.type)) {
        const RECT icon{body.left, body.top, body.left + 20 * unit, body.top + 20 * unit};
        paint::Frame(dc, icon, palette.windowText, unit);
        paint::Text(dc, icon, glyph, palette.windowText,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        body.left = icon.right + 8 * unit;
    }
    paint::Text(dc, body, state.text, palette.windowText, DT_WORDBREAK | DT_NOPREFIX);
    paint::Frame(dc, client, palette.windowText, unit);
}

LRESULT OnCommand(MessageBoxState& state, WPARAM wParam) {
    const int id = LOWORD(wParam);
    for (const BoxButton& button : ButtonsOf(state.type)) {
        if (button.id == id) {
            state.result = id;
        }
    }
    return 0;
}

LRESULT OnKeyDown(HWND window, MessageBoxState& state, WPARAM key) {
    if (key == VK_RETURN) {
        const UINT defaultIndex = (state.type & MB_DEFMASK) >> 8;
        const std::vector<BoxButton> buttons = ButtonsOf(state.type);
        state.result = buttons[std::min<std::size_t>(defaultIndex, buttons.size() - 1)].id;
        return 0;
    }
    if (key == VK_ESCAPE) {
        state.result = EscapeAnswer(state.type);
        return 0;
    }
    return DefWindowProcW(window, WM_KEYDOWN, key, 0);
}

HWND TopLevelOf(HWND window) {
    HWND top = window;
    while (top != nullptr && (static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE)) & WS_CHILD) != 0) {
        top = GetParent(top);
    }
    return top;
}

} // namespace

LRESULT MessageBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MessageBoxState* state = StateOf<MessageBoxState>(window);
    if (state == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_PAINT:
        OnPaint(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_COMMAND:
        return OnCommand(*state, wParam);
    case WM_KEYDOWN:
        return OnKeyDown(window, *state, wParam);
    case WM_CLOSE:
        // Closing from outside answers as Escape would, when Escape may.
        state->result = EscapeAnswer(state->type);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace sim

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    const std::u16string body = text::FromWide(text);
    const std::u16string title =
        caption != nullptr ? std::u16string(caption) : std::u16string(u"Error");
    const HWND ownerTop = owner != nullptr && IsWindow(owner) ? sim::TopLevelOf(owner) : nullptr;
    const RECT place = sim::BoxRect(body, type);
    const DWORD exStyle = (type & MB_TOPMOST) != 0 ? WS_EX_TOPMOST : 0;
    const HWND box = CreateWindowExW(exStyle, sim::kMessageBoxClass, title.c_str(), WS_POPUP,
                                     place.left, place.top, place.right - place.left,
                                     place.bottom - place.top, ownerTop, nullptr, nullptr, nullptr);
    sim::MessageBoxState* state =
        box != nullptr ? sim::CreateState<sim::MessageBoxState>(box) : nullptr;
    if (state == nullptr) {
        sim::RecordCall("MessageBoxW",
                        {sim::JournalValue(owner), sim::JournalValue(std::u16string_view(body)),
                         sim::JournalValue(std::u16string_view(title)), sim::JournalValue(type)},
                        sim::JournalValue(0));
        return 0;
    }
    state->text = body;
    state->caption = title;
    state->type = type;

    std::vector<sim::SoftKey> keys;
    for (const sim::BoxButton& button : sim::ButtonsOf(type)) {
        keys.push_back(sim::SoftKey{button.text, button.id, nullptr, true});
    }
    const bool ownerWasEnabled = ownerTop != nullptr && IsWindowEnabled(ownerTop);
    if (ownerWasEnabled) {
        EnableWindow(ownerTop, FALSE);
    }
    ShowWindow(box, SW_SHOW);
    sim::CreateSoftKeyBar(box, keys);
    SetFocus(box);

    sim::RunModalLoop([box] {
        const sim::MessageBoxState* current = sim::StateOf<sim::MessageBoxState>(box);
        return current == nullptr || current->result != 0;
    });
    const sim::MessageBoxState* finished = sim::StateOf<sim::MessageBoxState>(box);
    const int result = finished != nullptr ? finished->result : 0;
    // The owner comes back before the box goes, so that it is the window
    // activated next.
    if (ownerWasEnabled) {
        EnableWindow(ownerTop, TRUE);
    }
    if (IsWindow(box)) {
        DestroyWindow(box);
    }
    sim::RecordCall("MessageBoxW",
                    {sim::JournalValue(owner), sim::JournalValue(std::u16string_view(body)),
                     sim::JournalValue(std::u16string_view(title)), sim::JournalValue(type)},
                    sim::JournalValue(result));
    return result;
}

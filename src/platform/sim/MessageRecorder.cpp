#include "platform/sim/MessageRecorder.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Messages.h"

namespace sim {
namespace {

struct NamedMessage {
    UINT id;
    const char* name;
};

// The messages a sequence table is most likely to name; others print in hex.
constexpr NamedMessage kNames[] = {
    {WM_NULL, "WM_NULL"},
    {WM_CREATE, "WM_CREATE"},
    {WM_DESTROY, "WM_DESTROY"},
    {WM_MOVE, "WM_MOVE"},
    {WM_SIZE, "WM_SIZE"},
    {WM_ACTIVATE, "WM_ACTIVATE"},
    {WM_SETFOCUS, "WM_SETFOCUS"},
    {WM_KILLFOCUS, "WM_KILLFOCUS"},
    {WM_ENABLE, "WM_ENABLE"},
    {WM_SETREDRAW, "WM_SETREDRAW"},
    {WM_SETTEXT, "WM_SETTEXT"},
    {WM_GETTEXT, "WM_GETTEXT"},
    {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
    {WM_PAINT, "WM_PAINT"},
    {WM_CLOSE, "WM_CLOSE"},
    {WM_QUIT, "WM_QUIT"},
    {WM_ERASEBKGND, "WM_ERASEBKGND"},
    {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
    {WM_SETTINGCHANGE, "WM_SETTINGCHANGE"},
    {WM_CANCELMODE, "WM_CANCELMODE"},
    {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
    {WM_NEXTDLGCTL, "WM_NEXTDLGCTL"},
    {WM_SETFONT, "WM_SETFONT"},
    {WM_GETFONT, "WM_GETFONT"},
    {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
    {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
    {WM_NOTIFY, "WM_NOTIFY"},
    {WM_HELP, "WM_HELP"},
    {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
    {WM_NCCREATE, "WM_NCCREATE"},
    {WM_NCDESTROY, "WM_NCDESTROY"},
    {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
    {WM_NCHITTEST, "WM_NCHITTEST"},
    {WM_NCPAINT, "WM_NCPAINT"},
    {WM_NCACTIVATE, "WM_NCACTIVATE"},
    {WM_GETDLGCODE, "WM_GETDLGCODE"},
    {WM_KEYDOWN, "WM_KEYDOWN"},
    {WM_KEYUP, "WM_KEYUP"},
    {WM_CHAR, "WM_CHAR"},
    {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
    {WM_SYSKEYUP, "WM_SYSKEYUP"},
    {WM_INITDIALOG, "WM_INITDIALOG"},
    {WM_COMMAND, "WM_COMMAND"},
    {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
    {WM_TIMER, "WM_TIMER"},
    {WM_HSCROLL, "WM_HSCROLL"},
    {WM_VSCROLL, "WM_VSCROLL"},
    {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"},
    {WM_CTLCOLOREDIT, "WM_CTLCOLOREDIT"},
    {WM_CTLCOLORLISTBOX, "WM_CTLCOLORLISTBOX"},
    {WM_CTLCOLORBTN, "WM_CTLCOLORBTN"},
    {WM_CTLCOLORDLG, "WM_CTLCOLORDLG"},
    {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
    {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
    {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
    {WM_LBUTTONUP, "WM_LBUTTONUP"},
    {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
    {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
    {WM_ENTERMENULOOP, "WM_ENTERMENULOOP"},
    {WM_EXITMENULOOP, "WM_EXITMENULOOP"},
    {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
    {WM_HOTKEY, "WM_HOTKEY"},
    {DM_GETDEFID, "DM_GETDEFID"},
    {DM_SETDEFID, "DM_SETDEFID"},
    {BM_GETCHECK, "BM_GETCHECK"},
    {BM_SETCHECK, "BM_SETCHECK"},
    {BM_GETSTATE, "BM_GETSTATE"},
    {BM_SETSTATE, "BM_SETSTATE"},
    {BM_SETSTYLE, "BM_SETSTYLE"},
    {BM_CLICK, "BM_CLICK"},
    {EM_GETSEL, "EM_GETSEL"},
    {EM_SETSEL, "EM_SETSEL"},
    {EM_REPLACESEL, "EM_REPLACESEL"},
    {EM_LIMITTEXT, "EM_LIMITTEXT"},
    {LB_ADDSTRING, "LB_ADDSTRING"},
    {LB_SETCURSEL, "LB_SETCURSEL"},
    {LB_GETCURSEL, "LB_GETCURSEL"},
    {CB_ADDSTRING, "CB_ADDSTRING"},
    {CB_SETCURSEL, "CB_SETCURSEL"},
    {CB_GETCURSEL, "CB_GETCURSEL"},
    {CB_SHOWDROPDOWN, "CB_SHOWDROPDOWN"},
    {TBM_GETPOS, "TBM_GETPOS"},
    {TBM_SETPOS, "TBM_SETPOS"},
    {TBM_SETRANGE, "TBM_SETRANGE"},
    {TBM_SETRANGEMIN, "TBM_SETRANGEMIN"},
    {TBM_SETRANGEMAX, "TBM_SETRANGEMAX"},
    {TB_HIDEBUTTON, "TB_HIDEBUTTON"},
    {TB_PRESSBUTTON, "TB_PRESSBUTTON"},
    {TB_GETBUTTONINFOW, "TB_GETBUTTONINFOW"},
    {TB_SETBUTTONINFOW, "TB_SETBUTTONINFOW"},
};

const char* ArrivalName(Arrival arrival) {
    switch (arrival) {
    case Arrival::Sent:
        return "sent";
    case Arrival::Posted:
        return "posted";
    case Arrival::Default:
        return "default";
    }
    return "?";
}

std::string Describe(const RecordedMessage& message) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%-22s w=%#llx l=%#llx %s",
                  MessageName(message.message).c_str(),
                  static_cast<unsigned long long>(message.wParam),
                  static_cast<unsigned long long>(message.lParam), ArrivalName(message.arrival));
    return buffer;
}

std::string Describe(const ExpectedMessage& message) {
    std::string text = MessageName(message.message);
    text.resize(std::max<std::size_t>(text.size(), 22), ' ');
    char buffer[48];
    if (message.wParam) {
        std::snprintf(buffer, sizeof buffer, " w=%#llx",
                      static_cast<unsigned long long>(*message.wParam));
        text += buffer;
    }
    if (message.lParam) {
        std::snprintf(buffer, sizeof buffer, " l=%#llx",
                      static_cast<unsigned long long>(*message.lParam));
        text += buffer;
    }
    if (message.arrival) {
        text += std::string(" ") + ArrivalName(*message.arrival);
    }
    if (message.optional) {
        text += " (optional)";
    }
    return text;
}

bool Matches(const ExpectedMessage& expected, const RecordedMessage& actual) {
    return expected.message == actual.message &&
           (!expected.wParam || *expected.wParam == actual.wParam) &&
           (!expected.lParam || *expected.lParam == actual.lParam) &&
           (!expected.arrival || *expected.arrival == actual.arrival);
}

} // namespace

ExpectedMessage Optional(UINT message) {
    ExpectedMessage expected;
    expected.message = message;
    expected.optional = true;
    return expected;
}

std::string MessageName(UINT message) {
    for (const NamedMessage& named : kNames) {
        if (named.id == message) {
            return named.name;
        }
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04x", message);
    return buffer;
}

bool MessageLog::Watches(HWND window, Arrival arrival) const {
    if (arrival == Arrival::Default && !includeDefault) {
        return false;
    }
    return windows.empty() || std::find(windows.begin(), windows.end(), window) != windows.end();
}

std::vector<RecordedMessage> MessageLog::Of(HWND window) const {
    std::vector<RecordedMessage> found;
    std::copy_if(messages.begin(), messages.end(), std::back_inserter(found),
                 [window](const RecordedMessage& m) { return m.window == window; });
    return found;
}

bool MessageLog::Received(HWND window, UINT message) const {
    return std::any_of(messages.begin(), messages.end(), [&](const RecordedMessage& m) {
        return m.window == window && m.message == message;
    });
}

std::string MessageLog::Check(HWND window, const std::vector<ExpectedMessage>& expected,
                              std::initializer_list<UINT> ignore) const {
    std::vector<RecordedMessage> actual;
    for (const RecordedMessage& m : Of(window)) {
        if (std::find(ignore.begin(), ignore.end(), m.message) == ignore.end()) {
            actual.push_back(m);
        }
    }
    std::size_t e = 0;
    std::size_t a = 0;
    bool ok = true;
    while (e < expected.size() && a < actual.size()) {
        if (Matches(expected[e], actual[a])) {
            ++e;
            ++a;
        } else if (expected[e].optional) {
            ++e;
        } else {
            ok = false;
            break;
        }
    }
    while (ok && e < expected.size()) {
        if (!expected[e].optional) {
            ok = false;
        }
        ++e;
    }
    if (ok && a == actual.size()) {
        return "";
    }
    std::string report = "message sequence differs (expected | actual):\n";
    const std::size_t rows = std::max(expected.size(), actual.size());
    for (std::size_t i = 0; i < rows; ++i) {
        std::string left = i < expected.size() ? Describe(expected[i]) : "";
        left.resize(std::max<std::size_t>(left.size(), 56), ' ');
        report += "  " + left + " | " + (i < actual.size() ? Describe(actual[i]) : "") + "\n";
    }
    return report;
}

std::shared_ptr<MessageLog> MessageRecorderHub::Record(std::vector<HWND> windows,
                                                       bool includeDefault) {
    auto log = std::make_shared<MessageLog>(std::move(windows), includeDefault);
    logs.push_back(log);
    return log;
}

void MessageRecorderHub::Notify(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                Arrival arrival) {
    std::erase_if(logs, [](const std::weak_ptr<MessageLog>& log) { return log.expired(); });
    for (const auto& weak : logs) {
        if (auto log = weak.lock(); log && log->Watches(window, arrival)) {
            log->Add(RecordedMessage{window, message, wParam, lParam, arrival});
        }
    }
}

} // namespace sim

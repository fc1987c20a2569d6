#include "host/DeviceState.h"

#include <cstdint>
#include <fstream>
#include <vector>

#include "host/OutputFile.h"
#include "host/Session.h"
#include "host/SystemState.h"
#include "platform/Controls.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/InputRouter.h"
#include "platform/sim/MenuTable.h"
#include "platform/sim/MessageBoxQuery.h"
#include "platform/sim/Screen.h"
#include "platform/sim/SystemServices.h"
#include "platform/sim/WindowManager.h"

namespace host {
namespace {

using Json = nlohmann::ordered_json;

Json Handle(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(window));
}

std::string Utf8(const std::u16string& text) {
    return text::ToUtf8(text);
}

// The control a window is: its class, or for a program's superclass of a
// device control ("Program:msctls_trackbar32") the class after the colon.
std::u16string BaseClassName(const std::u16string& name) {
    const auto colon = name.rfind(u':');
    std::u16string base = colon == std::u16string::npos ? name : name.substr(colon + 1);
    for (char16_t& c : base) {
        if (c >= u'A' && c <= u'Z') {
            c = static_cast<char16_t>(c - u'A' + u'a');
        }
    }
    return base;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(window, message, wParam, lParam);
}

std::u16string ItemText(HWND window, UINT lengthMessage, UINT textMessage, int index,
                        LRESULT error) {
    const LRESULT length = Send(window, lengthMessage, static_cast<WPARAM>(index));
    if (length == error || length < 0) {
        return {};
    }
    std::vector<char16_t> buffer(static_cast<std::size_t>(length) + 1, u'\0');
    const LRESULT copied = Send(window, textMessage, static_cast<WPARAM>(index),
                                reinterpret_cast<LPARAM>(buffer.data()));
    if (copied == error || copied < 0) {
        return {};
    }
    return std::u16string(buffer.data(),
                          std::min<std::size_t>(static_cast<std::size_t>(copied), length));
}

void AddListState(Json& entry, HWND window, bool combo) {
    const UINT countMessage = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT lengthMessage = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT textMessage = combo ? CB_GETLBTEXT : LB_GETTEXT;
    const UINT selectionMessage = combo ? CB_GETCURSEL : LB_GETCURSEL;
    const LRESULT error = combo ? CB_ERR : LB_ERR;
    Json items = Json::array();
    const LRESULT count = Send(window, countMessage);
    for (int i = 0; count != error && i < count; ++i) {
        items.push_back(Utf8(ItemText(window, lengthMessage, textMessage, i, error)));
    }
    entry["items"] = std::move(items);
    const LRESULT selection = Send(window, selectionMessage);
    entry["selection"] = selection == error ? -1 : static_cast<int>(selection);
}

// The bar's buttons with their places on the screen, for a script's taps.
void AddToolbarState(Json& entry, HWND window, const RECT& client) {
    Json buttons = Json::array();
    const LRESULT count = Send(window, TB_BUTTONCOUNT);
    for (int i = 0; i < count; ++i) {
        TBBUTTON button;
        if (Send(window, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button)) ==
            0) {
            continue;
        }
        if ((button.fsStyle & TBSTYLE_SEP) != 0) {
            continue;
        }
        RECT rect{};
        Send(window, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&rect));
        char16_t text[256] = {};
        const LRESULT length =
            Send(window, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand),
                 reinterpret_cast<LPARAM>(text));
        buttons.push_back(
            Json{{"command", button.idCommand},
                 {"text", length > 0 && length < 256
                              ? Utf8(std::u16string(text, static_cast<std::size_t>(length)))
                              : std::string()},
                 {"hidden", (button.fsState & TBSTATE_HIDDEN) != 0},
                 {"pressed", (button.fsState & TBSTATE_PRESSED) != 0},
                 {"rect", Json::array({client.left + rect.left, client.top + rect.top,
                                       rect.right - rect.left, rect.bottom - rect.top})}});
    }
    entry["buttons"] = std::move(buttons);
}

// A menu's items, submenus within their items.
Json MenuItems(Session& session, HMENU handle, int depth) {
    Json items = Json::array();
    const sim::Menu* menu = session.Device().Menus().Find(handle);
    // Menus cannot hold themselves, but a program can make any tree.
    if (menu == nullptr || depth > 8) {
        return items;
    }
    for (const sim::MenuItem& item : menu->items) {
        if (item.IsSeparator()) {
            items.push_back(Json{{"separator", true}});
            continue;
        }
        Json entry{{"text", Utf8(item.text)},
                   {"id", item.id},
                   {"checked", item.IsChecked()},
                   {"radio", item.IsRadio()},
                   {"grayed", item.IsGrayed()}};
        if (item.submenu != nullptr) {
            entry["items"] = MenuItems(session, item.submenu, depth + 1);
        }
        items.push_back(std::move(entry));
    }
    return items;
}

// The menu of each program's menu bars, as the program last marked it.
Json Menus(Session& session) {
    Json menus = Json::array();
    sim::Automation& automation = session.Automation();
    for (HWND bar : automation.FindWindows(sim::WindowQuery().Class(sim::kMenuBarClass))) {
        const auto info = automation.Describe(bar);
        const auto menu = reinterpret_cast<HMENU>(Send(bar, SHCMBM_GETMENU));
        if (!info || menu == nullptr) {
            continue;
        }
        menus.push_back(Json{{"pid", info->pid},
                             {"bar", Handle(bar)},
                             {"owner", Handle(info->owner)},
                             {"items", MenuItems(session, menu, 0)}});
    }
    return menus;
}

// The programs this run started on the device (the player, the programs the
// shell or the player started), with how each ended.
Json Programs(Session& session) {
    Json programs = Json::array();
    for (const auto& program : session.Device().Programs()) {
        Json entry{{"pid", program->Pid()},
                   {"path", Utf8(program->GetModule().Path())},
                   {"commandLine", Utf8(program->CommandLine())}};
        const auto exitCode = program->Finished() ? program->ExitCode() : std::nullopt;
        entry["exitCode"] = exitCode ? Json(*exitCode) : Json(nullptr);
        programs.push_back(std::move(entry));
    }
    return programs;
}

Json CaptionOkButton(Session& session) {
    const std::optional<RECT> ok = session.Device().GetScreen().CaptionOkButton();
    if (!ok) {
        return nullptr;
    }
    return Json::array({ok->left, ok->top, ok->right - ok->left, ok->bottom - ok->top});
}

Json WindowEntry(Session& session, const sim::WindowInfo& info) {
    Json entry;
    entry["handle"] = Handle(info.handle);
    entry["parent"] = Handle(info.parent);
    entry["class"] = Utf8(info.className);
    const std::u16string kind = BaseClassName(info.className);
    // An edit control's text is its content, which the control keeps itself.
    entry["text"] = Utf8(kind == u"edit" ? session.Automation().TextOf(info.handle) : info.text);
    entry["id"] = info.id;
    entry["rect"] = Json::array({info.rect.left, info.rect.top, info.rect.right - info.rect.left,
                                 info.rect.bottom - info.rect.top});
    entry["visible"] = info.visible;
    entry["enabled"] = info.enabled;

    const HWND window = info.handle;
    if (kind == u"msctls_trackbar32") {
        entry["rangeMin"] = static_cast<int>(Send(window, TBM_GETRANGEMIN));
        entry["rangeMax"] = static_cast<int>(Send(window, TBM_GETRANGEMAX));
        entry["pos"] = static_cast<int>(Send(window, TBM_GETPOS));
    } else if (kind == u"button") {
        entry["checked"] = static_cast<int>(Send(window, BM_GETCHECK));
    } else if (kind == u"listbox") {
        AddListState(entry, window, false);
    } else if (kind == u"combobox") {
        AddListState(entry, window, true);
    } else if (kind == BaseClassName(sim::kMenuBarClass) || kind == u"toolbarwindow32") {
        AddToolbarState(entry, window, info.clientRect);
    }
    return entry;
}

Json SoftKeyTexts(Session& session, HWND owner) {
    Json texts = Json::array();
    sim::Automation& automation = session.Automation();
    for (HWND bar : automation.FindWindows(sim::WindowQuery().Class(sim::kMenuBarClass))) {
        const auto info = automation.Describe(bar);
        if (!info || info->owner != owner) {
            continue;
        }
        const LRESULT count = Send(bar, TB_BUTTONCOUNT);
        for (int i = 0; i < count; ++i) {
            TBBUTTON button;
            if (Send(bar, TB_GETBUTTON, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&button)) == 0) {
                continue;
            }
            char16_t buffer[256] = {};
            const LRESULT length =
                Send(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand),
                     reinterpret_cast<LPARAM>(buffer));
            if (length > 0 && length < 256) {
                texts.push_back(Utf8(std::u16string(buffer, static_cast<std::size_t>(length))));
            }
        }
    }
    return texts;
}

Json MessageBoxes(Session& session) {
    Json boxes = Json::array();
    sim::Automation& automation = session.Automation();
    for (HWND box : automation.FindWindows(sim::WindowQuery().Class(sim::kMessageBoxClass))) {
        const auto content = sim::DescribeMessageBox(box);
        if (!content) {
            continue;
        }
        boxes.push_back(Json{{"handle", Handle(box)},
                             {"caption", Utf8(content->caption)},
                             {"text", Utf8(content->text)},
                             {"type", content->type},
                             {"buttons", SoftKeyTexts(session, box)}});
    }
    return boxes;
}

Json HotKeys(Session& session) {
    Json keys = Json::array();
    for (const sim::HotKey& key : session.Device().Input().HotKeys()) {
        keys.push_back(Json{{"id", key.id},
                            {"modifiers", key.modifiers},
                            {"vk", key.key},
                            {"window", Handle(key.window)}});
    }
    return keys;
}

// The movie control's own account of itself; the frontmost one if there are
// several, null when there is none.
Json Movie(Session& session) {
    for (const sim::Window* window : session.Device().Windows().AllWindows()) {
        if (window->IsAlive() && window->hostedControl) {
            Json movie = Json::parse(window->hostedControl->StateJson(), nullptr, false);
            return movie.is_discarded() ? Json(nullptr) : movie;
        }
    }
    return nullptr;
}

} // namespace

nlohmann::ordered_json CollectDeviceState(Session& session) {
    sim::Device& device = session.Device();
    sim::Automation& automation = session.Automation();
    Json state;
    state["time"] = device.Now();
    state["screen"] = ScreenState(session);
    state["taskbarVisible"] = device.GetScreen().TaskBarVisible();
    state["sipButtonVisible"] = SipButtonVisible(session);
    state["foreground"] = Handle(automation.Foreground());
    state["captionOkButton"] = CaptionOkButton(session);

    // Handles first: asking the controls lets their programs run, and a window
    // may go meanwhile.
    std::vector<HWND> handles;
    for (const sim::Window* window : device.Windows().AllWindows()) {
        handles.push_back(window->handle);
    }
    Json windows = Json::array();
    for (HWND handle : handles) {
        if (const auto info = automation.Describe(handle)) {
            windows.push_back(WindowEntry(session, *info));
        }
    }
    state["windows"] = std::move(windows);
    state["menus"] = Menus(session);
    state["hotKeys"] = HotKeys(session);
    state["power"] = PowerState(session);
    state["volume"] = device.Services().Volume();
    state["registry"] = RegistryState(session);
    state["movie"] = Movie(session);
    state["messageBoxes"] = MessageBoxes(session);
    state["programs"] = Programs(session);
    if (const auto exitCode = session.PlayerExitCode()) {
        state["exitCode"] = *exitCode;
    }
    return state;
}

bool WriteDeviceState(Session& session, const std::filesystem::path& file, std::string& error) {
    return WriteOutputFile(file, CollectDeviceState(session).dump(2) + "\n", error);
}

} // namespace host

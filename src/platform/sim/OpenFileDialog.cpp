// The open-file dialog: a modal window over the program that browses the
// device's folders from the root "\" down. The list shows the folders ("[..]"
// for the one above) and the files that match the chosen filter; a tap on a
// folder opens it, a tap on a file chooses it. A name typed into the Name box
// is taken with the Open soft key, relative to the folder shown, with the
// default extension added when it has none. Cancel returns nothing.
#include <algorithm>
#include <cstring>
#include <system_error>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/FileDialog.h"
#include "platform/Input.h"
#include "platform/Painting.h"
#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ControlPaint.h"
#include "platform/sim/ControlProcedures.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/FolderListing.h"
#include "platform/sim/MenuBar.h"
#include "platform/sim/ModalLoop.h"

namespace sim {
namespace {

constexpr int kFolderLabel = 1100;
constexpr int kFileList = 1101;
constexpr int kTypeCombo = 1102;
constexpr int kNameEdit = 1103;

// The error of the thread's last common dialog, which CommDlgExtendedError
// reads; like the last-error value it belongs to the calling thread.
thread_local DWORD lastDialogError = 0;

struct ListedEntry {
    std::u16string name;
    bool isFolder = false;
    bool isParent = false;
};

class OpenFileState : public WindowState {
public:
    std::u16string folder = u"\\";
    std::vector<FileFilter> filters;
    std::vector<ListedEntry> entries;
    DWORD flags = 0;
    std::u16string defaultExtension;
    std::u16string title;
    HWND folderLabel = nullptr;
    HWND list = nullptr;
    HWND typeCombo = nullptr;
    HWND nameEdit = nullptr;
    bool done = false;
    // The chosen path; empty after Cancel.
    std::u16string chosen;
};

bool IsHostFolder(const std::u16string& devicePath) {
    std::error_code error;
    return std::filesystem::is_directory(DeviceHostPath(devicePath), error);
}

bool IsHostFile(const std::u16string& devicePath) {
    std::error_code error;
    return std::filesystem::is_regular_file(DeviceHostPath(devicePath), error);
}

std::vector<std::u16string> CurrentPatterns(const OpenFileState& state) {
    const auto index = static_cast<int>(SendMessageW(state.typeCombo, CB_GETCURSEL, 0, 0));
    if (index >= 0 && index < static_cast<int>(state.filters.size())) {
        return state.filters[static_cast<std::size_t>(index)].patterns;
    }
    return {u"*.*"};
}

void ShowFolder(OpenFileState& state, std::u16string folder) {
    state.folder = std::move(folder);
    SetWindowTextW(state.folderLabel, state.folder.c_str());
    state.entries.clear();
    if (state.folder != u"\\") {
        state.entries.push_back(ListedEntry{u"..", true, true});
    }
    for (const FolderEntry& entry :
         ListFolder(DeviceHostPath(state.folder), CurrentPatterns(state))) {
        state.entries.push_back(ListedEntry{entry.name, entry.isFolder, false});
    }
    SendMessageW(state.list, LB_RESETCONTENT, 0, 0);
    for (const ListedEntry& entry : state.entries) {
        const std::u16string shown = entry.isFolder ? u"[" + entry.name + u"]" : entry.name;
        SendMessageW(state.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    }
}

void Choose(OpenFileState& state, std::u16string path) {
    state.chosen = std::move(path);
    state.done = true;
}

void OnListPick(OpenFileState& state) {
    const auto index = static_cast<int>(SendMessageW(state.list, LB_GETCURSEL, 0, 0));
    if (index < 0 || index >= static_cast<int>(state.entries.size())) {
        return;
    }
    const ListedEntry entry = state.entries[static_cast<std::size_t>(index)];
    if (entry.isParent) {
        ShowFolder(state, ParentDevicePath(state.folder));
    } else if (entry.isFolder) {
        ShowFolder(state, JoinDevicePath(state.folder, entry.name));
    } else {
        Choose(state, JoinDevicePath(state.folder, entry.name));
    }
}

std::u16string TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

// The Open soft key with a typed name: a folder opens, a file is checked as
// the flags ask and chosen.
void OnOpen(HWND dialog, OpenFileState& state) {
    const std::u16string typed = TextOf(state.nameEdit);
    if (typed.empty()) {
        OnListPick(state);
        return;
    }
    std::u16string path = ResolveDevicePath(state.folder, typed);
    if (IsHostFolder(path)) {
        SetWindowTextW(state.nameEdit, u"");
        ShowFolder(state, path);
        return;
    }
    if (!state.defaultExtension.empty() && ExtensionOffset(path) == path.size() &&
        path.back() != u'.') {
        path += u'.';
        path += state.defaultExtension;
    }
    const bool folderExists = IsHostFolder(ParentDevicePath(path));
    if ((state.flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) != 0 && !folderExists) {
        MessageBoxW(dialog, (path + u"\nThe folder does not exist.").c_str(), state.title.c_str(),
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if ((state.flags & OFN_FILEMUSTEXIST) != 0 && !IsHostFile(path)) {
        MessageBoxW(dialog,
                    (path + u"\nFile not found. Check the file name and try again.").c_str(),
                    state.title.c_str(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Choose(state, path);
}

LRESULT OnCommand(HWND dialog, OpenFileState& state, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id == kFileList && code == LBN_SELCHANGE) {
        OnListPick(state);
    } else if (id == kTypeCombo && code == CBN_SELCHANGE) {
        ShowFolder(state, state.folder);
    } else if (id == IDOK && code == 0) {
        OnOpen(dialog, state);
    } else if (id == IDCANCEL && code == 0) {
        state.done = true;
    }
    return 0;
}

void OnPaint(HWND window) {
    const paint::PaintCycle cycle(window);
    paint::Fill(cycle.Dc(), cycle.Client(), GetSysColor(COLOR_STATIC));
}

HWND Child(HWND dialog, LPCWSTR className, LPCWSTR text, DWORD style, const RECT& rect, int id) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, dialog,
                           reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr,
                           nullptr);
}

void BuildControls(HWND dialog, OpenFileState& state, const std::u16string& initialName,
                   DWORD filterIndex) {
    RECT client;
    GetClientRect(dialog, &client);
    const int unit = ScreenUnit();
    const int margin = 4 * unit;
    const int row = 20 * unit;
    const int label = 40 * unit;
    const int right = client.right - margin;
    int y = margin;
    Child(dialog, WC_STATICW, u"Folder:", SS_LEFTNOWORDWRAP,
          RECT{margin, y + 2 * unit, margin + label, y + row}, -1);
    state.folderLabel = Child(dialog, WC_STATICW, u"\\", SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                              RECT{margin + label, y + 2 * unit, right, y + row}, kFolderLabel);
    y += row + unit;
    Child(dialog, WC_STATICW, u"Type:", SS_LEFTNOWORDWRAP,
          RECT{margin, y + 2 * unit, margin + label, y + row}, -1);
    state.typeCombo =
        Child(dialog, WC_COMBOBOXW, nullptr, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
              RECT{margin + label, y, right, y + 6 * row}, kTypeCombo);
    for (const FileFilter& filter : state.filters) {
        SendMessageW(state.typeCombo, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(filter.name.c_str()));
    }
    const int count = static_cast<int>(state.filters.size());
    const int selected = filterIndex >= 1 && static_cast<int>(filterIndex) <= count
                             ? static_cast<int>(filterIndex) - 1
                             : 0;
    SendMessageW(state.typeCombo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    y += row + 2 * unit;
    Child(dialog, WC_STATICW, u"Name:", SS_LEFTNOWORDWRAP,
          RECT{margin, y + 2 * unit, margin + label, y + row}, -1);
    state.nameEdit =
        Child(dialog, WC_EDITW, initialName.c_str(), ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
              RECT{margin + label, y, right, y + row}, kNameEdit);
    y += row + 2 * unit;
    state.list =
        Child(dialog, WC_LISTBOXW, nullptr, LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
              RECT{margin, y, right, client.bottom - margin}, kFileList);
}

// Enter opens what the Name box or the list names, Escape cancels, whichever
// of the dialog's controls has the focus.
bool DialogKey(HWND dialog, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE) ||
        (msg.hwnd != dialog && !IsChild(dialog, msg.hwnd))) {
        return false;
    }
    // An open drop-down list takes its own keys.
    if (msg.hwnd != dialog && SendMessageW(msg.hwnd, CB_GETDROPPEDSTATE, 0, 0) != 0) {
        return false;
    }
    OpenFileState* state = StateOf<OpenFileState>(dialog);
    if (state == nullptr) {
        return false;
    }
    if (msg.wParam == VK_ESCAPE) {
        state->done = true;
    } else {
        OnOpen(dialog, *state);
    }
    return true;
}

HWND TopLevelOf(HWND window) {
    HWND top = window;
    while (top != nullptr && (static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE)) & WS_CHILD) != 0) {
        top = GetParent(top);
    }
    return top;
}

// The handheld's record is 76 bytes (its pointers are 4 bytes); this host's
// is larger. Anything smaller than the handheld's is no OPENFILENAMEW.
constexpr DWORD kHandheldRecordSize = 76;

BOOL Finish(OPENFILENAMEW& info, const OpenFileState& state) {
    if (state.chosen.empty()) {
        lastDialogError = 0;
        return FALSE;
    }
    const std::u16string& path = state.chosen;
    if (info.nMaxFile < path.size() + 1) {
        // The first two bytes tell how many characters the path needs.
        if (info.nMaxFile >= 1) {
            const auto needed = static_cast<WORD>(std::min<std::size_t>(path.size() + 1, 0xFFFF));
            std::memcpy(info.lpstrFile, &needed, sizeof(needed));
        }
        lastDialogError = FNERR_BUFFERTOOSMALL;
        return FALSE;
    }
    std::memcpy(info.lpstrFile, path.c_str(), (path.size() + 1) * sizeof(WCHAR));
    const std::size_t nameOffset = FileNameOffset(path);
    const std::size_t extensionOffset = ExtensionOffset(path);
    info.nFileOffset = static_cast<WORD>(nameOffset);
    info.nFileExtension = static_cast<WORD>(extensionOffset);
    if (info.lpstrFileTitle != nullptr && info.nMaxFileTitle > 0) {
        const std::u16string_view name = std::u16string_view(path).substr(nameOffset);
        const std::size_t count = std::min<std::size_t>(name.size(), info.nMaxFileTitle - 1);
        std::memcpy(info.lpstrFileTitle, name.data(), count * sizeof(WCHAR));
        info.lpstrFileTitle[count] = 0;
    }
    const auto filter = static_cast<int>(SendMessageW(state.typeCombo, CB_GETCURSEL, 0, 0));
    info.nFilterIndex = filter >= 0 ? static_cast<DWORD>(filter + 1) : info.nFilterIndex;
    lastDialogError = 0;
    return TRUE;
}

} // namespace

LRESULT OpenFileProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    OpenFileState* state = StateOf<OpenFileState>(window);
    if (state == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_COMMAND:
        return OnCommand(window, *state, wParam);
    case WM_CTLCOLORSTATIC:
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            state->done = true;
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_CLOSE:
        state->done = true;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace sim

BOOL GetOpenFileNameW(OPENFILENAMEW* info) {
    if (info == nullptr || info->lStructSize < sim::kHandheldRecordSize) {
        sim::lastDialogError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    const std::u16string title =
        info->lpstrTitle != nullptr ? std::u16string(info->lpstrTitle) : std::u16string(u"Open");
    const HWND ownerTop = info->hwndOwner != nullptr && IsWindow(info->hwndOwner)
                              ? sim::TopLevelOf(info->hwndOwner)
                              : nullptr;
    const int bar = GetSystemMetrics(SM_CYMENU);
    const HWND dialog = CreateWindowExW(
        0, sim::kOpenFileClass, title.c_str(), WS_POPUP, 0, bar, GetSystemMetrics(SM_CXSCREEN),
        GetSystemMetrics(SM_CYSCREEN) - 2 * bar, ownerTop, nullptr, nullptr, nullptr);
    sim::OpenFileState* state =
        dialog != nullptr ? sim::CreateState<sim::OpenFileState>(dialog) : nullptr;
    if (state == nullptr) {
        sim::lastDialogError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    state->flags = info->Flags;
    state->title = title;
    state->filters = sim::ParseFileFilters(info->lpstrFilter);
    if (info->lpstrDefExt != nullptr) {
        state->defaultExtension = info->lpstrDefExt;
    }
    std::u16string initialName;
    if (info->lpstrFile != nullptr && info->nMaxFile > 0) {
        // The buffer need not hold a terminator within nMaxFile.
        std::size_t length = 0;
        while (length < info->nMaxFile && info->lpstrFile[length] != 0) {
            ++length;
        }
        initialName.assign(info->lpstrFile, length);
    }
    sim::BuildControls(dialog, *state, initialName, info->nFilterIndex);
    std::u16string start = u"\\";
    if (info->lpstrInitialDir != nullptr) {
        const std::u16string wanted = sim::ResolveDevicePath(u"\\", info->lpstrInitialDir);
        if (sim::IsHostFolder(wanted)) {
            start = wanted;
        }
    }
    sim::ShowFolder(*state, start);

    const bool ownerWasEnabled = ownerTop != nullptr && IsWindowEnabled(ownerTop);
    if (ownerWasEnabled) {
        EnableWindow(ownerTop, FALSE);
    }
    ShowWindow(dialog, SW_SHOW);
    sim::CreateSoftKeyBar(dialog, {sim::SoftKey{u"Open", IDOK, nullptr, true},
                                   sim::SoftKey{u"Cancel", IDCANCEL, nullptr, true}});
    SetFocus(state->list);
    sim::RunModalLoop(
        [dialog] {
            const sim::OpenFileState* current = sim::StateOf<sim::OpenFileState>(dialog);
            return current == nullptr || current->done;
        },
        [dialog](MSG& msg) { return sim::DialogKey(dialog, msg); });

    BOOL result = FALSE;
    std::u16string chosen;
    if (const sim::OpenFileState* finished = sim::StateOf<sim::OpenFileState>(dialog)) {
        chosen = finished->chosen;
        if (info->lpstrFile == nullptr && !chosen.empty()) {
            sim::lastDialogError = FNERR_BUFFERTOOSMALL;
        } else {
            result = sim::Finish(*info, *finished);
        }
    } else {
        sim::lastDialogError = 0;
    }
    if (ownerWasEnabled) {
        EnableWindow(ownerTop, TRUE);
    }
    if (IsWindow(dialog)) {
        DestroyWindow(dialog);
    }
    sim::RecordCall(
        "GetOpenFileNameW",
        {sim::JournalValue(info->hwndOwner), sim::JournalValue(std::u16string_view(title)),
         sim::JournalValue(static_cast<unsigned>(info->Flags))},
        result != FALSE ? sim::JournalValue(std::u16string_view(chosen)) : sim::JournalValue(0));
    return result;
}

DWORD CommDlgExtendedError() {
    return sim::lastDialogError;
}

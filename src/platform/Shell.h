// The Pocket PC shell: the menu bar with its soft keys, the dialog soft-key
// bar, tap-and-hold recognition, application buttons, full screen and the
// shell's extra controls.
#pragma once

#include "platform/Messages.h"
#include "platform/WinTypes.h"

// SHCreateMenuBar: a menu bar for the window hwndParent, along the bottom of the
// screen, built from the menu-bar resource nToolBarId of hInstRes, or from the
// menu of that id with SHCMBF_HMENU. The bar's window comes back in hwndMB.
struct SHMENUBARINFO {
    DWORD cbSize = sizeof(SHMENUBARINFO);
    HWND hwndParent = nullptr;
    DWORD dwFlags = 0;
    UINT nToolBarId = 0;
    HINSTANCE hInstRes = nullptr;
    int nBmpId = 0;
    int cBmpImages = 0;
    HWND hwndMB = nullptr;
    COLORREF clrBk = 0;
};
constexpr DWORD SHCMBF_EMPTYBAR = 0x0001;
constexpr DWORD SHCMBF_HIDDEN = 0x0002;
constexpr DWORD SHCMBF_HIDESIPBUTTON = 0x0004;
constexpr DWORD SHCMBF_COLORBK = 0x0008;
constexpr DWORD SHCMBF_HMENU = 0x0010;
BOOL SHCreateMenuBar(SHMENUBARINFO* info);

// Messages of the menu bar.
constexpr UINT SHCMBM_SETSUBMENU = 0x0590;
constexpr UINT SHCMBM_GETSUBMENU = 0x0591;
constexpr UINT SHCMBM_GETMENU = 0x0592;
// wParam the key; lParam MAKELPARAM(mask, flags) of SHMBOF_*: with
// SHMBOF_NODEFAULT the bar does not handle the key itself, with SHMBOF_NOTIFY it
// sends the key's messages on to its owner.
constexpr UINT SHCMBM_OVERRIDEKEY = 0x0593;
constexpr WORD SHMBOF_NODEFAULT = 0x0001;
constexpr WORD SHMBOF_NOTIFY = 0x0002;

// Dialogs the shell's way: sizing to the screen and the Done button.
struct SHINITDLGINFO {
    DWORD dwMask = 0;
    HWND hDlg = nullptr;
    DWORD dwFlags = 0;
};
constexpr DWORD SHIDIM_FLAGS = 0x0001;
constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;
constexpr DWORD SHIDIF_SIZEDLG = 0x0002;
constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
constexpr DWORD SHIDIF_SIPDOWN = 0x0008;
constexpr DWORD SHIDIF_FULLSCREENNOMENUBAR = 0x0010;
BOOL SHInitDialog(SHINITDLGINFO* info);

// Tap-and-hold: called while the stylus is down (in WM_LBUTTONDOWN), waits until
// the stylus is lifted or moves away, or until it has been held long enough,
// showing the shell's animation meanwhile. Returns 0 for anything but a hold;
// for a hold, GN_CONTEXTMENU with SHRG_RETURNCMD, or else the result of the
// WM_NOTIFY (GN_CONTEXTMENU, NMRGINFO) sent to hwndClient, or to its parent with
// SHRG_NOTIFYPARENT.
struct SHRGINFO {
    DWORD cbSize = sizeof(SHRGINFO);
    HWND hwndClient = nullptr;
    // The stylus-down point, in hwndClient's client coordinates.
    POINT ptDown;
    DWORD dwFlags = 0;
};
constexpr DWORD SHRG_RETURNCMD = 0x00000001;
constexpr DWORD SHRG_NOTIFYPARENT = 0x00000002;
constexpr DWORD SHRG_LONGDELAY = 0x00000008;
constexpr DWORD SHRG_NOANIMATION = 0x00000010;
constexpr UINT GN_CONTEXTMENU = 1000;
struct NMRGINFO {
    NMHDR hdr;
    // In screen coordinates.
    POINT ptAction;
    DWORD dwItemSpec = 0;
};
DWORD SHRecognizeGesture(SHRGINFO* info);

// Gives an application button (VK_APP1...) to a window, or with a null window
// takes it back from whichever window had it.
BOOL SHSetAppKeyWndAssoc(BYTE virtualKey, HWND window);

// Full screen: hides or shows the task bar, the input-panel button and the
// Start icon for the window.
constexpr DWORD SHFS_SHOWTASKBAR = 0x0001;
constexpr DWORD SHFS_HIDETASKBAR = 0x0002;
constexpr DWORD SHFS_SHOWSIPBUTTON = 0x0004;
constexpr DWORD SHFS_HIDESIPBUTTON = 0x0008;
constexpr DWORD SHFS_SHOWSTARTICON = 0x0010;
constexpr DWORD SHFS_HIDESTARTICON = 0x0020;
BOOL SHFullScreen(HWND window, DWORD state);

// Registers the shell's extra control classes.
BOOL SHInitExtraControls();

// Opening a document or starting a program the way the shell does when the
// user taps a file. For a program file, lpParameters is its command line. For
// any other file, the class that HKEY_CLASSES_ROOT names under the file's
// extension gives the command under "Shell\<verb>\Command" (verb "open" when
// lpVerb is null): a program path, in double quotes where it holds blanks,
// and its command line, in which "%1" stands for the document's path. On
// failure hInstApp holds an SE_ERR_* code and GetLastError() the reason
// (ERROR_FILE_NOT_FOUND for a missing document, ERROR_NO_ASSOCIATION for one
// no class opens).
struct SHELLEXECUTEINFOW {
    DWORD cbSize = sizeof(SHELLEXECUTEINFOW);
    ULONG fMask = 0;
    HWND hwnd = nullptr;
    LPCWSTR lpVerb = nullptr;
    LPCWSTR lpFile = nullptr;
    LPCWSTR lpParameters = nullptr;
    LPCWSTR lpDirectory = nullptr;
    int nShow = 0;
    HINSTANCE hInstApp = nullptr;
    // With SEE_MASK_NOCLOSEPROCESS: the started process, for the caller to
    // close.
    HANDLE hProcess = nullptr;
};
constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr ULONG SEE_MASK_FLAG_NO_UI = 0x00000400;
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_NOASSOC = 31;
constexpr DWORD ERROR_NO_ASSOCIATION = 1155;
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);

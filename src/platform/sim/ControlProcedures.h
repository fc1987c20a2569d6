// The window procedures of the device's controls and shell windows, for the
// class registration.
#pragma once

#include "platform/WinTypes.h"

namespace sim {

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DropListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TrackbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ToolbarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT MenuBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT PopupMenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT MessageBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT OpenFileProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace sim

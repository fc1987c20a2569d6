// Ids of the player's resources, shared by vantrel.rc and the C++ code.
// windres reads this file through the C preprocessor, so it holds #define lines
// only; the numbers are part of the program's interface (menus, toolbar,
// accelerators and dialogs all send them).
#pragma once

// Frame resources: title string, menu, menu bar, accelerators, toolbar, icon.
#define IDR_MAINFRAME 128
// The toolbar for screens wider than 320 pixels (32 x 31 images).
#define IDR_MAINFRAME_LARGE 132
// The dialogs' soft-key bar: "OK" and "Cancel".
#define IDR_OKCANCEL_MENUBAR 136

// Dialogs.
#define IDD_ABOUTBOX 100
#define IDD_ABOUTBOX_WIDE 200
#define IDD_JUMPTO 135
#define IDD_OPTIONS 137
#define IDD_OPENSWF 141

// Strings.
#define IDS_APP_TITLE 128
#define IDS_MOVIE_NOT_LOADED 129
#define IDS_KEEP_BACKLIGHT 130
#define IDS_NO_BACKLIGHT 131
#define IDS_CONTROL_NOT_INSTALLED 133
#define IDS_VOLUME 134
#define IDS_OPEN 301
#define IDS_MENU 302

// Controls of the Jump to dialog.
#define IDC_JUMP_LENGTH 1000
#define IDC_JUMP_FRAME 1001
#define IDC_JUMP_ENTRY 1002
// Controls of the Options dialog.
#define IDC_OPTIONS_HOTKEY 1003
#define IDC_OPTIONS_ASSOCIATE 1014
#define IDC_OPTIONS_REMOVE 1015
#define IDC_OPTIONS_BACKLIGHT 1019
#define IDC_OPTIONS_LANDSCAPE 1021
// Controls of the Open dialog.
#define IDC_OPEN_LOCATION 1009
#define IDC_OPEN_BROWSE 1010
#define IDC_OPEN_SLIDES 1012
// Controls of the About box.
#define IDC_ABOUT_ICON 201
#define IDC_ABOUT_VERSION 202
// Static texts without an id.
#define IDC_STATIC (-1)

// Commands of the menu bar, the "Control" menu, the toolbar and accelerators.
#define ID_MENU_BUTTON 402
#define ID_PLAY_PAUSE 32772
#define ID_STOP 32773
#define ID_SEEK_FORWARD 32774
#define ID_SEEK_BACK 32775
#define ID_JUMP_TO 32776
#define ID_TOGGLE_FULLSCREEN 32777
#define ID_ROTATE_LEFT 32779
#define ID_ROTATE_RIGHT 32780
#define ID_PAUSE 32781
#define ID_OPTIONS 32782
#define ID_SCALE_EXACT_FIT 32804
#define ID_SCALE_NO_BORDER 32805
#define ID_SCALE_SHOW_ALL 32806
#define ID_SCALE_NO_SCALE 32807
#define ID_VOLUME_BAR 32816
#define ID_POSITION_BAR 32825
#define ID_EXIT 32826
#define ID_ZOOM_100 32828
#define ID_ZOOM_105 32829
#define ID_ZOOM_110 32830
#define ID_ZOOM_115 32831
#define ID_ZOOM_120 32832
#define ID_ZOOM_125 32833
#define ID_ZOOM_130 32834
#define ID_ZOOM_135 32835
#define ID_ZOOM_140 32836
#define ID_ZOOM_145 32837
#define ID_ZOOM_150 32838
#define ID_SHOW_TOOLBAR 32840
#define ID_FILE_OPEN 57600
#define ID_FILE_OPEN_LOCATION 57601
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_APP_ABOUT 57664

// Window ids of the frame's children and the view's children.
#define ID_COMMAND_BAR 59392
#define ID_PLAYER_VIEW 59648
#define ID_MOVIE_CONTROL 9907
#define ID_POSITION_SLIDER 9908
#define ID_VOLUME_SLIDER 9909
#define ID_VOLUME_LABEL 65535

// Resource types that have no name of their own in the resource compiler.
#define RT_TOOLBAR_RESOURCE 241

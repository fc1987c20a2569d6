// Ids of the framework tests' program resources, shared by TestProgram.rc and
// the tests. Read by windres through the C preprocessor: #define lines only.
#pragma once

#define IDR_TESTFRAME 128
#define IDR_TOOLBAR 130
#define IDR_OKCANCEL 136
#define IDD_FORM 300
#define IDD_MISSING 399

#define IDS_GREETING 200
#define IDS_LONG 201
#define IDS_OPEN 301
#define IDS_MENU 302

#define IDC_FORM_NAME 1001
#define IDC_FORM_COUNT 1002
#define IDC_FORM_FLAG 1003
#define IDC_FORM_LIST 1004
#define IDC_FORM_CHOICE 1005
#define IDC_FORM_SHOWN 1006

// Commands, each sent by one accelerator key (F5 and up).
#define ID_VIEW_AND_FRAME 40001
#define ID_FRAME_AND_APP 40002
#define ID_APP_ONLY 40003
#define ID_NOBODY 40004
#define ID_VIEW_DECLINES 40005
#define ID_MODE_FIRST 40011
#define ID_MODE_LAST 40014
#define ID_AFTER_MODES 40015
#define ID_OPEN_FORM 40020
#define ID_POPUP 40021
#define ID_MESSAGE 40022
#define ID_EXIT 40099
#define ID_OPEN_BUTTON 40030
#define ID_MENU_BUTTON 402

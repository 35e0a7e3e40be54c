// Every resource, command and control id of Osprey, shared by osprey.rc and the code.
// Plain #defines so the resource compiler reads this file too.
#pragma once

// Icon, status pictures and menu.
#define IDI_OSPREY 11
#define IDB_NOT_COMPARED 21  // 未 on cyan
#define IDB_MATCH 22         // a blue circle on green
#define IDB_MISMATCH 23      // a red cross on light grey
#define IDB_ONE_SIDED 24     // 非 on yellow
#define IDR_MAIN_MENU 31

// Menu commands. Folder A carries the higher number.
#define IDM_FOLDER_B 201
#define IDM_FOLDER_A 202
#define IDM_COMPARE 211
#define IDM_RESTORE 212
#define IDM_LAUNCH 213
#define IDM_SETTINGS 221
#define IDM_MANUAL 222
#define IDM_ABOUT 223
#define IDM_EXIT 291

// Child windows of the main window.
#define IDC_STATUS_BAR 1
#define IDC_PATH_A 3001
#define IDC_PATH_B 3002
#define IDC_SELECT_A 3003
#define IDC_SELECT_B 3004
#define IDC_LIST_A 3010
#define IDC_LIST_B 3011

// About dialog.
#define IDD_ABOUT 2
#define IDC_ABOUT_FILE_NAME 101
#define IDC_ABOUT_CLOSE 111

// ---- Settings dialog and extension group editor (templates 1 and 3) -----------------------
#define IDD_SETTINGS 1
#define IDC_SETTINGS_GROUP_NAME 101
#define IDC_SETTINGS_OK 111
#define IDC_SETTINGS_CANCEL 112
#define IDC_SETTINGS_EDIT_GROUPS 113
#define IDC_SETTINGS_GROUP_NUMBER 131

#define IDD_GROUP_EDITOR 3
#define IDC_GROUP_EDITOR_POSITION 101
#define IDC_GROUP_EDITOR_OK 111
#define IDC_GROUP_EDITOR_CANCEL 112
#define IDC_GROUP_EDITOR_PREVIOUS 113
#define IDC_GROUP_EDITOR_NEXT 114
#define IDC_GROUP_EDITOR_GROUP_NO 121
#define IDC_GROUP_EDITOR_ITEM_NAME 122
#define IDC_GROUP_EDITOR_DISPLAY_TEXT 123
#define IDC_GROUP_EDITOR_SEARCH_PATTERN 124

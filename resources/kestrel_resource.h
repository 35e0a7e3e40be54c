// Every resource, command and control id of Kestrel, shared by kestrel.rc and the code.
// Plain #defines so the resource compiler reads this file too.
#pragma once

// Icon and menu.
#define IDI_KESTREL 91
#define IDR_MAIN_MENU 100

// Menu commands.
#define IDM_OPEN_FILE_A 101
#define IDM_OPEN_FILE_B 102
#define IDM_COMPARE 111
#define IDM_RESTORE 112
#define IDM_SETTINGS 121
#define IDM_MANUAL 122
#define IDM_ABOUT 123
#define IDM_EXIT 124

// Child windows of the main window.
#define IDC_STATUS_BAR 1
#define IDC_PATH_A 3001
#define IDC_PATH_B 3002
#define IDC_SELECT_A 3003
#define IDC_SELECT_B 3004

// The one-shot timer that loads the command-line files once the window is up.
#define IDT_STARTUP 1

// About dialog.
#define IDD_ABOUT 2
#define IDC_ABOUT_FILE_NAME 241
#define IDC_ABOUT_CLOSE 201

// ---- Settings dialog and extension group editor (templates 1 and 3) -----------------------
// Ids of kestrel_settings.rc; this block belongs to the settings dialog's code.
#define IDD_SETTINGS 1
#define IDC_SETTINGS_OK 201
#define IDC_SETTINGS_CANCEL 202
#define IDC_SETTINGS_EDIT_GROUPS 203
#define IDC_SETTINGS_COLUMNS 231
#define IDC_SETTINGS_ROWS 232
#define IDC_SETTINGS_FONT_HEIGHT 233
#define IDC_SETTINGS_GROUP_NAME 241
#define IDC_SETTINGS_GROUP_NUMBER 251
#define IDC_SETTINGS_NEWLINE 252

#define IDD_GROUP_EDITOR 3
#define IDC_GROUP_EDITOR_OK 201
#define IDC_GROUP_EDITOR_CANCEL 202
#define IDC_GROUP_EDITOR_PREVIOUS 203
#define IDC_GROUP_EDITOR_NEXT 204
#define IDC_GROUP_EDITOR_GROUP_NO 231
#define IDC_GROUP_EDITOR_ITEM_NAME 232
#define IDC_GROUP_EDITOR_DISPLAY_TEXT 233
#define IDC_GROUP_EDITOR_SEARCH_PATTERN 234
#define IDC_GROUP_EDITOR_POSITION 241

// ---- end of the settings dialog block -----------------------------------------------------

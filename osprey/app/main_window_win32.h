// Osprey's main window: its class, its creation from the screen's size, its window procedure
// and the program's message loop.
#pragma once

#include <windows.h>

#include "common/program_shell_win32.h"
#include "resources/osprey_resource.h"
#include "resources/version.h"

namespace osprey::app {

inline constexpr char16_t kMainWindowClass[] = u"Main Window";
inline constexpr char16_t kMainWindowTitle[] = u"Osprey Ver" KO_VERSION_TITLE;

// Registers "Main Window" (icon 11, menu 31, white background) and records the screen's size
// for the window and its controls. False on failure.
bool RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window at (0, 0), as wide as the screen and 48 pixels less high (fitted into
// the work area where the taskbar would cover part of that), with a title bar and a system menu
// only. Creation records the start-up directory, reads the settings and builds the controls;
// when that fails null is returned.
HWND CreateMainWindow(HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The about box "このソフトについて" (template 2).
inline constexpr ko::AboutBoxIds kAboutBoxIds{IDD_ABOUT, IDC_ABOUT_FILE_NAME, IDC_ABOUT_CLOSE};

}  // namespace osprey::app

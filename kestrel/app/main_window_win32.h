// Kestrel's main window: its class, its creation from the screen's size, its window
// procedure and the program's message loop.
#pragma once

#include <windows.h>

#include "resources/version.h"

namespace kestrel::app {

inline constexpr char16_t kMainWindowClass[] = u"Main Window";
inline constexpr char16_t kMainWindowTitle[] = u"Kestrel Ver" KO_VERSION_TITLE;

// Registers "Main Window" (icon 91, menu 100, white background, no background erase of its
// own) and records the screen's size for the window and its controls. False on failure.
bool RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window at (0, 0), as wide as the screen and 30 pixels less high, fitted into
// the work area where the taskbar would cover part of that. Creation reads the settings and
// builds the furniture, grids and view; when that fails the window is destroyed again and null
// is returned.
HWND CreateMainWindow(HINSTANCE instance);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace kestrel::app

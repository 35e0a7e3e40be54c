// What the main window does for its menu commands, its buttons and its scrolling keys.
#pragma once

#include <windows.h>

namespace kestrel::app {

// Runs the command in the low 16 bits of `wparam`; unknown commands go to the default
// window procedure unchanged.
LRESULT OnCommand(HWND window, WPARAM wparam, LPARAM lparam);

// Loads `side` from the text of its path box; a load that opened the file leaves that side's
// back buffer white until the next paint. When memory runs out the window is destroyed and
// false returned: the caller must not touch the window or the engine any more.
bool LoadSideFromPathBox(HWND window, int side);

// Compares both sides when neither path box is empty; otherwise shows "Please set the file
// name" and changes nothing.
void CompareFromPathBoxes(HWND window);

// Moves the top row by `rows` (negative: up), keeps it within 0 and rows - V, shows it in the
// status bar and redraws the view's band at once.
LRESULT ScrollView(HWND window, int rows);

// Invalidates the whole client area and redraws it at once.

}  // namespace kestrel::app

// What the main window does for its menu commands, its buttons and its scrolling keys.
#pragma once

#include <windows.h>

#include <string_view>

namespace kestrel::app {

// Runs the command in the low 16 bits of `wparam`; unknown commands go to the default
// window procedure unchanged.
LRESULT OnCommand(HWND window, WPARAM wparam, LPARAM lparam);

// Loads `side` from the text of its path box; a load that opened the file leaves that side's
// back buffer white until the next paint. When memory runs out the window is destroyed and
// false returned: the caller must not touch the window or the engine any more.
bool LoadSideFromPathBox(HWND window, int side);

// Loads `side` from its path box as its "選" does once a file is chosen: status bar, keyboard
// focus back to the main window, the whole view redrawn.
void LoadChosenSide(HWND window, int side);

// Puts each path that is not empty into its side's path box and loads that side, compares
// when both are named, then shows the status bar and redraws the view: what a start with both
// paths on the command line does.
void OpenNamedFiles(HWND window, std::u16string_view a, std::u16string_view b);

// Compares both sides when neither path box is empty; otherwise shows "Please set the file
// name" and changes nothing.
void CompareFromPathBoxes(HWND window);

// Moves the top row by `rows` (negative: up), keeps it within 0 and rows - V, shows it in the
// status bar and redraws the view's band at once.
LRESULT ScrollView(HWND window, int rows);

// Invalidates the whole client area and redraws it at once.

}  // namespace kestrel::app

// What the main window does for its menu commands and its "選" buttons.
#pragma once

#include <windows.h>

namespace osprey::app {

// Runs the command in the low 16 bits of `wparam`; unknown commands go to the default window
// procedure unchanged.
LRESULT OnCommand(HWND window, WPARAM wparam, LPARAM lparam);

// What follows a folder choice: the chosen sides scanned from their path boxes, both sides
// paired afresh (every comparison result is dropped, the compare flag stays), the lists and the
// status bar shown, the keyboard focus back to the main window and the whole window redrawn.
void ScanAndShow(HWND window, bool sideA, bool sideB);

}  // namespace osprey::app

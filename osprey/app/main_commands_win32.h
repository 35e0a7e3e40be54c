// What the main window does for its menu commands and its "選" buttons.
#pragma once

#include <windows.h>

namespace osprey::app {

// Runs the command in the low 16 bits of `wparam`; unknown commands go to the default window
// procedure unchanged.
LRESULT OnCommand(HWND window, WPARAM wparam, LPARAM lparam);

}  // namespace osprey::app

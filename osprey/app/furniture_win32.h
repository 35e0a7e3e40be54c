// The main window's children: the "選" buttons and path boxes of both sides, the image list,
// both list views and the status bar.
#pragma once

#include <windows.h>

#include <string>

namespace osprey::app {

// Creates every child in its fixed order and puts both folder paths into the path boxes.
// False when a control could not be made.
bool CreateFurniture(HWND window);

// Writes the compare flag and the five counters into the six status-bar fields over white (the
// theme's own background in high contrast).
void UpdateStatusBar();

// The whole text of the path box of `side`.
std::u16string ReadPathBox(int side);

// Releases what the children do not release themselves: the shared image list. Called once
// the children are gone.
void ReleaseFurniture();

}  // namespace osprey::app

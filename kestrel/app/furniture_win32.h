// The main window's furniture: the select buttons and path boxes above the view, the status
// bar below it, and, in the same step list, the view font, the grids and the view.
#pragma once

#include <windows.h>

#include <string>

namespace kestrel::app {

// Builds everything in its fixed order while `window` is being created. Returns false after
// the failing step has shown its message (grids or back buffers); the caller then lets the
// window be destroyed.
bool CreateFurniture(HWND window);

// Sets the status bar's background for the compare state (the theme's own in high contrast)
// and writes its six fields.
void UpdateStatusBar();

// The whole text of a path box. A path past 259 units is not cut, which would name another
// file: where the system allows long paths it opens, elsewhere the loader reports why not.
std::u16string ReadPathBox(int side);

}  // namespace kestrel::app

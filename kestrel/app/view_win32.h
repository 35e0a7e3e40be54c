// The comparison view of the main window: side A left, side B right, each with line numbers
// and a text pane copied from an off-screen back buffer of its own.
#pragma once

#include <windows.h>

namespace kestrel::app {

// Records the layout from the client area of `window` and the current row pitch, makes both
// back buffers (font height x columns by H, white) and sets the top row to 0. On failure
// shows "Failed to create memory DC." or "A bitmap could not be created in the specified
// device context." under "Failure" and returns false; ReleaseView() frees what was made.
bool CreateView(HWND window);

// Draws the whole view onto `dc` in client coordinates: line numbers, rules and both panes,
// from the grids and the compare state as they are now. Used for WM_PAINT and WM_PRINTCLIENT.
void PaintView(HDC dc);

// Fills one side's back buffer with white, as after loading a new file into it.
void ClearBackBuffer(int side);

// Puts the remembered fonts and bitmaps back and frees the buffers; passes over what was
// never made.
void ReleaseView();

}  // namespace kestrel::app

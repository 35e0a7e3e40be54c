// Folders handed to Osprey by Explorer: dropped on its main window, or named bare on its
// command line (dropped on its icon, sent through "送る", or passed by a script).
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace osprey::app {

// Posted by window creation when the command line named paths; handled once the window is up.
constexpr UINT WM_OPEN_START_FOLDERS = WM_APP;

// One folder becomes the folder of the side under the drop point (the left half of the window
// is side A) as if chosen through that side's "選"; two folders become folder A and folder B in
// the drop's order. A file, more than two folders or a path longer than 259 units shows
// "フォルダを１つか２つ指定してください。…" and changes nothing. Releases `drop`.
LRESULT OnDropFiles(HWND window, HDROP drop);

// The same for the paths of the command line: the first is folder A, a second folder B.
LRESULT OnOpenStartFolders(HWND window);

}  // namespace osprey::app

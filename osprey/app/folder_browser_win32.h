// Choosing a side's folder in the shell's folder browser.
#pragma once

#include <windows.h>

#include "osprey/app/app_state_win32.h"

namespace osprey::app {

// Runs the folder browser on the folder path of `side`. When the user confirms a folder it
// becomes that side's folder path and its path box shows it, and true is returned. A cancelled
// browser changes nothing and returns false: the side keeps its folder, its list and every
// comparison result.
bool ChooseFolder(int side);

// `folder` becomes the folder path of `side` (cut to 259 units) and its path box shows it.
void TakeFolder(int side, std::u16string_view folder);

// SHBrowseForFolderW titled "フォルダを選択", file-system folders only, without owner window,
// opening on the initial folder.
FolderBrowser& SystemFolderBrowser();

}  // namespace osprey::app

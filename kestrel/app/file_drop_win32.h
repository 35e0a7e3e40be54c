// Files dropped on Kestrel's main window from Explorer.
#pragma once

#include <windows.h>

#include <shellapi.h>

namespace kestrel::app {

// One file goes to the side under the drop point (the left half of the view is side A) as if
// chosen through that side's "選"; two files go to side A and side B in the drop's order and
// are compared, as after a start with both on the command line. A folder, more than two files
// or a path longer than 259 units shows "ファイルを１つか２つ指定してください。…" and changes
// nothing. Releases `drop`.
LRESULT OnDropFiles(HWND window, HDROP drop);

}  // namespace kestrel::app

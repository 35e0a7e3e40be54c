// Handing the selected file of each side to the file comparer, which runs as a process of its
// own.
#pragma once

#include <windows.h>

#include "osprey/app/app_state_win32.h"

namespace osprey::app {

// Checks the selections of both list views (each taken on its own; the first failing check is
// shown under "選択ミス" with the warning icon), then starts the file comparer from the start-up
// directory with the two files' paths. A start that fails shows "実行出来ませんでした。" under
// "残念！". Changes no row, counter or status-bar field. Message boxes belong to `window`.
void LaunchFileComparer(HWND window);

// CreateProcessW with the command's application name and command line, normal priority, no
// inherited handles, the parent's environment and current directory. The child runs on its
// own: its process and thread handles are closed at once.
ProcessStarter& SystemProcessStarter();

}  // namespace osprey::app

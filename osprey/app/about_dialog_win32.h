// "このソフトについて": what the program is and which version.
#pragma once

#include <windows.h>

namespace osprey::app {

// Runs the about dialog (template 2) modally over `owner`. Returns 1 when closed by its
// button "閉じる", 0 when closed by the close box or the system menu.
INT_PTR RunAboutDialog(HWND owner);

}  // namespace osprey::app

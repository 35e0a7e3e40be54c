// "このソフトについて": what the program is and which version.
#pragma once

#include <windows.h>

namespace kestrel::app {

// Runs the about dialog (template 2) modally over `owner`. Returns 1 when closed by its
// button, 0 when closed by the close box or the system menu; Enter and Esc leave it open.
INT_PTR RunAboutDialog(HWND owner);

}  // namespace kestrel::app

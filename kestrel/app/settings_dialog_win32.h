// Kestrel's settings dialog "環境設定": grid columns and rows, the view's font height, the
// selected extension group and the newline code, plus the extension group editor.
#pragma once

#include <windows.h>

#include "common/report.h"
#include "common/settings.h"

namespace kestrel::app {

// Runs the dialog (template 1) modally over `owner` and returns 1 however it is closed.
// OK stores the values into `settings` (range messages through `reporter`, owned by the
// dialog), sets settings.rowPitch to the font height + 2 at once, and sets `restart_flag` to 1
// when the columns, rows or font height changed; Cancel and the close box store nothing.
// Editors opened from the dialog write their row into settings.groups themselves.
INT_PTR RunSettingsDialog(HWND owner, ko::Settings& settings, int& restart_flag,
                          ko::Reporter& reporter);

}  // namespace kestrel::app

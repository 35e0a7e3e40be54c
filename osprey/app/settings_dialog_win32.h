// Osprey's settings dialog "環境設定": the extension group a folder scan lists, and the
// extension group editor.
#pragma once

#include <windows.h>

#include "common/report.h"
#include "common/settings.h"

namespace osprey::app {

// Runs the dialog (template 1) modally over `owner` and returns 1 however it is closed. OK
// sets settings.failExt_no to the number the combo box names, without range check; Cancel
// and the close box store nothing. Editors opened from the dialog write their row into
// settings.groups themselves and report through `reporter`.
INT_PTR RunSettingsDialog(HWND owner, ko::Settings& settings, ko::Reporter& reporter);

}  // namespace osprey::app

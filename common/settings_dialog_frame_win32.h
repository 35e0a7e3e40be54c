// What both programs' settings dialogs "環境設定" share: the extension group selector with its
// editors, OK that stores, Cancel, Enter and Escape, and the close box. Each program brings its
// own template and ids, and its own fields through `fill` and `store`.
#pragma once

#include <windows.h>

#include <functional>

#include "common/group_editor_win32.h"
#include "common/group_selector_win32.h"
#include "common/settings.h"

namespace ko {

struct SettingsDialogIds {
    int template_id;
    int ok;
    int cancel;
    GroupSelectorIds selector;
    GroupEditorIds editor;
};

// Runs the dialog modally over `owner` and returns 1 however it is closed. On opening, the
// selector shows `settings.failExt_no` and `fill` fills the program's own fields; OK calls
// `store` and then stores the selected group; Cancel and the close box store nothing. Editors
// opened from the dialog write their row into settings.groups themselves.
INT_PTR RunSettingsDialogFrame(HWND owner, const SettingsDialogIds& ids, Settings& settings,
                               Reporter& reporter, const std::function<void(HWND)>& fill,
                               const std::function<void(HWND)>& store);

}  // namespace ko

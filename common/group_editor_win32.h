// The extension group editor "検索の拡張子の設定": a modeless dialog that steps through the 32
// rows of the extension-group table with "<<" and ">>" and stores the row on display on OK.
// Both programs use it with their own template id and control ids.
#pragma once

#include <windows.h>

#include "common/extension_groups.h"
#include "common/report.h"

namespace ko {

struct GroupEditorIds {
    int template_id;
    int position;  // "%02d/32"
    int group_no;
    int item_name;
    int display_text;
    int search_pattern;
    int ok;
    int cancel;
    int previous;  // "<<"
    int next;      // ">>"
};

// Opens a further editor owned by `owner` (the settings dialog, which destroys it when it
// closes), shows it with SW_SHOWNORMAL and returns it; null if it could not be created. Every
// editor keeps its own current row, starting at row 0, so two open editors never store
// through one another's row. `table` and `reporter` must outlive the editor.
HWND OpenGroupEditor(HWND owner, const GroupEditorIds& ids, ExtensionGroupTable& table,
                     Reporter& reporter);

}  // namespace ko

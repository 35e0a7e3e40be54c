// The group selector inside both settings dialogs: a combo box of the table's group numbers, a
// label with the chosen group's name, and a button that opens an extension group editor.
#pragma once

#include <windows.h>

#include "common/extension_groups.h"
#include "common/group_editor_win32.h"
#include "common/report.h"

namespace ko {

struct GroupSelectorIds {
    int label;
    int combo;
    int button;
};

// Lists every group number ("%04d", in order of first appearance), selects the entry of
// `failExt_no` (the first entry when no row carries it) and shows that group's name.
void FillGroupSelector(HWND dialog, const GroupSelectorIds& ids, const ExtensionGroupTable& table,
                       int failExt_no);

// Handles a WM_COMMAND of the settings dialog that concerns the selector: any notification of
// the combo box refreshes the label, the button opens a further editor owned by `dialog`.
// Returns false for every other command.
bool OnGroupSelectorCommand(HWND dialog, const GroupSelectorIds& ids, int id, int code,
                            ExtensionGroupTable& table, const GroupEditorIds& editor_ids,
                            Reporter& reporter);

// The group number the combo box's text names, for the settings dialog's OK.
int ReadSelectedGroup(HWND dialog, const GroupSelectorIds& ids);

}  // namespace ko

#include "common/group_selector_win32.h"

#include <string>

#include "common/dialog_text_win32.h"
#include "common/group_selection.h"
#include "common/win32_text.h"

namespace ko {

namespace {

// The text the combo box stands for. While CBN_SELCHANGE is being sent its edit field still
// holds the previous text, so a selection is read from the list.
std::u16string CurrentComboText(HWND dialog, const GroupSelectorIds& ids, int code) {
    const HWND combo = GetDlgItem(dialog, ids.combo);
    if (code == CBN_SELCHANGE) {
        const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        const LRESULT length =
            index == CB_ERR ? CB_ERR : SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
        if (length != CB_ERR) {
            std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
            const LRESULT copied =
                SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
            text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
            return text;
        }
    }
    return DialogItemText(dialog, ids.combo);
}

void RefreshGroupLabel(HWND dialog, const GroupSelectorIds& ids, const ExtensionGroupTable& table,
                       int code) {
    SetDialogItemText(dialog, ids.label, GroupLabel(table, CurrentComboText(dialog, ids, code)));
}

}  // namespace

void FillGroupSelector(HWND dialog, const GroupSelectorIds& ids, const ExtensionGroupTable& table,
                       int failExt_no) {
    const HWND combo = GetDlgItem(dialog, ids.combo);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::u16string& entry : GroupEntryTexts(table))
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AsWide(entry.c_str())));
    SendMessageW(combo, CB_SETCURSEL, GroupEntryToSelect(table, failExt_no), 0);
    RefreshGroupLabel(dialog, ids, table, 0);
}

bool OnGroupSelectorCommand(HWND dialog, const GroupSelectorIds& ids, int id, int code,
                            ExtensionGroupTable& table, const GroupEditorIds& editor_ids,
                            Reporter& reporter) {
    if (id == ids.combo) {
        RefreshGroupLabel(dialog, ids, table, code);
        return true;
    }
    if (id == ids.button) {
        if (code == BN_CLICKED) OpenGroupEditor(dialog, editor_ids, table, reporter);
        return true;
    }
    return false;
}

int ReadSelectedGroup(HWND dialog, const GroupSelectorIds& ids) {
    return GroupNumberOf(DialogItemText(dialog, ids.combo));
}

}  // namespace ko

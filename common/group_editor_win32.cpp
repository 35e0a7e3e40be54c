#include "common/group_editor_win32.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "common/dialog_text_win32.h"
#include "common/group_row_editing.h"

namespace ko {

namespace {

// One per open editor; freed when its window goes.
struct GroupEditor {
    GroupEditorIds ids;
    ExtensionGroupTable* table;
    Reporter* reporter;
    int current_row = 0;
    bool* adopted = nullptr;  // set while the window is being created; see OpenGroupEditor
};

// An editor lives inside its settings dialog's modal loop, which gives only that dialog the
// keys of a dialog (Tab, Enter, Escape). While editors are open a message filter hook, which
// that loop consults for every message, hands an editor the keys meant for it.
struct EditorKeyboard {
    HHOOK hook = nullptr;
    std::vector<HWND> editors;
    bool routing = false;  // the editor's own IsDialogMessage consults the hook again
};

EditorKeyboard& Keyboard() {
    static EditorKeyboard keyboard;
    return keyboard;
}

LRESULT CALLBACK EditorKeyFilter(int code, WPARAM wparam, LPARAM lparam) {
    EditorKeyboard& keyboard = Keyboard();
    auto* message = reinterpret_cast<MSG*>(lparam);
    if (code == MSGF_DIALOGBOX && !keyboard.routing && message && message->message >= WM_KEYFIRST &&
        message->message <= WM_KEYLAST) {
        const HWND root = GetAncestor(message->hwnd, GA_ROOT);
        const auto& editors = keyboard.editors;
        if (std::find(editors.begin(), editors.end(), root) != editors.end()) {
            keyboard.routing = true;
            const BOOL handled = IsDialogMessageW(root, message);
            keyboard.routing = false;
            if (handled) return TRUE;
        }
    }
    return CallNextHookEx(keyboard.hook, code, wparam, lparam);
}

void AddToKeyboard(HWND editor) {
    EditorKeyboard& keyboard = Keyboard();
    keyboard.editors.push_back(editor);
    if (!keyboard.hook)
        keyboard.hook =
            SetWindowsHookExW(WH_MSGFILTER, EditorKeyFilter, nullptr, GetCurrentThreadId());
}

void RemoveFromKeyboard(HWND editor) {
    EditorKeyboard& keyboard = Keyboard();
    std::erase(keyboard.editors, editor);
    if (keyboard.editors.empty() && keyboard.hook) {
        UnhookWindowsHookEx(keyboard.hook);
        keyboard.hook = nullptr;
    }
}

GroupEditor* EditorOf(HWND dialog) {
    return reinterpret_cast<GroupEditor*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

void ShowRow(HWND dialog, const GroupEditor& editor) {
    const GroupRowTexts texts = TextsOfRow((*editor.table)[editor.current_row]);
    SetDialogItemText(dialog, editor.ids.group_no, texts.groupNo);
    SetDialogItemText(dialog, editor.ids.item_name, texts.itemName);
    SetDialogItemText(dialog, editor.ids.display_text, texts.displayText);
    SetDialogItemText(dialog, editor.ids.search_pattern, texts.searchPattern);
    SetDialogItemText(dialog, editor.ids.position, RowPositionText(editor.current_row));
}

void StoreShownRow(HWND dialog, const GroupEditor& editor) {
    const GroupRowTexts texts{DialogItemText(dialog, editor.ids.group_no),
                              DialogItemText(dialog, editor.ids.item_name),
                              DialogItemText(dialog, editor.ids.display_text),
                              DialogItemText(dialog, editor.ids.search_pattern)};
    // The range message runs a modal loop in which the settings dialog may close and take this
    // editor (and `editor`) with it; the row itself belongs to the program-wide table.
    ExtensionGroup& row = (*editor.table)[editor.current_row];
    Reporter& reporter = *editor.reporter;
    StoreRow(texts, row, reporter, dialog);
}

BOOL OnInitDialog(HWND dialog, GroupEditor* editor) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(editor));
    *editor->adopted = true;
    editor->adopted = nullptr;
    AddToKeyboard(dialog);
    editor->current_row = 0;
    ShowRow(dialog, *editor);
    return TRUE;
}

void OnCommand(HWND dialog, int id, int code) {
    GroupEditor* editor = EditorOf(dialog);
    if (!editor || code != BN_CLICKED) return;
    if (id == editor->ids.previous || id == editor->ids.next) {
        editor->current_row = StepRow(editor->current_row, id == editor->ids.next ? 1 : -1);
        ShowRow(dialog, *editor);
    } else if (id == editor->ids.ok) {
        StoreShownRow(dialog, *editor);
        if (IsWindow(dialog)) DestroyWindow(dialog);
    } else if (id == editor->ids.cancel || id == IDCANCEL) {
        DestroyWindow(dialog);
    }
}

void OnNcDestroy(HWND dialog) {
    RemoveFromKeyboard(dialog);
    delete EditorOf(dialog);
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

INT_PTR CALLBACK GroupEditorProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, reinterpret_cast<GroupEditor*>(lparam));
        case WM_COMMAND:
            OnCommand(dialog, LOWORD(wparam), HIWORD(wparam));
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(dialog);
            return TRUE;
        case WM_NCDESTROY:
            OnNcDestroy(dialog);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

HWND OpenGroupEditor(HWND owner, const GroupEditorIds& ids, ExtensionGroupTable& table,
                     Reporter& reporter) {
    auto editor = std::make_unique<GroupEditor>(GroupEditor{ids, &table, &reporter});
    bool adopted = false;
    editor->adopted = &adopted;
    const HWND dialog =
        CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids.template_id), owner,
                           GroupEditorProc, reinterpret_cast<LPARAM>(editor.get()));
    // From WM_INITDIALOG on the window owns the editor and frees it at WM_NCDESTROY, even when
    // creation fails after that point.
    if (adopted) editor.release();
    if (!dialog) return nullptr;
    ShowWindow(dialog, SW_SHOWNORMAL);
    return dialog;
}

}  // namespace ko

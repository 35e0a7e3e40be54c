#include "osprey/app/settings_dialog_win32.h"

#include "common/group_editor_win32.h"
#include "common/group_selector_win32.h"
#include "resources/osprey_resource.h"

namespace osprey::app {

namespace {

constexpr ko::GroupSelectorIds kSelectorIds{IDC_SETTINGS_GROUP_NAME, IDC_SETTINGS_GROUP_NUMBER,
                                            IDC_SETTINGS_EDIT_GROUPS};

constexpr ko::GroupEditorIds kEditorIds{
    IDD_GROUP_EDITOR,           IDC_GROUP_EDITOR_POSITION,     IDC_GROUP_EDITOR_GROUP_NO,
    IDC_GROUP_EDITOR_ITEM_NAME, IDC_GROUP_EDITOR_DISPLAY_TEXT, IDC_GROUP_EDITOR_SEARCH_PATTERN,
    IDC_GROUP_EDITOR_OK,        IDC_GROUP_EDITOR_CANCEL,       IDC_GROUP_EDITOR_PREVIOUS,
    IDC_GROUP_EDITOR_NEXT};

struct SettingsDialog {
    ko::Settings* settings;
    ko::Reporter* reporter;
};

SettingsDialog* DialogOf(HWND dialog) {
    return reinterpret_cast<SettingsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

BOOL OnInitDialog(HWND dialog, SettingsDialog* state) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
    ko::FillGroupSelector(dialog, kSelectorIds, state->settings->groups,
                          state->settings->failExt_no);
    return TRUE;  // the platform puts the focus on the first tab stop
}

void OnCommand(HWND dialog, int id, int code) {
    SettingsDialog* state = DialogOf(dialog);
    if (!state) return;
    if (ko::OnGroupSelectorCommand(dialog, kSelectorIds, id, code, state->settings->groups,
                                   kEditorIds, *state->reporter))
        return;
    if (code != BN_CLICKED) return;
    // The Enter key arrives as IDOK when no default button takes it, Escape always as IDCANCEL.
    if (id == IDC_SETTINGS_OK || id == IDOK) {
        state->settings->failExt_no = ko::ReadSelectedGroup(dialog, kSelectorIds);
        EndDialog(dialog, 1);
    } else if (id == IDC_SETTINGS_CANCEL || id == IDCANCEL) {
        EndDialog(dialog, 1);
    }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, reinterpret_cast<SettingsDialog*>(lparam));
        case WM_COMMAND:
            OnCommand(dialog, LOWORD(wparam), HIWORD(wparam));
            return TRUE;
        case WM_CLOSE:
            EndDialog(dialog, 1);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR RunSettingsDialog(HWND owner, ko::Settings& settings, ko::Reporter& reporter) {
    SettingsDialog state{&settings, &reporter};
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), owner,
                           SettingsDialogProc, reinterpret_cast<LPARAM>(&state));
}

}  // namespace osprey::app

#include "common/settings_dialog_frame_win32.h"

namespace ko {

namespace {

struct Frame {
    const SettingsDialogIds& ids;
    Settings& settings;
    Reporter& reporter;
    const std::function<void(HWND)>& fill;
    const std::function<void(HWND)>& store;
};

Frame* FrameOf(HWND dialog) {
    return reinterpret_cast<Frame*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

INT_PTR OnInitDialog(HWND dialog, Frame* frame) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(frame));
    FillGroupSelector(dialog, frame->ids.selector, frame->settings.groups,
                      frame->settings.failExt_no);
    if (frame->fill) frame->fill(dialog);
    return TRUE;  // the platform puts the focus on the first tab stop
}

void OnCommand(HWND dialog, int id, int code) {
    Frame* frame = FrameOf(dialog);
    if (frame == nullptr) return;
    const SettingsDialogIds& ids = frame->ids;
    if (OnGroupSelectorCommand(dialog, ids.selector, id, code, frame->settings.groups, ids.editor,
                               frame->reporter))
        return;
    if (code != BN_CLICKED) return;
    // The Enter key arrives as IDOK when no default button takes it, Escape always as IDCANCEL.
    if (id == ids.ok || id == IDOK) {
        if (frame->store) frame->store(dialog);
        frame->settings.failExt_no = ReadSelectedGroup(dialog, ids.selector);
        EndDialog(dialog, 1);
    } else if (id == ids.cancel || id == IDCANCEL) {
        EndDialog(dialog, 1);
    }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, reinterpret_cast<Frame*>(lparam));
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

INT_PTR RunSettingsDialogFrame(HWND owner, const SettingsDialogIds& ids, Settings& settings,
                               Reporter& reporter, const std::function<void(HWND)>& fill,
                               const std::function<void(HWND)>& store) {
    Frame frame{ids, settings, reporter, fill, store};
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(ids.template_id), owner,
                           SettingsDialogProc, reinterpret_cast<LPARAM>(&frame));
}

}  // namespace ko

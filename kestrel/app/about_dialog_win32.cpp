#include "kestrel/app/about_dialog_win32.h"

#include "common/text.h"
#include "common/win32_text.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/main_window_win32.h"
#include "resources/kestrel_resource.h"

namespace kestrel::app {

namespace {

INT_PTR OnAboutInit(HWND dialog) {
    const std::u16string text = ko::Format(u"ファイル名：%s", {kMainWindowTitle});
    SetDlgItemTextW(dialog, IDC_ABOUT_FILE_NAME, ko::AsWide(text.c_str()));
    return TRUE;  // the platform sets the focus
}

// Only the close button ends the dialog; Enter and Esc arrive as IDOK and IDCANCEL and are
// left alone.
INT_PTR OnAboutCommand(HWND dialog, WPARAM wparam) {
    if (LOWORD(wparam) != IDC_ABOUT_CLOSE) return FALSE;
    EndDialog(dialog, 1);
    return TRUE;
}

// The close box and the system menu's Close come as WM_CLOSE; the platform would turn it
// into IDCANCEL, which the dialog ignores, so it ends here.
INT_PTR OnAboutClose(HWND dialog) {
    EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR OnAboutPaint(HWND dialog) {
    PAINTSTRUCT paint;
    BeginPaint(dialog, &paint);
    EndPaint(dialog, &paint);
    return TRUE;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnAboutInit(dialog);
        case WM_COMMAND:
            return OnAboutCommand(dialog, wparam);
        case WM_CLOSE:
            return OnAboutClose(dialog);
        case WM_PAINT:
            return OnAboutPaint(dialog);
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR RunAboutDialog(HWND owner) {
    return DialogBoxParamW(App().instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutDialogProc, 0);
}

}  // namespace kestrel::app

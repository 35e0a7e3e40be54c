#include "osprey/app/about_dialog_win32.h"

#include "common/text.h"
#include "common/win32_text.h"
#include "osprey/app/app_state_win32.h"
#include "osprey/app/main_window_win32.h"
#include "resources/osprey_resource.h"

namespace osprey::app {

namespace {

INT_PTR OnAboutInit(HWND dialog) {
    const std::u16string text = ko::Format(u"ファイル名：%s", {kMainWindowTitle});
    SetDlgItemTextW(dialog, IDC_ABOUT_FILE_NAME, ko::AsWide(text.c_str()));
    return TRUE;
}

// Only "閉じる" ends the dialog by command; Enter and Esc arrive as IDOK and IDCANCEL and are
// left alone.
INT_PTR OnAboutCommand(HWND dialog, WPARAM wparam) {
    if (LOWORD(wparam) != IDC_ABOUT_CLOSE) return FALSE;
    EndDialog(dialog, 1);
    return TRUE;
}

INT_PTR OnAboutPaint(HWND dialog) {
    PAINTSTRUCT paint;
    BeginPaint(dialog, &paint);
    EndPaint(dialog, &paint);
    return FALSE;
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return OnAboutInit(dialog);
        case WM_COMMAND:
            return OnAboutCommand(dialog, wparam);
        case WM_CLOSE:  // the close box and the system menu's Close
            EndDialog(dialog, 0);
            return TRUE;
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

}  // namespace osprey::app

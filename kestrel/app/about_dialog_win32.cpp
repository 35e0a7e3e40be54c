#include "kestrel/app/about_dialog_win32.h"

#include "common/program_shell_win32.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/main_window_win32.h"
#include "resources/kestrel_resource.h"

namespace kestrel::app {

INT_PTR RunAboutDialog(HWND owner) {
    return ko::RunAboutBox(App().instance, owner, {IDD_ABOUT, IDC_ABOUT_FILE_NAME, IDC_ABOUT_CLOSE},
                           kMainWindowTitle);
}

}  // namespace kestrel::app

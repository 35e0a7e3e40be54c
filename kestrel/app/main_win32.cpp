// Kestrel.exe: compares two text files side by side. Started by the folder comparer (or a
// user) as Kestrel.exe /A:<path of file A> /B:<path of file B>, or by Explorer with the two
// paths bare, it loads and compares both files as soon as its window is up.
#include <windows.h>

#include "common/message_box_reporter_win32.h"
#include "common/program_shell_win32.h"
#include "common/win32_text.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/main_window_win32.h"
#include "kestrel/app/open_file_dialog_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int show_command) {
    using namespace kestrel::app;
    const ko::ComApartment com;
    KestrelApp& app = App();
    ParseCommandLine(command_line != nullptr ? ko::AsU16(command_line) : u"", app.commandLine);
    static ko::MessageBoxReporter reporter;
    app.services.reporter = &reporter;
    app.services.fileDialog = &SystemOpenFileDialog();

    if (!RegisterMainWindowClass(instance)) return 0;
    return ko::ShowAndRun(CreateMainWindow(instance), show_command);
}

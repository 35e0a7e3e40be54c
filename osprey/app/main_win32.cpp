// Osprey.exe: compares the files of two folders and hands a pair to the file comparer. Opens the
// one or two folders its command line names bare, as Explorer passes them; its settings file and
// the file comparer are looked for in the directory it was started in.
#include <windows.h>

#include "common/handed_paths.h"
#include "common/message_box_reporter_win32.h"
#include "common/program_shell_win32.h"
#include "common/win32_text.h"
#include "osprey/app/app_state_win32.h"
#include "osprey/app/folder_browser_win32.h"
#include "osprey/app/launch_win32.h"
#include "osprey/app/main_window_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int show_command) {
    using namespace osprey::app;
    const ko::ComApartment com;
    OspreyApp& app = App();
    app.startFolders = ko::BarePaths(command_line != nullptr ? ko::AsU16(command_line) : u"");
    static ko::MessageBoxReporter reporter;
    app.services.reporter = &reporter;
    app.services.folderBrowser = &SystemFolderBrowser();
    app.services.processStarter = &SystemProcessStarter();

    if (!RegisterMainWindowClass(instance)) return 0;
    return ko::ShowAndRun(CreateMainWindow(instance), show_command);
}

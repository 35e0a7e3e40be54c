// Osprey's program-wide state: one instance per process, made ready when the main window is
// created. Everything the window procedure and its handlers share lives here.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/program_shell_win32.h"
#include "common/report.h"
#include "common/settings.h"
#include "osprey/app/launch_command.h"
#include "osprey/folder_comparison.h"

namespace osprey::app {

// The main window and its children, and the screen they were laid out for.
struct WindowParts {
    HWND main = nullptr;
    HWND selectButton[2] = {};
    HWND pathBox[2] = {};
    HWND listView[2] = {};
    HWND statusBar = nullptr;
    HIMAGELIST images = nullptr;  // shared by both list views, released with the main window
    HWND focusedChild = nullptr;  // had the focus when the window was last deactivated
    int screenWidth = 0;          // W, taken when the class is registered
    int screenHeight = 0;         // H: the screen's height less room for the task bar
};

// The shell's folder browser: the folder the user confirmed, or nullopt when the browser was
// cancelled or the choice is no file-system folder.
class FolderBrowser {
  public:
    virtual ~FolderBrowser() = default;
    // Opens on `initialFolder`.
    virtual std::optional<std::u16string> Browse(std::u16string_view initialFolder) = 0;
};

// Starts a program as a process of its own; false when it could not be started.
class ProcessStarter {
  public:
    virtual ~ProcessStarter() = default;
    virtual bool Start(const LaunchCommand& command) = 0;
};

// The outside world as the program meets it, whether a high-contrast theme is on included. The
// program uses the real ones; tests put their own in.
struct Services {
    ko::Reporter* reporter = nullptr;
    FolderBrowser* folderBrowser = nullptr;
    ProcessStarter* processStarter = nullptr;
    bool (*highContrast)() = ko::HighContrastOn;
};

struct OspreyApp {
    HINSTANCE instance = nullptr;
    std::u16string startupDirectory;
    ko::Settings settings;
    // The bare paths of the command line, opened as folder A and folder B once the window is up.
    std::vector<std::u16string> startFolders;
    // Folder paths, file lists, pair lists and the compare flag.
    FolderComparison comparison;
    WindowParts window;
    Services services;
};

// The one instance of this process.
OspreyApp& App();

}  // namespace osprey::app

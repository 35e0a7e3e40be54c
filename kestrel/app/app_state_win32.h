// Kestrel's program-wide state: one instance per process, made ready when the main window is
// created and released when it is destroyed. Everything the window procedure and its
// handlers share lives here.
#pragma once

#include <windows.h>

#include <string>

#include "common/program_shell_win32.h"
#include "common/report.h"
#include "common/settings.h"
#include "kestrel/app/command_line.h"
#include "kestrel/app/file_selection.h"
#include "kestrel/engine/engine.h"
#include "kestrel/engine/view_geometry.h"

namespace kestrel::app {

// The main window and its children, and the screen they were laid out for.
struct WindowParts {
    HWND main = nullptr;
    HWND selectButton[2] = {};
    HWND pathBox[2] = {};
    HWND statusBar = nullptr;
    HFONT viewFont = nullptr;
    HWND focusedChild = nullptr;  // had the focus when the window was last deactivated
    int screenWidth = 0;          // SW, taken when the class is registered
    int screenHeight = 0;
};

// The comparison view: its layout, the row shown first and the two back buffers.
struct ViewState {
    ViewGeometry geometry;
    int topRow = 0;
    WheelSteps wheel;
    int backWidth = 0;  // font height x columns
    HDC backDc[2] = {};
    HBITMAP backBitmap[2] = {};
    HGDIOBJ previousBitmap[2] = {};
    HGDIOBJ previousFont[2] = {};
};

// The outside world as the program meets it: message boxes, the open-file dialog and whether
// a high-contrast theme is on. The program uses the real ones; tests put their own in.
struct Services {
    ko::Reporter* reporter = nullptr;
    OpenFileDialog* fileDialog = nullptr;
    bool (*highContrast)() = ko::HighContrastOn;
};

struct KestrelApp {
    HINSTANCE instance = nullptr;
    CommandLinePaths commandLine;
    std::u16string startupDirectory;
    ko::Settings settings;
    Engine engine;
    int restartFlag = 0;  // raised by the settings dialog when a size changed
    WindowParts window;
    ViewState view;
    Services services;
};

// The one instance of this process.
KestrelApp& App();

}  // namespace kestrel::app

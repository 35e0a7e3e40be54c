#include "kestrel/app/main_window_win32.h"

#include <shellapi.h>
#include <windowsx.h>

#include "common/current_directory.h"
#include "common/program_shell_win32.h"
#include "common/win32_text.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/file_drop_win32.h"
#include "kestrel/app/furniture_win32.h"
#include "kestrel/app/main_commands_win32.h"
#include "kestrel/app/view_win32.h"
#include "kestrel/messages.h"
#include "resources/kestrel_resource.h"

namespace kestrel::app {

namespace {

constexpr UINT kStartupDelayMs = 100;
constexpr int kTaskbarAllowance = 30;  // the window leaves this much of the screen's height free

// Forgets everything of an earlier window of this process, keeping what the program was
// started with.
void ResetWindowState(HWND window) {
    KestrelApp& app = App();
    app.window.main = window;
    for (HWND& child : app.window.selectButton)
        child = nullptr;
    for (HWND& child : app.window.pathBox)
        child = nullptr;
    app.window.statusBar = nullptr;
    app.window.viewFont = nullptr;
    app.window.focusedChild = nullptr;
    app.view = ViewState{};
    app.restartFlag = 0;
}

LRESULT OnCreate(HWND window) {
    KestrelApp& app = App();
    ResetWindowState(window);
    app.startupDirectory = ko::ReadCurrentDirectory();
    ko::LoadSettings(ko::Program::kKestrel, app.startupDirectory, app.settings);
    if (!CreateFurniture(window)) return -1;  // the window is destroyed and the program ends
    DragAcceptFiles(window, TRUE);
    UpdateStatusBar();
    SetTimer(window, IDT_STARTUP, kStartupDelayMs, nullptr);
    return 0;
}

LRESULT OnDestroy(HWND window) {
    KestrelApp& app = App();
    // A box about unsaved settings runs a message loop, in which the start-up timer must not
    // load anything into a window on its way out.
    KillTimer(window, IDT_STARTUP);
    ko::SaveSettingsAtExit(ko::Program::kKestrel, app.startupDirectory, app.settings,
                           *app.services.reporter);
    ReleaseView();
    app.engine.grids.Release();
    if (app.window.viewFont != nullptr) DeleteObject(app.window.viewFont);
    app.window.viewFont = nullptr;
    app.window.main = nullptr;
    PostQuitMessage(0);
    return 0;
}

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintView(dc);
    EndPaint(window, &paint);
    return 0;
}

LRESULT OnPrintClient(HDC dc) {
    PaintView(dc);
    return 0;
}

// Loads the files named on the command line into their path boxes and sides, and compares
// them when both were named; too many bare paths are refused with a message. Runs once, when
// the window is already on the screen.
LRESULT OnTimer(HWND window, WPARAM timer) {
    if (timer != IDT_STARTUP) return 0;
    KillTimer(window, IDT_STARTUP);
    const CommandLinePaths& paths = App().commandLine;
    OpenNamedFiles(window, paths.a, paths.b);
    if (paths.refused && IsWindow(window))
        ko::ShowMessage(*App().services.reporter, window, messages::kOneOrTwoFiles,
                        ko::box::kIconWarning);
    return 0;
}

LRESULT OnKeyDown(HWND window, WPARAM key) {
    const int step = App().view.geometry.scrollStep;
    switch (key) {
        case VK_NEXT:
            return ScrollView(window, step);
        case VK_PRIOR:
            return ScrollView(window, -step);
        case VK_DOWN:
            return ScrollView(window, 1);
        case VK_UP:
            return ScrollView(window, -1);
        default:
            return 0;
    }
}

// A mouse's wheel message moves by one scroll step, whatever distance it reports; a touchpad's
// small distances move by one step once they add up to a notch.
LRESULT OnMouseWheel(HWND window, WPARAM wparam) {
    ViewState& view = App().view;
    const int steps = view.wheel.Take(GET_WHEEL_DELTA_WPARAM(wparam));
    return ScrollView(window, steps * view.geometry.scrollStep);
}

// A click into the view takes the keys back from a path box, so Page Up, Page Down and the
// arrows scroll again, as the user expects of the pane just clicked.
LRESULT OnLeftButtonDown(HWND window) {
    SetFocus(window);
    return 0;
}

// A change of theme (high contrast on or off) reaches only top-level windows: the status bar
// hears of it from here and takes its colours anew.
LRESULT OnSysColorChange(WPARAM wparam, LPARAM lparam) {
    SendMessageW(App().window.statusBar, WM_SYSCOLORCHANGE, wparam, lparam);
    UpdateStatusBar();
    return 0;
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    KestrelApp& app = App();
    app.instance = instance;
    const std::optional<ko::ScreenSize> screen = ko::RegisterMainWindowClass(
        instance, MainWindowProc, IDI_KESTREL, IDR_MAIN_MENU, kMainWindowClass);
    if (!screen) return false;
    app.window.screenWidth = screen->width;
    app.window.screenHeight = screen->height;
    return true;
}

HWND CreateMainWindow(HINSTANCE instance) {
    const WindowParts& parts = App().window;
    const ko::ScreenRect place = ko::FitIntoMonitorWorkArea(
        {0, 0, parts.screenWidth, parts.screenHeight - kTaskbarAllowance});
    return CreateWindowExW(0, ko::AsWide(kMainWindowClass), ko::AsWide(kMainWindowTitle),
                           WS_OVERLAPPEDWINDOW, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_DESTROY:
            return OnDestroy(window);
        case WM_ACTIVATE:
            return ko::OnMainWindowActivate(window, wparam, App().window.focusedChild);
        case WM_PAINT:
            return OnPaint(window);
        case WM_PRINTCLIENT:
            return OnPrintClient(reinterpret_cast<HDC>(wparam));
        case WM_KEYDOWN:
            return OnKeyDown(window, wparam);
        case WM_COMMAND:
            return OnCommand(window, wparam, lparam);
        case WM_TIMER:
            return OnTimer(window, wparam);
        case WM_MOUSEWHEEL:
            return OnMouseWheel(window, wparam);
        case WM_LBUTTONDOWN:
            return OnLeftButtonDown(window);
        case WM_SYSCOLORCHANGE:
            return OnSysColorChange(wparam, lparam);
        case WM_DROPFILES:
            return OnDropFiles(window, reinterpret_cast<HDROP>(wparam));
        default:
            return ko::DefaultMainWindowProc(window, message, wparam, lparam);
    }
}

}  // namespace kestrel::app

#include "osprey/app/main_window_win32.h"

#include <commctrl.h>

#include "common/current_directory.h"
#include "common/program_shell_win32.h"
#include "common/text.h"
#include "common/win32_text.h"
#include "osprey/app/app_state_win32.h"
#include "osprey/app/folder_drop_win32.h"
#include "osprey/app/furniture_win32.h"
#include "osprey/app/list_views_win32.h"
#include "osprey/app/main_commands_win32.h"
#include "resources/osprey_resource.h"

namespace osprey::app {

namespace {

constexpr int kTaskbarAllowance = 48;  // the window leaves this much of the screen's height free

// Forgets everything of an earlier window of this process, keeping what the program was
// started with: both lists start empty, the counters and the compare flag at 0.
void ResetWindowState(HWND window) {
    OspreyApp& app = App();
    const int width = app.window.screenWidth;
    const int height = app.window.screenHeight;
    app.window = WindowParts{};
    app.window.main = window;
    app.window.screenWidth = width;
    app.window.screenHeight = height;
    app.comparison = FolderComparison{};
}

LRESULT OnCreate(HWND window) {
    OspreyApp& app = App();
    ResetWindowState(window);
    app.startupDirectory = ko::ReadCurrentDirectory();
    ko::LoadSettings(ko::Program::kOsprey, app.startupDirectory, app.settings);
    app.comparison.folderPath[kSideA] = app.settings.fileA_folder_select;
    app.comparison.folderPath[kSideB] = app.settings.fileB_folder_select;
    if (!CreateFurniture(window)) return -1;  // the window is destroyed again
    DragAcceptFiles(window, TRUE);
    UpdateStatusBar();
    if (!app.startFolders.empty()) PostMessageW(window, WM_OPEN_START_FOLDERS, 0, 0);
    return 0;
}

// The folders as the last choice or scan left them are what the settings file remembers.
void RememberFolders() {
    OspreyApp& app = App();
    char16_t* fields[2] = {app.settings.fileA_folder_select, app.settings.fileB_folder_select};
    for (int side = 0; side < 2; ++side) {
        const std::u16string path =
            ko::CutText(app.comparison.folderPath[side], ko::kPathUnits - 1);
        std::fill_n(fields[side], ko::kPathUnits, u'\0');
        path.copy(fields[side], path.size());
    }
}

LRESULT OnDestroy() {
    OspreyApp& app = App();
    RememberFolders();
    ko::SaveSettings(ko::Program::kOsprey, app.startupDirectory, app.settings);
    PostQuitMessage(0);
    return 0;
}

// The children are gone by now; what they shared goes with them.
LRESULT OnNcDestroy(HWND window, WPARAM wparam, LPARAM lparam) {
    ReleaseFurniture();
    App().window.main = nullptr;
    return DefWindowProcW(window, WM_NCDESTROY, wparam, lparam);
}

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return 0;
}

// A click into a list view marks its chosen row; other list-view notifications get the default
// treatment, those of other controls none.
LRESULT OnNotify(HWND window, WPARAM wparam, LPARAM lparam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lparam);
    if (header->idFrom != IDC_LIST_A && header->idFrom != IDC_LIST_B) return 0;
    if (header->code == NM_CLICK) {
        MarkSelection(header->idFrom == IDC_LIST_A ? kSideA : kSideB);
        return 0;
    }
    return DefWindowProcW(window, WM_NOTIFY, wparam, lparam);
}

}  // namespace

bool RegisterMainWindowClass(HINSTANCE instance) {
    OspreyApp& app = App();
    app.instance = instance;
    const std::optional<ko::ScreenSize> screen = ko::RegisterMainWindowClass(
        instance, MainWindowProc, IDI_OSPREY, IDR_MAIN_MENU, kMainWindowClass);
    if (!screen) return false;
    app.window.screenWidth = screen->width;
    app.window.screenHeight = screen->height - kTaskbarAllowance;
    return true;
}

HWND CreateMainWindow(HINSTANCE instance) {
    const WindowParts& parts = App().window;
    return CreateWindowExW(0, ko::AsWide(kMainWindowClass), ko::AsWide(kMainWindowTitle),
                           WS_CAPTION | WS_SYSMENU, 0, 0, parts.screenWidth, parts.screenHeight,
                           nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_DESTROY:
            return OnDestroy();
        case WM_NCDESTROY:
            return OnNcDestroy(window, wparam, lparam);
        case WM_PAINT:
            return OnPaint(window);
        case WM_NOTIFY:
            return OnNotify(window, wparam, lparam);
        case WM_COMMAND:
            return OnCommand(window, wparam, lparam);
        case WM_DROPFILES:
            return OnDropFiles(window, reinterpret_cast<HDROP>(wparam));
        case WM_OPEN_START_FOLDERS:
            return OnOpenStartFolders(window);
        default:
            return ko::DefaultMainWindowProc(window, message, wparam, lparam);
    }
}

}  // namespace osprey::app

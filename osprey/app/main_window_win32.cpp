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

// The folders as the last choice or scan left them are what the settings file remembers. A
// folder too long for its field keeps the one stored before: cut, it would name another folder.
void RememberFolders() {
    OspreyApp& app = App();
    char16_t* fields[2] = {app.settings.fileA_folder_select, app.settings.fileB_folder_select};
    for (int side = 0; side < 2; ++side) {
        const std::u16string& path = app.comparison.folderPath[side];
        if (path.size() >= ko::kPathUnits) continue;
        std::fill_n(fields[side], ko::kPathUnits, u'\0');
        path.copy(fields[side], path.size());
    }
}

LRESULT OnDestroy() {
    OspreyApp& app = App();
    RememberFolders();
    ko::SaveSettingsAtExit(ko::Program::kOsprey, app.startupDirectory, app.settings,
                           *app.services.reporter);
    PostQuitMessage(0);
    return 0;
}

// The children are gone by now; what they shared goes with them.
LRESULT OnNcDestroy(HWND window, WPARAM wparam, LPARAM lparam) {
    ReleaseFurniture();
    App().window.main = nullptr;
    return DefWindowProcW(window, WM_NCDESTROY, wparam, lparam);
}

// Fills what no child covers (the band under the path boxes, the strip above the status bar)
// with the class brush; left alone, it would show whatever the screen held there before. The
// children paint themselves, so they are left out and nothing flickers.
LRESULT OnEraseBackground(HWND window, HDC dc) {
    const int saved = SaveDC(dc);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT covered;
        GetWindowRect(child, &covered);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&covered), 2);
        ExcludeClipRect(dc, covered.left, covered.top, covered.right, covered.bottom);
    }
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND)));
    RestoreDC(dc, saved);
    return 1;
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

// A change of theme (high contrast on or off) reaches only top-level windows: the status bar
// hears of it from here and takes its colours anew.
LRESULT OnSysColorChange(WPARAM wparam, LPARAM lparam) {
    SendMessageW(App().window.statusBar, WM_SYSCOLORCHANGE, wparam, lparam);
    UpdateStatusBar();
    return 0;
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
    const ko::ScreenRect place =
        ko::FitIntoMonitorWorkArea({0, 0, parts.screenWidth, parts.screenHeight});
    return CreateWindowExW(0, ko::AsWide(kMainWindowClass), ko::AsWide(kMainWindowTitle),
                           WS_CAPTION | WS_SYSMENU, place.left, place.top, place.right - place.left,
                           place.bottom - place.top, nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_DESTROY:
            return OnDestroy();
        case WM_NCDESTROY:
            return OnNcDestroy(window, wparam, lparam);
        case WM_ERASEBKGND:
            return OnEraseBackground(window, reinterpret_cast<HDC>(wparam));
        case WM_ACTIVATE:
            return ko::OnMainWindowActivate(window, wparam, App().window.focusedChild);
        case WM_PAINT:
            return OnPaint(window);
        case WM_NOTIFY:
            return OnNotify(window, wparam, lparam);
        case WM_COMMAND:
            return OnCommand(window, wparam, lparam);
        case WM_SYSCOLORCHANGE:
            return OnSysColorChange(wparam, lparam);
        case WM_DROPFILES:
            return OnDropFiles(window, reinterpret_cast<HDROP>(wparam));
        case WM_OPEN_START_FOLDERS:
            return OnOpenStartFolders(window);
        default:
            return ko::DefaultMainWindowProc(window, message, wparam, lparam);
    }
}

}  // namespace osprey::app

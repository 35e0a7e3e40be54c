#include "osprey/app/main_commands_win32.h"

#include "common/program_shell_win32.h"
#include "osprey/app/app_state_win32.h"
#include "osprey/app/folder_browser_win32.h"
#include "osprey/app/furniture_win32.h"
#include "osprey/app/launch_win32.h"
#include "osprey/app/list_views_win32.h"
#include "osprey/app/main_window_win32.h"
#include "osprey/app/settings_dialog_win32.h"
#include "osprey/folder_scan.h"
#include "osprey/pair_comparison.h"
#include "osprey/pairing.h"
#include "resources/osprey_resource.h"

namespace osprey::app {

namespace {

ko::Reporter& Reporter() {
    return *App().services.reporter;
}

// Commands 202/3003 and 201/3004. A cancelled browser leaves everything as it was; a chosen
// folder is listed, both sides paired afresh (every comparison result is dropped, the compare
// flag stays) and shown.
void ChooseAndScanFolder(HWND window, int side) {
    if (!ChooseFolder(side)) return;
    ScanAndShow(window, side == kSideA, side == kSideB);
}

void CompareAll(HWND window) {
    OspreyApp& app = App();
    CompareAllPairs(app.comparison, Reporter(), window);
    RefillListViews();
    app.comparison.compareFlag = 1;
    UpdateStatusBar();
}

void Restore() {
    OspreyApp& app = App();
    RestorePairs(app.comparison);
    RefillListViews();
    app.comparison.compareFlag = 0;
    UpdateStatusBar();
}

}  // namespace

void ScanAndShow(HWND window, bool sideA, bool sideB) {
    OspreyApp& app = App();
    const bool scan[2] = {sideA, sideB};
    for (int side = kSideA; side <= kSideB; ++side)
        if (scan[side])
            ScanFolder(app.comparison, side, ReadPathBox(kSideA), ReadPathBox(kSideB),
                       app.settings.groups, app.settings.failExt_no);
    PairFiles(app.comparison);
    RefillListViews();
    UpdateStatusBar();
    SetFocus(window);
    ko::RepaintNow(window);
}

LRESULT OnCommand(HWND window, WPARAM wparam, LPARAM lparam) {
    switch (LOWORD(wparam)) {
        case IDM_FOLDER_A:
        case IDC_SELECT_A:
            ChooseAndScanFolder(window, kSideA);
            return 0;
        case IDM_FOLDER_B:
        case IDC_SELECT_B:
            ChooseAndScanFolder(window, kSideB);
            return 0;
        case IDM_COMPARE:
            CompareAll(window);
            return 0;
        case IDM_RESTORE:
            Restore();
            return 0;
        case IDM_LAUNCH:
            LaunchFileComparer(window);
            return 0;
        case IDM_SETTINGS:
            RunSettingsDialog(window, App().settings, Reporter());
            return 0;
        case IDM_MANUAL:
            ko::OpenManual(window, App().startupDirectory, u"Osprey_manual.pdf", Reporter());
            return 0;
        case IDM_ABOUT:
            ko::RunAboutBox(App().instance, window, kAboutBoxIds, kMainWindowTitle);
            return 0;
        case IDM_EXIT:
            DestroyWindow(window);
            return 0;
        default:
            return DefWindowProcW(window, WM_COMMAND, wparam, lparam);
    }
}

}  // namespace osprey::app

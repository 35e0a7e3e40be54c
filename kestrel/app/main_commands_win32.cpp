#include "kestrel/app/main_commands_win32.h"

#include <shellapi.h>

#include "common/program_shell_win32.h"
#include "common/win32_text.h"
#include "kestrel/app/about_dialog_win32.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/furniture_win32.h"
#include "kestrel/app/load_warning.h"
#include "kestrel/app/settings_dialog_win32.h"
#include "kestrel/app/view_win32.h"
#include "kestrel/engine/comparison.h"
#include "kestrel/engine/file_loader.h"
#include "kestrel/messages.h"
#include "resources/kestrel_resource.h"

namespace kestrel::app {

namespace {

ko::Reporter& Reporter() {
    return *App().services.reporter;
}

// Commands 101/3003 and 102/3004: choose a file, then load that side from its path box
// whether or not a file was chosen, so a cancelled dialog reloads what the box holds.
void ChooseAndLoad(HWND window, int side) {
    KestrelApp& app = App();
    if (const auto chosen =
            SelectFile(window, side, app.settings, *app.services.fileDialog, Reporter()))
        SetWindowTextW(app.window.pathBox[side], ko::AsWide(chosen->c_str()));
    LoadChosenSide(window, side);
}

void Compare(HWND window) {
    if (App().engine.compareState != kNotCompared) {
        ko::ShowMessage(Reporter(), window, messages::kAlreadyCompared, ko::box::kOk);
        return;
    }
    CompareFromPathBoxes(window);
    UpdateStatusBar();
    ko::RepaintNow(window);
}

void Restore(HWND window) {
    Engine& engine = App().engine;
    if (engine.compareState <= kNotCompared) {
        ko::ShowMessage(Reporter(), window, messages::kAlreadyRestored, ko::box::kOk);
        return;
    }
    engine.compareState = kNotCompared;
    UpdateStatusBar();
    ko::RepaintNow(window);
}

// New grid sizes and a new font height apply only from the next start, so the user is asked
// to restart; Yes closes the window, which saves the settings on its way out.
void EditSettings(HWND window) {
    KestrelApp& app = App();
    RunSettingsDialog(window, app.settings, app.restartFlag, Reporter());
    // A new row pitch applies at once; without a full redraw only the part the dialog
    // covered would show it.
    ko::RepaintNow(window);
    if (app.restartFlag != 1) return;
    app.restartFlag = 0;
    if (ko::ShowMessage(Reporter(), window, messages::kRestartPlease, ko::box::kYesNo) ==
        ko::box::kAnswerYes)
        DestroyWindow(window);
}

}  // namespace

LRESULT OnCommand(HWND window, WPARAM wparam, LPARAM lparam) {
    switch (LOWORD(wparam)) {
        case IDM_OPEN_FILE_A:
        case IDC_SELECT_A:
            ChooseAndLoad(window, 0);
            return 0;
        case IDM_OPEN_FILE_B:
        case IDC_SELECT_B:
            ChooseAndLoad(window, 1);
            return 0;
        case IDM_COMPARE:
            Compare(window);
            return 0;
        case IDM_RESTORE:
            Restore(window);
            return 0;
        case IDM_SETTINGS:
            EditSettings(window);
            return 0;
        case IDM_MANUAL:
            ko::OpenManual(window, App().startupDirectory, u"Kestrel_manual.pdf", Reporter());
            return 0;
        case IDM_ABOUT:
            RunAboutDialog(window);
            return 0;
        case IDM_EXIT:
            DestroyWindow(window);
            return 0;
        default:
            return DefWindowProcW(window, WM_COMMAND, wparam, lparam);
    }
}

void LoadChosenSide(HWND window, int side) {
    if (!LoadSideFromPathBox(window, side)) return;
    UpdateStatusBar();
    SetFocus(window);
    ko::RepaintNow(window);
}

void OpenNamedFiles(HWND window, std::u16string_view a, std::u16string_view b) {
    const std::u16string_view named[2] = {a, b};
    for (int side = 0; side < 2; ++side) {
        if (named[side].empty()) continue;
        SetWindowTextW(App().window.pathBox[side], ko::ToWide(named[side]).c_str());
        if (!LoadSideFromPathBox(window, side)) return;
    }
    if (!a.empty() && !b.empty()) CompareFromPathBoxes(window);
    UpdateStatusBar();
    ko::RepaintNow(window);
}

bool LoadSideFromPathBox(HWND window, int side) {
    KestrelApp& app = App();
    const std::u16string path = ReadPathBox(side);
    LoadCuts cuts;
    const LoadOutcome outcome =
        LoadSide(app.engine, side, path, app.settings.kaimode, Reporter(), window, cuts);
    if (outcome == LoadOutcome::kOutOfMemory) {
        DestroyWindow(window);  // as when the grids could not be made: the program ends
        return false;
    }
    if (outcome != LoadOutcome::kLoaded) return true;
    ClearBackBuffer(side);
    WarnIfCut(cuts, path, app.engine.grids.rows(), app.engine.grids.columns(), Reporter(), window);
    WarnIfUndecodable(cuts, side, path, Reporter(), window);
    return true;
}

void CompareFromPathBoxes(HWND window) {
    if (!RequirePath(ReadPathBox(0), Reporter(), window) ||
        !RequirePath(ReadPathBox(1), Reporter(), window))
        return;
    CompareSides(App().engine, Reporter());
}

LRESULT ScrollView(HWND window, int rows) {
    ViewState& view = App().view;
    view.topRow =
        ClampTopRow(view.topRow + rows, App().engine.grids.rows(), view.geometry.visibleRows);
    UpdateStatusBar();
    const RECT band = {0, kViewTop, view.geometry.width, view.geometry.height - kScrolledBandGap};
    InvalidateRect(window, &band, TRUE);
    UpdateWindow(window);
    return 0;
}

}  // namespace kestrel::app

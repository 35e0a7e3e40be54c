// Kestrel's main window made inside the test process, with the message boxes recorded and the
// open-file dialog scripted.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <string_view>

#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/main_window_win32.h"
#include "resources/kestrel_resource.h"
#include "tests/kestrel/scripted_file_dialog.h"
#include "tests/support/win32_driver.h"

namespace kestrel::app::testing {

using ko::testing::Picture;

class KestrelWindow : public ko::testing::ProgramWindowTest {
  protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        App().commandLine = CommandLinePaths{};
        App().services = Services{&reporter, &dialog};
        ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
    }

    // kestrel.ini of the start-up directory: the section header and `lines`.
    void WriteSettings(std::string_view lines) const {
        Write("kestrel.ini", "[Setting]\r\n" + std::string(lines));
    }
    // Creates the main window as the program does, its start-up timer stopped so a test fires it.
    HWND Create() {
        window = CreateMainWindow(GetModuleHandleW(nullptr));
        if (window != nullptr) KillTimer(window, IDT_STARTUP);
        return window;
    }
    // Types both paths into their boxes, loads each side and chooses 比較.
    void LoadBoth(std::u16string_view a, std::u16string_view b) {
        SetItem(IDC_PATH_A, a);
        SetItem(IDC_PATH_B, b);
        dialog.confirm = false;  // a cancelled dialog loads what the box holds
        Command(IDM_OPEN_FILE_A);
        Command(IDM_OPEN_FILE_B);
        Command(IDM_COMPARE);
    }
    std::vector<std::u16string> Status() const {
        return ko::testing::StatusFields(GetDlgItem(window, IDC_STATUS_BAR));
    }
    // The bar tells its colour only by handing back the old one when given a new one.
    COLORREF StatusColour() const {
        const HWND bar = GetDlgItem(window, IDC_STATUS_BAR);
        const auto colour = static_cast<COLORREF>(SendMessageW(bar, SB_SETBKCOLOR, 0, 1));
        SendMessageW(bar, SB_SETBKCOLOR, 0, colour);
        return colour;
    }
    Picture Render() const { return ko::testing::Capture(window); }

    ScriptedFileDialog dialog;
};

}  // namespace kestrel::app::testing

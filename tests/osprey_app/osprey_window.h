// Osprey's main window made inside the test process, with recorded message boxes, a scripted
// folder browser and a recording process starter. Helpers read back what the user sees.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/win32_text.h"
#include "osprey/app/app_state_win32.h"
#include "osprey/app/main_window_win32.h"
#include "resources/osprey_resource.h"
#include "tests/support/win32_driver.h"

namespace osprey::app::testing {

// Answers each Browse with the next queued answer (nullopt: the user cancelled).
class ScriptedFolderBrowser final : public FolderBrowser {
  public:
    std::optional<std::u16string> Browse(std::u16string_view initialFolder) override {
        openedOn.emplace_back(initialFolder);
        if (answers.empty()) return std::nullopt;
        std::optional<std::u16string> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::u16string>> answers;
    std::vector<std::u16string> openedOn;
};

class RecordingProcessStarter final : public ProcessStarter {
  public:
    bool Start(const LaunchCommand& command) override {
        started.push_back(command);
        return succeeds;
    }
    std::vector<LaunchCommand> started;
    bool succeeds = true;
};

class OspreyWindow : public ko::testing::ProgramWindowTest {
  protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        App().services = Services{&reporter, &browser, &starter};
        ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
    }
    void Open() {
        window = CreateMainWindow(GetModuleHandleW(nullptr));
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOWNORMAL);
        ko::testing::PumpMessages();
    }
    // A folder of the start-up directory with files name → content; returns its path.
    std::u16string MakeFolder(const std::string& name,
                              const std::vector<std::pair<std::string, std::string>>& files) const {
        std::filesystem::create_directories(dir.path() / name);
        for (const auto& [file, content] : files)
            Write(name + "/" + file, content);
        return ko::testing::PathText(dir.path() / name);
    }
    // The folder sequence of `side` with the browser answering `folder`.
    void ChooseFolder(int side, const std::u16string& folder) {
        browser.answers.push_back(folder);
        Command(side == kSideA ? IDM_FOLDER_A : IDM_FOLDER_B);
    }

    HWND List(int side) const {
        return GetDlgItem(window, side == kSideA ? IDC_LIST_A : IDC_LIST_B);
    }
    int RowCount(int side) const {
        return static_cast<int>(SendMessageW(List(side), LVM_GETITEMCOUNT, 0, 0));
    }
    std::u16string Cell(int side, int row, int column) const {
        wchar_t text[520] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 520;
        SendMessageW(List(side), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return ko::AsU16(text);
    }
    // Column `column` of every row, top down.
    std::vector<std::u16string> Column(int side, int column) const {
        std::vector<std::u16string> cells;
        for (int row = 0; row < RowCount(side); ++row)
            cells.push_back(Cell(side, row, column));
        return cells;
    }
    // The picture (LVIF_IMAGE) or the item data (LVIF_PARAM) of every row.
    std::vector<LPARAM> Items(int side, UINT mask) const {
        std::vector<LPARAM> values;
        for (int row = 0; row < RowCount(side); ++row) {
            LVITEMW item{};
            item.mask = mask;
            item.iItem = row;
            SendMessageW(List(side), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            values.push_back(mask == LVIF_IMAGE ? item.iImage : item.lParam);
        }
        return values;
    }
    UINT State(int side, int row, UINT mask) const {
        return static_cast<UINT>(SendMessageW(List(side), LVM_GETITEMSTATE, row, mask));
    }
    std::vector<std::u16string> Status() const {
        return ko::testing::StatusFields(GetDlgItem(window, IDC_STATUS_BAR));
    }

    ScriptedFolderBrowser browser;
    RecordingProcessStarter starter;
};

}  // namespace osprey::app::testing

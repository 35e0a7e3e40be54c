// Osprey's main window, made in the test's own process with recorded message boxes, a scripted
// folder browser and a recording process starter, over a fresh start-up directory. Helpers
// read back what the user would see: list-view cells, pictures, states and status-bar fields.
#pragma once

#include <windows.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/settings.h"
#include "osprey/app/app_state_win32.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"

namespace osprey::app::testing {

// Answers each Browse with the next queued answer (nullopt: the user cancelled) and remembers
// the folder each browser opened on.
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

class OspreyWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the main window in the start-up directory; settings written before are read.
    void OpenWindow();
    // Destroys the main window (which saves the settings) and forgets its quit message.
    void CloseWindow();

    // Writes `settings` as Osprey.ini of the start-up directory.
    void WriteSettings(const ko::Settings& settings) const;
    // The settings file's text (the profile functions keep it in UTF-16) and a line added to it
    // by hand.
    std::u16string SettingsFileText() const;
    void AppendSettingsLine(std::u16string_view line) const;
    bool SettingsFileHas(std::u16string_view text) const {
        return SettingsFileText().find(text) != std::u16string::npos;
    }

    // A folder below the test's folder with files name → content; returns its path.
    std::u16string MakeFolder(const std::string& name,
                              const std::vector<std::pair<std::string, std::string>>& files) const;

    // Sends command `id` to the main window as its menu or a button would.
    void Command(int id) const;
    // Folder sequence of `side` with the browser answering `folder`.
    void ChooseFolder(int side, const std::u16string& folder);

    HWND ListView(int side) const;
    int RowCount(int side) const;
    std::vector<std::u16string> RowTexts(int side, int row) const;
    // Column `column` of every row, top down.
    std::vector<std::u16string> Column(int side, int column) const;
    std::vector<int> Images(int side) const;
    std::vector<LPARAM> ItemData(int side) const;
    UINT State(int side, int row, UINT mask) const;
    std::vector<std::u16string> StatusFields() const;
    std::u16string PathBoxText(int side) const;

    // A mouse click on row `row` of the list view of `side`, delivered through the message
    // queue as the user's click would be.
    void ClickRow(int side, int row) const;
    // A key pressed inside the list view of `side`.
    void PressKeyInList(int side, WPARAM key) const;

    ko::testing::TempDir temp;
    std::filesystem::path startupDirectory;
    HWND window = nullptr;
    ko::testing::RecordingReporter reporter;
    ScriptedFolderBrowser browser;
    RecordingProcessStarter starter;

  private:
    std::u16string previousDirectory_;
};

// Delivers every message waiting for this thread.
void PumpMessages();

// Runs `action` once a visible dialog window (class #32770) owned by `owner` (none: without
// owner) shows up while `open` runs its modal loop; returns what `open` returned. The action
// must close the dialog. Fails the test when no such dialog came up.
INT_PTR WhenDialogShows(HWND owner, const std::function<INT_PTR()>& open,
                        const std::function<void(HWND dialog)>& action);

// The texts of the static controls of `dialog`, in child order.
std::vector<std::u16string> StaticTexts(HWND dialog);

}  // namespace osprey::app::testing

// Drives the programs' windows and dialogs inside the test process the way a user would, and
// reads back what the user would see: control texts, status-bar fields, pixels.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"

namespace ko::testing {

// A picture of a client area, one 0x00BBGGRR value per pixel.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // How many pixels of the rectangle have `colour`.
    int Count(int x, int y, int w, int h, std::uint32_t colour) const;
};

// What `window` draws into a memory bitmap of its client area when sent `message` with the
// bitmap's device context: WM_PRINTCLIENT, or WM_PAINT for a control that paints into a given one.
Picture Capture(HWND window, UINT message = WM_PRINTCLIENT);

std::u16string TextOf(HWND window);
std::u16string ItemText(HWND dialog, int id);
std::vector<std::u16string> EntriesOf(HWND dialog, int id);  // of a combo box, in list order
std::vector<std::u16string> StatusFields(HWND status_bar);

// Input as the user gives it: typing (with the notification typing sends), a choice in a combo
// box, a click on a button, a key inside a dialog, the caption's close box.
void Type(HWND dialog, int id, std::u16string_view text);
void Choose(HWND dialog, int id, int index);
void Press(HWND dialog, int id);
void PressKey(HWND dialog, WPARAM key);
void CloseBox(HWND window);

// Delivers every message waiting for this thread.
void PumpMessages();

// The visible dialog windows (class #32770) owned by `owner` (null: without owner), newest first.
std::vector<HWND> DialogsOwnedBy(HWND owner);

// Runs `open`, which runs a modal loop (a dialog, the file dialog, the folder browser). Inside
// that loop, once a dialog owned by `owner` is up, each of `steps` is called with the newest such
// dialog, one step per timer tick, so that whatever a step posts is delivered before the next.
// The last step must end the dialog; a dialog that never came up or outlived its steps fails the
// test (and is cancelled). Returns what `open` returned.
using Step = std::function<void(HWND dialog)>;
INT_PTR WithDialog(HWND owner, const std::function<INT_PTR()>& open, std::vector<Step> steps);

// A program's main window made inside the test process over a fresh start-up directory, with the
// message boxes recorded. The program's own fixture makes the window.
class ProgramWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Destroys the window (which saves the settings) and forgets the quit message it posts.
    void Destroy();
    // Sends command `id` as its menu entry or button would, and delivers what it posted.
    LRESULT Command(int id) const;
    std::u16string Item(int id) const { return ItemText(window, id); }
    void SetItem(int id, std::u16string_view text) const;

    std::u16string Folder() const { return PathText(dir.path()); }
    std::u16string Write(std::string_view name, std::string_view bytes) const {
        return dir.WriteU16(name, bytes);
    }
    // The settings file `name` of the start-up directory as text: UTF-16 as the profile functions
    // make a new one, or ASCII as a hand-written one stays.
    std::u16string SettingsText(std::string_view name) const;

    TempDir dir;
    RecordingReporter reporter;
    HWND window = nullptr;

  private:
    std::u16string previous_directory_;
};

}  // namespace ko::testing

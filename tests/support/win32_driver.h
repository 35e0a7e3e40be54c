// Drives the programs' windows and dialogs the way a user would, and reads back what the user
// sees.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "common/current_directory.h"
#include "common/dialog_text_win32.h"
#include "common/win32_text.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/temp_dir.h"

namespace ko::testing {

// The text of a window, also of another process's: WM_GETTEXT is carried across processes.
inline std::u16string TextOf(HWND window) {
    wchar_t text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                        5000, &copied);
    return AsU16(text);
}
inline std::u16string ItemText(HWND dialog, int id) {
    return TextOf(GetDlgItem(dialog, id));
}
std::vector<std::u16string> StatusFields(HWND status_bar);

// Input as the user gives it: typing (with the notification typing sends), a choice in a combo
// box, a click on a button, a key inside a dialog, the caption's close box.
void Type(HWND dialog, int id, std::u16string_view text);
inline void Choose(HWND dialog, int id, int index) {
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
inline void Press(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
inline void PressKey(HWND dialog, WPARAM key) {
    const HWND focus = GetFocus();
    MSG message{focus && IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, key, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageW(dialog, &message));
}
inline void CloseBox(HWND window) {
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

inline void PumpMessages() {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
// Delivers this thread's messages while it polls `find` until that yields something, for 30 s
// at most; returns what `find` yielded last.
template <typename Find>
auto WaitFor(Find find) -> decltype(find()) {
    for (const ULONGLONG deadline = GetTickCount64() + 30000;; Sleep(20)) {
        PumpMessages();
        if (auto found = find(); found || GetTickCount64() > deadline) return found;
    }
}

// The visible dialog windows owned by `owner`, newest first.
std::vector<HWND> DialogsOwnedBy(HWND owner);

// Runs `open`, which runs a modal loop. Inside that loop, once a dialog owned by `owner` is up,
// each of `steps` is called with the newest such dialog, one step per timer tick, so that what a
// step posts is delivered before the next. The last step must end the dialog; a dialog that
// never came up or outlived its steps fails the test (and is cancelled). Returns what `open` did.
using Step = std::function<void(HWND dialog)>;
INT_PTR WithDialog(HWND owner, const std::function<INT_PTR()>& open, std::vector<Step> steps);

// A program's main window made inside the test process over a fresh start-up directory, with the
// message boxes recorded. The program's own fixture makes the window.
class ProgramWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(ChangeCurrentDirectory(Folder())); }
    void TearDown() override {
        Destroy();
        ChangeCurrentDirectory(previous_directory_);
    }
    // Destroys the window (which saves the settings) and takes away the quit message it posts,
    // on which a later modal loop would end.
    void Destroy() {
        if (IsWindow(window)) DestroyWindow(window);
        window = nullptr;
        for (MSG quit; PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);) {
        }
    }
    // Sends command `id` as its menu entry or button would, and delivers what it posted.
    LRESULT Command(int id) const {
        const LRESULT result = SendMessageW(window, WM_COMMAND, id, 0);
        PumpMessages();
        return result;
    }
    std::u16string Item(int id) const { return ItemText(window, id); }
    void SetItem(int id, std::u16string_view text) const { SetDialogItemText(window, id, text); }
    std::vector<std::u16string> Status() const {
        return StatusFields(GetDlgItem(window, 1));  // both programs' status bar
    }
    std::u16string Folder() const { return PathText(dir.path()); }
    std::u16string Write(std::string_view name, std::string_view bytes) const {
        return dir.WriteU16(name, bytes);
    }
    // The settings file `name` of the start-up directory as text: UTF-16 as the profile functions
    // make a new one, or ASCII as a hand-written one stays.
    std::u16string SettingsText(std::string_view name) const;

    const std::u16string previous_directory_ = ReadCurrentDirectory();
    TempDir dir;
    RecordingReporter reporter;
    HWND window = nullptr;
};

}  // namespace ko::testing

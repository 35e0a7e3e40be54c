// Drives the programs' windows and dialogs the way a user would, and reads back what the user
// sees.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

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

// Input as the user gives it: typing (with the notification typing sends), a choice in a combo
// box, a click on a button, a key for the control with the focus.
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
inline void PostKey(WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
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

// Drops `paths` on `window` at `point` (client coordinates) as Explorer does: a DROPFILES of
// wide paths in movable global memory, which the window releases.
inline void DropFiles(HWND window, POINT point, const std::vector<std::u16string>& paths) {
    std::u16string list;
    for (const std::u16string& path : paths)
        list += path + u'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * 2);
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    *files = DROPFILES{sizeof(DROPFILES), point, FALSE, TRUE};
    std::copy(list.begin(), list.end(), reinterpret_cast<char16_t*>(files + 1));  // then a 0
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    PumpMessages();
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
    std::u16string Status(int field) const {  // of both programs' status bar, child 1
        wchar_t text[256] = {};
        SendDlgItemMessageW(window, 1, SB_GETTEXTW, field, reinterpret_cast<LPARAM>(text));
        return AsU16(text);
    }
    // The value of `key` in the settings file `file` of the start-up directory.
    std::u16string Saved(const wchar_t* file, const wchar_t* key) const {
        wchar_t value[1024] = {};
        GetPrivateProfileStringW(L"Setting", key, L"(none)", value, 1024,
                                 (dir.path() / file).c_str());
        return AsU16(value);
    }
    std::u16string Folder() const { return PathText(dir.path()); }
    std::u16string Write(std::string_view name, std::string_view bytes) const {
        return dir.WriteU16(name, bytes);
    }

    const std::u16string previous_directory_ = ReadCurrentDirectory();
    TempDir dir;
    RecordingReporter reporter;
    HWND window = nullptr;
};

}  // namespace ko::testing

// Drives real dialogs in tests the way a user would: an owner window, a modal dialog run with
// a script that acts once the dialog is up, typing into controls and pressing buttons.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ko::testing {

// A hidden top-level window that owns the dialogs under test. The steps of a script handed to
// RunModal are posted to it one after the other, so the dialog's own message loop delivers
// them once the dialog is up, and whatever one step posts (keys, for instance) passes through
// that loop before the next step runs.
class DialogDriver {
  public:
    DialogDriver();
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    HWND owner() const { return owner_; }

    using Step = std::function<void(HWND dialog)>;

    // Calls `open_modal` (which runs a modal dialog owned by owner()) and, inside its loop,
    // each of `steps` with the dialog. Steps that leave the dialog open fail the test and the
    // dialog is closed for them. Returns what `open_modal` returned.
    INT_PTR RunModal(const std::function<INT_PTR()>& open_modal, std::vector<Step> steps);

  private:
    static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void RunStep();

    HWND owner_ = nullptr;
    std::vector<Step> steps_;
    std::size_t next_step_ = 0;
};

// The dialog windows (class #32770) owned by `owner`, oldest first.
std::vector<HWND> DialogsOwnedBy(HWND owner);

// Sets the text of control `id` as typing would, with the notification typing sends
// (EN_CHANGE for an edit box, CBN_EDITCHANGE for a combo box).
void Type(HWND dialog, int id, std::u16string_view text);

// Selects entry `index` of combo box `id` as the user would, with CBN_SELCHANGE.
void Choose(HWND dialog, int id, int index);

// Presses button `id` (the WM_COMMAND a click sends).
void Press(HWND dialog, int id);

// A key pressed inside `dialog` (VK_RETURN, VK_ESCAPE), handled as the dialog's message loop
// handles it.
void PressKey(HWND dialog, WPARAM key);

// The caption's close box.
void CloseBox(HWND window);

std::u16string TextOf(HWND dialog, int id);
std::u16string TitleOf(HWND window);

// The entries of combo box `id`, in list order.
std::vector<std::u16string> EntriesOf(HWND dialog, int id);

}  // namespace ko::testing

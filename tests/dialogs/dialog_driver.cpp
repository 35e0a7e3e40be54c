#include "tests/dialogs/dialog_driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "common/dialog_text_win32.h"
#include "common/win32_text.h"

namespace ko::testing {

namespace {

constexpr UINT kRunStep = WM_APP + 1;
constexpr wchar_t kOwnerClass[] = L"KoDialogTestOwner";

std::u16string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return ToU16(name);
}

}  // namespace

DialogDriver::DialogDriver() {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = OwnerProc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kOwnerClass;
    RegisterClassW(&window_class);  // fails harmlessly when an earlier test registered it
    owner_ = CreateWindowExW(0, kOwnerClass, L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                             nullptr, GetModuleHandleW(nullptr), this);
    SetWindowLongPtrW(owner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

DialogDriver::~DialogDriver() {
    // Modeless dialogs still open go with their owner.
    DestroyWindow(owner_);
}

INT_PTR DialogDriver::RunModal(const std::function<INT_PTR()>& open_modal,
                               std::vector<Step> steps) {
    steps_ = std::move(steps);
    next_step_ = 0;
    PostMessageW(owner_, kRunStep, 0, 0);
    const INT_PTR result = open_modal();
    // A dialog that ended early leaves a step in the queue; it must not reach the next run.
    MSG stale;
    while (PeekMessageW(&stale, owner_, kRunStep, kRunStep, PM_REMOVE)) {
    }
    if (next_step_ < steps_.size()) ADD_FAILURE() << "the dialog ended before its last step";
    steps_.clear();
    return result;
}

void DialogDriver::RunStep() {
    const std::vector<HWND> dialogs = DialogsOwnedBy(owner_);
    if (dialogs.empty() || next_step_ >= steps_.size()) return;
    const HWND dialog = dialogs.back();
    steps_[next_step_++](dialog);
    // EndDialog enables the owner again at once; the window itself goes when the loop ends.
    const bool open = IsWindow(dialog) && !IsWindowEnabled(owner_);
    if (open && next_step_ < steps_.size()) {
        PostMessageW(owner_, kRunStep, 0, 0);
    } else if (open) {
        ADD_FAILURE() << "the script left the dialog open";
        EndDialog(dialog, 0);
    }
}

LRESULT CALLBACK DialogDriver::OwnerProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kRunStep) {
        auto* driver = reinterpret_cast<DialogDriver*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (driver) driver->RunStep();
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

std::vector<HWND> DialogsOwnedBy(HWND owner) {
    struct Search {
        HWND owner;
        std::vector<HWND> found;
    } search{owner, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lparam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lparam);
            if (GetWindow(window, GW_OWNER) == s->owner && ClassOf(window) == u"#32770")
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    // Enumeration runs from the top of the z-order; the newest dialog is on top.
    std::reverse(search.found.begin(), search.found.end());
    return search.found;
}

void Type(HWND dialog, int id, std::u16string_view text) {
    const HWND control = GetDlgItem(dialog, id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    SetDialogItemText(dialog, id, text);
    const WORD code = ClassOf(control) == u"ComboBox" ? CBN_EDITCHANGE : EN_CHANGE;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

void Choose(HWND dialog, int id, int index) {
    const HWND combo = GetDlgItem(dialog, id);
    ASSERT_NE(combo, nullptr) << "no combo box " << id;
    SendMessageW(combo, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void Press(HWND dialog, int id) {
    const HWND button = GetDlgItem(dialog, id);
    ASSERT_NE(button, nullptr) << "no button " << id;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void PressKey(HWND dialog, WPARAM key) {
    const HWND focus = GetFocus();
    MSG message{};
    message.hwnd = focus && IsChild(dialog, focus) ? focus : dialog;
    message.message = WM_KEYDOWN;
    message.wParam = key;
    EXPECT_TRUE(IsDialogMessageW(dialog, &message));
}

void CloseBox(HWND window) {
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

std::u16string TextOf(HWND dialog, int id) {
    return DialogItemText(dialog, id);
}

std::u16string TitleOf(HWND window) {
    wchar_t title[128] = {};
    GetWindowTextW(window, title, 128);
    return ToU16(title);
}

std::vector<std::u16string> EntriesOf(HWND dialog, int id) {
    const HWND combo = GetDlgItem(dialog, id);
    std::vector<std::u16string> entries;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t entry[64] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < 64)
            SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
        entries.push_back(ToU16(entry));
    }
    return entries;
}

}  // namespace ko::testing

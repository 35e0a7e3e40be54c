#include "tests/support/win32_driver.h"

namespace ko::testing {

namespace {

// The script of the one WithDialog running: what it waits for and the steps still to come.
struct Script {
    HWND owner;
    std::vector<Step> steps;
    std::size_t next = 0;
    int idle_ticks = 0;
};
Script* g_script = nullptr;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_script == nullptr) return;  // a tick posted before the timer was killed
    const std::vector<HWND> dialogs = DialogsOwnedBy(g_script->owner);
    if (!dialogs.empty() && g_script->next < g_script->steps.size()) {
        g_script->idle_ticks = 0;
        g_script->steps[g_script->next++](dialogs.front());
    } else if (++g_script->idle_ticks > 500 && !dialogs.empty()) {  // ten seconds
        ADD_FAILURE() << "the dialog outlived its steps";
        g_script->idle_ticks = 0;
        PostMessageW(dialogs.front(), WM_COMMAND, IDCANCEL, 0);
    }
}

}  // namespace

void Type(HWND dialog, int id, std::u16string_view text) {
    wchar_t name[16] = {};
    GetClassNameW(GetDlgItem(dialog, id), name, 16);
    SetDialogItemText(dialog, id, text);
    const WORD code = std::wstring_view(name) == L"ComboBox" ? CBN_EDITCHANGE : EN_CHANGE;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::vector<HWND> DialogsOwnedBy(HWND owner) {
    std::vector<HWND> found;  // top-level windows come in z-order, the newest dialog first
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"#32770", nullptr)) != nullptr;)
        if (IsWindowVisible(w) && GetWindow(w, GW_OWNER) == owner) found.push_back(w);
    return found;
}

INT_PTR WithDialog(HWND owner, const std::function<INT_PTR()>& open, std::vector<Step> steps) {
    Script script{owner, std::move(steps)};
    g_script = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, OnTick);
    const INT_PTR result = open();
    KillTimer(nullptr, timer);
    g_script = nullptr;
    if (script.next < script.steps.size())
        ADD_FAILURE() << "the dialog ran " << script.next << " of " << script.steps.size()
                      << " steps";
    return result;
}

}  // namespace ko::testing

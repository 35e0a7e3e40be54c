#include "common/dialog_text_win32.h"

#include "common/win32_text.h"

namespace ko {

std::u16string DialogItemText(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    if (!control) return std::u16string();
    const int length = GetWindowTextLengthW(control);
    if (length <= 0) return std::u16string();
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(control, AsWide(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void SetDialogItemText(HWND dialog, int id, std::u16string_view text) {
    const std::wstring wide = ToWide(text);
    SetDlgItemTextW(dialog, id, wide.c_str());
}

}  // namespace ko

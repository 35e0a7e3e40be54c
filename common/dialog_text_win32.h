// Reading and writing the texts of dialog controls as UTF-16 strings.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ko {

// The whole text of control `id` of `dialog` (empty when there is no such control).
std::u16string DialogItemText(HWND dialog, int id);

void SetDialogItemText(HWND dialog, int id, std::u16string_view text);

}  // namespace ko

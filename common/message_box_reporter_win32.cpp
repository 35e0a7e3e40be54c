#include "common/message_box_reporter_win32.h"

#include <windows.h>

#include "common/win32_text.h"

namespace ko {

int MessageBoxReporter::Show(OwnerWindow owner, std::u16string_view text,
                             std::u16string_view caption, unsigned style) {
    const std::wstring wide_text = ToWide(text);
    const std::wstring wide_caption = ToWide(caption);
    return MessageBoxW(static_cast<HWND>(owner), wide_text.c_str(), wide_caption.c_str(), style);
}

}  // namespace ko

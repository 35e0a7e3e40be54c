#include <windows.h>

#include <string>

#include "common/current_directory.h"
#include "common/win32_text.h"

namespace ko {

std::u16string ReadCurrentDirectory() {
    // The first call normally fits; a longer directory is asked for again with the size the
    // platform names, so a deep start-up directory is never cut to a different folder.
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return {};
        if (length < buffer.size()) return ToU16(std::wstring_view(buffer.data(), length));
        buffer.assign(length, L'\0');
    }
    return {};
}

bool ChangeCurrentDirectory(std::u16string_view directory) {
    if (directory.empty()) return false;
    return SetCurrentDirectoryW(ToWide(directory).c_str()) != 0;
}

}  // namespace ko

#include "common/dropped_files_win32.h"

#include "common/win32_text.h"

namespace ko {

DroppedFiles TakeDroppedFiles(HWND window, HDROP drop) {
    DroppedFiles dropped;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // The length asked for first excludes the terminator, which the copy needs room for.
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        dropped.paths.push_back(DescribePath(ToU16(path)));
    }
    if (!DragQueryPoint(drop, &dropped.point)) ScreenToClient(window, &dropped.point);
    DragFinish(drop);
    return dropped;
}

HandedPath DescribePath(std::u16string path) {
    const DWORD attributes = GetFileAttributesW(AsWide(path.c_str()));
    const bool folder =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return {std::move(path), folder};
}

}  // namespace ko

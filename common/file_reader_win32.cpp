#include <windows.h>

#include <string>

#include "common/file_reader.h"
#include "common/win32_text.h"

namespace ko {

FileReader::~FileReader() {
    if (open_) Close();
}

int FileReader::Open(std::u16string_view path) {
    if (open_) Close();
    const std::wstring wide = ToWide(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
    handle_ = file;
    open_ = true;
    return 0;
}

std::size_t FileReader::Read(void* buffer, std::size_t size) {
    if (!open_) return 0;
    // ReadFile takes 32-bit sizes; callers read blocks far below that.
    DWORD got = 0;
    const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    if (!ReadFile(static_cast<HANDLE>(handle_), buffer, want, &got, nullptr)) return 0;
    return got;
}

int FileReader::Close() {
    if (!open_) return 0;
    open_ = false;
    const BOOL closed = CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
    return closed ? 0 : static_cast<int>(GetLastError());
}

}  // namespace ko

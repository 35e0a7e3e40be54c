#include <windows.h>

#include <string>

#include "common/file_reader.h"
#include "common/win32_text.h"

namespace ko {

const int FileReader::kNotRegularFile = ERROR_NOT_SUPPORTED;

FileReader::~FileReader() {
    if (open_) Close();
}

int FileReader::Open(std::u16string_view path) {
    if (open_) Close();
    const std::wstring wide = ToWide(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
    // A name such as CON or \\.\pipe\x opens a device or a pipe, which never ends or blocks.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return kNotRegularFile;
    }
    handle_ = file;
    open_ = true;
    return 0;
}

// The listing cannot be trusted for the type here: a name such as CON, made through \\?\,
// opens the device when joined to its folder. GetFileType asks the handle, not the disk.
int FileReader::OpenListed(std::u16string_view path, std::uint64_t) {
    return Open(path);
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

PathKind KindOfPath(std::u16string_view path) {
    const std::wstring wide = ToWide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PathKind::kMissing
                                                                              : PathKind::kOther;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::kFolder;
    // Query access only: the type is asked of the handle without reading or locking anything.
    HANDLE file =
        CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return PathKind::kOther;
    const DWORD type = GetFileType(file);
    CloseHandle(file);
    return type == FILE_TYPE_DISK ? PathKind::kFile : PathKind::kOther;
}

}  // namespace ko

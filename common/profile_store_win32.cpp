#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/profile_store.h"
#include "common/win32_text.h"

namespace ko {

namespace {

// The profile functions write a file they create in the ANSI code page, which turns every
// character outside it into '?' for good. A file that starts as UTF-16LE with its byte-order
// mark is kept in UTF-16 by them, so a missing (or still empty) file gets the mark first. A file
// with content keeps whatever encoding it has. False for a read-only file, which is left alone
// even where the system would let this user write it (an administrator, Wine run as root).
bool PrepareForWriting(const std::wstring& file) {
    WIN32_FILE_ATTRIBUTE_DATA info{};
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &info)) {
        if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) return false;
        const bool empty_file = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
                                info.nFileSizeHigh == 0 && info.nFileSizeLow == 0;
        if (!empty_file) return true;
        handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    } else if (GetLastError() == ERROR_FILE_NOT_FOUND) {
        handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    if (handle == INVALID_HANDLE_VALUE) return true;  // the profile functions decide
    static constexpr unsigned char kByteOrderMark[] = {0xFF, 0xFE};
    DWORD written = 0;
    WriteFile(handle, kByteOrderMark, sizeof kByteOrderMark, &written, nullptr);
    CloseHandle(handle);
    return true;
}

class Win32ProfileStore final : public ProfileStore {
  public:
    std::u16string ReadString(std::u16string_view file, std::u16string_view section,
                              std::u16string_view key, std::u16string_view fallback,
                              std::size_t max_characters) override {
        std::vector<wchar_t> buffer(max_characters + 1, L'\0');
        const DWORD length = GetPrivateProfileStringW(
            ToWide(section).c_str(), ToWide(key).c_str(), ToWide(fallback).c_str(), buffer.data(),
            static_cast<DWORD>(buffer.size()), ToWide(file).c_str());
        const std::size_t units = std::min<std::size_t>(length, max_characters);
        return ToU16(std::wstring_view(buffer.data(), units));
    }

    std::int32_t ReadInt(std::u16string_view file, std::u16string_view section,
                         std::u16string_view key, std::int32_t fallback) override {
        const UINT value = GetPrivateProfileIntW(ToWide(section).c_str(), ToWide(key).c_str(),
                                                 fallback, ToWide(file).c_str());
        return static_cast<std::int32_t>(value);
    }

    bool WriteString(std::u16string_view file, std::u16string_view section, std::u16string_view key,
                     std::u16string_view value) override {
        const std::wstring path = ToWide(file);
        if (!PrepareForWriting(path)) return false;
        return WritePrivateProfileStringW(ToWide(section).c_str(), ToWide(key).c_str(),
                                          ToWide(value).c_str(), path.c_str()) != 0;
    }
};

}  // namespace

ProfileStore& PlatformProfileStore() {
    static Win32ProfileStore store;
    return store;
}

}  // namespace ko

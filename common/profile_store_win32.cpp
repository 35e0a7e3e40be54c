#include <windows.h>

#include <string>
#include <vector>

#include "common/file_reader.h"
#include "common/ini_file.h"
#include "common/profile_store.h"
#include "common/text.h"
#include "common/win32_text.h"

namespace ko {

namespace {

// A section this large holds far more than the 135 keys of a settings file; reading stops
// growing the buffer there (the profile functions give the first part).
constexpr std::size_t kLargestSection = std::size_t{1} << 24;

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

// "0" or a number of at most nine digits without leading zeros, optionally negative: the form
// every reader takes the same way. GetPrivateProfileIntW judges everything else itself.
bool IsPlainDecimal(std::u16string_view text) {
    if (text == u"0") return true;
    if (!text.empty() && text.front() == u'-') text.remove_prefix(1);
    if (text.empty() || text.size() > 9 || text.front() == u'0') return false;
    for (const char16_t c : text)
        if (c < u'0' || c > u'9') return false;
    return true;
}

// The section as GetPrivateProfileSectionW gave it, looked up as GetPrivateProfileStringW and
// GetPrivateProfileIntW read a key: blanks and a pair of quotes around a value removed, the
// default without its trailing blanks, the first of a repeated key.
class Win32Section final : public ProfileSection {
  public:
    Win32Section(std::wstring file, std::wstring section, IniSection values)
        : file_(std::move(file)), section_(std::move(section)), values_(std::move(values)) {}

    std::u16string ReadString(std::u16string_view key, std::u16string_view fallback,
                              std::size_t max_characters) const override {
        if (const std::u16string* value = values_.Find(key)) return CutText(*value, max_characters);
        while (!fallback.empty() && fallback.back() == u' ')
            fallback.remove_suffix(1);
        return CutText(fallback, max_characters);
    }

    std::int32_t ReadInt(std::u16string_view key, std::int32_t fallback) const override {
        const std::u16string* value = values_.Find(key);
        if (!value) return fallback;
        if (IsPlainDecimal(*value)) return ReadLeadingDecimal(*value);
        // Hexadecimal, blanks, signs, overflow: asked of the function itself, so any value
        // reads as it always did. Only hand-edited files get here.
        return static_cast<std::int32_t>(
            GetPrivateProfileIntW(section_.c_str(), ToWide(key).c_str(), fallback, file_.c_str()));
    }

  private:
    static std::int32_t ReadLeadingDecimal(std::u16string_view text) {
        const bool negative = text.front() == u'-';
        std::int32_t value = 0;
        for (const char16_t c : text.substr(negative ? 1 : 0))
            value = value * 10 + (c - u'0');
        return negative ? -value : value;
    }

    std::wstring file_, section_;
    IniSection values_;
};

class Win32ProfileStore final : public ProfileStore {
  public:
    std::unique_ptr<ProfileSection> ReadSection(std::u16string_view file,
                                                std::u16string_view section) override {
        std::wstring path = ToWide(file), name = ToWide(section);
        IniSection values;
        // The profile functions would read a folder or a device as no file at all.
        if (KindOfPath(file) == PathKind::kFile) {
            // One read of the whole section instead of a read of the file per key. The result
            // is "key=value" strings, each ended by 0; a full buffer is nSize - 2 long.
            std::vector<wchar_t> buffer(32768);
            DWORD length = 0;
            for (;;) {
                const DWORD size = static_cast<DWORD>(buffer.size());
                length = GetPrivateProfileSectionW(name.c_str(), buffer.data(), size, path.c_str());
                if (length + 2 < size || buffer.size() >= kLargestSection) break;
                buffer.resize(buffer.size() * 2);
            }
            const std::u16string_view all(AsU16(buffer.data()), length);
            for (std::size_t start = 0; start < all.size();) {
                std::size_t end = all.find(u'\0', start);
                if (end == std::u16string_view::npos) end = all.size();
                if (const auto line = ReadKeyLine(all.substr(start, end - start)))
                    values.Add(line->key, line->value);
                start = end + 1;
            }
        }
        return std::make_unique<Win32Section>(std::move(path), std::move(name), std::move(values));
    }

    bool WriteSection(std::u16string_view file, std::u16string_view section,
                      const std::vector<ProfileEntry>& entries) override {
        const PathKind kind = KindOfPath(file);
        if (kind != PathKind::kFile && kind != PathKind::kMissing) return false;
        const std::wstring path = ToWide(file), name = ToWide(section);
        if (!PrepareForWriting(path)) return false;
        // Key by key: each call changes one line and keeps the rest of the file as it is.
        bool written = true;
        for (const ProfileEntry& entry : entries)
            written = WritePrivateProfileStringW(name.c_str(), ToWide(entry.key).c_str(),
                                                 ToWide(entry.value).c_str(), path.c_str()) &&
                      written;
        return written;
    }
};

}  // namespace

ProfileStore& PlatformProfileStore() {
    static Win32ProfileStore store;
    return store;
}

}  // namespace ko

#include <windows.h>

#include "common/paths.h"
#include "common/win32_text.h"
#include "osprey/directory_search.h"

namespace osprey {

namespace {

std::uint64_t Join(DWORD high, DWORD low) {
    return (std::uint64_t{high} << 32) | low;
}

// Entries whose data the file system may keep in another size than their length: for these
// GetCompressedFileSizeW can differ from the search's size; for every other entry it gives the
// search's size, so the listing answers without one more look at the disk per file.
// (The two recall attributes, 0x40000 and 0x400000, are missing from some SDK headers.)
constexpr DWORD kRecallOnOpen = 0x00040000, kRecallOnDataAccess = 0x00400000;
constexpr DWORD kStoredOtherwise = FILE_ATTRIBUTE_COMPRESSED | FILE_ATTRIBUTE_SPARSE_FILE |
                                   FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_OFFLINE |
                                   kRecallOnOpen | kRecallOnDataAccess;

// GetCompressedFileSizeW fails for some entries (folders on many file systems, "." and "..");
// its failure value would read as 4294967295 bytes, so the search's own size stands in.
std::uint64_t SizeOf(std::u16string_view folder, const WIN32_FIND_DATAW& data) {
    if ((data.dwFileAttributes & kStoredOtherwise) == 0)
        return Join(data.nFileSizeHigh, data.nFileSizeLow);
    const std::wstring full = ko::ToWide(ko::JoinPath(folder, ko::AsU16(data.cFileName)));
    DWORD high = 0;
    SetLastError(NO_ERROR);
    const DWORD low = GetCompressedFileSizeW(full.c_str(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return Join(data.nFileSizeHigh, data.nFileSizeLow);
    return Join(high, low);
}

LocalTime LocalTimeOf(const FILETIME& utc) {
    FILETIME local{};
    SYSTEMTIME parts{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &parts)) return {};
    return {parts.wYear, parts.wMonth, parts.wDay, parts.wHour, parts.wMinute};
}

// The entries FindFirstFileW and FindNextFileW give for one pattern, in the order they give them.
std::vector<FoundEntry> SearchWith(std::u16string_view folder, std::u16string_view pattern) {
    std::vector<FoundEntry> found;
    const std::wstring searchPath = ko::ToWide(ko::JoinPath(folder, pattern));
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(searchPath.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        FoundEntry entry;
        entry.name = ko::AsU16(data.cFileName);
        entry.size = SizeOf(folder, data);
        entry.lastWrite = LocalTimeOf(data.ftLastWriteTime);
        // A link's attributes are its own, not its target's.
        entry.kind = data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT ? EntryKind::kUnknown
                     : data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY   ? EntryKind::kFolder
                                                                          : EntryKind::kFile;
        found.push_back(std::move(entry));
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return found;
}

}  // namespace

// The search's own data carries size and time, so `details` saves nothing here.
std::vector<std::vector<FoundEntry>> SearchDirectory(std::u16string_view folder,
                                                     const std::vector<std::u16string>& patterns,
                                                     bool) {
    std::vector<std::vector<FoundEntry>> found;
    for (const std::u16string& pattern : patterns)
        found.push_back(SearchWith(folder, pattern));
    return found;
}

int FolderListingError(std::u16string_view folder) {
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(ko::ToWide(ko::JoinPath(folder, u"*")).c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        FindClose(search);
        return 0;
    }
    // An empty drive root lists nothing at all, not even "." and "..": still a folder.
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? 0 : static_cast<int>(error);
}

}  // namespace osprey

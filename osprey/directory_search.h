// The platform's directory search: the entries of one folder, one level deep, whose names match
// a search pattern. Windows asks FindFirstFileW/FindNextFileW; POSIX lists the folder with
// readdir and picks names and order by the rules of osprey/name_matching.h, so "." and "..",
// subfolders and hidden files come back just as Windows returns them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace osprey {

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
};

// What an entry is, as the listing saw it. kUnknown where the listing cannot tell (a link on
// Windows, whose target may be anything) or nobody listed it.
enum class EntryKind : std::uint8_t { kUnknown, kFile, kFolder, kOther };

struct FoundEntry {
    std::u16string name;
    // Windows: what GetCompressedFileSizeW says for the entry (the compressed or sparse size
    // where that applies), or the search's own size where that query fails, as for folders.
    // POSIX: the size stat gives for a file, 0 for a folder as the Windows search gives.
    std::uint64_t size = 0;
    LocalTime lastWrite;                   // in the local time zone
    EntryKind kind = EntryKind::kUnknown;  // POSIX: links followed
};

// For each of `patterns`, in the same order, the entries of `folder` that pattern matches, in
// the order the search delivers them. The search path of a pattern is `folder`, a separator
// unless it ends with one, and the pattern. A folder that does not exist or cannot be read, or
// a pattern that matches nothing, gives an empty list. Windows searches once per pattern and
// asks nothing more of an ordinary file; POSIX reads the folder once, stats each matching
// entry once and leaves out one that vanishes between listing and stat. Without `details`
// size and time stay 0 and POSIX stats only the entries whose kind the listing leaves open
// (links, file systems that do not say): a caller that shows neither saves a call per file.
std::vector<std::vector<FoundEntry>> SearchDirectory(std::u16string_view folder,
                                                     const std::vector<std::u16string>& patterns,
                                                     bool details = true);

// 0 when `folder` can be listed, otherwise the system's error code (errno, GetLastError), for
// callers that must tell an unreadable folder from an empty one.
int FolderListingError(std::u16string_view folder);

}  // namespace osprey

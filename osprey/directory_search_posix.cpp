#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>

#include "common/paths.h"
#include "common/text.h"
#include "osprey/directory_search.h"
#include "osprey/name_matching.h"

namespace osprey {

namespace {

LocalTime LocalTimeOf(std::time_t when) {
    std::tm parts{};
    if (localtime_r(&when, &parts) == nullptr) return {};
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min};
}

}  // namespace

void SearchDirectory(std::u16string_view folder, std::u16string_view pattern,
                     std::vector<FoundEntry>& found) {
    // The folder part of the search path: an empty folder searches the root, as on Windows.
    const std::string folderPath = ko::Utf16ToUtf8(ko::JoinPath(folder, u""));
    DIR* directory = ::opendir(folderPath.c_str());
    if (directory == nullptr) return;
    const SearchPattern matcher(pattern);
    const std::size_t first = found.size();
    while (const dirent* item = ::readdir(directory)) {
        std::u16string name = ko::Utf8ToUtf16(item->d_name);
        if (!matcher.Matches(name)) continue;
        // A link that leads nowhere is listed as the link itself.
        struct stat info {};
        if (::fstatat(::dirfd(directory), item->d_name, &info, 0) != 0 &&
            ::fstatat(::dirfd(directory), item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        FoundEntry entry;
        entry.name = std::move(name);
        entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<std::uint64_t>(info.st_size);
        entry.lastWrite = LocalTimeOf(info.st_mtime);
        found.push_back(std::move(entry));
    }
    ::closedir(directory);
    std::sort(found.begin() + static_cast<std::ptrdiff_t>(first), found.end(),
              [](const FoundEntry& left, const FoundEntry& right) {
                  return ListsBefore(left.name, right.name);
              });
}

}  // namespace osprey

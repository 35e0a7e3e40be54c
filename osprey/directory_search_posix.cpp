#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <string_view>
#include <utility>

#include "common/native_name.h"
#include "common/paths.h"
#include "osprey/directory_search.h"
#include "osprey/name_matching.h"

namespace osprey {

namespace {

LocalTime LocalTimeOf(std::time_t when) {
    std::tm parts{};
    if (localtime_r(&when, &parts) == nullptr) return {};
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min};
}

struct ListedEntry {
    std::size_t keyStart = 0, keyEnd = 0;  // the name's listing key in the shared key string
    FoundEntry entry;
    int patternsLeft = 0;  // matching patterns still to receive the entry; the last one takes it
};

EntryKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return EntryKind::kFile;
    return S_ISDIR(mode) ? EntryKind::kFolder : EntryKind::kOther;
}

// What the listing itself tells of an entry's kind; kUnknown for a link (its target decides)
// and where the file system does not say.
EntryKind ListedKind(unsigned char type) {
    switch (type) {
        case DT_REG:
            return EntryKind::kFile;
        case DT_DIR:
            return EntryKind::kFolder;
        case DT_LNK:
        case DT_UNKNOWN:
            return EntryKind::kUnknown;
        default:
            return EntryKind::kOther;
    }
}

}  // namespace

// One pass over the folder serves every pattern: a folder of 10,000 files is read and each
// matching entry stat'ed once, not once per pattern of the group.
std::vector<std::vector<FoundEntry>> SearchDirectory(std::u16string_view folder,
                                                     const std::vector<std::u16string>& patterns,
                                                     bool details) {
    std::vector<std::vector<FoundEntry>> found(patterns.size());
    if (patterns.empty()) return found;
    // The folder part of the search path: an empty folder searches the root, as on Windows.
    const std::string folderPath = ko::TextToNativeName(ko::JoinPath(folder, u""));
    DIR* directory = ::opendir(folderPath.c_str());
    if (directory == nullptr) return found;
    std::vector<SearchPattern> matchers(patterns.begin(), patterns.end());
    std::vector<ListedEntry> listed;
    std::string keys;
    std::u16string name;
    std::vector<char> matchedBy;  // listed.size() x patterns.size() flags
    std::vector<char> matches(patterns.size());
    while (const dirent* item = ::readdir(directory)) {
        // The name keeps bytes that are not UTF-8, so the file opens again by it.
        name = ko::NativeNameToText(item->d_name);
        int matching = 0;
        for (std::size_t p = 0; p < matchers.size(); ++p) {
            matches[p] = matchers[p].Matches(name);
            matching += matches[p];
        }
        if (matching == 0) continue;
        EntryKind kind = ListedKind(item->d_type);
        struct stat info {};
        if (details || kind == EntryKind::kUnknown) {
            // A link that leads nowhere is listed as the link itself.
            if (::fstatat(::dirfd(directory), item->d_name, &info, 0) != 0 &&
                ::fstatat(::dirfd(directory), item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            kind = KindOf(info.st_mode);
        }
        ListedEntry& listing = listed.emplace_back();
        listing.keyStart = keys.size();
        AppendListingKey(name, keys);
        listing.keyEnd = keys.size();
        listing.entry.name = name;
        listing.entry.kind = kind;
        if (details) {
            listing.entry.size =
                S_ISDIR(info.st_mode) ? 0 : static_cast<std::uint64_t>(info.st_size);
            listing.entry.lastWrite = LocalTimeOf(info.st_mtime);
        }
        listing.patternsLeft = matching;
        matchedBy.insert(matchedBy.end(), matches.begin(), matches.end());
    }
    ::closedir(directory);

    // readdir delivers in whatever order the file system keeps; list as an NTFS folder does.
    // The keys are sorted as views beside their entry's index, so a comparison touches only
    // the two keys (the entries themselves stay where they are).
    std::vector<std::pair<std::string_view, std::size_t>> sorted;
    sorted.reserve(listed.size());
    for (std::size_t i = 0; i < listed.size(); ++i)
        sorted.emplace_back(std::string_view(keys).substr(listed[i].keyStart,
                                                          listed[i].keyEnd - listed[i].keyStart),
                            i);
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& left, const auto& right) { return left.first < right.first; });
    std::vector<std::size_t> order;
    order.reserve(sorted.size());
    for (const auto& entry : sorted)
        order.push_back(entry.second);
    for (std::size_t p = 0; p < patterns.size(); ++p) {
        for (const std::size_t i : order) {
            if (!matchedBy[i * patterns.size() + p]) continue;
            ListedEntry& listing = listed[i];
            if (--listing.patternsLeft == 0)
                found[p].push_back(std::move(listing.entry));
            else
                found[p].push_back(listing.entry);
        }
    }
    return found;
}

int FolderListingError(std::u16string_view folder) {
    DIR* directory = ::opendir(ko::TextToNativeName(ko::JoinPath(folder, u"")).c_str());
    if (directory == nullptr) return errno;
    ::closedir(directory);
    return 0;
}

}  // namespace osprey

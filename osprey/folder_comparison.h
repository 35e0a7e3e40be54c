// Everything Osprey knows about the two folders being compared: the folder paths as the user
// typed them, the file list of each side, the rows of pairs built from them and the compare
// flag. One instance per process, owned by the main window (or by the console program).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/file_reader.h"
#include "osprey/directory_search.h"

namespace osprey {

// Status of a row of the pair lists. In a file list the same field is the pairing mark:
// 0 not yet paired, kPairedNotCompared paired at least once, kOneSided listed as one-sided.
enum RowStatus : std::int32_t {
    kFreeRow = 0,
    kPairedNotCompared = 1,
    kPairedEqual = 2,
    kPairedDiffer = 3,
    kOneSided = 13,
};

// One listed file (or folder, "." or ".."), as the directory search found it.
struct FileEntry {
    std::int32_t status = kFreeRow;
    std::u16string name;      // no folder part; empty in the missing half of a one-sided row
    std::u16string pattern;   // the search pattern that found the entry, e.g. *.cpp
    std::u16string sizeText;  // unsigned decimal bytes
    std::u16string dateText;  // last write in local time, "2023/11/07 09:52"
    // Not shown: what the scan saw, so the comparison needs no second look at the entry.
    EntryKind kind = EntryKind::kUnknown;
    std::uint64_t bytes = ko::FileReader::kUnlisted;  // the size behind sizeText
};

constexpr int kSideA = 0;
constexpr int kSideB = 1;

// The longest folder path the console program takes: it declares no support for longer paths,
// so Windows would refuse them. The window takes folder paths of any length.
constexpr std::size_t kFolderPathMax = 259;

struct FolderComparison {
    // Folder paths as typed into the path boxes: every scan re-reads both.
    std::u16string folderPath[2];
    // The entries of the last scan of each side, in the order the searches returned them.
    std::vector<FileEntry> files[2];
    // Row i is pairs[kSideA][i] beside pairs[kSideB][i]; both halves carry the same status.
    std::vector<FileEntry> pairs[2];
    // 0 before the compare command, 1 after it; restore sets it back to 0.
    int compareFlag = 0;
    // Block buffers of the content comparison, kept so comparing many small pairs does not
    // allocate for each one.
    std::vector<std::uint8_t> compareBuffer;
};

// The counters of the status bar, taken from pair list A.
struct RowCounts {
    int target = 0;  // rows of status 1, 2 or 3
    int equal = 0;   // rows of status 2
    int differ = 0;  // rows of status 3
};

// The full path of the `side` half of row `row`: that side's folder path, a separator unless
// it ends with one, and the half's name.
std::u16string FilePathOf(const FolderComparison& comparison, int side, std::size_t row);

RowCounts CountRows(const std::vector<FileEntry>& pairsA);

// "比較前", "一致", "不一致", "非対称" for statuses 1, 2, 3, 13; "エラー" for any other positive
// status; empty for a free row.
std::u16string_view StatusText(std::int32_t status);

// The six status-bar fields: the compare flag ("照合前"/"照合後"), "Aファイル数=%d",
// "Bファイル数=%d", "対象ファイル数=%d", "ファイル一致数=%d", "ファイル不一致数=%d".
std::vector<std::u16string> StatusBarTexts(const FolderComparison& comparison);

}  // namespace osprey

// Listing one side's folder into its file list with the search patterns of the selected
// extension group.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/extension_groups.h"
#include "osprey/directory_search.h"
#include "osprey/folder_comparison.h"

namespace osprey {

// The searchPattern of every row whose groupNo is `group`, in row order; a pattern held by
// several rows comes once per row. Empty when no row carries that number.
std::vector<std::u16string> SearchPatternsOfGroup(const ko::ExtensionGroupTable& groups, int group);

// "%I64u": the size in bytes as an unsigned decimal number.
std::u16string SizeText(std::uint64_t bytes);

// "%02d/%02d/%02d %02d:%02d" from year, month, day, hour and minute: "2023/11/07 09:52".
std::u16string DateText(const LocalTime& time);

// Takes both path box texts whole as the folder paths (a path cut to 259 units would name
// another folder; one the system cannot list lists nothing, like a missing folder), then lists
// the folder of `side` into its file list: for each pattern of group `selectedGroup` in row
// order, every entry the directory search returns, in its order, nothing filtered (".", "..",
// subfolders and hidden files included; an entry found by two patterns is listed twice). Every
// entry gets status 0. The other side's list stays as it is. Without `details` (for a caller
// that shows no list) the size and date texts stay empty and the entries' sizes unknown.
void ScanFolder(FolderComparison& comparison, int side, std::u16string_view pathBoxA,
                std::u16string_view pathBoxB, const ko::ExtensionGroupTable& groups,
                int selectedGroup, bool details = true);

}  // namespace osprey

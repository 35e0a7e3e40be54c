// Two real folders, side A and side B, and the comparison state that lists and pairs them.
#pragma once

#include <algorithm>

#include "common/extension_groups.h"
#include "osprey/folder_comparison.h"
#include "osprey/folder_scan.h"
#include "osprey/pairing.h"
#include "tests/support/temp_dir.h"

namespace osprey::testing {

constexpr int kEverythingGroup = 104;  // "*.*" among the default extension groups

struct TwoFolders {
    ko::testing::TempDir folder[2];
    ko::ExtensionGroupTable groups = ko::DefaultExtensionGroups();
    FolderComparison comparison;

    std::u16string PathOf(int side) const { return ko::testing::PathText(folder[side].path()); }
    void Scan(int side, int group) {
        ScanFolder(comparison, side, PathOf(kSideA), PathOf(kSideB), groups, group);
    }
    void ScanBothAndPair(int group) {
        Scan(kSideA, group);
        Scan(kSideB, group);
        PairFiles(comparison);
    }
    // The first row whose side-A half is named `nameA`, or the row count; and its status.
    std::size_t RowOf(std::u16string_view nameA) const {
        const std::vector<FileEntry>& pairs = comparison.pairs[kSideA];
        return std::find_if(pairs.begin(), pairs.end(), [&](auto& e) { return e.name == nameA; }) -
               pairs.begin();
    }
    int StatusOf(std::u16string_view nameA) const {
        return comparison.pairs[kSideA].at(RowOf(nameA)).status;
    }
};

}  // namespace osprey::testing

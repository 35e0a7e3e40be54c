// Two real folders, side A and side B, and the comparison state that lists and pairs them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/extension_groups.h"
#include "common/text.h"
#include "osprey/folder_comparison.h"
#include "osprey/folder_scan.h"
#include "osprey/pairing.h"
#include "tests/support/temp_dir.h"

namespace osprey::testing {

// Default groups: 0 = *.cpp, *.h, *.rc; 1 = *.txt; 104 = *.*.
constexpr int kSourceGroup = 0;
constexpr int kTextGroup = 1;
constexpr int kEverythingGroup = 104;

struct TwoFolders {
    ko::testing::TempDir folder[2];
    ko::ExtensionGroupTable groups = ko::DefaultExtensionGroups();
    FolderComparison comparison;

    std::u16string PathOf(int side) const { return ko::testing::PathText(folder[side].path()); }
    void Write(int side, std::string_view name, std::string_view bytes) const {
        folder[side].Write(name, bytes);
    }
    void MakeSubfolder(int side, std::string_view name) const {
        std::filesystem::create_directory(folder[side].path() / ko::Utf8ToUtf16(name));
    }
    void Scan(int side, int group) {
        ScanFolder(comparison, side, PathOf(kSideA), PathOf(kSideB), groups, group);
    }
    void ScanBothAndPair(int group) {
        Scan(kSideA, group);
        Scan(kSideB, group);
        PairFiles(comparison);
    }
    // The first row whose side-A half is named `nameA`, or the row count.
    std::size_t RowOf(std::u16string_view nameA) const {
        const std::vector<FileEntry>& pairs = comparison.pairs[kSideA];
        std::size_t row = 0;
        while (row < pairs.size() && pairs[row].name != nameA)
            ++row;
        return row;
    }
    int StatusOf(std::u16string_view nameA) const {
        const std::size_t row = RowOf(nameA);
        return row < comparison.pairs[kSideA].size() ? comparison.pairs[kSideA][row].status : -1;
    }
};

inline std::vector<std::string> NamesOf(const std::vector<FileEntry>& entries) {
    std::vector<std::string> names;
    for (const FileEntry& entry : entries)
        names.push_back(ko::Utf16ToUtf8(entry.name));
    return names;
}

inline ::testing::AssertionResult TextStartsWith(std::u16string_view text,
                                                 std::u16string_view prefix) {
    if (text.starts_with(prefix)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << '"' << ko::Utf16ToUtf8(text) << "\" does not start with \"" << ko::Utf16ToUtf8(prefix)
           << '"';
}

}  // namespace osprey::testing

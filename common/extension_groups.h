// The 32-row extension-group table shared by both programs: named wildcard patterns; rows with
// equal group numbers form one extension group.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace ko {

constexpr int kExtensionGroupRows = 32;
constexpr int kItemNameMax = 61;       // characters an itemName keeps
constexpr int kDisplayTextMax = 29;    // characters a displayText keeps
constexpr int kSearchPatternMax = 29;  // characters a searchPattern keeps

struct ExtensionGroup {
    std::int32_t groupNo = 0;
    char16_t itemName[64] = {};
    char16_t displayText[32] = {};
    char16_t searchPattern[32] = {};
};

using ExtensionGroupTable = std::array<ExtensionGroup, kExtensionGroupRows>;

// The table a program has when its settings file says nothing: group 0 = *.cpp, *.h, *.rc;
// group 1 = *.txt; rows 4..31 each a group of its own (104..131) holding *.*.
ExtensionGroupTable DefaultExtensionGroups();

// Indices of the rows whose groupNo is `group`, ascending.
std::vector<int> RowsOfGroup(const ExtensionGroupTable& table, int group);

// The lowest row index of `group`, or -1 when no row carries that number.
int FirstRowOfGroup(const ExtensionGroupTable& table, int group);

// The distinct group numbers in the order of their first appearance from row 0 on.
std::vector<int> GroupNumbers(const ExtensionGroupTable& table);

}  // namespace ko

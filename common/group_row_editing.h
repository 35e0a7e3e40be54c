// The extension group editor's work on one row of the table, apart from its window: the texts
// its boxes show, its position text, stepping between rows and storing the boxes into a row.
#pragma once

#include <cstdint>
#include <string>

#include "common/extension_groups.h"
#include "common/report.h"

namespace ko {

// The highest group number the editor accepts; anything above it, taken as an unsigned 32-bit
// value (so every negative number as well), is refused.
constexpr std::uint32_t kGroupNumberMax = 9998;

// The contents of the editor's four boxes.
struct GroupRowTexts {
    std::u16string groupNo;
    std::u16string itemName;
    std::u16string displayText;
    std::u16string searchPattern;
};

// The boxes for `row`: its group number as "%d" and its three texts as they are.
GroupRowTexts TextsOfRow(const ExtensionGroup& row);

// "%02d/32" with `row_index` + 1: "01/32" for row 0, "32/32" for row 31.
std::u16string RowPositionText(int row_index);

// `row_index` + `step`, kept within 0..31.
int StepRow(int row_index, int step);

// Stores the boxes into `row`: the group number from the first 4 characters of texts.groupNo,
// unless it is refused (then the range message is shown through `reporter`, owned by `owner`,
// and the row keeps its number); the three texts cut to 61, 29 and 29 characters, stored in
// either case. Returns false when the group number was refused.
bool StoreRow(const GroupRowTexts& texts, ExtensionGroup& row, Reporter& reporter,
              OwnerWindow owner);

}  // namespace ko

#include "common/group_row_editing.h"

#include <algorithm>
#include <iterator>

#include "common/group_selection.h"
#include "common/range_check.h"
#include "common/text.h"

namespace ko {

namespace {

template <std::size_t N>
std::u16string FieldText(const char16_t (&field)[N]) {
    return CutText(std::u16string_view(field, N), N);
}

// Zeroes `field` and copies at most `limit` characters of `text` into it; `limit` < N keeps
// the terminator.
template <std::size_t N>
void StoreField(char16_t (&field)[N], std::u16string_view text, std::size_t limit) {
    static_assert(N > 0);
    const std::u16string cut = CutText(text, std::min(limit, N - 1));
    std::fill(std::begin(field), std::end(field), u'\0');
    std::copy(cut.begin(), cut.end(), field);
}

}  // namespace

GroupRowTexts TextsOfRow(const ExtensionGroup& row) {
    return {Format(u"%d", {row.groupNo}), FieldText(row.itemName), FieldText(row.displayText),
            FieldText(row.searchPattern)};
}

std::u16string RowPositionText(int row_index) {
    return Format(u"%02d/32", {row_index + 1});
}

int StepRow(int row_index, int step) {
    return std::clamp(row_index + step, 0, kExtensionGroupRows - 1);
}

bool StoreRow(const GroupRowTexts& texts, ExtensionGroup& row, Reporter& reporter,
              OwnerWindow owner) {
    const int number = GroupNumberOf(texts.groupNo);
    const bool accepted = static_cast<std::uint32_t>(number) <= kGroupNumberMax;
    if (accepted) {
        row.groupNo = number;
    } else {
        ReportOutOfRange(reporter, owner);
    }
    StoreField(row.itemName, texts.itemName, kItemNameMax);
    StoreField(row.displayText, texts.displayText, kDisplayTextMax);
    StoreField(row.searchPattern, texts.searchPattern, kSearchPatternMax);
    return accepted;
}

}  // namespace ko

#include "common/group_selection.h"

#include <algorithm>
#include <iterator>

#include "common/number_reading.h"
#include "common/text.h"

namespace ko {

std::vector<std::u16string> GroupEntryTexts(const ExtensionGroupTable& table) {
    std::vector<std::u16string> texts;
    for (const int group : GroupNumbers(table))
        texts.push_back(Format(u"%04d", {group}));
    return texts;
}

int GroupEntryToSelect(const ExtensionGroupTable& table, int failExt_no) {
    const std::vector<int> groups = GroupNumbers(table);
    const auto found = std::find(groups.begin(), groups.end(), failExt_no);
    return found == groups.end() ? 0 : static_cast<int>(std::distance(groups.begin(), found));
}

int GroupNumberOf(std::u16string_view combo_text) {
    return ReadLeadingNumber(combo_text, kGroupNumberCharacters);
}

std::u16string GroupLabel(const ExtensionGroupTable& table, std::u16string_view combo_text) {
    const int row = FirstRowOfGroup(table, GroupNumberOf(combo_text));
    if (row < 0) return std::u16string();
    const ExtensionGroup& first = table[row];
    return CutText(std::u16string_view(first.itemName, std::size(first.itemName)), kItemNameMax);
}

}  // namespace ko

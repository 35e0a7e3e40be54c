// What the group selector of both settings dialogs shows: the group numbers of the
// extension-group table as combo-box entries, the entry to select, and the chosen group's name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/extension_groups.h"

namespace ko {

// Characters of the combo box's text that name a group number.
constexpr std::size_t kGroupNumberCharacters = 4;

// Every distinct group number, in the order of first appearance, as "%04d" (104 gives "0104").
std::vector<std::u16string> GroupEntryTexts(const ExtensionGroupTable& table);

// Index among GroupEntryTexts of the group `failExt_no`, or 0 (the first entry) when no row
// carries that number.
int GroupEntryToSelect(const ExtensionGroupTable& table, int failExt_no);

// The group number that the combo box's text names: its first 4 characters read like _wtoi.
int GroupNumberOf(std::u16string_view combo_text);

// The name of the group that `combo_text` names: the itemName of the group's first row. Empty
// when no row carries the number (a typed number, an empty field), so the label never keeps
// the name of a group that is no longer chosen.
std::u16string GroupLabel(const ExtensionGroupTable& table, std::u16string_view combo_text);

}  // namespace ko

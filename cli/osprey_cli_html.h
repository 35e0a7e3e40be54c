// osprey-cli's page for people who do not have the programs: the two list views side by side
// as the window shows them after the comparison, with the folders and the group above and the
// status bar below.
#pragma once

#include <string>

#include "common/extension_groups.h"
#include "osprey/folder_comparison.h"

namespace ko::cli {

// One self-contained UTF-8 HTML page: both folder paths, group `group` of `groups` with its
// name and patterns, one table row per pair row (each half with its list view's picture of
// the status, name, pattern, size, date and status text) and the six status-bar fields.
std::string HtmlReport(const osprey::FolderComparison& comparison,
                       const ExtensionGroupTable& groups, int group);

}  // namespace ko::cli

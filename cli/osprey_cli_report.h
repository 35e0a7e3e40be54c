// The two forms of osprey-cli's result: a table like the two list views side by side for
// people, and a JSON object for programs. Both read the pair lists after the comparison.
#pragma once

#include <string>

#include "osprey/folder_comparison.h"

namespace ko::cli {

// A header, one line per row ("比較" status text, then name, pattern, size and date of side A
// and of side B, in columns), a blank line and the six status-bar fields.
std::string RowTable(const osprey::FolderComparison& comparison);

// {"countA": n, "countB": n, "target": n, "equal": n, "differ": n, "rows": [{"status": n,
// "a": {"name": s, "pattern": s, "size": s, "date": s}, "b": {...}}, ...]} in UTF-8; the empty
// half of a one-sided row has empty strings.
std::string JsonReport(const osprey::FolderComparison& comparison);

}  // namespace ko::cli

// kestrel-cli's page for people who do not have the programs: both files side by side as the
// window shows them after the comparison, with the facts of the load above.
#pragma once

#include <string>
#include <string_view>

#include "cli/kestrel_cli_view.h"

namespace ko::cli {

// One self-contained UTF-8 HTML page: the paths `path_a` and `path_b` with their encodings and
// line counts, the status bar's state and grid size, the outcome, the load warning of each
// side that did not fit, then every shown row (see ShownRows) as the view draws it: six-digit
// numbers, each run of colour codes on its background, numbers of differing rows highlighted.
// Lines wrap instead of being cut; the page grows with the rows shown, not with the grid.
std::string HtmlReport(const ComparisonReport& report, std::u16string_view path_a,
                       std::u16string_view path_b);

}  // namespace ko::cli

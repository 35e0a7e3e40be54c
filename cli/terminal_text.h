// Text laid out for a terminal: how many cells a text takes, and control characters shown as
// their pictures so a file name cannot move the cursor or start an escape sequence.
#pragma once

#include <string>
#include <string_view>

namespace ko::cli {

// East Asian wide characters and surrogate pairs take two cells, everything else one (a lone
// surrogate too: it is printed as U+FFFD).
int TerminalCells(std::u16string_view text);

// `text` with every control unit (below U+0020, and U+007F) replaced by its control picture.
std::u16string VisibleText(std::u16string_view text);

}  // namespace ko::cli

// Reading Kestrel's command line: " /A:" names the side A file and " /B:" the side B file.
// The folder comparer starts Kestrel with exactly these two tokens, each followed by a full
// path that holds no blank.
#pragma once

#include <string_view>

#include "common/settings.h"

namespace kestrel::app {

// The two paths of the command line, each 259 units at most and zero-terminated.
struct CommandLinePaths {
    char16_t a[ko::kPathUnits] = {};
    char16_t b[ko::kPathUnits] = {};
};

// Clears both paths, then scans `text` for the case-sensitive tokens "/A:" and "/B:", which
// count anywhere, also inside a word. The characters after a token up to the next blank
// (U+0020 only, no quoting) are its path. A path longer than 259 units is cut to 259 (never
// between the two units of a surrogate pair); the rest up to the blank is skipped. When a
// token comes twice, the later path wins.
void ParseCommandLine(std::u16string_view text, CommandLinePaths& paths);

}  // namespace kestrel::app

// Reading Kestrel's command line: " /A:" names the side A file and " /B:" the side B file.
// The folder comparer starts Kestrel with exactly these two tokens, each followed by a full
// path, in double quotes when it holds a blank. Explorer starts it with bare paths instead:
// the files dropped on its icon or sent to it through "送る".
#pragma once

#include <string_view>

#include "common/settings.h"

namespace kestrel::app {

// The two paths of the command line, each 259 units at most and zero-terminated.
struct CommandLinePaths {
    char16_t a[ko::kPathUnits] = {};
    char16_t b[ko::kPathUnits] = {};
    // More than two bare paths came: none of them is taken, and the start says so.
    bool refused = false;
};

// Clears both paths, then scans `text` for the case-sensitive tokens "/A:" and "/B:", which
// count anywhere, also inside a word. The characters after a token up to the next blank
// (U+0020 only) are its path; when the first of them is a double quote, the path runs to the
// next double quote instead (or to the end of the text when none follows) and the quotes are
// not part of it. A quote cannot start a Windows file name, so no path that worked unquoted
// reads differently. A path longer than 259 units is cut to 259 (never between the two units
// of a surrogate pair); the rest up to its end is skipped. When a token comes twice, the later
// path wins.
// A text that holds neither token names its paths bare, each read like a token's path: the
// first is path A, a second path B, and with more than two neither is taken and `refused` is
// set. A bare path that starts with "/" is some other option, never a path Explorer passes:
// with one the text names nothing, as before bare paths were read.
void ParseCommandLine(std::u16string_view text, CommandLinePaths& paths);

}  // namespace kestrel::app

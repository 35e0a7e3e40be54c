// Reading Kestrel's command line: " /A:" names the side A file and " /B:" the side B file.
// The folder comparer starts Kestrel with exactly these two tokens, each followed by a full
// path, in double quotes when it holds a blank. Explorer starts it with bare paths instead:
// the files dropped on its icon or sent to it through "送る".
#pragma once

#include <string>
#include <string_view>

namespace kestrel::app {

// The two paths of the command line, empty when not named.
struct CommandLinePaths {
    std::u16string a;
    std::u16string b;
    // More than two bare paths came: none of them is taken, and the start says so.
    bool refused = false;
};

// Clears both paths, then scans `text` for the case-sensitive tokens "/A:" and "/B:", which
// count anywhere, also inside a word. The characters after a token up to the next blank
// (U+0020 only) are its path; when the first of them is a double quote, the path runs to the
// next double quote instead (or to the end of the text when none follows) and the quotes are
// not part of it. A quote cannot start a Windows file name, so no path that worked unquoted
// reads differently. A path is kept whole however long it is: cut to 259 units it would name
// another file, and the folder comparer hands over paths up to 519 units. When a token comes
// twice, the later path wins.
// A text that holds neither token names its paths bare, each read like a token's path: the
// first is path A, a second path B, and with more than two neither is taken and `refused` is
// set. A bare path that starts with "/" is some other option, never a path Explorer passes:
// with one the text names nothing, as before bare paths were read.
void ParseCommandLine(std::u16string_view text, CommandLinePaths& paths);

}  // namespace kestrel::app

// Paths handed over by the shell without tokens: the files dropped on a program's icon or sent
// through "送る" (bare arguments of its command line) and the files dropped on its window. Both
// programs take one path for one side or two for side A and side B; what else came is refused
// as a whole.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ko {

// The path that starts at `from`: up to the next blank (U+0020 only) or the end of the text;
// when it opens with a double quote, up to the next double quote instead (or the end of the
// text when none follows), without the quotes. A quote inside a path stays in it, as no file
// name holds one. `end` receives the index of the character that ended the path.
std::u16string_view PathAt(std::u16string_view text, std::size_t from, std::size_t& end);

// Every path of a command line that names its paths bare, separated by blanks, each read as
// PathAt reads it. A pair of quotes alone names nothing, as a script passes an argument it was
// not given.
std::vector<std::u16string> BarePaths(std::u16string_view text);

struct HandedPath {
    std::u16string path;
    bool folder = false;  // names an existing folder
};

// Where handed-over paths go: index 0 side A, 1 side B; an empty text leaves that side alone.
using SidePaths = std::array<std::u16string, 2>;

// One path goes to `side`, two go to side A and side B in their order. Nothing at all, more
// than two paths, a path of the unwanted kind (a folder where `folders` is false, a file where
// it is true) or a path longer than 259 units give nothing: the caller changes nothing and
// says why.
std::optional<SidePaths> PlaceHandedPaths(const std::vector<HandedPath>& paths, bool folders,
                                          int side);

}  // namespace ko

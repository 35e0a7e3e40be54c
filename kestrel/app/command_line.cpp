#include "kestrel/app/command_line.h"

namespace kestrel::app {

namespace {

// Copies the path that starts at `from` into `path` and returns the index of the character
// that ends it: the next blank, or for a path that opens with a double quote the closing quote
// (the quotes are not part of the path), or the end of the text.
std::size_t CopyPath(std::u16string_view text, std::size_t from, std::u16string& path) {
    const bool quoted = from < text.size() && text[from] == u'"';
    if (quoted) ++from;
    std::size_t end = text.find(quoted ? u'"' : u' ', from);
    if (end == std::u16string_view::npos) end = text.size();
    path.assign(text.substr(from, end - from));
    return end;
}

}  // namespace

void ParseCommandLine(std::u16string_view text, CommandLinePaths& paths) {
    paths = CommandLinePaths{};
    std::size_t i = 0;
    while (i < text.size()) {
        const std::u16string_view rest = text.substr(i);
        if (rest.starts_with(u"/A:")) {
            i = CopyPath(text, i + 3, paths.a);
        } else if (rest.starts_with(u"/B:")) {
            i = CopyPath(text, i + 3, paths.b);
        }
        ++i;
    }
}

}  // namespace kestrel::app

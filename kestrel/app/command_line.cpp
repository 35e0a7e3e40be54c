#include "kestrel/app/command_line.h"

#include <algorithm>

namespace kestrel::app {

namespace {

constexpr std::size_t kMaxPathUnits = ko::kPathUnits - 1;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

// Copies the path that starts at `from` into `path` and returns the index of the character
// that ends it: the next blank, or for a path that opens with a double quote the closing quote
// (the quotes are not part of the path), or the end of the text.
std::size_t CopyPath(std::u16string_view text, std::size_t from, char16_t (&path)[ko::kPathUnits]) {
    const bool quoted = from < text.size() && text[from] == u'"';
    if (quoted) ++from;
    std::size_t end = text.find(quoted ? u'"' : u' ', from);
    if (end == std::u16string_view::npos) end = text.size();
    std::size_t count = std::min(end - from, kMaxPathUnits);
    // A cut must not leave half a character behind.
    if (count < end - from && count > 0 && IsHighSurrogate(text[from + count - 1])) --count;
    std::fill(std::begin(path), std::end(path), u'\0');
    std::copy_n(text.begin() + from, count, path);
    return end;
}

}  // namespace

void ParseCommandLine(std::u16string_view text, CommandLinePaths& paths) {
    std::fill(std::begin(paths.a), std::end(paths.a), u'\0');
    std::fill(std::begin(paths.b), std::end(paths.b), u'\0');
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

#include "kestrel/app/command_line.h"

#include <vector>

#include "common/handed_paths.h"

namespace kestrel::app {

namespace {

// Copies the path that starts at `from` into `path`, whole, and returns the index of the
// character that ended it.
std::size_t CopyPath(std::u16string_view text, std::size_t from, std::u16string& path) {
    std::size_t end = 0;
    path.assign(ko::PathAt(text, from, end));
    return end;
}

void TakeBarePaths(std::u16string_view text, CommandLinePaths& paths) {
    const std::vector<std::u16string> bare = ko::BarePaths(text);
    for (const std::u16string& path : bare)
        if (path.starts_with(u'/')) return;
    if (bare.size() > 2) {
        paths.refused = true;
        return;
    }
    if (bare.size() > 0) paths.a = bare[0];
    if (bare.size() > 1) paths.b = bare[1];
}

}  // namespace

void ParseCommandLine(std::u16string_view text, CommandLinePaths& paths) {
    paths = CommandLinePaths{};
    if (text.find(u"/A:") == text.npos && text.find(u"/B:") == text.npos) {
        TakeBarePaths(text, paths);
        return;
    }
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

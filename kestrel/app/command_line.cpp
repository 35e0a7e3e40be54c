#include "kestrel/app/command_line.h"

#include <algorithm>
#include <vector>

#include "common/handed_paths.h"

namespace kestrel::app {

namespace {

constexpr std::size_t kMaxPathUnits = ko::kPathUnits - 1;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

// Stores `text` in `path`, cut to 259 units; a cut must not leave half a character behind.
void StorePath(std::u16string_view text, char16_t (&path)[ko::kPathUnits]) {
    std::size_t count = std::min(text.size(), kMaxPathUnits);
    if (count < text.size() && count > 0 && IsHighSurrogate(text[count - 1])) --count;
    std::fill(std::begin(path), std::end(path), u'\0');
    std::copy_n(text.begin(), count, path);
}

// Copies the path that starts at `from` into `path` and returns the index of the character
// that ended it.
std::size_t CopyPath(std::u16string_view text, std::size_t from, char16_t (&path)[ko::kPathUnits]) {
    std::size_t end = 0;
    StorePath(ko::PathAt(text, from, end), path);
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
    if (bare.size() > 0) StorePath(bare[0], paths.a);
    if (bare.size() > 1) StorePath(bare[1], paths.b);
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

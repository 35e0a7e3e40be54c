#include "osprey/launch.h"

#include "common/paths.h"

namespace osprey {

namespace {

// A part with a blank goes in double quotes: the system takes the executable whole (never
// C:\Program.exe for C:\Program Files\...) and so does the file comparer a path.
std::u16string Quoted(std::u16string_view part) {
    std::u16string text(part);
    if (text.find(u' ') != std::u16string::npos) text = u'"' + text + u'"';
    return text;
}

bool CannotBeHandedOver(const std::vector<FileEntry>& pairs, int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= pairs.size()) return true;
    return pairs[row].status == kOneSided && pairs[row].name.empty();
}

}  // namespace

std::optional<std::u16string_view> FailedLaunchCheck(const ListSelection& selection,
                                                     const FolderComparison& comparison) {
    if (selection.rowsA <= 0) return messages::kNoFileA;
    if (selection.rowsB <= 0) return messages::kNoFileB;
    if (selection.selectedA < 0) return messages::kNoSelectionA;
    if (selection.selectedB < 0) return messages::kNoSelectionB;
    if (CannotBeHandedOver(comparison.pairs[kSideA], selection.selectedA) ||
        CannotBeHandedOver(comparison.pairs[kSideB], selection.selectedB))
        return messages::kNotComparable;
    return std::nullopt;
}

std::optional<std::u16string> BuildLaunchCommandLine(std::u16string_view startupDirectory,
                                                     std::u16string_view subAppName,
                                                     std::u16string_view pathA,
                                                     std::u16string_view pathB) {
    const std::u16string executable = ko::JoinPath(startupDirectory, subAppName);
    if (executable.size() >= kExecutablePathUnits || pathA.size() >= kFilePathUnits ||
        pathB.size() >= kFilePathUnits)
        return std::nullopt;
    // Parts within their rooms always fit the command line's room, each with its two quotes.
    static_assert((kExecutablePathUnits - 1 + 2) + 4 + 2 * (kFilePathUnits - 1 + 2) + 4 <
                  kCommandLineUnits);
    std::u16string commandLine = Quoted(executable);
    commandLine.append(u" /A:").append(Quoted(pathA)).append(u" /B:").append(Quoted(pathB));
    return commandLine;
}

}  // namespace osprey

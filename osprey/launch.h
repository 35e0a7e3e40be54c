// The pure part of starting Kestrel for one selected file of each side: the checks of the
// selection and the command line.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "osprey/folder_comparison.h"
#include "osprey/messages.h"

namespace osprey {

using messages::kSelectionCaption;

// What the two list views show: their row counts and the first selected row of each (-1 when
// none is selected). The rows are those of the pair lists.
struct ListSelection {
    int rowsA = 0;
    int rowsB = 0;
    int selectedA = -1;
    int selectedB = -1;
};

// The text of the first failing check, to be shown under kSelectionCaption with the warning
// icon, or nullopt when the launch may go ahead. In order: no row on the left, no row on the
// right, nothing selected on the left, nothing selected on the right, a selected half that is
// the empty half of a one-sided row. A selected row that lies outside the pair lists is refused
// like an empty half. The two selections are independent of each other.
std::optional<std::u16string_view> FailedLaunchCheck(const ListSelection& selection,
                                                     const FolderComparison& comparison);

// Room of each part, terminator included, as the launch's buffers have it.
constexpr std::size_t kExecutablePathUnits = 260;
constexpr std::size_t kFilePathUnits = 520;
constexpr std::size_t kCommandLineUnits = 1560;

// `startupDirectory` + separator unless present + `subAppName`, then " /A:" `pathA` " /B:"
// `pathB`; each of the three parts that holds a blank goes in double quotes. A part that does
// not fit its room (quotes not counted) is refused, not cut: a cut path would start another
// program or hand over another file. Returns nullopt then, and the caller reports that the
// program could not be run.
std::optional<std::u16string> BuildLaunchCommandLine(std::u16string_view startupDirectory,
                                                     std::u16string_view subAppName,
                                                     std::u16string_view pathA,
                                                     std::u16string_view pathB);

}  // namespace osprey

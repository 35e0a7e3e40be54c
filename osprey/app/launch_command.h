// The command that starts the file comparer for one pair: what the process is told to run and
// the command line it receives.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace osprey::app {

struct LaunchCommand {
    // The executable itself, handed to the platform as the program to run, so a start-up
    // directory with a blank (C:\Program Files\...) is never taken for C:\Program.exe.
    std::u16string applicationName;
    // The executable path, " /A:", path A, " /B:", path B; each part that holds a blank in
    // double quotes.
    std::u16string commandLine;
};

// The launch of `subAppName` from `startupDirectory` with `pathA` and `pathB`, or nullopt when
// a part does not fit its room (the caller reports that the program could not be run).
std::optional<LaunchCommand> BuildLaunchCommand(std::u16string_view startupDirectory,
                                                std::u16string_view subAppName,
                                                std::u16string_view pathA,
                                                std::u16string_view pathB);

// A path with a blank is handed over in its short form when the file system has one without a
// blank (`shortForm`: empty when the query failed, the path itself where the volume keeps no
// short names), as the file comparer has always taken it; otherwise the path itself, which the
// command line then carries in double quotes.
std::u16string_view HandedOverPath(std::u16string_view path, std::u16string_view shortForm);

}  // namespace osprey::app

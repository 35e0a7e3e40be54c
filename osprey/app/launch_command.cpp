#include "osprey/app/launch_command.h"

#include "common/paths.h"
#include "osprey/launch.h"

namespace osprey::app {

namespace {

bool HoldsBlank(std::u16string_view text) {
    return text.find(u' ') != std::u16string_view::npos;
}

}  // namespace

std::optional<LaunchCommand> BuildLaunchCommand(std::u16string_view startupDirectory,
                                                std::u16string_view subAppName,
                                                std::u16string_view pathA,
                                                std::u16string_view pathB) {
    std::optional<std::u16string> commandLine =
        BuildLaunchCommandLine(startupDirectory, subAppName, pathA, pathB);
    if (!commandLine) return std::nullopt;
    return LaunchCommand{ko::JoinPath(startupDirectory, subAppName), std::move(*commandLine)};
}

std::u16string_view HandedOverPath(std::u16string_view path, std::u16string_view shortForm) {
    if (!HoldsBlank(path) || shortForm.empty() || HoldsBlank(shortForm)) return path;
    return shortForm;
}

}  // namespace osprey::app

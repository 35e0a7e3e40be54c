#include "osprey/app/launch_win32.h"

#include <string>

#include "common/text.h"
#include "common/win32_text.h"
#include "osprey/app/launch_command.h"
#include "osprey/app/list_views_win32.h"
#include "osprey/launch.h"
#include "osprey/messages.h"

namespace osprey::app {

namespace {

// The form of `path` the file comparer can take whole: its short form where the path holds a
// blank and the file system has one without.
std::u16string PathToHandOver(const std::u16string& path) {
    if (path.find(u' ') == std::u16string::npos) return path;
    const std::wstring wide = ko::ToWide(path);
    std::wstring short_form(kFilePathUnits, L'\0');
    const DWORD length =
        GetShortPathNameW(wide.c_str(), short_form.data(), static_cast<DWORD>(short_form.size()));
    short_form.resize(length < short_form.size() ? length : 0);
    return std::u16string(HandedOverPath(path, ko::ToU16(short_form)));
}

class CreateProcessStarter final : public ProcessStarter {
  public:
    bool Start(const LaunchCommand& command) override {
        const std::wstring application = ko::ToWide(command.applicationName);
        // CreateProcessW may write into its command line, so it gets a copy of its own.
        std::wstring command_line(kCommandLineUnits, L'\0');
        command_line.replace(0, command.commandLine.size(), ko::ToWide(command.commandLine));
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(application.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                            NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &process))
            return false;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }
};

}  // namespace

void LaunchFileComparer(HWND window) {
    OspreyApp& app = App();
    ko::Reporter& reporter = *app.services.reporter;
    const ListSelection selection{ListRowCount(kSideA), ListRowCount(kSideB),
                                  FirstSelectedRow(kSideA), FirstSelectedRow(kSideB)};
    if (const auto failed = FailedLaunchCheck(selection, app.comparison)) {
        reporter.Show(window, *failed, kSelectionCaption, ko::box::kIconWarning);
        return;
    }
    const std::u16string pathA = PathToHandOver(
        FilePathOf(app.comparison, kSideA, static_cast<std::size_t>(selection.selectedA)));
    const std::u16string pathB = PathToHandOver(
        FilePathOf(app.comparison, kSideB, static_cast<std::size_t>(selection.selectedB)));
    const std::u16string subAppName =
        ko::CutText({app.settings.subAppName, std::size(app.settings.subAppName)},
                    std::size(app.settings.subAppName));
    const std::optional<LaunchCommand> command =
        BuildLaunchCommand(app.startupDirectory, subAppName, pathA, pathB);
    if (!command || !app.services.processStarter->Start(*command))
        ko::ShowMessage(reporter, window, messages::kCannotRun, ko::box::kOk);
}

ProcessStarter& SystemProcessStarter() {
    static CreateProcessStarter starter;
    return starter;
}

}  // namespace osprey::app

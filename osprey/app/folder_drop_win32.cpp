#include "osprey/app/folder_drop_win32.h"

#include "common/dropped_files_win32.h"
#include "osprey/app/app_state_win32.h"
#include "osprey/app/folder_browser_win32.h"
#include "osprey/app/main_commands_win32.h"
#include "osprey/messages.h"

namespace osprey::app {

namespace {

void OpenHandedFolders(HWND window, const std::vector<ko::HandedPath>& paths, int side) {
    const std::optional<ko::SidePaths> placed = ko::PlaceHandedPaths(paths, /*folders=*/true, side);
    if (!placed) {
        ko::ShowMessage(*App().services.reporter, window, messages::kOneOrTwoFolders,
                        ko::box::kIconWarning);
        return;
    }
    for (int s = kSideA; s <= kSideB; ++s)
        if (!(*placed)[s].empty()) TakeFolder(s, (*placed)[s]);
    ScanAndShow(window, !(*placed)[kSideA].empty(), !(*placed)[kSideB].empty());
}

}  // namespace

LRESULT OnDropFiles(HWND window, HDROP drop) {
    const ko::DroppedFiles dropped = ko::TakeDroppedFiles(window, drop);
    RECT client{};
    GetClientRect(window, &client);
    OpenHandedFolders(window, dropped.paths, dropped.point.x < client.right / 2 ? kSideA : kSideB);
    return 0;
}

LRESULT OnOpenStartFolders(HWND window) {
    std::vector<ko::HandedPath> paths;
    for (const std::u16string& path : App().startFolders)
        paths.push_back(ko::DescribePath(path));
    OpenHandedFolders(window, paths, kSideA);
    return 0;
}

}  // namespace osprey::app

#include "kestrel/app/file_drop_win32.h"

#include "common/dropped_files_win32.h"
#include "common/win32_text.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/main_commands_win32.h"
#include "kestrel/messages.h"

namespace kestrel::app {

LRESULT OnDropFiles(HWND window, HDROP drop) {
    KestrelApp& app = App();
    const ko::DroppedFiles dropped = ko::TakeDroppedFiles(window, drop);
    const int side = dropped.point.x < app.view.geometry.half ? 0 : 1;
    const std::optional<ko::SidePaths> placed =
        ko::PlaceHandedPaths(dropped.paths, /*folders=*/false, side);
    if (!placed) {
        ko::ShowMessage(*app.services.reporter, window, messages::kOneOrTwoFiles,
                        ko::box::kIconWarning);
        return 0;
    }
    if (dropped.paths.size() == 2) {
        OpenNamedFiles(window, (*placed)[0], (*placed)[1]);
        return 0;
    }
    const std::u16string& path = (*placed)[side];
    RememberFolderOf(path, side, app.settings);
    SetWindowTextW(app.window.pathBox[side], ko::AsWide(path.c_str()));
    LoadChosenSide(window, side);
    return 0;
}

}  // namespace kestrel::app

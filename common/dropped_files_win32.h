// Files and folders dropped from Explorer on a main window that accepts them (DragAcceptFiles),
// as its WM_DROPFILES hands them over, and paths named on a command line checked the same way.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "common/handed_paths.h"

namespace ko {

struct DroppedFiles {
    std::vector<HandedPath> paths;  // in the order the drop lists them
    POINT point{};                  // where they were dropped, in `window`'s client coordinates
};

// Reads every path of `drop` whole, whatever its length, marks the folders among them and
// takes the drop point; a drop on the frame is given in screen coordinates and is converted.
// Releases the drop (DragFinish): `drop` is not to be used again.
DroppedFiles TakeDroppedFiles(HWND window, HDROP drop);

// `path`, marked as a folder when it names an existing folder.
HandedPath DescribePath(std::u16string path);

}  // namespace ko

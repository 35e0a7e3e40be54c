#include "kestrel/app/open_file_dialog_win32.h"

#include <windows.h>

#include <commdlg.h>

#include "common/win32_text.h"

namespace kestrel::app {

namespace {

class SystemDialog final : public OpenFileDialog {
  public:
    bool Show(OpenFileRequest& request) override {
        OPENFILENAMEW description = {};
        description.lStructSize = sizeof(description);
        description.hwndOwner = static_cast<HWND>(request.owner);
        // An empty list is no list: the dialog is told of no file types rather than handed a
        // list whose first entry is missing.
        if (request.filter[0] != u'\0') description.lpstrFilter = ko::AsWide(request.filter);
        description.nFilterIndex = 1;
        description.lpstrFile = ko::AsWide(request.file);
        description.nMaxFile = kFileNameUnits;
        description.lpstrTitle = ko::AsWide(request.title);
        description.Flags = request.flags;
        if (!GetOpenFileNameW(&description)) return false;
        request.fileOffset = description.nFileOffset;
        return true;
    }
};

}  // namespace

OpenFileDialog& SystemOpenFileDialog() {
    static SystemDialog dialog;
    return dialog;
}

}  // namespace kestrel::app

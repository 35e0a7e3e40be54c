#include "kestrel/app/open_file_dialog_win32.h"

#include <windows.h>

#include <commdlg.h>

#include "common/current_directory.h"
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
        // The dialog leaves the current directory in the chosen file's folder, and
        // OFN_NOCHANGEDIR does not stop that for this dialog. A relative path (a path box's,
        // one from the command line) keeps meaning what it meant before when it is put back.
        const std::u16string current_directory = ko::ReadCurrentDirectory();
        const BOOL chosen = GetOpenFileNameW(&description);
        ko::ChangeCurrentDirectory(current_directory);
        if (!chosen) return false;
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

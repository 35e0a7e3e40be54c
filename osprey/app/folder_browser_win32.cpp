#include "osprey/app/folder_browser_win32.h"

#include <shlobj.h>

#include "common/win32_text.h"

namespace osprey::app {

namespace {

// Opens the browser on the folder handed over in `data` once it is up. The folder is asked for
// twice: Wine's browser, the first time it walks its tree to a folder in a process, often stops
// short of it and the second walk finds it; on Windows the second request changes nothing.
int CALLBACK PreselectFolder(HWND browser, UINT message, LPARAM, LPARAM data) {
    if (message != BFFM_INITIALIZED) return 0;
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

constexpr DWORD kLongestPath = 32768;

class ShellFolderBrowser final : public FolderBrowser {
  public:
    std::optional<std::u16string> Browse(std::u16string_view initialFolder) override {
        const std::wstring initial = ko::ToWide(initialFolder);
        wchar_t display_name[MAX_PATH] = {};
        BROWSEINFOW info{};
        info.pszDisplayName = display_name;
        info.lpszTitle = L"フォルダを選択";
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        info.lpfn = PreselectFolder;
        info.lParam = reinterpret_cast<LPARAM>(initial.c_str());
        PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
        if (!chosen) return std::nullopt;
        // Room for the longest path, as a folder past 259 characters can be chosen where the
        // system allows long paths.
        std::wstring path(kLongestPath, L'\0');
        const BOOL converted =
            SHGetPathFromIDListEx(chosen, path.data(), kLongestPath, GPFIDL_DEFAULT);
        CoTaskMemFree(chosen);
        if (!converted || path[0] == L'\0') return std::nullopt;
        return ko::ToU16(path.c_str());
    }
};

}  // namespace

bool ChooseFolder(int side) {
    OspreyApp& app = App();
    std::optional<std::u16string> chosen =
        app.services.folderBrowser->Browse(app.comparison.folderPath[side]);
    if (!chosen) return false;
    TakeFolder(side, *chosen);
    return true;
}

void TakeFolder(int side, std::u16string_view folder) {
    OspreyApp& app = App();
    app.comparison.folderPath[side] = folder;
    SetWindowTextW(app.window.pathBox[side], ko::AsWide(app.comparison.folderPath[side].c_str()));
}

FolderBrowser& SystemFolderBrowser() {
    static ShellFolderBrowser browser;
    return browser;
}

}  // namespace osprey::app

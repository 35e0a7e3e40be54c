// The real open-file dialog, driven the way a user would: it opens with the selected group's
// first pattern and its file types, takes a typed path and hands it back.
#include "common/win32_text.h"
#include "kestrel/app/app_state_win32.h"
#include "kestrel/app/open_file_dialog_win32.h"
#include "resources/kestrel_resource.h"
#include "tests/kestrel_app/window_fixture.h"

namespace kestrel::app::testing {
namespace {

std::u16string ControlText(HWND control) {
    wchar_t text[1024] = {};
    GetWindowTextW(control, text, 1024);
    return ko::ToU16(text);
}

// The file-name field: a combo box on Windows (cmb13), an edit box on Wine (edt1).
HWND FileNameField(HWND dialog) {
    HWND field = GetDlgItem(dialog, 0x47c);
    return field != nullptr ? field : GetDlgItem(dialog, 0x480);
}

using RealFileDialog = KestrelWindowTest;

TEST_F(RealFileDialog, OpensWithThePatternAndReturnsATypedPath) {
    ASSERT_NE(Create(), nullptr);
    App().services.fileDialog = &SystemOpenFileDialog();
    const std::u16string chosen = WriteFile("chosen.cpp", "int main() {}\r\n");
    std::u16string initial_name;
    DriveModalLoop([&] {
        HWND dialog = FindDialog(L"ファイルＡの選択");
        if (dialog == nullptr || FileNameField(dialog) == nullptr) return false;
        initial_name = ControlText(FileNameField(dialog));
        SetWindowTextW(FileNameField(dialog), ko::AsWide(chosen.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        return true;
    });
    Command(IDM_OPEN_FILE_A);
    EXPECT_EQ(initial_name, u"*.cpp");
    EXPECT_EQ(PathBox(0), chosen);
    EXPECT_EQ(App().engine.sides[0].lineCount, 2);
    EXPECT_EQ(std::u16string(App().settings.fileA_folder_select), Folder() + u"\\");
    EXPECT_TRUE(reporter_.shown.empty());
}

TEST_F(RealFileDialog, CancellingLeavesTheBoxAndFolderAsTheyWere) {
    ASSERT_NE(Create(), nullptr);
    App().services.fileDialog = &SystemOpenFileDialog();
    const std::u16string before(App().settings.fileB_folder_select);
    const std::u16string loaded = WriteFile("kept.txt", "kept\r\n");
    SetPathBox(1, loaded);
    DriveModalLoop([&] {
        HWND dialog = FindDialog(L"ファイルＢの選択");
        if (dialog == nullptr) return false;
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return true;
    });
    Command(IDM_OPEN_FILE_B);
    EXPECT_EQ(PathBox(1), loaded);
    EXPECT_EQ(App().engine.sides[1].lineCount, 2);  // what the box held was loaded again
    EXPECT_EQ(std::u16string(App().settings.fileB_folder_select), before);
}

}  // namespace
}  // namespace kestrel::app::testing

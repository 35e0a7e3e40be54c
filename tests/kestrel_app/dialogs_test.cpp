// Kestrel's dialogs run for real over its main window: the settings dialog with the extension
// group editor, and the system's open-file dialog.
#include <gmock/gmock.h>

#include "common/win32_text.h"
#include "kestrel/app/open_file_dialog_win32.h"
#include "kestrel/app/settings_dialog_win32.h"
#include "tests/kestrel_app/kestrel_window.h"

namespace kestrel::app::testing {
namespace {

using ko::testing::Choose;
using ko::testing::ItemText;
using ko::testing::Press;
using ko::testing::Step;
using ko::testing::Type;

class SettingsDialog : public KestrelWindow {
  protected:
    void SetUp() override {
        KestrelWindow::SetUp();
        ASSERT_NE(Create(), nullptr);
    }
    // Runs the dialog over the main window with `steps`.
    void Run(std::vector<Step> steps) {
        EXPECT_EQ(
            ko::testing::WithDialog(
                window, [&] { return RunSettingsDialog(window, settings, restart, reporter); },
                std::move(steps)),
            1);
    }
    // Presses the group selector's button and returns the editor it opened.
    static HWND OpenEditor(HWND dialog) {
        Press(dialog, IDC_SETTINGS_EDIT_GROUPS);
        const std::vector<HWND> editors = ko::testing::DialogsOwnedBy(dialog);
        return editors.empty() ? nullptr : editors.front();
    }
    std::u16string ItemName(int row) const { return settings.groups[row].itemName; }
    ko::Settings settings;
    int restart = 0;
};

// Each number is read from its own count of characters and clamped to its range with one
// message; every change of a size asks for a restart, and the row pitch follows at once.
TEST_F(SettingsDialog, NumbersAreReadFromTheirFirstCharactersAndClampedEachWithOneMessage) {
    const struct {
        std::vector<std::pair<int, std::u16string_view>> typed;
        int columns, rows, font;
        std::size_t messages;
    } cases[] = {
        {{{IDC_SETTINGS_COLUMNS, u"2048"}}, 1024, 8192, 12, 1},
        {{{IDC_SETTINGS_ROWS, u"123456"}}, 512, 12345, 12, 0},
        {{{IDC_SETTINGS_FONT_HEIGHT, u"100"}}, 512, 8192, 10, 0},
        {{{IDC_SETTINGS_FONT_HEIGHT, u"-5"}}, 512, 8192, 6, 1},
        {{{IDC_SETTINGS_COLUMNS, u"9"},
          {IDC_SETTINGS_ROWS, u"99999"},
          {IDC_SETTINGS_FONT_HEIGHT, u""}},
         64,
         65536,
         6,
         3},
    };
    for (const auto& c : cases) {
        settings = ko::Settings{};
        reporter.shown.clear();
        restart = 0;
        HWND shown = nullptr;
        Run({[&](HWND dialog) {
            shown = dialog;
            for (const auto& [id, text] : c.typed)
                Type(dialog, id, text);
            Press(dialog, IDC_SETTINGS_OK);
        }});
        EXPECT_EQ(reporter.shown,
                  std::vector(c.messages, ko::testing::ShownMessage{
                                              shown, u"Input value out of specified range",
                                              u"Setting error", 0x10}));
        EXPECT_EQ(std::vector({settings.dtxlength_max, settings.dtylength_max,
                               settings.draw_font_height, settings.rowPitch, restart}),
                  std::vector({c.columns, c.rows, c.font, c.font + 2, 1}));
    }
}

// The dialog opens on the current values (one the lists lack shows as the first group and an
// empty newline field); only Enter or OK stores, and choosing a group or a newline code asks for
// no restart.
TEST_F(SettingsDialog, OpensWithTheCurrentValuesWhichOnlyEnterOrOkReplace) {
    settings.kaimode = 5;
    settings.failExt_no = 7;
    const Step closers[] = {
        [](HWND dialog) { Press(dialog, IDC_SETTINGS_CANCEL); },
        [](HWND dialog) { ko::testing::PressKey(dialog, VK_ESCAPE); },
        ko::testing::CloseBox,
        [](HWND dialog) {
            SetFocus(GetDlgItem(dialog, IDC_SETTINGS_ROWS));
            ko::testing::PressKey(dialog, VK_RETURN);
        },
    };
    for (const Step& close : closers) {
        EXPECT_EQ(std::vector({settings.failExt_no, settings.kaimode}), std::vector({7, 5}));
        Run({[&](HWND dialog) {
            EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_ROWS), u"8192");
            EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_GROUP_NUMBER), u"0000");
            EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_NEWLINE), u"");
            // Arrow keys in the combo box's field name the group at once.
            SendMessageW(GetWindow(GetDlgItem(dialog, IDC_SETTINGS_GROUP_NUMBER), GW_CHILD),
                         WM_KEYDOWN, VK_DOWN, 0);
            EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_GROUP_NAME), u"テキスト");
            Type(dialog, IDC_SETTINGS_GROUP_NUMBER, u"9");  // a number no row carries
            EXPECT_EQ(ItemText(dialog, IDC_SETTINGS_GROUP_NAME), u"");
            Choose(dialog, IDC_SETTINGS_NEWLINE, 2);
            close(dialog);
        }});
    }
    EXPECT_EQ(std::vector({settings.failExt_no, settings.kaimode, restart}),
              std::vector({9, 2, 0}));
    EXPECT_TRUE(reporter.shown.empty());
}

// Posts a key to the window with the focus, as the keyboard would.
void PostKey(WPARAM key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0);
}

// Every editor keeps its own row and stores it on OK, even when the dialog is then cancelled;
// editors take Tab, Enter and Escape inside the dialog's loop and close with it, unstored.
TEST_F(SettingsDialog, EachEditorStoresItsOwnRowAndOpenOnesCloseWithTheDialog) {
    HWND first = nullptr, second = nullptr;
    Run({[&](HWND dialog) {
             first = OpenEditor(dialog);
             for (int i = 0; i < 5; ++i)
                 Press(first, IDC_GROUP_EDITOR_NEXT);
             second = OpenEditor(dialog);
             EXPECT_EQ(ItemText(second, IDC_GROUP_EDITOR_POSITION), u"01/32");
             Press(second, IDC_GROUP_EDITOR_NEXT);
             Type(first, IDC_GROUP_EDITOR_ITEM_NAME, u"five");
             Type(second, IDC_GROUP_EDITOR_GROUP_NO, u"250");
             SetFocus(GetDlgItem(second, IDC_GROUP_EDITOR_GROUP_NO));
             PostKey(VK_TAB);
         },
         [&](HWND) {
             EXPECT_EQ(GetFocus(), GetDlgItem(second, IDC_GROUP_EDITOR_ITEM_NAME));
             Type(second, IDC_GROUP_EDITOR_ITEM_NAME, u"by keyboard");
             PostKey(VK_RETURN);
         },
         [&](HWND dialog) {
             EXPECT_FALSE(IsWindow(second));
             EXPECT_EQ(ItemText(first, IDC_GROUP_EDITOR_POSITION), u"06/32");
             Press(first, IDC_GROUP_EDITOR_OK);
             second = OpenEditor(dialog);
             Type(second, IDC_GROUP_EDITOR_ITEM_NAME, u"escaped");
             PostKey(VK_ESCAPE);
         },
         [&](HWND dialog) {
             EXPECT_FALSE(IsWindow(second));
             second = OpenEditor(dialog);
             Type(second, IDC_GROUP_EDITOR_ITEM_NAME, u"lost");
             Press(dialog, IDC_SETTINGS_CANCEL);
         }});
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(ItemName(0), u"ソースファイル");
    EXPECT_EQ(ItemName(1), u"by keyboard");
    EXPECT_EQ(settings.groups[1].groupNo, 250);
    EXPECT_EQ(ItemName(5), u"five");
    Run({[](HWND dialog) {  // the selector lists the renumbered group from the next opening on
        EXPECT_EQ(ko::testing::EntriesOf(dialog, IDC_SETTINGS_GROUP_NUMBER)[1], u"0250");
        Press(dialog, IDC_SETTINGS_CANCEL);
    }});
}

// The file-name field: a combo box on Windows (cmb13), an edit box on Wine (edt1).
HWND FileNameField(HWND dialog) {
    const HWND field = GetDlgItem(dialog, 0x47c);
    return field != nullptr ? field : GetDlgItem(dialog, 0x480);
}

TEST_F(KestrelWindow, TheRealFileDialogOpensOnThePatternAndHandsBackATypedPathOrNothing) {
    ASSERT_NE(Create(), nullptr);
    App().services.fileDialog = &SystemOpenFileDialog();
    const std::u16string chosen = Write("chosen.cpp", "int main() {}\r\n");
    std::u16string initial;
    ko::testing::WithDialog(window, [&] { return Command(IDM_OPEN_FILE_A); }, {[&](HWND dialog) {
                                initial = ko::testing::TextOf(FileNameField(dialog));
                                SetWindowTextW(FileNameField(dialog), ko::AsWide(chosen.c_str()));
                                PostMessageW(dialog, WM_COMMAND, IDOK, 0);
                            }});
    EXPECT_EQ(initial, u"*.cpp");
    EXPECT_EQ(Item(IDC_PATH_A), chosen);
    EXPECT_EQ(App().engine.sides[0].lineCount, 2);
    EXPECT_EQ(std::u16string(App().settings.fileA_folder_select), Folder() + u"\\");

    const std::u16string remembered(App().settings.fileB_folder_select);
    SetItem(IDC_PATH_B, chosen);
    ko::testing::WithDialog(window, [&] { return Command(IDM_OPEN_FILE_B); },
                            {[](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }});
    EXPECT_EQ(Item(IDC_PATH_B), chosen);
    EXPECT_EQ(App().engine.sides[1].lineCount, 2);  // what the box held was loaded again
    EXPECT_EQ(std::u16string(App().settings.fileB_folder_select), remembered);
    EXPECT_TRUE(reporter.shown.empty());
}

}  // namespace
}  // namespace kestrel::app::testing

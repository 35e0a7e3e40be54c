// The about box, the manual, the settings dialog with its group selector and editor, and the
// settings file the window leaves behind.
#include <gmock/gmock.h>

#include "common/program_shell_win32.h"
#include "common/text.h"
#include "osprey/app/main_window_win32.h"
#include "osprey/app/settings_dialog_win32.h"
#include "resources/osprey_resource.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/osprey_app/osprey_window_fixture.h"

namespace osprey::app::testing {
namespace {

using ko::testing::Choose;
using ko::testing::CloseBox;
using ko::testing::EntriesOf;
using ko::testing::Press;
using ko::testing::TextOf;
using ko::testing::TitleOf;
using ko::testing::Type;
using ::testing::Contains;
using ::testing::ElementsAre;

TEST_F(OspreyWindowTest, AboutBoxShowsWhatTheProgramIsAndEndsOnlyByItsButtonOrCloseBox) {
    OpenWindow();
    std::vector<std::u16string> texts;
    std::u16string title;
    WhenDialogShows(
        window,
        [&] {
            Command(IDM_ABOUT);
            return INT_PTR{0};
        },
        [&](HWND dialog) {
            title = TitleOf(dialog);
            texts = StaticTexts(dialog);
            // Enter and Esc leave it open.
            ko::testing::PressKey(dialog, VK_RETURN);
            ko::testing::PressKey(dialog, VK_ESCAPE);
            EXPECT_FALSE(IsWindowEnabled(window));
            Press(dialog, IDC_ABOUT_CLOSE);
        });
    EXPECT_EQ(title, u"このソフトについて");
    EXPECT_THAT(
        texts,
        ElementsAre(u"ソフト名：フォルダ単位のファイル比較ソフト", u"ファイル名：Osprey Ver1.00",
                    u"簡単な説明", u"２つフォルダ内のファイルを比較します",
                    u"一致なら〇不一致なら×印を付けます",
                    u"詳細に比較するなら個別比較で文字単位で比較", u"2023-May～2023-Novenber"));
    EXPECT_TRUE(IsWindowEnabled(window));

    EXPECT_EQ(
        WhenDialogShows(
            window,
            [&] { return ko::RunAboutBox(App().instance, window, kAboutBoxIds, kMainWindowTitle); },
            [](HWND dialog) { Press(dialog, IDC_ABOUT_CLOSE); }),
        1);
    EXPECT_EQ(
        WhenDialogShows(
            window,
            [&] { return ko::RunAboutBox(App().instance, window, kAboutBoxIds, kMainWindowTitle); },
            [](HWND dialog) { CloseBox(dialog); }),
        0);
}

TEST_F(OspreyWindowTest, MissingManualIsReportedByName) {
    OpenWindow();
    Command(IDM_MANUAL);
    ASSERT_EQ(reporter.shown.size(), 1u);
    EXPECT_EQ(reporter.shown[0].text, u"Osprey_manual.pdfが見つかりません。");
    EXPECT_EQ(reporter.shown[0].caption, u"残念！");
    EXPECT_EQ(reporter.shown[0].style, 0u);
    EXPECT_EQ(reporter.shown[0].owner, window);
}

TEST_F(OspreyWindowTest, ExitCommandClosesTheWindowAndLeavesTheSettingsFile) {
    OpenWindow();
    const std::u16string a = MakeFolder("a", {{"a.cpp", "1"}});
    ChooseFolder(kSideA, a);
    Command(IDM_EXIT);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(SettingsFileHas(u"[Setting]\r\nfileA_folder_select=" + a + u"\r\n"));
    EXPECT_TRUE(
        SettingsFileHas(u"\r\nfileB_folder_select=" + startupDirectory.u16string() + u"\\\r\n"));
    EXPECT_TRUE(SettingsFileHas(u"\r\nfiletype[31].ft2=*.*\r\n"));
    EXPECT_TRUE(SettingsFileHas(u"\r\nfailExt_no=0\r\n"));
    // Kestrel's keys belong to its own file, and subAppName is only ever written by hand.
    for (const char16_t* key :
         {u"dtxlength_max", u"dtylength_max", u"draw_font_height", u"kaimode", u"subAppName"})
        EXPECT_FALSE(SettingsFileHas(key)) << ko::Utf16ToUtf8(key);
}

class SettingsDialogTest : public OspreyWindowTest {
  protected:
    // Opens the dialog by the menu and runs `steps` on it; returns nothing the menu would not.
    void RunFromMenu(const std::function<void(HWND)>& steps) {
        WhenDialogShows(
            window,
            [&] {
                Command(IDM_SETTINGS);
                return INT_PTR{0};
            },
            steps);
    }

    // Runs the dialog over a plain owner and returns its result.
    INT_PTR RunDirectly(const std::function<void(HWND)>& step) {
        return driver.RunModal(
            [&] { return RunSettingsDialog(driver.owner(), App().settings, reporter); }, {step});
    }

    int ListedAfterScan(const std::vector<std::pair<std::string, std::string>>& files) {
        ChooseFolder(kSideA, MakeFolder("scan", files));
        return RowCount(kSideA);
    }

    ko::testing::DialogDriver driver;
};

TEST_F(SettingsDialogTest, OpensOnTheSelectedGroupAndOkWithoutChangeKeepsIt) {
    OpenWindow();
    RunFromMenu([&](HWND dialog) {
        EXPECT_EQ(TitleOf(dialog), u"環境設定");
        const std::vector<std::u16string> entries = EntriesOf(dialog, IDC_SETTINGS_GROUP_NUMBER);
        ASSERT_EQ(entries.size(), 30u);
        EXPECT_EQ(entries[0], u"0000");
        EXPECT_EQ(entries[1], u"0001");
        EXPECT_EQ(entries[2], u"0104");
        EXPECT_EQ(entries[29], u"0131");
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NUMBER), u"0000");
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NAME), u"ソースファイル");
        EXPECT_THAT(StaticTexts(dialog), Contains(u"ファイル検索時の拡張子グループの選択"));
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_EDIT_GROUPS), u"拡張子グループの設定");
        // 150 x 110 dialog units.
        RECT expected{0, 0, 150, 110};
        MapDialogRect(dialog, &expected);
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, expected.right);
        EXPECT_EQ(client.bottom, expected.bottom);
        Press(dialog, IDC_SETTINGS_OK);
    });
    EXPECT_EQ(App().settings.failExt_no, 0);
    EXPECT_EQ(ListedAfterScan({{"a.cpp", ""}, {"b.txt", ""}}), 1);
}

TEST_F(SettingsDialogTest, ChosenGroupDecidesTheNextScan) {
    OpenWindow();
    const std::u16string first = MakeFolder("first", {{"a.cpp", ""}, {"b.txt", ""}});
    ChooseFolder(kSideA, first);
    RunFromMenu([](HWND dialog) {
        Choose(dialog, IDC_SETTINGS_GROUP_NUMBER, 1);
        EXPECT_EQ(TextOf(dialog, IDC_SETTINGS_GROUP_NAME), u"テキスト");
        Press(dialog, IDC_SETTINGS_OK);
    });
    EXPECT_EQ(App().settings.failExt_no, 1);
    // Lists already shown stay until the next scan.
    EXPECT_THAT(Column(kSideA, 0), ElementsAre(u"a.cpp"));
    EXPECT_EQ(ListedAfterScan({{"a.cpp", ""}, {"b.txt", ""}, {"c.txt", ""}}), 2);
    EXPECT_THAT(Column(kSideA, 1), ElementsAre(u"*.txt", u"*.txt"));
}

TEST_F(SettingsDialogTest, TypedGroupNumberWithoutRowsIsStoredAndTheNextScanListsNothing) {
    OpenWindow();
    RunFromMenu([](HWND dialog) {
        Type(dialog, IDC_SETTINGS_GROUP_NUMBER, u"7");
        Press(dialog, IDC_SETTINGS_OK);
    });
    EXPECT_EQ(App().settings.failExt_no, 7);
    EXPECT_EQ(ListedAfterScan({{"a.cpp", ""}, {"b.txt", ""}}), 0);
    EXPECT_EQ(StatusFields()[1], u"Aファイル数=0");
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(SettingsDialogTest, CancelAndTheCloseBoxStoreNothingAndEveryWayOutReturnsOne) {
    OpenWindow();
    EXPECT_EQ(RunDirectly([](HWND dialog) {
                  Choose(dialog, IDC_SETTINGS_GROUP_NUMBER, 1);
                  Press(dialog, IDC_SETTINGS_CANCEL);
              }),
              1);
    EXPECT_EQ(RunDirectly([](HWND dialog) {
                  Choose(dialog, IDC_SETTINGS_GROUP_NUMBER, 1);
                  CloseBox(dialog);
              }),
              1);
    EXPECT_EQ(App().settings.failExt_no, 0);
    EXPECT_EQ(RunDirectly([](HWND dialog) {
                  Choose(dialog, IDC_SETTINGS_GROUP_NUMBER, 2);
                  Press(dialog, IDC_SETTINGS_OK);
              }),
              1);
    EXPECT_EQ(App().settings.failExt_no, 104);
}

TEST_F(SettingsDialogTest, EditorOpensWithOspreysControlsAndItsRowCountsFromTheNextScan) {
    OpenWindow();
    RunFromMenu([](HWND dialog) {
        Press(dialog, IDC_SETTINGS_EDIT_GROUPS);
        const std::vector<HWND> editors = ko::testing::DialogsOwnedBy(dialog);
        ASSERT_EQ(editors.size(), 1u);
        const HWND editor = editors[0];
        EXPECT_EQ(TitleOf(editor), u"検索の拡張子の設定");
        EXPECT_EQ(TextOf(editor, IDC_GROUP_EDITOR_POSITION), u"01/32");
        Press(editor, IDC_GROUP_EDITOR_NEXT);
        Press(editor, IDC_GROUP_EDITOR_NEXT);
        Press(editor, IDC_GROUP_EDITOR_NEXT);
        EXPECT_EQ(TextOf(editor, IDC_GROUP_EDITOR_POSITION), u"04/32");
        EXPECT_EQ(TextOf(editor, IDC_GROUP_EDITOR_GROUP_NO), u"1");
        EXPECT_EQ(TextOf(editor, IDC_GROUP_EDITOR_ITEM_NAME), u"テキスト");
        EXPECT_EQ(TextOf(editor, IDC_GROUP_EDITOR_DISPLAY_TEXT), u"txtFile(*.txt)");
        Type(editor, IDC_GROUP_EDITOR_GROUP_NO, u"0");
        Type(editor, IDC_GROUP_EDITOR_SEARCH_PATTERN, u"*.md");
        Press(editor, IDC_GROUP_EDITOR_OK);
        EXPECT_FALSE(IsWindow(editor));
        Press(dialog, IDC_SETTINGS_CANCEL);  // the editor's row is stored all the same
    });
    EXPECT_EQ(App().settings.groups[3].groupNo, 0);
    EXPECT_EQ(ListedAfterScan({{"a.cpp", ""}, {"b.md", ""}, {"c.txt", ""}}), 2);
    EXPECT_THAT(Column(kSideA, 1), ElementsAre(u"*.cpp", u"*.md"));
}

}  // namespace
}  // namespace osprey::app::testing

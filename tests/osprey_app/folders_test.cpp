// Choosing folders, comparing and restoring, and the marks of the chosen rows, as the list views
// and the status bar show them.
#include <gmock/gmock.h>

#include <regex>

#include "common/text.h"
#include "osprey/app/list_views_win32.h"
#include "tests/osprey_app/osprey_window.h"

namespace osprey::app::testing {
namespace {

using ::testing::ElementsAre;

TEST_F(OspreyWindow, StartsAcrossTheScreenWithTheSettingsFoldersEmptyListsAndZeroCounters) {
    ko::Settings settings;
    const std::u16string a = MakeFolder("left", {}), b = MakeFolder("right", {});
    a.copy(settings.fileA_folder_select, a.size());
    b.copy(settings.fileB_folder_select, b.size());
    ko::SaveSettings(ko::Program::kOsprey, Folder(), settings);
    Open();
    RECT frame{};
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(frame.bottom, GetSystemMetrics(SM_CYSCREEN) - 48);
    EXPECT_EQ(Item(IDC_PATH_A), a + u"\\");  // a stored folder comes back with a separator
    EXPECT_EQ(Item(IDC_PATH_B), b + u"\\");
    EXPECT_EQ(RowCount(kSideA) + RowCount(kSideB), 0);  // nothing is scanned at start-up
    EXPECT_THAT(Status(),
                ElementsAre(u"照合前", u"Aファイル数=0", u"Bファイル数=0", u"対象ファイル数=0",
                            u"ファイル一致数=0", u"ファイル不一致数=0"));
    EXPECT_TRUE(reporter.shown.empty());
}

// Rows: equal.cpp (equal pair), differ.h (differing pair), onlyA.rc, onlyB.rc. Each name is the
// only match of its pattern on its side, so the search order cannot change the rows.
class FolderCommands : public OspreyWindow {
  protected:
    void SetUp() override {
        OspreyWindow::SetUp();
        folderA = MakeFolder(
            "a", {{"equal.cpp", "same"}, {"differ.h", "left"}, {"onlyA.rc", "1"}, {"x.txt", ""}});
        folderB =
            MakeFolder("b", {{"equal.cpp", "same"}, {"differ.h", "right!"}, {"onlyB.rc", "22"}});
        Open();
    }
    void ChooseBoth() {
        ChooseFolder(kSideA, folderA);
        ChooseFolder(kSideB, folderB);
    }
    void ExpectRows(std::vector<std::u16string> marks, std::vector<LPARAM> pictures) const {
        for (int side : {kSideA, kSideB}) {
            EXPECT_EQ(Column(side, 4), marks);
            EXPECT_EQ(Items(side, LVIF_IMAGE), pictures);
        }
    }
    std::u16string folderA, folderB;
};

TEST_F(FolderCommands, FoldersArePairedComparedAndRestoredWithPicturesAndCounters) {
    ChooseFolder(kSideA, folderA);  // folder A alone: its files one-sided on both sides
    EXPECT_THAT(browser.openedOn, ElementsAre(Folder() + u"\\"));
    EXPECT_THAT(Column(kSideA, 1), ElementsAre(u"*.cpp", u"*.h", u"*.rc"));
    EXPECT_THAT(Column(kSideA, 2), ElementsAre(u"4", u"4", u"1"));
    EXPECT_TRUE(std::regex_match(ko::Utf16ToUtf8(Cell(kSideA, 0, 3)),
                                 std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d)")));
    ExpectRows({u"非対称", u"非対称", u"非対称"}, {3, 3, 3});
    EXPECT_EQ(GetFocus(), window);
    browser.answers = {folderB};
    Command(IDC_SELECT_B);  // the buttons run the folder sequence as the menu does
    EXPECT_THAT(Column(kSideA, 0), ElementsAre(u"equal.cpp", u"differ.h", u"onlyA.rc", u""));
    EXPECT_THAT(Column(kSideB, 0), ElementsAre(u"equal.cpp", u"differ.h", u"", u"onlyB.rc"));
    EXPECT_THAT(Items(kSideB, LVIF_PARAM), ElementsAre(0, 1, 2, 3));
    ExpectRows({u"比較前", u"比較前", u"非対称", u"非対称"}, {0, 0, 3, 3});
    EXPECT_THAT(Status(),
                ElementsAre(u"照合前", u"Aファイル数=3", u"Bファイル数=3", u"対象ファイル数=2",
                            u"ファイル一致数=0", u"ファイル不一致数=0"));
    Command(IDM_COMPARE);
    ExpectRows({u"一致", u"不一致", u"非対称", u"非対称"}, {1, 2, 3, 3});
    EXPECT_THAT(Status(),
                ElementsAre(u"照合後", u"Aファイル数=3", u"Bファイル数=3", u"対象ファイル数=2",
                            u"ファイル一致数=1", u"ファイル不一致数=1"));
    Command(IDM_RESTORE);
    ExpectRows({u"比較前", u"比較前", u"非対称", u"非対称"}, {0, 0, 3, 3});
    EXPECT_EQ(Status()[0] + Status()[4], u"照合前ファイル一致数=0");
    Command(IDM_COMPARE);
    ChooseFolder(kSideB, folderB);  // a new scan resets the rows but not the compare flag
    ExpectRows({u"比較前", u"比較前", u"非対称", u"非対称"}, {0, 0, 3, 3});
    EXPECT_EQ(Status()[0], u"照合後");
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(FolderCommands, ACancelledBrowserKeepsEverythingAndTypedPathsCountFromTheNextScan) {
    ChooseBoth();
    Command(IDM_COMPARE);
    const std::u16string other = MakeFolder("c", {{"equal.cpp", "other"}});
    SetItem(IDC_PATH_A, other);
    browser.answers.push_back(std::nullopt);
    Command(IDM_FOLDER_B);
    EXPECT_EQ(App().comparison.folderPath[kSideA], folderA);
    ExpectRows({u"一致", u"不一致", u"非対称", u"非対称"}, {1, 2, 3, 3});
    EXPECT_EQ(Status()[5], u"ファイル不一致数=1");

    // Side A's list is from the old folder, but its files are now looked for in the typed one.
    ChooseFolder(kSideB, folderB);
    EXPECT_EQ(App().comparison.folderPath[kSideA], other);
    Command(IDM_COMPARE);
    EXPECT_THAT(Column(kSideA, 4), ElementsAre(u"不一致", u"比較前", u"非対称", u"非対称"));
    ASSERT_EQ(reporter.shown.size(), 1u);  // differ.h is not in the typed folder
    EXPECT_EQ(reporter.shown[0].caption, u"FileOpenError1");
    EXPECT_EQ(reporter.shown[0].owner, window);
}

TEST_F(OspreyWindow, RefillShowsEveryRowInOrderAndAnUnknownStatusAsError) {
    Open();
    FolderComparison& comparison = App().comparison;
    // More rows than two full file lists give, as names listed twice on both sides can.
    for (int i = 0; i < 600; ++i) {
        const std::int32_t status = i == 5 ? 7 : i == 6 ? kFreeRow : kPairedEqual;
        const std::u16string name = ko::Format(u"f%d.cpp", {i});
        for (auto& pairs : comparison.pairs)
            pairs.push_back({status, name, u"*.cpp", u"1", u""});
    }
    RefillListViews();
    ASSERT_EQ(RowCount(kSideA), 599);
    const std::vector<LPARAM> data = Items(kSideA, LVIF_PARAM);
    EXPECT_EQ(data[6], 7);  // the free row 6 is not shown
    EXPECT_EQ(data.back(), 599);
    EXPECT_EQ(Cell(kSideA, 5, 4), u"エラー");
    EXPECT_EQ(Items(kSideB, LVIF_IMAGE)[5], -2);  // no picture
}

// A click marks the row it hits and unmarks the rest of that list; keys move the selection
// only. Clicks arrive through the message queue, as the user's would.
TEST_F(FolderCommands, AClickedRowStaysMarkedWhileTheUserChoosesInTheOtherList) {
    ChooseBoth();
    constexpr UINT kMarks = LVIS_FOCUSED | LVIS_SELECTED | LVIS_DROPHILITED;
    auto click = [&](int side, int row) {
        RECT bounds{};
        bounds.left = LVIR_LABEL;
        ASSERT_TRUE(
            SendMessageW(List(side), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds)));
        const LPARAM point =
            MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
        PostMessageW(List(side), WM_LBUTTONDOWN, MK_LBUTTON, point);
        PostMessageW(List(side), WM_LBUTTONUP, 0, point);
        ko::testing::PumpMessages();
    };
    click(kSideA, 1);
    click(kSideB, 2);
    EXPECT_EQ(State(kSideA, 1, kMarks), kMarks);
    EXPECT_EQ(State(kSideA, 0, kMarks) | State(kSideA, 2, kMarks), 0u);
    EXPECT_EQ(State(kSideB, 2, kMarks), kMarks);

    SendMessageW(List(kSideA), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(List(kSideA), WM_KEYUP, VK_DOWN, 0);
    ko::testing::PumpMessages();
    EXPECT_EQ(State(kSideA, 2, LVIS_SELECTED | LVIS_DROPHILITED), UINT{LVIS_SELECTED});
    EXPECT_EQ(State(kSideA, 1, LVIS_DROPHILITED), UINT{LVIS_DROPHILITED});
    click(kSideA, 3);
    EXPECT_EQ(State(kSideA, 1, kMarks) | State(kSideA, 2, kMarks), 0u);
    EXPECT_EQ(State(kSideA, 3, kMarks), kMarks);
}

}  // namespace
}  // namespace osprey::app::testing

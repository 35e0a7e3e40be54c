// Choosing folders, comparing and restoring, as the list views and the status bar show them.
#include <windows.h>

#include <commctrl.h>

#include <regex>

#include <gmock/gmock.h>

#include "common/text.h"
#include "osprey/app/list_views_win32.h"
#include "resources/osprey_resource.h"
#include "tests/osprey_app/osprey_window_fixture.h"

namespace osprey::app::testing {
namespace {

using ::testing::ElementsAre;

// Rows: equal.cpp (equal pair), differ.h (differing pair), onlyA.rc (side A only),
// onlyB.rc (side B only). Each name is the only match of its pattern on its side, so the
// search order cannot change the rows.
class FolderCommandsTest : public OspreyWindowTest {
  protected:
    void SetUp() override {
        OspreyWindowTest::SetUp();
        folderA = MakeFolder("a", {{"equal.cpp", "same"},
                                   {"differ.h", "left"},
                                   {"onlyA.rc", "1"},
                                   {"notes.txt", "not listed"}});
        folderB =
            MakeFolder("b", {{"equal.cpp", "same"}, {"differ.h", "right!"}, {"onlyB.rc", "22"}});
        OpenWindow();
    }

    void ChooseBoth() {
        ChooseFolder(kSideA, folderA);
        ChooseFolder(kSideB, folderB);
    }

    std::u16string folderA;
    std::u16string folderB;
};

TEST_F(FolderCommandsTest, ChoosingFolderAAloneListsItsFilesAsOneSidedRowsOnBothSides) {
    ChooseFolder(kSideA, folderA);

    // The browser opened on side A's folder, the start-up directory by default.
    ASSERT_EQ(browser.openedOn.size(), 1u);
    EXPECT_EQ(browser.openedOn[0], startupDirectory.u16string() + u"\\");
    EXPECT_EQ(PathBoxText(kSideA), folderA);
    ASSERT_EQ(RowCount(kSideA), 3);
    const std::vector<std::u16string> first = RowTexts(kSideA, 0);
    EXPECT_EQ(first[0], u"equal.cpp");
    EXPECT_EQ(first[1], u"*.cpp");
    EXPECT_EQ(first[2], u"4");
    EXPECT_TRUE(
        std::regex_match(ko::Utf16ToUtf8(first[3]), std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d)")))
        << ko::Utf16ToUtf8(first[3]);
    EXPECT_EQ(first[4], u"非対称");
    EXPECT_THAT(Column(kSideA, 0), ElementsAre(u"equal.cpp", u"differ.h", u"onlyA.rc"));
    EXPECT_THAT(Column(kSideA, 1), ElementsAre(u"*.cpp", u"*.h", u"*.rc"));
    EXPECT_THAT(Images(kSideA), ElementsAre(3, 3, 3));

    // The right list shows the empty halves with the same status text and picture.
    ASSERT_EQ(RowCount(kSideB), 3);
    EXPECT_THAT(RowTexts(kSideB, 1), ElementsAre(u"", u"", u"", u"", u"非対称"));
    EXPECT_THAT(Images(kSideB), ElementsAre(3, 3, 3));
    EXPECT_THAT(StatusFields(),
                ElementsAre(u"照合前", u"Aファイル数=3", u"Bファイル数=0", u"対象ファイル数=0",
                            u"ファイル一致数=0", u"ファイル不一致数=0"));
    EXPECT_EQ(GetFocus(), window);
}

TEST_F(FolderCommandsTest, ChoosingBothFoldersPairsSameNamesFirstInAscendingRows) {
    ChooseBoth();
    EXPECT_THAT(Column(kSideA, 0), ElementsAre(u"equal.cpp", u"differ.h", u"onlyA.rc", u""));
    EXPECT_THAT(Column(kSideB, 0), ElementsAre(u"equal.cpp", u"differ.h", u"", u"onlyB.rc"));
    EXPECT_THAT(Column(kSideB, 2), ElementsAre(u"4", u"6", u"", u"2"));
    EXPECT_THAT(Column(kSideA, 4), ElementsAre(u"比較前", u"比較前", u"非対称", u"非対称"));
    EXPECT_THAT(Column(kSideB, 4), ElementsAre(u"比較前", u"比較前", u"非対称", u"非対称"));
    EXPECT_THAT(Images(kSideA), ElementsAre(0, 0, 3, 3));
    EXPECT_THAT(Images(kSideB), ElementsAre(0, 0, 3, 3));
    EXPECT_THAT(ItemData(kSideA), ElementsAre(0, 1, 2, 3));
    EXPECT_THAT(ItemData(kSideB), ElementsAre(0, 1, 2, 3));
    EXPECT_THAT(StatusFields(),
                ElementsAre(u"照合前", u"Aファイル数=3", u"Bファイル数=3", u"対象ファイル数=2",
                            u"ファイル一致数=0", u"ファイル不一致数=0"));
}

TEST_F(FolderCommandsTest, ButtonsRunTheFolderSequenceLikeTheMenu) {
    browser.answers = {folderB, folderA};
    Command(IDC_SELECT_B);
    Command(IDC_SELECT_A);
    EXPECT_EQ(PathBoxText(kSideA), folderA);
    EXPECT_EQ(PathBoxText(kSideB), folderB);
    EXPECT_EQ(RowCount(kSideA), 4);
}

TEST_F(FolderCommandsTest, CompareMarksEveryPairWithItsPictureAndCountsThem) {
    ChooseBoth();
    Command(IDM_COMPARE);
    EXPECT_THAT(Column(kSideA, 4), ElementsAre(u"一致", u"不一致", u"非対称", u"非対称"));
    EXPECT_THAT(Column(kSideB, 4), ElementsAre(u"一致", u"不一致", u"非対称", u"非対称"));
    EXPECT_THAT(Images(kSideA), ElementsAre(1, 2, 3, 3));
    EXPECT_THAT(Images(kSideB), ElementsAre(1, 2, 3, 3));
    EXPECT_THAT(StatusFields(),
                ElementsAre(u"照合後", u"Aファイル数=3", u"Bファイル数=3", u"対象ファイル数=2",
                            u"ファイル一致数=1", u"ファイル不一致数=1"));
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(FolderCommandsTest, RestoreReturnsComparedRowsToBeforeComparison) {
    ChooseBoth();
    Command(IDM_COMPARE);
    Command(IDM_RESTORE);
    EXPECT_THAT(Column(kSideA, 4), ElementsAre(u"比較前", u"比較前", u"非対称", u"非対称"));
    EXPECT_THAT(Images(kSideB), ElementsAre(0, 0, 3, 3));
    EXPECT_THAT(StatusFields(),
                ElementsAre(u"照合前", u"Aファイル数=3", u"Bファイル数=3", u"対象ファイル数=2",
                            u"ファイル一致数=0", u"ファイル不一致数=0"));
}

TEST_F(FolderCommandsTest, ChoosingAFolderAfterCompareResetsTheRowsButNotTheFlag) {
    ChooseBoth();
    Command(IDM_COMPARE);
    ChooseFolder(kSideB, folderB);
    EXPECT_THAT(Column(kSideA, 4), ElementsAre(u"比較前", u"比較前", u"非対称", u"非対称"));
    EXPECT_THAT(StatusFields(),
                ElementsAre(u"照合後", u"Aファイル数=3", u"Bファイル数=3", u"対象ファイル数=2",
                            u"ファイル一致数=0", u"ファイル不一致数=0"));
}

TEST_F(FolderCommandsTest, CancelledBrowserKeepsFolderListsAndComparisonResults) {
    ChooseBoth();
    Command(IDM_COMPARE);
    // Text typed into a path box only counts from the next scan, and a cancel scans nothing.
    SetWindowTextW(GetDlgItem(window, IDC_PATH_B), L"C:\\typed");
    browser.answers.push_back(std::nullopt);
    Command(IDM_FOLDER_A);

    EXPECT_EQ(PathBoxText(kSideA), folderA);
    EXPECT_EQ(App().comparison.folderPath[kSideA], folderA);
    EXPECT_EQ(App().comparison.folderPath[kSideB], folderB);
    EXPECT_THAT(Column(kSideA, 4), ElementsAre(u"一致", u"不一致", u"非対称", u"非対称"));
    EXPECT_THAT(StatusFields(),
                ElementsAre(u"照合後", u"Aファイル数=3", u"Bファイル数=3", u"対象ファイル数=2",
                            u"ファイル一致数=1", u"ファイル不一致数=1"));
}

TEST_F(FolderCommandsTest, TextTypedIntoAPathBoxCountsFromTheNextScanOfEitherSide) {
    ChooseBoth();
    const std::u16string other = MakeFolder("c", {{"equal.cpp", "other"}});
    SetWindowTextW(GetDlgItem(window, IDC_PATH_A), reinterpret_cast<const wchar_t*>(other.c_str()));
    ChooseFolder(kSideB, folderB);
    // Side A's list is from the old folder, but its files are now looked for in the typed one.
    EXPECT_EQ(App().comparison.folderPath[kSideA], other);
    Command(IDM_COMPARE);
    EXPECT_THAT(Column(kSideA, 4), ElementsAre(u"不一致", u"比較前", u"非対称", u"非対称"));
    ASSERT_EQ(reporter.shown.size(), 1u);  // differ.h is not in the typed folder
    EXPECT_EQ(reporter.shown[0].caption, u"FileOpenError1");
    EXPECT_EQ(reporter.shown[0].owner, window);
}

TEST_F(FolderCommandsTest, RefillShowsEveryRowInAscendingOrderAndAnUnknownStatusAsError) {
    FolderComparison& comparison = App().comparison;
    comparison.pairs[kSideA].clear();
    comparison.pairs[kSideB].clear();
    // More rows than two full file lists give, as names listed twice on both sides can.
    for (int i = 0; i < 600; ++i) {
        const std::int32_t status = i == 5 ? 7 : i == 6 ? kFreeRow : kPairedEqual;
        const std::u16string name = ko::Format(u"f%d.cpp", {i});
        comparison.pairs[kSideA].push_back({status, name, u"*.cpp", u"1", u""});
        comparison.pairs[kSideB].push_back({status, name, u"*.cpp", u"1", u""});
    }
    RefillListViews();
    ASSERT_EQ(RowCount(kSideA), 599);
    const std::vector<LPARAM> data = ItemData(kSideA);
    EXPECT_EQ(data[4], 4);
    EXPECT_EQ(data[6], 7);  // the free row 6 is not shown
    EXPECT_EQ(data.back(), 599);
    EXPECT_EQ(RowTexts(kSideA, 5)[4], u"エラー");
    EXPECT_EQ(Images(kSideB)[5], -2);  // no picture
    EXPECT_EQ(RowTexts(kSideB, 598)[0], u"f599.cpp");
}

}  // namespace
}  // namespace osprey::app::testing

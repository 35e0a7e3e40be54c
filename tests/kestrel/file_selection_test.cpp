#include "kestrel/app/file_selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/kestrel/scripted_file_dialog.h"
#include "tests/support/recording_reporter.h"

namespace kestrel::app {
namespace {

void SetText(char16_t* field, std::size_t units, std::u16string_view text) {
    std::fill_n(field, units, u'\0');
    std::copy(text.begin(), text.end(), field);
}

// A list of file types as the dialog takes it: pairs of 0-terminated texts, a final 0, the rest 0.
std::u16string FilterOf(std::initializer_list<std::u16string> parts) {
    std::u16string list;
    for (const std::u16string& part : parts)
        list += part + u'\0';
    list.resize(kFilterUnits, u'\0');
    return list;
}

class FileSelection : public ::testing::Test {
  protected:
    FileSelection() {
        SetText(settings.fileA_folder_select, ko::kPathUnits, u"C:\\work\\");
        SetText(settings.fileB_folder_select, ko::kPathUnits, u"D:\\b");  // no backslash yet
    }
    // Selects for `side` with the dialog answering `answer` (cancelling when empty); returns
    // what the selection gave.
    std::optional<std::u16string> Select(int side, std::u16string answer = u"") {
        dialog.confirm = !answer.empty();
        dialog.answer = answer;
        dialog.offset = static_cast<int>(answer.rfind(u'\\') + 1);
        return SelectFile(owner, side, settings, dialog, reporter);
    }
    std::u16string AskedFilter() const { return std::u16string(dialog.asked.filter, kFilterUnits); }

    ko::Settings settings;
    testing::ScriptedFileDialog dialog;
    ko::testing::RecordingReporter reporter;
    ko::OwnerWindow owner = reinterpret_cast<ko::OwnerWindow>(0x1234);
};

TEST_F(FileSelection, OpensInTheSidesFolderWithTheGroupAndRemembersTheChosenFolder) {
    EXPECT_EQ(Select(0, u"C:\\src\\x.cpp"), u"C:\\src\\x.cpp");
    EXPECT_EQ(dialog.asked.owner, owner);
    EXPECT_EQ(std::u16string(dialog.asked.file), u"C:\\work\\*.cpp");
    EXPECT_EQ(AskedFilter(), FilterOf({u"cppFile(*.cpp)", u"*.cpp", u"hFile(*.h)", u"*.h",
                                       u"rcFile(*.rc)", u"*.rc"}));
    EXPECT_EQ(std::u16string(dialog.asked.title), u"ファイルＡの選択");
    EXPECT_EQ(dialog.asked.flags, 0x00080200u);
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"C:\\src\\");

    EXPECT_EQ(Select(1, u"C:\\x.txt"), u"C:\\x.txt");
    EXPECT_EQ(std::u16string(dialog.asked.file), u"D:\\b\\*.cpp");
    EXPECT_EQ(std::u16string(dialog.asked.title), u"ファイルＢの選択");
    EXPECT_EQ(std::u16string(settings.fileB_folder_select), u"C:\\");  // a root: one backslash
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"C:\\src\\");

    EXPECT_EQ(Select(0), std::nullopt);  // cancelled: nothing changes
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"C:\\src\\");
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(FileSelection, SeveralFilesGiveTheFolderAndAFolderOf260UnitsIsIgnored) {
    dialog.confirm = true;
    dialog.answer = std::u16string(u"C:\\src\0a.cpp\0b.cpp\0", 19);
    dialog.offset = 7;
    EXPECT_EQ(SelectFile(owner, 0, settings, dialog, reporter), u"C:\\src");
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"C:\\src\\");

    const std::u16string too_long = u"C:\\" + std::u16string(256, u'd') + u"\\";  // 260 units
    EXPECT_EQ(Select(0, too_long + u"x.txt"), std::nullopt);
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"C:\\src\\");
    const std::u16string fits = too_long.substr(0, 258) + u"\\";  // 259 units
    EXPECT_EQ(Select(0, fits + u"x.txt"), fits + u"x.txt");
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), fits);
}

TEST_F(FileSelection, TheFilterListsTheGroupsRowsInOrderAndOnlyWholeEntriesThatFit) {
    settings.failExt_no = 7;  // no row carries it: no types, no pattern
    Select(0);
    EXPECT_EQ(std::u16string(dialog.asked.file), u"C:\\work\\");
    EXPECT_EQ(AskedFilter(), FilterOf({}));

    settings.failExt_no = 50;
    for (const int row : {9, 4}) {
        settings.groups[row].groupNo = 50;
        SetText(settings.groups[row].displayText, 32, row == 4 ? u"four(*.4)" : u"nine(*.9)");
        SetText(settings.groups[row].searchPattern, 32, row == 4 ? u"*.4" : u"*.9");
    }
    Select(0);
    EXPECT_EQ(std::u16string(dialog.asked.file), u"C:\\work\\*.4");
    EXPECT_EQ(AskedFilter(), FilterOf({u"four(*.4)", u"*.4", u"nine(*.9)", u"*.9"}));

    // Entries of 60 units: four and the final 0 take 241 units. A fifth of 60 would overflow
    // the 260 units; one of 19 fills them exactly.
    const std::u16string d(29, u'd'), p(29, u'p');
    for (int row = 0; row < ko::kExtensionGroupRows; ++row) {
        settings.groups[row].groupNo = row < 5 ? 0 : 1;
        SetText(settings.groups[row].displayText, 32, row < 4 ? d : u"dddddddddd");
        SetText(settings.groups[row].searchPattern, 32, row < 4 ? p : u"ppppppp");
    }
    settings.failExt_no = 0;
    Select(0);
    EXPECT_EQ(AskedFilter(), FilterOf({d, p, d, p, d, p, d, p, u"dddddddddd", u"ppppppp"}));
    SetText(settings.groups[4].displayText, 32, u"ddddddddddd");  // one unit more
    Select(0);
    EXPECT_EQ(AskedFilter(), FilterOf({d, p, d, p, d, p, d, p}));
}

TEST_F(FileSelection, AnInvalidSideIsReportedWithoutADialog) {
    EXPECT_EQ(SelectFile(owner, 2, settings, dialog, reporter), std::nullopt);
    EXPECT_EQ(dialog.shown, 0);
    EXPECT_EQ(reporter.shown,
              (std::vector<ko::testing::ShownMessage>{
                  {owner, u"Wrong mode selection", u"Failure", ko::box::kIconError}}));
}

}  // namespace
}  // namespace kestrel::app

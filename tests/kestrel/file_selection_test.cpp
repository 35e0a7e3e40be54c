#include "kestrel/app/file_selection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/kestrel_app/scripted_file_dialog.h"
#include "tests/support/recording_reporter.h"

namespace kestrel::app {
namespace {

using ScriptedDialog = testing::ScriptedFileDialog;

void SetText(char16_t* field, std::size_t units, std::u16string_view text) {
    std::fill_n(field, units, u'\0');
    std::copy(text.begin(), text.end(), field);
}

std::u16string Filter(const OpenFileRequest& request) {
    return std::u16string(request.filter, kFilterUnits);
}

std::u16string FilterOf(std::initializer_list<std::u16string_view> parts) {
    std::u16string list;
    for (const std::u16string_view part : parts) {
        list += part;
        list += u'\0';
    }
    list += u'\0';
    list.resize(kFilterUnits, u'\0');
    return list;
}

class FileSelection : public ::testing::Test {
  protected:
    FileSelection() {
        SetText(settings.fileA_folder_select, ko::kPathUnits, u"C:\\work\\");
        SetText(settings.fileB_folder_select, ko::kPathUnits, u"C:\\work\\");
    }

    std::optional<std::u16string> Select(int side) {
        return SelectFile(owner, side, settings, dialog, reporter);
    }

    ko::Settings settings;
    ScriptedDialog dialog;
    ko::testing::RecordingReporter reporter;
    ko::OwnerWindow owner = reinterpret_cast<ko::OwnerWindow>(0x1234);
};

TEST_F(FileSelection, FirstUseOpensInTheStartupFolderWithTheSelectedGroup) {
    dialog.answer = u"C:\\src\\x.cpp";
    dialog.offset = 7;
    EXPECT_EQ(Select(0), u"C:\\src\\x.cpp");

    const OpenFileRequest& asked = dialog.asked;
    EXPECT_EQ(asked.owner, owner);
    EXPECT_EQ(std::u16string(asked.file), u"C:\\work\\*.cpp");
    EXPECT_EQ(Filter(asked), FilterOf({u"cppFile(*.cpp)", u"*.cpp", u"hFile(*.h)", u"*.h",
                                       u"rcFile(*.rc)", u"*.rc"}));
    EXPECT_EQ(std::u16string(asked.title), u"ファイルＡの選択");
    EXPECT_EQ(asked.flags, 0x00080200u);
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"C:\\src\\");
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(FileSelection, SideBHasItsOwnTitleAndFolderAndLeavesSideAAlone) {
    SetText(settings.fileB_folder_select, ko::kPathUnits, u"D:\\b");  // no backslash yet
    dialog.answer = u"E:\\new\\y.h";
    dialog.offset = 7;
    EXPECT_EQ(Select(1), u"E:\\new\\y.h");
    EXPECT_EQ(std::u16string(dialog.asked.file), u"D:\\b\\*.cpp");
    EXPECT_EQ(std::u16string(dialog.asked.title), u"ファイルＢの選択");
    EXPECT_EQ(std::u16string(settings.fileB_folder_select), u"E:\\new\\");
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"C:\\work\\");
}

TEST_F(FileSelection, AFileInADrivesRootRemembersTheRootWithOneBackslash) {
    dialog.answer = u"C:\\x.txt";
    dialog.offset = 3;
    EXPECT_EQ(Select(0), u"C:\\x.txt");
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"C:\\");
}

TEST_F(FileSelection, SeveralChosenFilesGiveTheBoxTheFolderAlone) {
    dialog.answer = std::u16string(u"C:\\src\0a.cpp\0b.cpp\0", 19);
    dialog.offset = 7;
    EXPECT_EQ(Select(0), u"C:\\src");
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"C:\\src\\");
}

TEST_F(FileSelection, CancellingChangesNothing) {
    dialog.confirm = false;
    EXPECT_EQ(Select(0), std::nullopt);
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"C:\\work\\");
}

TEST_F(FileSelection, AFolderPartOf260UnitsOrMoreIsIgnored) {
    const std::u16string folder = u"C:\\" + std::u16string(256, u'd') + u"\\";  // 260 units
    dialog.answer = folder + u"x.txt";
    dialog.offset = static_cast<int>(folder.size());
    EXPECT_EQ(Select(0), std::nullopt);
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), u"C:\\work\\");

    const std::u16string fits = u"C:\\" + std::u16string(255, u'd') + u"\\";  // 259 units
    dialog.answer = fits + u"x.txt";
    dialog.offset = static_cast<int>(fits.size());
    EXPECT_EQ(Select(0), fits + u"x.txt");
    EXPECT_EQ(std::u16string(settings.fileA_folder_select), fits);
}

TEST_F(FileSelection, AnUnknownGroupOpensInTheFolderWithoutTypesOrPattern) {
    settings.failExt_no = 7;
    dialog.confirm = false;
    Select(0);
    EXPECT_EQ(std::u16string(dialog.asked.file), u"C:\\work\\");
    EXPECT_EQ(Filter(dialog.asked), std::u16string(kFilterUnits, u'\0'));
}

TEST_F(FileSelection, AGroupSpreadOverRowsListsThemInRowOrder) {
    settings.failExt_no = 50;
    for (const int row : {9, 4}) {
        settings.groups[row].groupNo = 50;
        SetText(settings.groups[row].displayText, 32, row == 4 ? u"four(*.4)" : u"nine(*.9)");
        SetText(settings.groups[row].searchPattern, 32, row == 4 ? u"*.4" : u"*.9");
    }
    dialog.confirm = false;
    Select(0);
    EXPECT_EQ(std::u16string(dialog.asked.file), u"C:\\work\\*.4");
    EXPECT_EQ(Filter(dialog.asked), FilterOf({u"four(*.4)", u"*.4", u"nine(*.9)", u"*.9"}));
}

TEST_F(FileSelection, AFilterListThatWouldOverflowEndsAfterItsLastWholeEntry) {
    // Every row in group 0 with texts of 29 units: 60 units per entry, so four entries and the
    // final 0 (241 units) fit and the fifth would not.
    for (ko::ExtensionGroup& row : settings.groups) {
        row.groupNo = 0;
        SetText(row.displayText, 32, std::u16string(29, u'd'));
        SetText(row.searchPattern, 32, std::u16string(29, u'p'));
    }
    dialog.confirm = false;
    Select(0);
    const std::u16string entry =
        std::u16string(29, u'd') + u'\0' + std::u16string(29, u'p') + u'\0';
    std::u16string expected = entry + entry + entry + entry;
    expected.resize(kFilterUnits, u'\0');
    EXPECT_EQ(Filter(dialog.asked), expected);
}

TEST_F(FileSelection, AFilterListThatFillsExactly260UnitsIsKeptWhole) {
    // Four entries of 60 units and one of 19 units plus the final 0: exactly 260 units.
    for (int row = 0; row < 5; ++row) {
        settings.groups[row].groupNo = 0;
        SetText(settings.groups[row].displayText, 32, std::u16string(row < 4 ? 29 : 10, u'd'));
        SetText(settings.groups[row].searchPattern, 32, std::u16string(row < 4 ? 29 : 7, u'p'));
    }
    dialog.confirm = false;
    Select(0);
    const std::u16string filter = Filter(dialog.asked);
    EXPECT_EQ(filter.substr(240, 10), std::u16string(10, u'd'));
    EXPECT_EQ(filter.substr(251, 7), std::u16string(7, u'p'));
    EXPECT_EQ(filter[258], u'\0');
    EXPECT_EQ(filter[259], u'\0');
}

TEST_F(FileSelection, AnInvalidSideIsReportedWithoutADialog) {
    EXPECT_EQ(Select(2), std::nullopt);
    EXPECT_EQ(dialog.shown, 0);
    EXPECT_EQ(reporter.shown,
              (std::vector<ko::testing::ShownMessage>{
                  {owner, u"Wrong mode selection", u"Failure", ko::box::kIconError}}));
}

}  // namespace
}  // namespace kestrel::app

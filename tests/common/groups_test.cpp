// Extension groups: the default table, the look-ups by group number, the group selector's
// entries and label, and the group editor's steps and rows.
#include <gtest/gtest.h>

#include <tuple>

#include "common/group_row_editing.h"
#include "common/group_selection.h"
#include "common/range_check.h"
#include "tests/support/recording_reporter.h"

namespace ko {
namespace {

TEST(ExtensionGroups, DefaultsAreGroupsZeroAndOneThenOneAllFilesGroupPerRowFrom104) {
    const ExtensionGroupTable table = DefaultExtensionGroups();
    std::vector<int> numbers{0, 1};
    for (int group = 104; group <= 131; ++group)
        numbers.push_back(group);
    EXPECT_EQ(GroupNumbers(table), numbers);
}

TEST(ExtensionGroups, LookUpsFollowRowOrderWhateverTheNumbers) {
    ExtensionGroupTable table = DefaultExtensionGroups();
    table[3].groupNo = 5;    // group 1 loses its only row
    table[30].groupNo = 0;   // group 0 gains a row far down, 130 loses its own
    table[4].groupNo = -12;  // a renumbered group stays where its first row is
    EXPECT_TRUE(RowsOfGroup(table, 1).empty());
    EXPECT_EQ(FirstRowOfGroup(table, 1), -1);
    EXPECT_EQ(RowsOfGroup(table, 0), (std::vector<int>{0, 1, 2, 30}));
    EXPECT_EQ(FirstRowOfGroup(table, 105), 5);
    const std::vector<std::u16string> entries = GroupEntryTexts(table);
    ASSERT_EQ(entries.size(), 29u);
    EXPECT_EQ((std::vector(entries.begin(), entries.begin() + 4)),
              (std::vector<std::u16string>{u"0000", u"0005", u"-012", u"0105"}));
    EXPECT_EQ(GroupEntryToSelect(table, 105), 3);
    EXPECT_EQ(GroupEntryToSelect(table, 1), 0);  // no row carries it: the first entry
}

TEST(GroupSelector, LabelNamesTheFirstRowOfTheGroupInTheFirstFourCharacters) {
    ExtensionGroupTable table = DefaultExtensionGroups();
    // clang-format off
    const std::u16string_view cases[][2] = {
        {u"0001", u"テキスト"}, {u"00012", u"テキスト"}, {u" 1x", u"テキスト"}, {u"0104", u"すべて"},
        {u"7", u""},            {u"-1", u""},            {u"", u"ソースファイル"}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(GroupLabel(table, c[0]), c[1]) << Utf16ToUtf8(c[0]);
    std::fill(std::begin(table[0].itemName), std::end(table[0].itemName), u'x');
    EXPECT_EQ(GroupLabel(table, u"0"), std::u16string(kItemNameMax, u'x'));
}

TEST(GroupEditor, StepsWithinThe32RowsAndStoresTextsCutToTheirRoomAndNumbersUpTo9998) {
    std::u16string shown;  // from rows 0, 8 and 31 one step back and one forward
    for (const int row : {0, 8, 31})
        for (const int step : {-1, 1})
            shown += RowPositionText(StepRow(row, step)) + u' ';
    EXPECT_EQ(shown, u"01/32 02/32 08/32 10/32 31/32 32/32 ");
    const std::pair<std::u16string_view, std::int32_t> cases[] = {
        {u"9998", 9998}, {u" 250", 250}, {u"12345", 1234}, {u"abc", 0},
        {u"9999", 104},  {u"-1", 104},   {u"-12", 104}};
    for (const auto& [typed, stored] : cases) {  // a refused number leaves the row's own, 104
        testing::RecordingReporter reporter;
        ExtensionGroup row = DefaultExtensionGroups()[4];
        const GroupRowTexts texts{std::u16string(typed), std::u16string(70, u'a'), u"",
                                  std::u16string(40, u'c')};
        EXPECT_EQ(StoreRow(texts, row, reporter, nullptr), stored != 104);
        EXPECT_EQ(reporter.shown.size(), stored != 104 ? 0u : 1u);
        EXPECT_EQ(row.groupNo, stored);
        EXPECT_EQ(std::u16string(row.itemName) + u"|" + row.displayText + u"|" + row.searchPattern,
                  std::u16string(61, u'a') + u"||" + std::u16string(29, u'c'));
    }
}

TEST(RangeCheck, ANumberOutsideItsLimitsIsReportedOnceAndReplacedByTheNearestLimit) {
    const std::tuple<std::u16string_view, int, std::size_t> cases[] = {
        {u"2048", 1024, 1}, {u"10000", 1000, 0}, {u"abc", 64, 1},
        {u"64", 64, 0},     {u"1024", 1024, 0},  {u"-0", 64, 1}};
    for (const auto& [typed, read, messages] : cases) {
        testing::RecordingReporter reporter;
        int owner = 0;
        EXPECT_EQ(ReadNumberWithin(typed, 4, {64, 1024}, reporter, &owner), read);
        const testing::ShownMessage range{&owner, u"Input value out of specified range",
                                          u"Setting error", box::kOk | box::kIconError};
        EXPECT_EQ(reporter.shown, std::vector(messages, range));
    }
}

}  // namespace
}  // namespace ko

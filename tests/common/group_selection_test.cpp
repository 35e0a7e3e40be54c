#include "common/group_selection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ko {
namespace {

using ::testing::ElementsAre;

TEST(GroupSelectionTest, DefaultTableListsEveryGroupOnceInOrderOfFirstAppearance) {
    const std::vector<std::u16string> entries = GroupEntryTexts(DefaultExtensionGroups());
    ASSERT_EQ(entries.size(), 30u);
    EXPECT_EQ(entries[0], u"0000");
    EXPECT_EQ(entries[1], u"0001");
    EXPECT_EQ(entries[2], u"0104");
    EXPECT_EQ(entries[29], u"0131");
}

TEST(GroupSelectionTest, RowsSharingANumberAreListedOnceAtTheirFirstRow) {
    ExtensionGroupTable table = DefaultExtensionGroups();
    table[0].groupNo = 0;
    table[1].groupNo = 1;
    table[2].groupNo = 0;
    table[3].groupNo = 250;
    std::vector<std::u16string> entries = GroupEntryTexts(table);
    entries.resize(3);
    EXPECT_THAT(entries, ElementsAre(u"0000", u"0001", u"0250"));
}

TEST(GroupSelectionTest, TheSelectedGroupsEntryIsChosenAndTheFirstWhenNoRowCarriesIt) {
    const ExtensionGroupTable table = DefaultExtensionGroups();
    EXPECT_EQ(GroupEntryToSelect(table, 0), 0);
    EXPECT_EQ(GroupEntryToSelect(table, 1), 1);
    EXPECT_EQ(GroupEntryToSelect(table, 131), 29);
    EXPECT_EQ(GroupEntryToSelect(table, 7), 0);
    EXPECT_EQ(GroupEntryToSelect(table, -1), 0);
}

TEST(GroupSelectionTest, LabelNamesTheFirstRowOfTheGroupThatTheFirstFourCharactersName) {
    const ExtensionGroupTable table = DefaultExtensionGroups();
    EXPECT_EQ(GroupLabel(table, u"0000"), u"ソースファイル");
    EXPECT_EQ(GroupLabel(table, u"0001"), u"テキスト");
    EXPECT_EQ(GroupLabel(table, u"0104"), u"すべて");
    EXPECT_EQ(GroupLabel(table, u"00012"), u"テキスト");  // only "0001" is read
    EXPECT_EQ(GroupLabel(table, u" 1x"), u"テキスト");
}

TEST(GroupSelectionTest, LabelIsEmptyForANumberThatNoRowCarries) {
    ExtensionGroupTable table = DefaultExtensionGroups();
    EXPECT_EQ(GroupLabel(table, u"7"), u"");
    EXPECT_EQ(GroupLabel(table, u"-1"), u"");
    EXPECT_EQ(GroupLabel(table, u"9999"), u"");
    // An empty field reads as 0, the number OK would store, so it names group 0 while one exists.
    EXPECT_EQ(GroupLabel(table, u""), u"ソースファイル");
    for (ExtensionGroup& row : table)
        row.groupNo = 5;
    EXPECT_EQ(GroupLabel(table, u""), u"");
}

TEST(GroupSelectionTest, LabelOfAFullLengthNameStopsAtItsRoom) {
    ExtensionGroupTable table = DefaultExtensionGroups();
    std::fill(std::begin(table[0].itemName), std::end(table[0].itemName), u'x');
    EXPECT_EQ(GroupLabel(table, u"0"), std::u16string(kItemNameMax, u'x'));
}

}  // namespace
}  // namespace ko

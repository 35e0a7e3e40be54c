#include "common/extension_groups.h"

#include <gtest/gtest.h>

#include <string>

namespace ko {
namespace {

std::u16string Text(const char16_t* field) {
    return field;
}

TEST(ExtensionGroups, DefaultTableHoldsTheFourNamedRowsAndTwentyEightAllFileGroups) {
    const ExtensionGroupTable table = DefaultExtensionGroups();
    EXPECT_EQ(table[0].groupNo, 0);
    EXPECT_EQ(Text(table[0].itemName), u"ソースファイル");
    EXPECT_EQ(Text(table[0].displayText), u"cppFile(*.cpp)");
    EXPECT_EQ(Text(table[0].searchPattern), u"*.cpp");
    EXPECT_EQ(Text(table[1].itemName), u"ヘッダファイル");
    EXPECT_EQ(Text(table[1].searchPattern), u"*.h");
    EXPECT_EQ(Text(table[2].itemName), u"リソーススクリプト");
    EXPECT_EQ(Text(table[2].displayText), u"rcFile(*.rc)");
    EXPECT_EQ(table[3].groupNo, 1);
    EXPECT_EQ(Text(table[3].itemName), u"テキスト");
    EXPECT_EQ(Text(table[3].searchPattern), u"*.txt");
    for (int row = 4; row < kExtensionGroupRows; ++row) {
        EXPECT_EQ(table[row].groupNo, row + 100);
        EXPECT_EQ(Text(table[row].itemName), u"すべて");
        EXPECT_EQ(Text(table[row].displayText), u"allFile(*.*)");
        EXPECT_EQ(Text(table[row].searchPattern), u"*.*");
    }
}

TEST(ExtensionGroups, DefaultGroupsAreZeroOneAndOneHundredFourToOneHundredThirtyOne) {
    const ExtensionGroupTable table = DefaultExtensionGroups();
    EXPECT_EQ(RowsOfGroup(table, 0), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(RowsOfGroup(table, 1), (std::vector<int>{3}));
    EXPECT_EQ(RowsOfGroup(table, 131), (std::vector<int>{31}));
    EXPECT_TRUE(RowsOfGroup(table, 7).empty());
    EXPECT_EQ(FirstRowOfGroup(table, 0), 0);
    EXPECT_EQ(FirstRowOfGroup(table, 104), 4);
    EXPECT_EQ(FirstRowOfGroup(table, 7), -1);
    std::vector<int> numbers{0, 1};
    for (int group = 104; group <= 131; ++group)
        numbers.push_back(group);
    EXPECT_EQ(GroupNumbers(table), numbers);
    EXPECT_EQ(GroupNumbers(table).size(), 30u);
}

TEST(ExtensionGroups, QueriesFollowRowOrderWhateverTheNumbers) {
    ExtensionGroupTable table = DefaultExtensionGroups();
    table[3].groupNo = 5;    // group 1 loses its only row
    table[30].groupNo = 0;   // group 0 gains a row far down
    table[4].groupNo = 250;  // a renumbered group stays where its first row is
    table[6].groupNo = -2;
    EXPECT_TRUE(RowsOfGroup(table, 1).empty());
    EXPECT_EQ(FirstRowOfGroup(table, 1), -1);
    EXPECT_EQ(RowsOfGroup(table, 0), (std::vector<int>{0, 1, 2, 30}));
    EXPECT_EQ(RowsOfGroup(table, -2), (std::vector<int>{6}));
    const std::vector<int> numbers = GroupNumbers(table);
    ASSERT_GE(numbers.size(), 5u);
    EXPECT_EQ((std::vector<int>(numbers.begin(), numbers.begin() + 5)),
              (std::vector<int>{0, 5, 250, 105, -2}));
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 0), 1);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 130), 0);
}

TEST(ExtensionGroups, OneSharedNumberMakesOneGroupOfAllRows) {
    ExtensionGroupTable table = DefaultExtensionGroups();
    for (ExtensionGroup& row : table)
        row.groupNo = 9;
    EXPECT_EQ(RowsOfGroup(table, 9).size(), 32u);
    EXPECT_EQ(GroupNumbers(table), (std::vector<int>{9}));
    EXPECT_EQ(FirstRowOfGroup(table, 9), 0);
}

}  // namespace
}  // namespace ko

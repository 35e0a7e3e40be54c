#include "common/group_row_editing.h"

#include <gtest/gtest.h>

#include "common/range_check.h"
#include "tests/support/recording_reporter.h"

namespace ko {
namespace {

TEST(GroupRowEditingTest, RowTextsShowTheNumberInDecimalAndTheTextsAsTheyAre) {
    const ExtensionGroupTable table = DefaultExtensionGroups();
    const GroupRowTexts texts = TextsOfRow(table[4]);
    EXPECT_EQ(texts.groupNo, u"104");
    EXPECT_EQ(texts.itemName, u"すべて");
    EXPECT_EQ(texts.displayText, u"allFile(*.*)");
    EXPECT_EQ(texts.searchPattern, u"*.*");
    ExtensionGroup negative;
    negative.groupNo = -12;
    EXPECT_EQ(TextsOfRow(negative).groupNo, u"-12");
}

TEST(GroupRowEditingTest, PositionCountsFromOneAndSteppingStaysInTheTable) {
    EXPECT_EQ(RowPositionText(0), u"01/32");
    EXPECT_EQ(RowPositionText(5), u"06/32");
    EXPECT_EQ(RowPositionText(31), u"32/32");
    EXPECT_EQ(StepRow(0, -1), 0);
    EXPECT_EQ(StepRow(0, 1), 1);
    EXPECT_EQ(StepRow(31, 1), 31);
    EXPECT_EQ(StepRow(31, -1), 30);
}

TEST(GroupRowEditingTest, StoringRefusesNumbersAbove9998AsUnsignedAndStoresTheTextsAnyway) {
    struct Case {
        std::u16string_view typed;
        std::int32_t stored;
        bool accepted;
    };
    const Case cases[] = {{u"9998", 9998, true},  {u"0", 0, true},       {u" 250", 250, true},
                          {u"12345", 1234, true}, {u"9999", 104, false}, {u"-1", 104, false},
                          {u"-12", 104, false},   {u"abc", 0, true}};
    for (const Case& c : cases) {
        testing::RecordingReporter reporter;
        ExtensionGroup row = DefaultExtensionGroups()[4];
        const GroupRowTexts texts{std::u16string(c.typed), u"name", u"disp", u"*.x"};
        EXPECT_EQ(StoreRow(texts, row, reporter, nullptr), c.accepted);
        EXPECT_EQ(row.groupNo, c.stored);
        EXPECT_EQ(std::u16string(row.itemName), u"name");
        EXPECT_EQ(std::u16string(row.searchPattern), u"*.x");
        EXPECT_EQ(reporter.shown.size(), c.accepted ? 0u : 1u);
    }
}

TEST(GroupRowEditingTest, StoredTextsAreCutToTheirRoomAndTheRestOfTheStorageZeroed) {
    testing::RecordingReporter reporter;
    ExtensionGroup row = DefaultExtensionGroups()[0];
    const GroupRowTexts long_texts{u"1", std::u16string(70, u'a'), std::u16string(40, u'b'),
                                   std::u16string(40, u'c')};
    StoreRow(long_texts, row, reporter, nullptr);
    EXPECT_EQ(std::u16string(row.itemName), std::u16string(61, u'a'));
    EXPECT_EQ(std::u16string(row.displayText), std::u16string(29, u'b'));
    EXPECT_EQ(std::u16string(row.searchPattern), std::u16string(29, u'c'));

    StoreRow({u"1", u"n", u"", u"*"}, row, reporter, nullptr);
    EXPECT_TRUE(
        std::all_of(row.itemName + 1, std::end(row.itemName), [](char16_t c) { return c == 0; }));
    EXPECT_EQ(std::u16string(row.displayText), u"");
}

TEST(RangeCheckTest, ANumberOutsideItsLimitsIsReportedOnceAndReplacedByTheNearestLimit) {
    struct Case {
        std::u16string_view typed;
        int read;
        size_t messages;
    };
    const Case cases[] = {{u"2048", 1024, 1}, {u"10000", 1000, 0}, {u"abc", 64, 1},
                          {u"64", 64, 0},     {u"1024", 1024, 0},  {u"-0", 64, 1}};
    for (const Case& c : cases) {
        testing::RecordingReporter reporter;
        int owner = 0;
        EXPECT_EQ(ReadNumberWithin(c.typed, 4, {64, 1024}, reporter, &owner), c.read);
        const testing::ShownMessage range{&owner, u"Input value out of specified range",
                                          u"Setting error", box::kOk | box::kIconError};
        EXPECT_EQ(reporter.shown, std::vector(c.messages, range));
    }
}

}  // namespace
}  // namespace ko

#include "kestrel/engine/text_grids.h"

#include <gtest/gtest.h>

#include "tests/support/recording_reporter.h"

namespace kestrel {
namespace {

class TextGridsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(grids.Allocate(512, 8192, reporter, nullptr));
        grids.set_reporter(&reporter);
    }
    void SetRow(int grid, int row, std::u16string_view text) {
        grids.StoreRow(grid, row, text.data(), static_cast<int>(text.size()));
    }
    ko::testing::RecordingReporter reporter;
    TextGrids grids;
};

TEST_F(TextGridsTest, DefaultGridsHaveTheDocumentedSizeAndStartZeroed) {
    EXPECT_EQ(grids.grid_bytes(), 8390656u);
    for (int grid = 0; grid < kGridCount; ++grid) {
        const std::uint8_t* bytes = grids.Bytes(grid);
        EXPECT_TRUE(
            std::all_of(bytes, bytes + grids.grid_bytes(), [](std::uint8_t b) { return b == 0; }));
    }
}

TEST_F(TextGridsTest, RowLengthStopsAtTheFirstZeroOrTheRowsEnd) {
    EXPECT_EQ(grids.memwcslen(kLoadedA, 0), 0);
    SetRow(kLoadedA, 3, std::u16string(512, u'x'));
    SetRow(kLoadedA, 4, u"ab");
    EXPECT_EQ(grids.memwcslen(kLoadedA, 3), 512);  // a full row has no terminator
    EXPECT_EQ(grids.memwcslen(kLoadedA, 4), 2);
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(TextGridsTest, RowReadsOutsideTheGridAreReportedAndYieldZero) {
    EXPECT_EQ(grids.memwcslen(kLoadedA, 8192), 0);
    EXPECT_EQ(grids.memwcslen(kLoadedA, -1), 0);
    int code = -5;
    EXPECT_EQ(grids.memcolorlen(512, kColourA, 0, &code), 0);
    EXPECT_EQ(grids.memcolorlen(0, 6, 0, &code), 0);
    EXPECT_EQ(grids.memcolorlen(0, -1, 0, &code), 0);
    EXPECT_EQ(grids.memcolorlen(0, kColourB, 8192, &code), 0);
    EXPECT_EQ(reporter.Texts(),
              (std::vector<std::u16string>{
                  u"iy value is over iy=8192:8192", u"iy value is over iy=-1:8192",
                  u"ix value is over ix=512:512", u"mode value is over mode=6:0-5",
                  u"mode value is over mode=-1:0-5", u"iy value is over iy=8192:8192"}));
    EXPECT_EQ(reporter.shown[0].caption, u"memwcslen error");
    EXPECT_EQ(reporter.shown[0].owner, nullptr);
    EXPECT_EQ(reporter.shown[2].caption, u"memcolorlen error");
    EXPECT_EQ(code, -5);
}

TEST_F(TextGridsTest, ColourRunsFollowTheCodesAndStopAtTheText) {
    SetRow(kWorkingA, 0, u"abcd");
    SetRow(kColourA, 0, u"0011");
    int code = 0;
    EXPECT_EQ(grids.memcolorlen(0, kColourA, 0, &code), 2);
    EXPECT_EQ(code, u'0');
    EXPECT_EQ(grids.memcolorlen(2, kColourA, 0, &code), 2);
    EXPECT_EQ(code, u'1');
    // A cell whose character is 0 ends the run even when its code matches.
    SetRow(kWorkingB, 1, u"ab");
    SetRow(kColourB, 1, u"222");
    EXPECT_EQ(grids.memcolorlen(0, kColourB, 1, &code), 2);
    // The last column yields 1 without looking further; grids without codes yield 0 silently.
    EXPECT_EQ(grids.memcolorlen(511, kColourA, 0, &code), 1);
    code = 42;
    EXPECT_EQ(grids.memcolorlen(0, kWorkingB, 0, &code), 0);
    EXPECT_EQ(code, 42);
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(TextGridsTest, ClearingZeroesEverythingWritten) {
    SetRow(kLoadedB, 0, u"hello");
    grids.StoreFilledRow(kLoadedB, 8191, u'z', 512);
    grids.StoreFilledRow(kLoadedB, 100, u'q', 300);
    grids.StoreRow(kLoadedB, 100, u"shorter", 7);  // the rest of the longer row is zeroed
    grids.Clear(kLoadedB);
    const std::uint8_t* bytes = grids.Bytes(kLoadedB);
    EXPECT_TRUE(
        std::all_of(bytes, bytes + grids.grid_bytes(), [](std::uint8_t b) { return b == 0; }));
}

TEST(GridShape, AbsurdDimensionsAreRaisedOrRefused) {
    GridShape shape;
    ASSERT_TRUE(GridShapeFor(0, -5, shape));
    EXPECT_EQ(shape.columns, 1);
    EXPECT_EQ(shape.rows, 1);
    EXPECT_FALSE(GridShapeFor(1 << 20, 1 << 20, shape));  // 2 TiB per grid
    EXPECT_FALSE(GridShapeFor(2147483647LL, 2147483647LL, shape));
    EXPECT_TRUE(GridShapeFor(1024, 65536, shape));

    ko::testing::RecordingReporter reporter;
    TextGrids grids;
    EXPECT_FALSE(grids.Allocate(70000, 70000, reporter, reinterpret_cast<void*>(9)));
    EXPECT_EQ(reporter.shown,
              (std::vector<ko::testing::ShownMessage>{
                  {reinterpret_cast<void*>(9),
                   u"Failed to allocate the specified number of bytes from the heap.", u"Failure",
                   ko::box::kIconError}}));
    EXPECT_FALSE(grids.allocated());
}

}  // namespace
}  // namespace kestrel

#include "kestrel/engine/text_grids.h"

#include <gtest/gtest.h>

#include <tuple>

#include "tests/support/recording_reporter.h"

namespace kestrel {
namespace {

bool AllZero(const TextGrids& grids, int grid) {
    const std::uint8_t* bytes = grids.Bytes(grid);
    return std::all_of(bytes, bytes + grids.grid_bytes(), [](std::uint8_t b) { return b == 0; });
}

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

TEST_F(TextGridsTest, GridsStartZeroedAndClearingZeroesEverythingWritten) {
    EXPECT_EQ(grids.grid_bytes(), 512u * 8192 * 2 + 2048);
    for (int grid = 0; grid < kGridCount; ++grid)
        EXPECT_TRUE(AllZero(grids, grid)) << grid;
    SetRow(kLoadedB, 0, u"hello");
    grids.StoreFilledRow(kLoadedB, 8191, u'z', 512);
    grids.StoreFilledRow(kLoadedB, 100, u'q', 300);
    SetRow(kLoadedB, 100, u"shorter");  // the rest of the longer row is zeroed
    EXPECT_EQ(grids.memwcslen(kLoadedB, 100), 7);
    grids.CopyRows(kWorkingB, 8190, kLoadedB, 8190, 2);
    grids.Clear(kLoadedB);
    grids.Clear(kWorkingB);
    EXPECT_TRUE(AllZero(grids, kLoadedB));
    EXPECT_TRUE(AllZero(grids, kWorkingB));
}

TEST_F(TextGridsTest, RowReadsStopAtZeroOrTheRowsEndAndReportWhatLiesOutside) {
    SetRow(kLoadedA, 3, std::u16string(512, u'x'));
    EXPECT_EQ(grids.memwcslen(kLoadedA, 3), 512);  // a full row has no terminator
    SetRow(kWorkingA, 0, u"abcd");
    SetRow(kColourA, 0, u"0011");
    SetRow(kWorkingB, 1, u"ab");
    SetRow(kColourB, 1, u"222");
    auto run = [&](int x, int mode, int y) {
        int code = -5;
        const int length = grids.memcolorlen(x, mode, y, &code);
        return std::make_pair(length, code);
    };
    EXPECT_EQ(run(0, kColourA, 0), std::make_pair(2, int{u'0'}));
    EXPECT_EQ(run(2, kColourA, 0), std::make_pair(2, int{u'1'}));
    EXPECT_EQ(run(0, kColourB, 1), std::make_pair(2, int{u'2'}));  // a 0 character ends the run
    EXPECT_EQ(run(511, kColourA, 0), std::make_pair(1, 0));        // the last column
    EXPECT_EQ(run(0, kWorkingB, 0), std::make_pair(0, -5));        // no codes: silently nothing
    EXPECT_TRUE(reporter.shown.empty());

    EXPECT_EQ(grids.memwcslen(kLoadedA, 8192) + grids.memwcslen(kLoadedA, -1), 0);
    const std::tuple<int, int, int> outside[] = {{512, 4, 0}, {0, 6, 0}, {0, -1, 0}, {0, 5, 8192}};
    for (const auto& [x, mode, y] : outside)
        EXPECT_EQ(run(x, mode, y), std::make_pair(0, -5));
    EXPECT_EQ(reporter.Texts(),
              (std::vector<std::u16string>{
                  u"iy value is over iy=8192:8192", u"iy value is over iy=-1:8192",
                  u"ix value is over ix=512:512", u"mode value is over mode=6:0-5",
                  u"mode value is over mode=-1:0-5", u"iy value is over iy=8192:8192"}));
    EXPECT_EQ(reporter.shown[0].caption, u"memwcslen error");
    EXPECT_EQ(reporter.shown[2].caption, u"memcolorlen error");
    EXPECT_EQ(reporter.shown[2].owner, nullptr);
}

TEST(GridShape, AbsurdDimensionsAreRaisedOrRefusedLikeAFailedAllocation) {
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

#include "kestrel/engine/view_geometry.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/recording_reporter.h"

namespace kestrel {
namespace {

TEST(ViewGeometry, LayoutFollowsTheClientAreaAndThePitchOfItsMaking) {
    const ViewGeometry g = MakeViewGeometry(1264, 940, 14);
    EXPECT_EQ(g.width, 1264);
    EXPECT_EQ(g.height, 940);
    EXPECT_EQ(g.half, 632);
    EXPECT_EQ(g.visibleRows, (940 - 8) / 15);
    EXPECT_EQ(g.scrollStep, g.visibleRows / 2);
    EXPECT_EQ(MakeViewGeometry(1263, 940, 14).half, 631);
    EXPECT_EQ(NumberedRows(940, 14), (940 - 48) / 14);
    EXPECT_EQ(NumberedRows(940, 18), (940 - 48) / 18);
}

TEST(ViewGeometry, APitchOfZeroOrLessCountsAsOneInsteadOfDividingByIt) {
    for (const int pitch : {0, -1, -2, -100}) {
        const ViewGeometry g = MakeViewGeometry(800, 600, pitch);
        EXPECT_EQ(g.visibleRows, (600 - 8) / 2) << pitch;
        EXPECT_EQ(NumberedRows(600, pitch), 600 - 48) << pitch;
    }
}

TEST(ViewGeometry, ATinyClientAreaHasNoRowsRatherThanNegativeOnes) {
    EXPECT_EQ(MakeViewGeometry(10, 5, 14).visibleRows, 0);
    EXPECT_EQ(NumberedRows(20, 14), 0);
}

TEST(ViewGeometry, TheTopRowStaysBetweenZeroAndRowsLessVisibleRows) {
    EXPECT_EQ(ClampTopRow(-31, 8192, 62), 0);
    EXPECT_EQ(ClampTopRow(31, 8192, 62), 31);
    EXPECT_EQ(ClampTopRow(8200, 8192, 62), 8130);
    EXPECT_EQ(ClampTopRow(5, 20, 62), 0);  // fewer rows than fit: the top stays at 0
}

TEST(ViewGeometry, PanesNumberCellsAndUncoveredAreasTileTheViewWithoutOverlap) {
    const ViewGeometry g = MakeViewGeometry(1000, 700, 14);
    const PixelRect a = PaneOf(g, 0), b = PaneOf(g, 1);
    EXPECT_EQ(a.x, 50);
    EXPECT_EQ(a.y, 30);
    EXPECT_EQ(a.width, 500 - 50);
    EXPECT_EQ(a.height, 700 - 50);
    EXPECT_EQ(b.x, 550);
    EXPECT_EQ(b.width, 1000 - 550);
    EXPECT_EQ(NumberLeftOf(g, 0), 5);
    EXPECT_EQ(NumberLeftOf(g, 1), 505);

    // Every pixel from y = 22 down is covered exactly once, except the three rules.
    const int pitch = 14;
    const int numbered = NumberedRows(g.height, pitch);
    std::vector<int> cover(static_cast<std::size_t>(g.width) * g.height, 0);
    auto add = [&](const PixelRect& r) {
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                ++cover[static_cast<std::size_t>(y) * g.width + x];
    };
    add(a);
    add(b);
    for (int side = 0; side < 2; ++side)
        for (int i = 0; i < numbered; ++i)
            add(NumberCellOf(g, side, i, pitch));
    for (const PixelRect& r : UncoveredAreas(g, numbered, pitch))
        add(r);
    for (int y = kControlsHeight; y < g.height; ++y) {
        for (int x = 0; x < g.width; ++x) {
            const bool rule = y >= kViewTop && (x == 45 || x == 500 || x == 545);
            ASSERT_EQ(cover[static_cast<std::size_t>(y) * g.width + x], rule ? 0 : 1)
                << "x=" << x << " y=" << y;
        }
    }
}

TEST(ViewGeometry, BackBuffersAreFontHeightTimesColumnsWideAndNeverWrap) {
    EXPECT_EQ(BackBufferWidth(12, 512), 6144);
    EXPECT_EQ(BackBufferWidth(0, 512), 512);
    EXPECT_EQ(BackBufferWidth(-5, 512), 512);
    EXPECT_EQ(BackBufferWidth(48, 100000000), 2147483647);
}

TEST(ViewGeometry, CodesHaveTheirBackgroundsAndNumbersSixDigits) {
    EXPECT_EQ(CodeBackground(u'0'), ColourOf(255, 255, 255));
    EXPECT_EQ(CodeBackground(u'1'), ColourOf(255, 100, 100));
    EXPECT_EQ(CodeBackground(u'2'), ColourOf(128, 255, 128));
    EXPECT_EQ(CodeBackground(0), ColourOf(200, 200, 200));
    EXPECT_EQ(CodeBackground(u'7'), ColourOf(200, 200, 200));
    EXPECT_EQ(LineNumberText(0), u"000000");
    EXPECT_EQ(LineNumberText(8191), u"008191");
}

class ColourRuns : public ::testing::Test {
  protected:
    ColourRuns() {
        grids.set_reporter(&reporter);
        EXPECT_TRUE(grids.Allocate(8, 4, reporter, nullptr));
    }
    // Puts `text` into working row `row` of `side` with one colour code per character.
    void Row(int side, int row, std::u16string_view text, std::u16string_view codes) {
        grids.StoreRow(WorkingGrid(side), row, text.data(), static_cast<int>(text.size()));
        grids.StoreRow(ColourGrid(side), row, codes.data(), static_cast<int>(codes.size()));
    }
    // "column:length:code" of each run of a row, blank-separated.
    std::string Runs(int side, int row) {
        std::string runs;
        ForEachColourRun(grids, side, row, [&](const ColourRun& run) {
            if (!runs.empty()) runs += ' ';
            runs += std::to_string(run.column) + ':' + std::to_string(run.length) + ':' +
                    static_cast<char>(run.code);
        });
        return runs;
    }

    ko::testing::RecordingReporter reporter;
    TextGrids grids;
};

TEST_F(ColourRuns, ARowSplitsWhereItsCodeChanges) {
    Row(0, 1, u"abcdef", u"001112");
    EXPECT_EQ(Runs(0, 1), "0:2:0 2:3:1 5:1:2");
    EXPECT_TRUE(Runs(0, 0).empty());
    EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(ColourRuns, AFullRowEndsAtTheGridsWidth) {
    Row(1, 3, u"abcdefgh", u"11111111");
    EXPECT_EQ(Runs(1, 3), "0:8:1");
}

TEST_F(ColourRuns, NumbersTakeTheColourOfTheLastRunThatIsNotEqual) {
    Row(0, 0, u"ab", u"10");
    EXPECT_EQ(NumberHighlight(grids, 0, 0), kLightRed);
    Row(0, 1, u"  ", u"22");
    EXPECT_EQ(NumberHighlight(grids, 0, 1), kLightGreen);
    Row(0, 2, u"abc", u"000");
    EXPECT_EQ(NumberHighlight(grids, 0, 2), std::nullopt);
    Row(1, 0, u"abc", u"102");
    EXPECT_EQ(NumberHighlight(grids, 1, 0), kLightGreen);
    Row(1, 1, u"abc", u"1x0");  // a foreign code clears the mark
    EXPECT_EQ(NumberHighlight(grids, 1, 1), std::nullopt);
    EXPECT_EQ(NumberHighlight(grids, 1, 2), std::nullopt);  // an empty row
}

}  // namespace
}  // namespace kestrel

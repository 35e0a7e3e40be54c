// The text grids, their row reads and colour runs, and the view's geometry.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "kestrel/engine/text_grids.h"
#include "kestrel/engine/view_geometry.h"
#include "tests/support/recording_reporter.h"

namespace kestrel {
namespace {

TEST(TextGrids, RowsReadAsColourRunsNumbersTakeTheirLastMarkAndReadsOutsideAreReported) {
    ko::testing::RecordingReporter reporter;
    TextGrids grids;
    ASSERT_TRUE(grids.Allocate(8, 4, reporter, nullptr));
    grids.set_reporter(&reporter);
    auto row = [&](int side, int y, std::u16string_view text, std::u16string_view codes) {
        grids.StoreRow(WorkingGrid(side), y, text.data(), static_cast<int>(text.size()));
        grids.StoreRow(ColourGrid(side), y, codes.data(), static_cast<int>(codes.size()));
    };
    auto runs = [&](int side, int y) {
        std::string text;
        ForEachColourRun(grids, side, y, [&](const ColourRun& run) {
            text += std::to_string(run.column) + ':' + std::to_string(run.length) + ':' +
                    static_cast<char>(run.code) + ' ';
        });
        return text;
    };
    row(0, 1, u"abcdef", u"001112");
    row(1, 3, u"abcdefgh", u"11111111");
    EXPECT_EQ(runs(0, 1), "0:2:0 2:3:1 5:1:2 ");
    EXPECT_EQ(runs(1, 3), "0:8:1 ");  // a full row has no terminator: it ends at the grid's width
    EXPECT_EQ(runs(0, 0), "");
    row(1, 1, u"ab", u"222");
    int code = -5;
    EXPECT_EQ(grids.memcolorlen(0, kColourB, 1, &code), 2);  // a 0 character ends the run
    EXPECT_EQ(grids.memcolorlen(7, kColourA, 1, &code), 1);  // the last column
    EXPECT_EQ(code, 0);
    EXPECT_EQ(grids.memcolorlen(0, kWorkingB, 1, &code), 0);  // no codes: silently nothing
    // A line number takes the colour of its row's last mark that is not "0"; a foreign one
    // clears it.
    const struct {
        std::u16string_view text, codes;
        std::optional<std::uint32_t> highlight;
    } numbers[] = {{u"ab", u"10", kLightRed},     {u"  ", u"22", kLightGreen}, {u"abc", u"000", {}},
                   {u"abc", u"102", kLightGreen}, {u"abc", u"1x0", {}},        {u"", u"", {}}};
    for (const auto& n : numbers) {
        row(0, 2, n.text, n.codes);
        EXPECT_EQ(NumberHighlight(grids, 0, 2), n.highlight);
    }
    EXPECT_TRUE(reporter.shown.empty());

    EXPECT_EQ(grids.memwcslen(kLoadedA, 4) + grids.memwcslen(kLoadedA, -1), 0);
    const std::tuple<int, int, int> outside[] = {{8, 4, 0}, {0, 6, 0}, {0, -1, 0}, {0, 5, 4}};
    code = -5;
    for (const auto& [x, mode, y] : outside)
        EXPECT_EQ(grids.memcolorlen(x, mode, y, &code), 0);
    EXPECT_EQ(code, -5);
    EXPECT_EQ(reporter.Texts(),
              (std::vector<std::u16string>{
                  u"iy value is over iy=4:4", u"iy value is over iy=-1:4",
                  u"ix value is over ix=8:8", u"mode value is over mode=6:0-5",
                  u"mode value is over mode=-1:0-5", u"iy value is over iy=4:4"}));
}

TEST(GridShape, AbsurdDimensionsAreRaisedOrRefusedLikeAFailedAllocation) {
    GridShape shape;
    ASSERT_TRUE(GridShapeFor(0, -5, shape));
    EXPECT_EQ(std::make_pair(shape.columns, shape.rows), std::make_pair(1, 1));
    EXPECT_FALSE(GridShapeFor(1 << 20, 1 << 20, shape));  // 2 TiB per grid
    EXPECT_FALSE(GridShapeFor(2147483647LL, 2147483647LL, shape));
    EXPECT_TRUE(GridShapeFor(1024, 65536, shape));

    ko::testing::RecordingReporter reporter;
    TextGrids grids;
    EXPECT_FALSE(grids.Allocate(70000, 70000, reporter, nullptr) || grids.allocated());
    EXPECT_EQ(reporter.Texts(),
              std::vector<std::u16string>{
                  u"Failed to allocate the specified number of bytes from the heap."});
}

TEST(ViewGeometry, RowsFollowTheClientAreaAndAPitchOfZeroOrLessCountsAsOne) {
    const struct {
        int width, height, pitch, half, visible, numbered;
    } cases[] = {
        {1264, 940, 14, 632, 62, 63},    {1263, 940, 18, 631, 49, 49}, {800, 600, 0, 400, 296, 552},
        {800, 600, -100, 400, 296, 552}, {10, 5, 14, 5, 0, 0},  // never negative
    };
    for (const auto& c : cases) {
        const ViewGeometry g = MakeViewGeometry(c.width, c.height, c.pitch);
        EXPECT_EQ(std::tuple(g.half, g.visibleRows, g.scrollStep, NumberedRows(c.height, c.pitch)),
                  std::tuple(c.half, c.visible, c.visible / 2, c.numbered))
            << c.pitch;
    }
    // The top row stays within 0 and rows - visible rows, at 0 when fewer rows than fit.
    EXPECT_EQ((std::vector{ClampTopRow(-31, 8192, 62), ClampTopRow(31, 8192, 62),
                           ClampTopRow(8200, 8192, 62), ClampTopRow(5, 20, 62)}),
              (std::vector{0, 31, 8130, 0}));
    EXPECT_EQ(BackBufferWidth(-5, 512), 512);
    EXPECT_EQ(BackBufferWidth(48, 100000000), 2147483647);  // never wraps
}

TEST(ViewGeometry, PanesNumberCellsAndUncoveredAreasTileTheViewWithoutOverlap) {
    const ViewGeometry g = MakeViewGeometry(1000, 700, 14);
    // Every pixel from y = 22 down is covered exactly once, except the three rules.
    const int pitch = 14, numbered = NumberedRows(g.height, pitch);
    std::vector<PixelRect> rects = {PaneOf(g, 0), PaneOf(g, 1)};
    for (int i = 0; i < 2 * numbered; ++i)
        rects.push_back(NumberCellOf(g, i % 2, i / 2, pitch));
    for (const PixelRect& r : UncoveredAreas(g, numbered, pitch))
        rects.push_back(r);
    std::vector<int> cover(static_cast<std::size_t>(g.width) * g.height, 0);
    for (const PixelRect& r : rects)
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = r.x; x < r.x + r.width; ++x)
                ++cover[static_cast<std::size_t>(y) * g.width + x];
    for (int y = kControlsHeight; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            const bool rule = y >= kViewTop && (x == 45 || x == 500 || x == 545);
            ASSERT_EQ(cover[static_cast<std::size_t>(y) * g.width + x], rule ? 0 : 1)
                << "x=" << x << " y=" << y;
        }
}

}  // namespace
}  // namespace kestrel

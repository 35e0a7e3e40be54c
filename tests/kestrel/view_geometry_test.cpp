#include "kestrel/engine/view_geometry.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "tests/support/recording_reporter.h"

namespace kestrel {
namespace {

TEST(ViewGeometry, RowsFollowTheClientAreaAndAPitchOfZeroOrLessCountsAsOne) {
    const struct {
        int width, height, pitch, half, visible, numbered;
    } cases[] = {
        {1264, 940, 14, 632, 62, 63},    {1263, 940, 18, 631, 49, 49}, {800, 600, 0, 400, 296, 552},
        {800, 600, -100, 400, 296, 552}, {10, 5, 14, 5, 0, 0},  // never negative
    };
    for (const auto& c : cases) {
        const ViewGeometry g = MakeViewGeometry(c.width, c.height, c.pitch);
        EXPECT_EQ(g.half, c.half);
        EXPECT_EQ(g.visibleRows, c.visible) << c.pitch;
        EXPECT_EQ(g.scrollStep, c.visible / 2);
        EXPECT_EQ(NumberedRows(c.height, c.pitch), c.numbered) << c.pitch;
    }
    EXPECT_EQ(ClampTopRow(-31, 8192, 62), 0);
    EXPECT_EQ(ClampTopRow(31, 8192, 62), 31);
    EXPECT_EQ(ClampTopRow(8200, 8192, 62), 8130);
    EXPECT_EQ(ClampTopRow(5, 20, 62), 0);  // fewer rows than fit: the top stays at 0
    EXPECT_EQ(BackBufferWidth(12, 512), 6144);
    EXPECT_EQ(BackBufferWidth(-5, 512), 512);
    EXPECT_EQ(BackBufferWidth(48, 100000000), 2147483647);  // never wraps
}

TEST(ViewGeometry, PanesNumberCellsAndUncoveredAreasTileTheViewWithoutOverlap) {
    const ViewGeometry g = MakeViewGeometry(1000, 700, 14);
    const PixelRect a = PaneOf(g, 0), b = PaneOf(g, 1);
    EXPECT_EQ((std::vector{a.x, a.y, a.width, a.height, b.x, b.width}),
              (std::vector{50, 30, 450, 650, 550, 450}));
    EXPECT_EQ(NumberLeftOf(g, 1), 505);
    // Every pixel from y = 22 down is covered exactly once, except the three rules.
    const int pitch = 14, numbered = NumberedRows(g.height, pitch);
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
    for (int y = kControlsHeight; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            const bool rule = y >= kViewTop && (x == 45 || x == 500 || x == 545);
            ASSERT_EQ(cover[static_cast<std::size_t>(y) * g.width + x], rule ? 0 : 1)
                << "x=" << x << " y=" << y;
        }
}

TEST(ColourRuns, SplitWhereTheCodeChangesAndNumbersTakeTheLastMarkThatIsNotEqual) {
    ko::testing::RecordingReporter reporter;
    TextGrids grids;
    grids.set_reporter(&reporter);
    ASSERT_TRUE(grids.Allocate(8, 4, reporter, nullptr));
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
    EXPECT_EQ(runs(1, 3), "0:8:1 ");  // a full row ends at the grid's width
    EXPECT_EQ(runs(0, 0), "");
    const struct {
        std::u16string_view text, codes;
        std::optional<std::uint32_t> highlight;
    } numbers[] = {{u"ab", u"10", kLightRed},
                   {u"  ", u"22", kLightGreen},
                   {u"abc", u"000", {}},
                   {u"abc", u"102", kLightGreen},
                   {u"abc", u"1x0", {}},  // a foreign code clears
                   {u"", u"", {}}};
    for (const auto& n : numbers) {
        row(0, 2, n.text, n.codes);
        EXPECT_EQ(NumberHighlight(grids, 0, 2), n.highlight);
    }
    EXPECT_EQ(CodeBackground(u'0'), kWhite);
    EXPECT_EQ(CodeBackground(u'7'), kGrey);
    EXPECT_EQ(LineNumberText(8191), u"008191");
    EXPECT_TRUE(reporter.shown.empty());
}

}  // namespace
}  // namespace kestrel

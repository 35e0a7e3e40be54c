// The comparison view rendered into memory bitmaps (WM_PRINTCLIENT) and read back pixel by
// pixel: what the panes, the line numbers and the back buffers show in each state.
#include <string>

#include "kestrel/app/app_state_win32.h"
#include "resources/kestrel_resource.h"
#include "tests/kestrel_app/window_fixture.h"

namespace kestrel::app::testing {
namespace {

constexpr std::uint32_t kWhitePixel = RGB(255, 255, 255);
constexpr std::uint32_t kBlackPixel = RGB(0, 0, 0);
constexpr std::uint32_t kRedPixel = RGB(255, 100, 100);
constexpr std::uint32_t kGreenPixel = RGB(128, 255, 128);
constexpr std::uint32_t kGreyPixel = RGB(200, 200, 200);

class ViewPainting : public KestrelWindowTest {
  protected:
    const ViewGeometry& Geometry() const { return App().view.geometry; }
    int Pitch() const { return App().settings.rowPitch; }
    // Pixel rows of view row `i` that the text's background fills at the default font.
    int RowTop(int i) const { return 30 + Pitch() * i + 1; }
    static constexpr int kRowBand = 9;

    // Counts `colour` in view row `i` of a side's pane, or of its line-number cell.
    int InPane(const Picture& p, int side, int i, std::uint32_t colour) const {
        const int left = (side == 0 ? 0 : Geometry().half) + 50;
        const int right = side == 0 ? Geometry().half : Geometry().width;
        return p.Count(left, RowTop(i), right - left, kRowBand, colour);
    }
    int InNumber(const Picture& p, int side, int i, std::uint32_t colour) const {
        const int left = side == 0 ? 0 : Geometry().half + 1;
        return p.Count(left, RowTop(i), 44, kRowBand, colour);
    }
    int InBackBuffer(int side, int i, int width, std::uint32_t colour) const {
        int n = 0;
        for (int y = Pitch() * i + 1; y < Pitch() * i + 1 + kRowBand; ++y)
            for (int x = 0; x < width; ++x)
                n += BackBufferPixel(side, x, y) == colour;
        return n;
    }
    std::string Lines(int count, const char* prefix) const {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += prefix;
            text += std::to_string(1000 + i);
            text += "\r\n";
        }
        return text;
    }
};

TEST_F(ViewPainting, BeforeAnythingIsLoadedThePanesAreWhiteAndRowsAreNumbered) {
    ASSERT_NE(Create(), nullptr);
    const Picture p = Render();
    const PixelRect a = PaneOf(Geometry(), 0), b = PaneOf(Geometry(), 1);
    EXPECT_EQ(p.CountOther(a.x, a.y, a.width, a.height, kWhitePixel), 0);
    EXPECT_EQ(p.CountOther(b.x, b.y, b.width, b.height, kWhitePixel), 0);
    EXPECT_EQ(p.CountOther(0, 22, p.width, 8, kWhitePixel), 0);  // the strip under the boxes
    for (int side = 0; side < 2; ++side) {
        EXPECT_GT(InNumber(p, side, 0, kBlackPixel), 0);
        EXPECT_GT(InNumber(p, side, 40, kBlackPixel), 0);
    }
    EXPECT_EQ(p.At(45, 200), kBlackPixel);
    EXPECT_EQ(p.At(Geometry().half, 200), kBlackPixel);
    EXPECT_EQ(p.At(Geometry().half + 45, 200), kBlackPixel);
    EXPECT_EQ(p.At(46, 200), kWhitePixel);
}

TEST_F(ViewPainting, DifferencesAreLightRedFillersLightGreenAndTheirNumbersFollow) {
    ASSERT_NE(Create(), nullptr);
    LoadBoth(WriteFile("a.txt", "a\r\nb\r\nc"), WriteFile("b.txt", "a\r\nxyz\r\nb\r\nc"));
    ASSERT_EQ(App().engine.compareState, kDiffered);
    const Picture p = Render();
    // Row 1: a filler line on side A opposite side B's own line "xyz".
    EXPECT_GT(InPane(p, 0, 1, kGreenPixel), 0);
    EXPECT_GT(InPane(p, 1, 1, kRedPixel), 0);
    EXPECT_GT(InNumber(p, 0, 1, kGreenPixel), 0);
    EXPECT_GT(InNumber(p, 1, 1, kRedPixel), 0);
    // Equal rows keep white backgrounds and white numbers.
    for (const int row : {0, 2, 3}) {
        for (int side = 0; side < 2; ++side) {
            EXPECT_EQ(InPane(p, side, row, kRedPixel) + InPane(p, side, row, kGreenPixel), 0)
                << row;
            EXPECT_EQ(InNumber(p, side, row, kRedPixel) + InNumber(p, side, row, kGreenPixel), 0)
                << row;
        }
    }
    // The back buffers hold the same runs from their own top-left corner.
    EXPECT_GT(InBackBuffer(0, 1, 20, kGreenPixel), 0);
    EXPECT_GT(InBackBuffer(1, 1, 20, kRedPixel), 0);
    EXPECT_EQ(InBackBuffer(1, 0, 20, kRedPixel), 0);
    EXPECT_EQ(p.Count(0, 0, p.width, p.height, kGreyPixel), 0);

    Command(IDM_RESTORE);
    const Picture restored = Render();
    EXPECT_EQ(restored.Count(0, 22, p.width, p.height - 22, kRedPixel), 0);
    EXPECT_EQ(restored.Count(0, 22, p.width, p.height - 22, kGreenPixel), 0);
    EXPECT_GT(InPane(restored, 1, 1, kBlackPixel), 0);  // the loaded text again
}

TEST_F(ViewPainting, ARowChangedInPlaceIsRedOnlyWhereItDiffers) {
    ASSERT_NE(Create(), nullptr);
    LoadBoth(WriteFile("a.txt", "same start AAAA"), WriteFile("b.txt", "same start BBBB"));
    const Picture p = Render();
    const int left = Geometry().half + 50;
    // The equal start stays white: the first red pixel lies well inside the row.
    int first_red = -1;
    for (int x = left; x < left + 200 && first_red < 0; ++x)
        if (p.At(x, RowTop(0) + 4) == kRedPixel) first_red = x;
    EXPECT_GT(first_red, left + 20);
    EXPECT_GT(InNumber(p, 0, 0, kRedPixel), 0);
}

TEST_F(ViewPainting, EqualFilesShowTheWorkingTextWithoutAnyColour) {
    ASSERT_NE(Create(), nullptr);
    LoadBoth(WriteFile("a.txt", "one\r\ntwo"), WriteFile("b.txt", "one\r\ntwo"));
    ASSERT_EQ(App().engine.compareState, kMatched);
    const Picture p = Render();
    EXPECT_GT(InPane(p, 0, 1, kBlackPixel), 0);
    for (const std::uint32_t colour : {kRedPixel, kGreenPixel, kGreyPixel})
        EXPECT_EQ(p.Count(0, 22, p.width, p.height - 22, colour), 0);
}

TEST_F(ViewPainting, SideAsLongLinesNeverSpillIntoSideB) {
    ASSERT_NE(Create(), nullptr);
    // 300 characters: far wider than the pane, and one line each (a line of 512 would end
    // by itself and make the newline behind it a line of its own).
    LoadBoth(WriteFile("a.txt", std::string(300, 'W') + "\r\n" + std::string(300, 'M')),
             WriteFile("b.txt", "x\r\ny"));
    const int half = Geometry().half;
    const PixelRect b = PaneOf(Geometry(), 1);
    for (const Picture& p : {Render(), (Command(IDM_RESTORE), Render())}) {
        // Side A's text runs to the middle rule; right of side B's own short lines all is white.
        EXPECT_GT(p.CountOther(half - 10, RowTop(0), 10, kRowBand, kWhitePixel), 0);
        EXPECT_EQ(p.At(half, RowTop(0)), kBlackPixel);
        EXPECT_EQ(p.CountOther(b.x + 30, b.y, b.width - 30, b.height, kWhitePixel), 0);
        EXPECT_EQ(p.CountOther(half + 1, RowTop(0), 3, kRowBand, kWhitePixel), 0);
    }
}

TEST_F(ViewPainting, ScrollingMovesTextAndNumbersTogetherByOnePitch) {
    ASSERT_NE(Create(), nullptr);
    LoadBoth(WriteFile("a.txt", Lines(100, "left ")), WriteFile("b.txt", Lines(100, "right ")));
    Command(IDM_RESTORE);
    const Picture before = Render();
    Key(VK_DOWN);
    const Picture after = Render();
    int differing = 0;
    for (int i = 0; i < 20; ++i)
        for (int y = 0; y < Pitch(); ++y)
            for (int x = 0; x < after.width; ++x)
                differing +=
                    after.At(x, 30 + Pitch() * i + y) != before.At(x, 30 + Pitch() * (i + 1) + y);
    EXPECT_EQ(differing, 0);
    EXPECT_GT(InNumber(after, 0, 0, kBlackPixel), 0);
}

TEST_F(ViewPainting, ANewRowPitchSpacesRowsAtOnceButKeepsTheFont) {
    ASSERT_NE(Create(), nullptr);
    LoadBoth(WriteFile("a.txt", Lines(60, "x")), WriteFile("b.txt", Lines(60, "x")));
    const int visible = Geometry().visibleRows;
    App().settings.rowPitch = 18;  // what the settings dialog's OK does for a height of 16
    const Picture p = Render();
    // Row 0's number ends well above the new row 1 at y = 48; the gap stays white.
    EXPECT_EQ(p.CountOther(0, 44, 45, 4, kWhitePixel), 0);
    EXPECT_GT(p.Count(0, 48, 45, 12, kBlackPixel), 0);
    EXPECT_GT(InPane(p, 0, 1, kBlackPixel), 0);
    EXPECT_EQ(Geometry().visibleRows, visible);
}

TEST_F(ViewPainting, APitchOfZeroFromAHandEditedFileIsDrawnWithoutFailing) {
    WriteSettings("draw_font_height=-2\r\n");
    ASSERT_NE(Create(), nullptr);
    EXPECT_EQ(App().settings.rowPitch, 0);
    LoadBoth(WriteFile("a.txt", "a\r\nb"), WriteFile("b.txt", "a\r\nc"));
    Key(VK_NEXT);
    const Picture p = Render();
    EXPECT_EQ(p.width, Geometry().width);
    EXPECT_EQ(reporter_.shown.size(), 1u);  // only the comparison's result
}

TEST_F(ViewPainting, FewerGridRowsThanTheViewShowsLeavesTheRestEmptyWithoutReports) {
    WriteSettings("dtylength_max=20\r\n");
    ASSERT_NE(Create(), nullptr);
    LoadBoth(WriteFile("a.txt", Lines(30, "a")), WriteFile("b.txt", Lines(30, "b")));
    Key(VK_NEXT);
    EXPECT_EQ(App().view.topRow, 0);
    const Picture p = Render();
    EXPECT_EQ(reporter_.shown.size(), 3u);  // two cut-load warnings, the result, no bounds report
    EXPECT_GT(InNumber(p, 0, 19, kBlackPixel), 0);
    EXPECT_EQ(InNumber(p, 0, 20, kBlackPixel), 0);
    EXPECT_GT(InPane(p, 0, 18, kBlackPixel), 0);  // row 19 holds the file's final, empty line
    EXPECT_EQ(InPane(p, 0, 20, kBlackPixel), 0);
    EXPECT_EQ(InPane(p, 0, 20, kRedPixel), 0);
}

TEST_F(ViewPainting, ABackBufferNarrowerThanItsPaneLeavesTheRestOfThePaneWhite) {
    WriteSettings("dtxlength_max=2\r\n");  // 12 x 2 = 24 pixels of buffer
    ASSERT_NE(Create(), nullptr);
    LoadBoth(WriteFile("a.txt", "WW\r\nMM"), WriteFile("b.txt", "WW\r\nNN"));
    const Picture p = Render();
    const PixelRect a = PaneOf(Geometry(), 0);
    EXPECT_GT(p.CountOther(a.x, a.y, 24, 30, kWhitePixel), 0);
    EXPECT_EQ(p.CountOther(a.x + 24, a.y, a.width - 24, a.height, kWhitePixel), 0);
}

}  // namespace
}  // namespace kestrel::app::testing

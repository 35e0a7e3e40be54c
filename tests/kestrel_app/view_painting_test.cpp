// The comparison view rendered into memory bitmaps (WM_PRINTCLIENT) and read back pixel by
// pixel: what the panes, the line numbers and the back buffers show in each state.
#include <string>

#include "tests/kestrel_app/kestrel_window.h"

namespace kestrel::app::testing {
namespace {

constexpr std::uint32_t kWhitePixel = RGB(255, 255, 255), kBlackPixel = RGB(0, 0, 0);
constexpr std::uint32_t kRedPixel = RGB(255, 100, 100), kGreenPixel = RGB(128, 255, 128);
constexpr int kRowBand = 9;  // pixel rows of a view row that its background fills at any font

class ViewPainting : public KestrelWindow {
  protected:
    int Half() const { return App().view.geometry.half; }
    int RowTop(int i) const { return kViewTop + App().settings.rowPitch * i + 1; }
    // Pixels of `colour` in view row `i` of a side's pane, or of its line-number cell.
    int InPane(const Picture& p, int side, int i, std::uint32_t colour) const {
        const PixelRect pane = PaneOf(App().view.geometry, side);
        return p.Count(pane.x, RowTop(i), pane.width, kRowBand, colour);
    }
    int InNumber(const Picture& p, int side, int i, std::uint32_t colour) const {
        return p.Count(side == 0 ? 0 : Half() + 1, RowTop(i), kNumberRule - 1, kRowBand, colour);
    }
    int InBackBuffer(int side, int i, std::uint32_t colour) const {
        int n = 0;
        for (int y = RowTop(i) - kViewTop; y < RowTop(i) - kViewTop + kRowBand; ++y)
            for (int x = 0; x < 20; ++x)
                n += GetPixel(App().view.backDc[side], x, y) == colour;
        return n;
    }
    int Coloured(const Picture& p) const {
        return p.Count(0, 0, p.width, p.height, kRedPixel) +
               p.Count(0, 0, p.width, p.height, kGreenPixel) +
               p.Count(0, 0, p.width, p.height, RGB(200, 200, 200));
    }
    static std::string Lines(int count, const char* prefix) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text.append(prefix).append(std::to_string(1000 + i)).append("\r\n");
        return text;
    }
};

TEST_F(ViewPainting, BeforeAnythingIsLoadedThePanesAreWhiteBetweenRulesAndRowsAreNumbered) {
    ASSERT_NE(Create(), nullptr);
    const Picture p = Render();
    for (int side = 0; side < 2; ++side) {
        const PixelRect pane = PaneOf(App().view.geometry, side);
        EXPECT_EQ(p.Count(pane.x, pane.y, pane.width, pane.height, kWhitePixel),
                  pane.width * pane.height);
        EXPECT_GT(InNumber(p, side, 40, kBlackPixel), 0);
    }
    EXPECT_EQ(p.Count(0, kControlsHeight, p.width, kViewTop - kControlsHeight, kWhitePixel),
              p.width * (kViewTop - kControlsHeight));
    for (const int rule : {kNumberRule, Half(), Half() + kNumberRule})
        EXPECT_EQ(p.At(rule, 200), kBlackPixel) << rule;
    EXPECT_EQ(p.At(kNumberRule + 1, 200), kWhitePixel);
}

TEST_F(ViewPainting, DifferencesAreLightRedFillersLightGreenAndTheirNumbersFollow) {
    ASSERT_NE(Create(), nullptr);
    LoadBoth(Write("a.txt", "a\r\nb\r\nsame start AAAA"),
             Write("b.txt", "a\r\nxyz\r\nb\r\nsame start BBBB"));
    const Picture p = Render();
    // Row 1: a filler line on side A opposite side B's own line "xyz".
    EXPECT_GT(InPane(p, 0, 1, kGreenPixel) * InNumber(p, 0, 1, kGreenPixel), 0);
    EXPECT_GT(InPane(p, 1, 1, kRedPixel) * InNumber(p, 1, 1, kRedPixel), 0);
    for (int side = 0; side < 2; ++side)  // equal rows stay white, their numbers too
        EXPECT_EQ(InPane(p, side, 0, kRedPixel) + InNumber(p, side, 2, kGreenPixel) +
                      InPane(p, side, 2, kRedPixel) + InNumber(p, side, 2, kRedPixel),
                  0);
    // Row 3 changed in place: red only from where it differs.
    int first_red = PaneOf(App().view.geometry, 1).x;
    while (first_red < p.width && p.At(first_red, RowTop(3) + 4) != kRedPixel)
        ++first_red;
    EXPECT_GT(first_red, PaneOf(App().view.geometry, 1).x + 20);
    EXPECT_LT(first_red, PaneOf(App().view.geometry, 1).x + 200);
    // The back buffers hold the same runs from their own top-left corner.
    EXPECT_GT(InBackBuffer(0, 1, kGreenPixel) * InBackBuffer(1, 1, kRedPixel), 0);
    EXPECT_EQ(InBackBuffer(1, 0, kRedPixel), 0);

    Command(IDM_RESTORE);
    const Picture restored = Render();
    EXPECT_EQ(Coloured(restored), 0);
    EXPECT_GT(InPane(restored, 1, 1, kBlackPixel), 0);  // the loaded text again
    LoadBoth(Write("c.txt", "one\r\ntwo"), Write("d.txt", "one\r\ntwo"));
    EXPECT_EQ(Coloured(Render()), 0);  // equal files show no colour
}

TEST_F(ViewPainting, SideAsLongLinesNeverSpillIntoSideB) {
    ASSERT_NE(Create(), nullptr);
    // 300 characters: far wider than the pane, and one line each.
    LoadBoth(Write("a.txt", std::string(300, 'W') + "\r\n" + std::string(300, 'M')),
             Write("b.txt", "x\r\ny"));
    const PixelRect b = PaneOf(App().view.geometry, 1);
    for (const Picture& p : {Render(), (Command(IDM_RESTORE), Render())}) {
        EXPECT_LT(p.Count(Half() - 10, RowTop(0), 10, kRowBand, kWhitePixel), 10 * kRowBand);
        EXPECT_EQ(p.At(Half(), RowTop(0)), kBlackPixel);
        EXPECT_EQ(p.Count(Half() + 1, RowTop(0), 3, kRowBand, kWhitePixel), 3 * kRowBand);
        EXPECT_EQ(p.Count(b.x + 30, b.y, b.width - 30, b.height, kWhitePixel),
                  (b.width - 30) * b.height);
    }
}

TEST_F(ViewPainting, ScrollingMovesRowsByOnePitchAndANewPitchAppliesAtOnce) {
    ASSERT_NE(Create(), nullptr);
    LoadBoth(Write("a.txt", Lines(100, "left ")), Write("b.txt", Lines(100, "right ")));
    const Picture before = Render();
    SendMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    const Picture after = Render();
    const int pitch = App().settings.rowPitch;
    int differing = 0;
    for (int y = kViewTop; y < kViewTop + 20 * pitch; ++y)
        for (int x = 0; x < after.width; ++x)
            differing += after.At(x, y) != before.At(x, y + pitch);
    EXPECT_EQ(differing, 0);
    App().settings.rowPitch = 18;  // what the settings dialog's OK does for a height of 16
    const Picture spaced = Render();
    // Row 0's number ends well above the new row 1 at y = 48; the gap stays white.
    EXPECT_EQ(spaced.Count(0, 44, kNumberRule, 4, kWhitePixel), 4 * kNumberRule);
    EXPECT_GT(spaced.Count(0, 48, kNumberRule, 12, kBlackPixel), 0);
}

// Hand-edited settings the view must draw without failing or reporting: a pitch of 0, fewer grid
// rows than the view shows, and a back buffer (12 x 2 pixels wide) narrower than its pane.
TEST_F(ViewPainting, OddGridAndFontSettingsAreDrawnWithoutReports) {
    WriteSettings("draw_font_height=-2\r\n");
    ASSERT_NE(Create(), nullptr);
    LoadBoth(Write("a.txt", "a\r\nb"), Write("b.txt", "a\r\nc"));
    SendMessageW(window, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(Render().width, App().view.geometry.width);
    Destroy();

    WriteSettings("dtylength_max=20\r\n");
    ASSERT_NE(Create(), nullptr);
    LoadBoth(Write("a.txt", Lines(30, "a")), Write("b.txt", Lines(30, "b")));
    SendMessageW(window, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(App().view.topRow, 0);
    Picture p = Render();
    EXPECT_GT(InNumber(p, 0, 19, kBlackPixel) * InPane(p, 0, 18, kBlackPixel), 0);
    EXPECT_EQ(InNumber(p, 0, 20, kBlackPixel) + InPane(p, 0, 20, kBlackPixel), 0);
    Destroy();

    WriteSettings("dtxlength_max=2\r\n");
    ASSERT_NE(Create(), nullptr);
    LoadBoth(Write("a.txt", "WW\r\nMM"), Write("b.txt", "WW\r\nNN"));
    p = Render();
    const PixelRect a = PaneOf(App().view.geometry, 0);
    EXPECT_LT(p.Count(a.x, a.y, 24, 30, kWhitePixel), 24 * 30);
    EXPECT_EQ(p.Count(a.x + 24, a.y, a.width - 24, a.height, kWhitePixel),
              (a.width - 24) * a.height);
    std::vector<std::u16string> captions;  // the only warnings are those of the cut loads
    for (const auto& shown : reporter.shown)
        captions.push_back(shown.caption);
    EXPECT_EQ(captions, (std::vector<std::u16string>{u"比較完了", u"読込注意", u"読込注意",
                                                     u"比較完了", u"比較完了"}));
}

}  // namespace
}  // namespace kestrel::app::testing

// Where the comparison view puts things and in which colours, without drawing anything: the
// layout fixed when the window is made, the rows shown, and the colour runs of a row. The
// Win32 painter follows these numbers pixel for pixel.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "kestrel/engine/text_grids.h"

namespace kestrel {

// A colour as 0x00BBGGRR, the layout the platform's colour values have.
constexpr std::uint32_t ColourOf(int red, int green, int blue) {
    return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8) |
           (static_cast<std::uint32_t>(blue) << 16);
}

constexpr std::uint32_t kWhite = ColourOf(255, 255, 255);
constexpr std::uint32_t kBlack = ColourOf(0, 0, 0);
constexpr std::uint32_t kLightRed = ColourOf(255, 100, 100);
constexpr std::uint32_t kLightGreen = ColourOf(128, 255, 128);
constexpr std::uint32_t kGrey = ColourOf(200, 200, 200);

constexpr int kControlsHeight = 22;   // the path boxes and buttons
constexpr int kViewTop = 30;          // below the band of path boxes and buttons
constexpr int kNumberIndent = 5;      // line numbers start here in each half
constexpr int kNumberRule = 45;       // the rule between line numbers and text
constexpr int kPaneIndent = 50;       // the text pane starts here in each half
constexpr int kPaneBottomGap = 20;    // the pane ends this far above the bottom
constexpr int kScrolledBandGap = 22;  // a scroll redraws down to this far above the bottom
// The client height less these is what the text rows and the line-number rows are counted in.
constexpr int kVisibleRowsAllowance = 8;
constexpr int kNumberedRowsAllowance = 48;

// The pitch the view computes with: a pitch below 1 (only a hand-edited settings file can
// give one) counts as 1, so no division by it can fail.
constexpr int UsablePitch(int pitch) {
    return pitch < 1 ? 1 : pitch;
}

// The layout of the view, computed once from the client area when the window is made.
struct ViewGeometry {
    int width = 0;        // W
    int height = 0;       // H
    int half = 0;         // W / 2, the left edge of side B's half
    int visibleRows = 0;  // V = (H - 8) / (p + 1): text rows drawn per pane
    int scrollStep = 0;   // S = V / 2
};

ViewGeometry MakeViewGeometry(int width, int height, int pitch);

// N = (H - 48) / p: rows of each line-number column at the current pitch; never negative.
int NumberedRows(int height, int pitch);

// `top` kept within 0 and the larger of 0 and rows - visibleRows.
int ClampTopRow(int top, int rows, int visibleRows);

// The wheel's distances turned into scroll steps. A mouse reports a whole notch (120) or more in
// each message, and each such message moves the view by one step whatever its distance. A
// precision touchpad reports a swipe as many small distances; those are added up, and the view
// moves one step each time their sum reaches a notch in one direction.
class WheelSteps {
  public:
    static constexpr int kNotch = 120;

    // The steps a wheel message of `distance` moves the top row by: 1 (down the text) for a
    // distance toward the user (below 0), -1 for one away from the user, 0 while a sum of small
    // distances stays short of a notch. A small distance against the direction of the sum so far
    // starts a new sum.
    int Take(int distance);

  private:
    int pending_ = 0;  // small distances added up, always less than a notch either way
};

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The text pane of `side` in client pixels: side A from x = 50 to half, side B from half + 50
// to the right edge, both from y = 30 to H - 20.
PixelRect PaneOf(const ViewGeometry& geometry, int side);

// The cell of line-number row `i` of `side` at `pitch`: from the half's left edge (past the
// middle rule for side B) to the number rule, one pitch high.
PixelRect NumberCellOf(const ViewGeometry& geometry, int side, int i, int pitch);

// The parts of the client area below the controls that neither a number cell nor a pane
// covers: the strip under the path boxes, the number columns below their last cell, the
// gutters between rules and panes and the strip under the panes. The window never erases its
// background, so each paint whitens these instead of leaving what the screen held there.
constexpr int kUncoveredAreaCount = 7;
std::array<PixelRect, kUncoveredAreaCount> UncoveredAreas(const ViewGeometry& geometry,
                                                          int numberedRows, int pitch);

// Left edge of `side`'s line numbers: 5 or half + 5.
inline int NumberLeftOf(const ViewGeometry& geometry, int side) {
    return (side == 0 ? 0 : geometry.half) + kNumberIndent;
}

// Width of a back buffer: the font height times the grid's columns, at least 1 pixel and at
// most what an int holds (so a huge hand-edited size fails to allocate instead of wrapping).
int BackBufferWidth(int fontHeight, int columns);

// The background of a colour code: "0" white, "1" light red, "2" light green, else grey.
std::uint32_t CodeBackground(int code);

// "%06d": the 0-based row index as the line-number columns show it.
std::u16string LineNumberText(int row);

struct ColourRun {
    int column = 0;
    int length = 0;
    int code = 0;
};

// Calls visit(ColourRun) for each run of equally coded cells of working row `row` of `side`,
// left to right, as memcolorlen reports them. `row` must lie inside the grid.
template <class Visit>
void ForEachColourRun(const TextGrids& grids, int side, int row, Visit visit) {
    const int length = grids.memwcslen(WorkingGrid(side), row);
    for (int column = 0; column < length;) {
        int code = 0;
        const int run = grids.memcolorlen(column, ColourGrid(side), row, &code);
        if (run < 1) return;  // only a bounds report yields 0; the row then counts as empty
        visit(ColourRun{column, std::min(run, length - column), code});
        column += run;
    }
}

// After a comparison with differences, the colour in which row `row` of `side` gets its line
// number again: that of the row's last run whose code is not "0", when that code is "1" or "2".
// Nothing when the row has no such run or its last one carries any other code.
std::optional<std::uint32_t> NumberHighlight(const TextGrids& grids, int side, int row);

}  // namespace kestrel

// Comparing the two loaded sides: equal lines are brought into the same row of the working
// grids by filler lines, and every character gets a colour code: "0" equal, "1" different,
// "2" filler.
#pragma once

#include "common/report.h"
#include "kestrel/engine/engine.h"

namespace kestrel {

struct AlignedCounts {
    int a = 0;  // side A's line count plus the filler lines put into side A
    int b = 0;
};

// What a comparison writes besides the compare state and the counts: the working and colour
// grids the view draws, or nothing, for a caller that needs only the state (kestrel-cli
// --quiet). The state and the counts are the same either way; without the grids a comparison
// touches the pages of two grids instead of six, and the working and colour grids keep what
// they held, which then belongs to no comparison and must not be drawn.
enum class CompareOutput { kGrids, kStateOnly };

// Rebuilds both working grids and colour grids from the loaded grids, sets the compare state
// (1 when every row matched, else 2) and shows "一致しました" or "不一致です" under "比較完了"
// (no owner). The alignment is greedy: at a row whose lines differ it looks at most
// min(t, rows - t) - 1 rows ahead (t: the larger aligned line count) for the nearest row where
// one side's line reappears on the other side and pads the other side with filler lines; the
// smallest distance wins, and on a tie the filler lines go into side A. Rows that stay
// unmatched are then compared column by column. Expects compare state 0.
AlignedCounts CompareSides(Engine& engine, ko::Reporter& reporter,
                           CompareOutput output = CompareOutput::kGrids);

}  // namespace kestrel

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

// Rebuilds both working grids and colour grids from the loaded grids, sets the compare state
// (1 when every row matched, else 2) and shows "一致しました" or "不一致です" under "比較完了"
// (no owner). The alignment is greedy: at a row whose lines differ it looks at most
// min(t, rows - t) - 1 rows ahead (t: the larger aligned line count) for the nearest row where
// one side's line reappears on the other side and pads the other side with filler lines; the
// smallest distance wins, and on a tie the filler lines go into side A. Rows that stay
// unmatched are then compared column by column. Expects compare state 0.
// An engine that keeps its lines in compact stores (LineStorage::kCompact) gets the same state,
// counts and message, and no grid is written: the working and colour grids then belong to no
// comparison and must not be drawn.
AlignedCounts CompareSides(Engine& engine, ko::Reporter& reporter);

}  // namespace kestrel

// Everything Kestrel knows about the two files being compared: the six grids, each side's
// line count and encoding, and the compare state. One instance per process, owned by the main
// window (or by the console program), made once with Allocate().
#pragma once

#include <cstdint>
#include <vector>

#include "common/report.h"
#include "kestrel/engine/text_grids.h"

namespace kestrel {

enum class Encoding : int { kUtf16Le = 0, kUtf16Be = 1, kUtf8 = 2, kAnsi = 3 };

// Compare state: before comparison, compared and equal, compared with differences.
enum CompareState : int { kNotCompared = 0, kMatched = 1, kDiffered = 2 };

struct LoadedSide {
    int lineCount = 0;  // the next row a line goes to; never above rows - 1
    Encoding encoding = Encoding::kAnsi;
    std::vector<std::uint64_t> rowHash;  // hash of each loaded row's text
};

// Working storage of the comparison, sized once for the grid's rows so that comparing
// allocates nothing.
struct ComparisonScratch {
    struct Slot {
        std::uint64_t hash;
        std::int32_t lineClass;  // -1: free
        std::int32_t row;        // a row of loaded grid A (>= 0) or B (encoded as -row - 1)
    };
    std::vector<Slot> table;                  // open addressing, a power of two >= 4 x rows
    std::vector<std::int32_t> classOf[2];     // per loaded row: its line class
    std::vector<std::int32_t> classStart[2];  // per class: first entry in `rowsOf`
    std::vector<std::int32_t> rowsOf[2];      // loaded rows grouped by class, ascending
    std::vector<std::int32_t> source[2];      // per working row: loaded row, or -1 for filler
    std::vector<std::uint8_t> rowKind;        // per working row: how it was aligned
};

struct Engine {
    TextGrids grids;
    LoadedSide sides[2];
    int compareState = kNotCompared;
    ComparisonScratch scratch;
    std::vector<std::uint8_t> readBuffer;

    // Makes the grids for `columns` x `rows` (see GridShapeFor) and sizes the side and
    // comparison storage. Reports an allocation failure as the grids do; returns false then.
    bool Allocate(long long columns, long long rows, ko::Reporter& reporter, ko::OwnerWindow owner);
};

}  // namespace kestrel

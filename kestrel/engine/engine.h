// Everything Kestrel knows about the two files being compared: the six grids, each side's
// lines, line count and encoding, and the compare state. One instance per process, owned by the
// main window (or by the console program), made once with Allocate().
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/report.h"
#include "kestrel/engine/compact_lines.h"
#include "kestrel/engine/text_grids.h"

namespace kestrel {

enum class Encoding : int { kUtf16Le = 0, kUtf16Be = 1, kUtf8 = 2, kAnsi = 3 };

// Compare state: before comparison, compared and equal, compared with differences.
enum CompareState : int { kNotCompared = 0, kMatched = 1, kDiffered = 2 };

// Where the loaded lines are kept. In the loaded grids, from which a comparison builds the
// working and colour grids that the view draws; or, for a caller that needs only the compare
// state and the counts (kestrel-cli --quiet), in compact stores, and a comparison then writes
// no grid at all. The lines, the cuts, the alignment and the outcome are the same either way.
enum class LineStorage { kLoadedGrids, kCompact };

struct LoadedSide {
    int lineCount = 0;  // the next row a line goes to; never above rows - 1
    Encoding encoding = Encoding::kAnsi;
    std::vector<std::uint64_t> rowHash;  // hash of each loaded row's text, for the rows loaded
    CompactLines compactLines;           // the rows, unless the loaded grid holds them
};

// Working storage of the comparison. It grows with the lines loaded, never with the grid's
// rows, and the loader makes room for the next comparison so that comparing allocates nothing.
struct ComparisonScratch {
    struct Slot {
        std::uint64_t hash;
        std::int32_t lineClass;  // -1: free
        std::int32_t row;        // a row of loaded grid A (>= 0) or B (encoded as -row - 1)
    };
    std::vector<Slot> table;  // open addressing, a power of two >= 2 x the lines loaded
    std::vector<std::int32_t> classOf[2];     // per loaded row that may hold text: its class
    std::vector<std::int32_t> classStart[2];  // per class: first entry in `rowsOf`
    std::vector<std::int32_t> rowsOf[2];      // those rows grouped by class, ascending
    std::vector<std::int32_t> source[2];      // per working row: loaded row, or -1 for filler
    std::vector<std::uint8_t> rowKind;        // per working row: how it was aligned
};

struct Engine {
    TextGrids grids;
    LoadedSide sides[2];
    LineStorage storage = LineStorage::kLoadedGrids;
    CompareState compareState = kNotCompared;
    ComparisonScratch scratch;
    std::vector<std::uint8_t> readBuffer;

    // Makes the grids for `columns` x `rows` (see GridShapeFor; `memory_bytes` as for
    // TextGrids::Allocate), keeps the lines of every later load in `storage` and empties both
    // sides. The six grids are made also for compact storage, which never touches them: a grid
    // size is refused, or not, whatever the caller reads, and untouched blocks cost no pages.
    // Reports an allocation failure as the grids do; returns false then.
    bool Allocate(long long columns, long long rows, ko::Reporter& reporter, ko::OwnerWindow owner,
                  LineStorage storage = LineStorage::kLoadedGrids,
                  std::uint64_t memory_bytes = PhysicalMemoryBytes());

    // Row `row` of side `side`'s loaded lines, wherever `storage` keeps them: its text and its
    // length. A row never stored is empty.
    const char16_t* LoadedText(int side, int row) const {
        return storage == LineStorage::kLoadedGrids ? grids.Row(LoadedGrid(side), row)
                                                    : sides[side].compactLines.Text(row);
    }
    int LoadedLength(int side, int row) const {
        return storage == LineStorage::kLoadedGrids ? grids.RowExtent(LoadedGrid(side), row)
                                                    : sides[side].compactLines.Length(row);
    }
    // Makes `count` units of `text`, cut to the grid's columns, row `row` of side `side`'s
    // loaded lines. Returns the number of units stored.
    int StoreLoaded(int side, int row, const char16_t* text, int count) {
        if (storage == LineStorage::kLoadedGrids)
            return grids.StoreRow(LoadedGrid(side), row, text, count);
        count = std::clamp(count, 0, grids.columns());
        sides[side].compactLines.Store(row, text, count);
        return count;
    }
    // The rows of side `side`'s loaded lines that may hold text; every row from there on is
    // empty.
    int LoadedRows(int side) const {
        return storage == LineStorage::kLoadedGrids ? grids.UsedRows(LoadedGrid(side))
                                                    : sides[side].compactLines.UsedRows();
    }
    // The working rows a comparison of what the sides hold now can write: every row from
    // there on stays empty.
    int ComparedRows() const;
    // The part of `scratch.table` a comparison of what the sides hold now uses.
    std::size_t ClassTableSize() const;
    // Makes room for comparing what the sides hold now, so that the comparison allocates
    // nothing. Throws std::bad_alloc when memory runs out.
    void ReserveComparison();
};

}  // namespace kestrel

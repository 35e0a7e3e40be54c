// The six fixed-size grids of UTF-16 units: loaded, working and colour grid per side. Each is
// one block of rows x columns units plus 2048 spare bytes, allocated once and never resized.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/messages.h"
#include "kestrel/engine/grid_memory.h"

namespace kestrel {

enum Grid : int {
    kLoadedA = 0,
    kLoadedB = 1,
    kWorkingA = 2,
    kWorkingB = 3,
    kColourA = 4,
    kColourB = 5,
};
constexpr int kGridCount = 6;
constexpr std::size_t kSpareBytes = 2048;

// What every allocation of the engine that fails shows (messages::kOutOfMemory, error icon).
void ReportAllocationFailure(ko::Reporter& reporter, ko::OwnerWindow owner);

constexpr char16_t kCodeEqual = u'0';
constexpr char16_t kCodeDifferent = u'1';
constexpr char16_t kCodeFiller = u'2';

inline Grid LoadedGrid(int side) {
    return side == 0 ? kLoadedA : kLoadedB;
}
inline Grid WorkingGrid(int side) {
    return side == 0 ? kWorkingA : kWorkingB;
}
inline Grid ColourGrid(int side) {
    return side == 0 ? kColourA : kColourB;
}

struct GridShape {
    int rows = 0;
    int columns = 0;
};

// The shape the grids are made with for the settings' `columns` x `rows`: a value below 1 is
// raised to 1. Returns false when one grid (rows x columns x 2 + 2048 bytes) would not fit in
// 32 bits; such a size is refused like a failed allocation.
bool GridShapeFor(long long columns, long long rows, GridShape& shape);

class TextGrids {
  public:
    TextGrids() = default;
    TextGrids(const TextGrids&) = delete;
    TextGrids& operator=(const TextGrids&) = delete;
    ~TextGrids() { Release(); }

    // Obtains the six zeroed blocks in grid order. Six grids larger together than
    // `memory_bytes` (the machine's physical memory unless a caller knows better) are refused
    // before anything is allocated: they would be paged to death or killed by the system. On
    // failure shows ReportAllocationFailure's message (owned by `owner`), keeps the blocks
    // already obtained for Release() and returns false.
    bool Allocate(long long columns, long long rows, ko::Reporter& reporter, ko::OwnerWindow owner,
                  std::uint64_t memory_bytes = PhysicalMemoryBytes());
    void Release();
    bool allocated() const { return blocks_[kGridCount - 1] != nullptr; }

    int rows() const { return shape_.rows; }
    int columns() const { return shape_.columns; }
    std::size_t grid_bytes() const { return grid_bytes_; }

    char16_t* Row(int grid, int row) {
        return blocks_[grid] + static_cast<std::size_t>(row) * shape_.columns;
    }
    const char16_t* Row(int grid, int row) const {
        return blocks_[grid] + static_cast<std::size_t>(row) * shape_.columns;
    }
    // The whole block, spare bytes included.
    const std::uint8_t* Bytes(int grid) const {
        return reinterpret_cast<const std::uint8_t*>(blocks_[grid]);
    }

    // Sets every byte of `grid` to zero. Only the cells written since the last clearing can be
    // non-zero, so only those are touched: clearing an 8 MB grid that holds ten short lines
    // costs ten short fills instead of 8 MB of stores.
    void Clear(int grid) { ClearRowsFrom(grid, 0); }
    // Sets every byte of rows `row` .. rows() - 1 to zero, touching only what was written.
    void ClearRowsFrom(int grid, int row);

    // Replaces row `row` with `count` units of `text` (cut to the row's width) followed by zeros.
    // Returns the number of units stored.
    int StoreRow(int grid, int row, const char16_t* text, int count);
    // Replaces rows `to_row` .. `to_row + count - 1` of `to_grid` with the rows from `from_row`
    // on of `from_grid`. Where the rows are mostly short, only the units that hold text on
    // either side are written: a 40-unit line in a 1,024-column grid costs 80 bytes, not 2 KiB.
    void CopyRows(int to_grid, int to_row, int from_grid, int from_row, int count);
    // Replaces row `row` with `count` copies of `unit` followed by zeros.
    void StoreFilledRow(int grid, int row, char16_t unit, int count);
    // How far from column 0 the row may hold non-zero units; after StoreRow() exactly the
    // number of units stored.
    int RowExtent(int grid, int row) const {
        return static_cast<std::size_t>(row) < extent_[grid].size() ? extent_[grid][row] : 0;
    }
    // The number of leading rows of `grid` that may hold text; every row from there on is empty.
    int UsedRows(int grid) const { return dirty_rows_[grid]; }

    // Makes room in the row bookkeeping of every grid for rows 0 .. `rows` - 1, so writing them
    // allocates nothing. The bookkeeping otherwise grows with the rows written, never with
    // rows(). Throws std::bad_alloc when memory runs out.
    void ReserveRows(int rows);
    // Rows 0 .. `rows` - 1 of `grid` are about to be written: the 2 MiB pages they cover at
    // least halfway may come as huge pages (see AdviseFill). Rows written without this keep
    // small pages.
    void ExpectRows(int grid, int rows);

    // The number of units of `row` before its first 0 unit, at most columns(). A row outside
    // the grid shows "iy value is over iy=%d:%d" under "memwcslen error" and yields 0.
    int memwcslen(int grid, int row) const;

    // The colour code at (y, x) of the colour grid numbered `mode` (4 or 5) in `code` and the
    // length of the run of equally coded cells from there, stopping at a changed code or at a
    // 0 unit of the working grid beside it. Modes 0..3 yield 0 silently; out-of-range
    // arguments show their report under "memcolorlen error" and yield 0.
    int memcolorlen(int x, int mode, int y, int* code) const;

    // Where reports of the two row reads go (a box without owner in the program).
    void set_reporter(ko::Reporter* reporter) { reporter_ = reporter; }

  private:
    // Makes room for row `row` of `grid` in its bookkeeping.
    void PrepareRow(int grid, int row);
    // Zeroes what the row held beyond `count` units and records `count` as its extent.
    void EndRowAt(int grid, int row, int count);
    void Report(const ko::Message& message, std::initializer_list<ko::FormatArg> args) const;

    char16_t* blocks_[kGridCount] = {};
    GridShape shape_;
    std::size_t grid_bytes_ = 0;
    // Per grid and row: how far from column 0 the row may hold non-zero units, kept for the
    // rows written so far only; the number of leading rows that may hold any, so clearing can
    // skip the rest; and how many leading rows were offered huge pages.
    std::vector<int> extent_[kGridCount];
    int dirty_rows_[kGridCount] = {};
    int advised_rows_[kGridCount] = {};
    ko::Reporter* reporter_ = nullptr;
};

}  // namespace kestrel

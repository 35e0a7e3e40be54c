// Slow, literal versions of the loader's line splitting and of the comparison, written
// straight from their step lists with no speed tricks and no code of the engine but its line
// decoders, which the decoding table checks on their own. The tests feed them and the engine
// the same inputs and demand identical grids, cell for cell.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::literal {

// One grid as plain rows of `columns` units (no spare bytes).
struct Grid {
    int rows = 0, columns = 0;
    std::vector<char16_t> cells;
    Grid(int r, int c) : rows(r), columns(c), cells(static_cast<std::size_t>(r) * c, 0) {}
    char16_t* Row(int r) { return cells.data() + std::size_t(r) * columns; }
    const char16_t* Row(int r) const { return cells.data() + std::size_t(r) * columns; }
    int Length(int r) const { return int(std::find(Row(r), Row(r) + columns, 0) - Row(r)); }
};

// Splits and stores `bytes` (the whole file, signature included) reading one unit at a time.
// Returns the loaded grid; `line_count` receives the side's line count.
Grid LoadBytes(const std::string& bytes, int kaimode, int rows, int columns, int& line_count);

struct Comparison {
    Grid working[2], colour[2];
    int state = 0, nA = 0, nB = 0;
    Comparison(int r, int c) : working{Grid(r, c), Grid(r, c)}, colour{Grid(r, c), Grid(r, c)} {}
};

// Compares two loaded grids step by step as the comparison is described, from compare state 0.
Comparison Compare(const Grid& loaded_a, int count_a, const Grid& loaded_b, int count_b);

}  // namespace kestrel::literal

#include "kestrel/engine/comparison.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "kestrel/messages.h"

namespace kestrel {

namespace {

// How a working row came about.
enum RowKind : std::uint8_t {
    kSame,       // both lines equal where they stood, or equal after filler lines
    kUnmatched,  // no partner found: every character "1" until the column marking
    kFillerInA,  // side A holds a filler line opposite a line of side B's own
    kFillerInB,  // the other way round
};

constexpr int kEmptyClass = 0;
constexpr int kNoPosition = std::numeric_limits<int>::max();

// Gives every distinct loaded line an integer class, the same on both sides for equal texts,
// so the alignment compares integers. With `confirm`, rows of equal hash and length are also
// compared unit by unit before they share a class; without it the check is left to
// EqualRowsVerified, which looks only at the rows the alignment then put side by side.
int ClassifyLines(Engine& engine, bool confirm) {
    ComparisonScratch& s = engine.scratch;
    const std::size_t size = engine.ClassTableSize();
    const std::size_t mask = size - 1;
    std::fill_n(s.table.begin(), size, ComparisonScratch::Slot{0, -1, 0});
    int classes = 1;  // class 0 is the empty line
    for (int side = 0; side < 2; ++side) {
        std::vector<std::int32_t>& classOf = s.classOf[side];
        for (int row = 0; row < engine.LoadedRows(side); ++row) {
            const int length = engine.LoadedLength(side, row);
            if (length == 0) {
                classOf[row] = kEmptyClass;
                continue;
            }
            const std::uint64_t hash = engine.sides[side].rowHash[row];
            const char16_t* text = engine.LoadedText(side, row);
            std::size_t at = hash & mask;
            for (;; at = (at + 1) & mask) {
                ComparisonScratch::Slot& slot = s.table[at];
                if (slot.lineClass < 0) {
                    slot = {hash, classes, side == 0 ? row : -row - 1};
                    classOf[row] = classes++;
                    break;
                }
                if (slot.hash != hash) continue;
                const int other = slot.row >= 0 ? 0 : 1;
                const int otherRow = slot.row >= 0 ? slot.row : -slot.row - 1;
                if (engine.LoadedLength(other, otherRow) == length &&
                    (!confirm || std::memcmp(engine.LoadedText(other, otherRow), text,
                                             sizeof(char16_t) * length) == 0)) {
                    classOf[row] = slot.lineClass;
                    break;
                }
            }
        }
    }
    return classes;
}

// Groups each side's rows that may hold text by class, ascending within a class (a counting
// sort), so the next row of a class below a given row is one binary search away.
void IndexRowsByClass(const Engine& engine, ComparisonScratch& s, int classes) {
    for (int side = 0; side < 2; ++side) {
        const int rows = engine.LoadedRows(side);
        std::vector<std::int32_t>& start = s.classStart[side];
        std::fill_n(start.begin(), classes + 1, 0);
        for (int row = 0; row < rows; ++row)
            ++start[s.classOf[side][row] + 1];
        for (int c = 0; c < classes; ++c)
            start[c + 1] += start[c];
        // Fill from the back of each class's range so rows end up ascending.
        for (int row = rows - 1; row >= 0; --row) {
            const int c = s.classOf[side][row];
            s.rowsOf[side][--start[c + 1]] = row;
        }
        // Each start[c + 1] has walked back to the first entry of class c: shift them down.
        for (int c = 0; c < classes; ++c)
            start[c] = start[c + 1];
        start[classes] = rows;
    }
}

// The class of loaded row `row` of `side`; the rows past the side's text are empty.
int ClassAt(const Engine& engine, int side, int row) {
    return row < engine.LoadedRows(side) ? engine.scratch.classOf[side][row] : kEmptyClass;
}

// The smallest distance k >= 1 such that loaded row `from + k` of `side` has class `lineClass`,
// or kNoPosition. Past the side's text every row up to the grid's last is empty.
int DistanceToNext(const Engine& engine, int side, int lineClass, int from) {
    const ComparisonScratch& s = engine.scratch;
    const std::vector<std::int32_t>& start = s.classStart[side];
    const auto first = s.rowsOf[side].begin() + start[lineClass];
    const auto last = s.rowsOf[side].begin() + start[lineClass + 1];
    const auto next = std::upper_bound(first, last, from);
    if (next != last) return *next - from;
    if (lineClass != kEmptyClass) return kNoPosition;
    const int empty = std::max(from + 1, engine.LoadedRows(side));
    return empty < engine.grids.rows() ? empty - from : kNoPosition;
}

struct Alignment {
    CompareState state;
    int nA, nB;
    int rows;  // the working rows aligned; every row from there on is empty on both sides
};

// Lines the rows up greedily from the top, recording for every working row where each side's
// text comes from (a loaded row, or -1 for a filler line) and how the row came about. Rows at
// and below j are always the loaded rows shifted down by the filler lines put into that side
// so far, so a working row is read as its loaded row and the look-ahead is a search in the
// other side's rows of the same class. Once both sides are past their text, every further
// row is two empty lines, equal where they stand: the alignment stops there.
Alignment Align(const Engine& engine, ComparisonScratch& s) {
    const int rows = engine.grids.rows();
    Alignment a{engine.compareState, engine.sides[0].lineCount, engine.sides[1].lineCount, 0};
    int fillersA = 0, fillersB = 0;
    int j = 0;
    while (j < rows) {
        const int fromA = j - fillersA, fromB = j - fillersB;
        if (fromA >= engine.LoadedRows(0) && fromB >= engine.LoadedRows(1)) break;
        const int classA = ClassAt(engine, 0, fromA), classB = ClassAt(engine, 1, fromB);
        if (classA == classB) {
            s.source[0][j] = fromA;
            s.source[1][j] = fromB;
            s.rowKind[j++] = kSame;
            continue;
        }
        const int t = std::max(a.nA, a.nB);
        const int window = std::max(0, std::min(t, rows - t));
        const int kB = DistanceToNext(engine, 1, classA, fromB);  // side B has lines of its own
        const int kA = DistanceToNext(engine, 0, classB, fromA);  // side A has lines of its own
        const int k = std::min(kA, kB);
        a.state = kDiffered;
        if (k > window - 1) {
            s.source[0][j] = fromA;
            s.source[1][j] = fromB;
            s.rowKind[j++] = kUnmatched;
            continue;
        }
        const bool fillA = kB <= kA;  // on a tie the filler lines go into side A
        for (int i = 0; i < k; ++i) {
            s.source[0][j + i] = fillA ? -1 : fromA + i;
            s.source[1][j + i] = fillA ? fromB + i : -1;
            s.rowKind[j + i] = fillA ? kFillerInA : kFillerInB;
        }
        j += k;
        s.source[0][j] = fillA ? fromA : fromA + k;
        s.source[1][j] = fillA ? fromB + k : fromB;
        s.rowKind[j++] = kSame;
        (fillA ? a.nA : a.nB) += k;
        (fillA ? fillersA : fillersB) += k;
    }
    a.rows = j;
    return a;
}

// Whether the two loaded rows behind working row `row` hold the same text.
bool VerifiedEqual(const Engine& engine, int row) {
    const int fromA = engine.scratch.source[0][row], fromB = engine.scratch.source[1][row];
    const int length = engine.LoadedLength(0, fromA);
    const char16_t* textA = engine.LoadedText(0, fromA);
    // std::equal, not memcmp: an empty compact store has no text at all (a null pointer).
    return length == engine.LoadedLength(1, fromB) &&
           std::equal(textA, textA + length, engine.LoadedText(1, fromB));
}

// Copies the loaded rows behind the first `rows` working rows of `side` into its working grid,
// writes the filler lines and empties the rows below.
void WriteWorkingGrid(TextGrids& grids, const ComparisonScratch& s, int side, int rows) {
    const std::vector<std::int32_t>& source = s.source[side];
    const Grid working = WorkingGrid(side), loaded = LoadedGrid(side);
    grids.ExpectRows(working, rows);
    for (int row = 0; row < rows;) {
        if (source[row] < 0) {
            // A filler line: blanks as long as the other side's line, at least one.
            const int opposite = grids.RowExtent(LoadedGrid(1 - side), s.source[1 - side][row]);
            grids.StoreFilledRow(working, row, u' ', std::max(1, opposite));
            ++row;
            continue;
        }
        int end = row + 1;
        while (end < rows && source[end] == source[row] + (end - row))
            ++end;
        grids.CopyRows(working, row, loaded, source[row], end - row);
        row = end;
    }
    grids.ClearRowsFrom(working, rows);
}

// Writes both colour grids row by row; every aligned row is overwritten, whatever an earlier
// comparison left behind a row's new end is zeroed on the way, and the rows below are emptied.
void WriteColourGrids(TextGrids& grids, ComparisonScratch& s, const Alignment& a) {
    grids.ExpectRows(kColourA, a.rows);
    grids.ExpectRows(kColourB, a.rows);
    for (int row = 0; row < a.rows; ++row) {
        const RowKind kind = static_cast<RowKind>(s.rowKind[row]);
        int lengths[2];
        for (int side = 0; side < 2; ++side) {
            lengths[side] = grids.RowExtent(WorkingGrid(side), row);
            const char16_t code = s.source[side][row] < 0 ? kCodeFiller
                                  : kind == kSame         ? kCodeEqual
                                                          : kCodeDifferent;
            grids.StoreFilledRow(ColourGrid(side), row, code, lengths[side]);
        }
        // Column marking of rows that found no partner (side A's aligned rows only): equal
        // units at the same column become "0" on both sides.
        if (kind == kUnmatched && row < a.nA && lengths[0] > 0 && lengths[1] > 0) {
            const char16_t* textA = grids.Row(kWorkingA, row);
            const char16_t* textB = grids.Row(kWorkingB, row);
            char16_t* colourA = grids.Row(kColourA, row);
            char16_t* colourB = grids.Row(kColourB, row);
            const int common = std::min(lengths[0], lengths[1]);
            for (int c = 0; c < common; ++c) {
                const char16_t code = textA[c] == textB[c] ? kCodeEqual : kCodeDifferent;
                colourA[c] = code;
                colourB[c] = code;
            }
        }
    }
    grids.ClearRowsFrom(kColourA, a.rows);
    grids.ClearRowsFrom(kColourB, a.rows);
}

// Whether every row aligned as equal really holds the same text on both sides.
bool EqualRowsVerified(const Engine& engine, int rows) {
    for (int row = 0; row < rows; ++row)
        if (engine.scratch.rowKind[row] == kSame && !VerifiedEqual(engine, row)) return false;
    return true;
}

}  // namespace

AlignedCounts CompareSides(Engine& engine, ko::Reporter& reporter) {
    // Loading made room already; this allocates only for grids that were filled another way.
    try {
        engine.ReserveComparison();
    } catch (const std::bad_alloc&) {
        ReportAllocationFailure(reporter, nullptr);
        return {engine.sides[0].lineCount, engine.sides[1].lineCount};
    }
    ComparisonScratch& s = engine.scratch;
    // First trust equal hashes and lengths and check only the rows that were aligned as equal,
    // once: most hash hits never decide anything. Should two different lines ever share a hash,
    // the alignment runs again with every hash hit confirmed before it is used.
    Alignment a{};
    for (const bool confirmed : {false, true}) {
        IndexRowsByClass(engine, s, ClassifyLines(engine, confirmed));
        a = Align(engine, s);
        if (confirmed || EqualRowsVerified(engine, a.rows)) break;
    }
    // Compact stores serve callers that read only the outcome: there is nothing to draw.
    if (engine.storage == LineStorage::kLoadedGrids) {
        for (int side = 0; side < 2; ++side)
            WriteWorkingGrid(engine.grids, s, side, a.rows);
        WriteColourGrids(engine.grids, s, a);
    }
    if (a.state == kNotCompared) {
        engine.compareState = kMatched;
        ko::ShowMessage(reporter, nullptr, messages::kMatch, ko::box::kOk);
    } else {
        engine.compareState = a.state;
        ko::ShowMessage(reporter, nullptr, messages::kMismatch, ko::box::kOk);
    }
    return {a.nA, a.nB};
}

}  // namespace kestrel

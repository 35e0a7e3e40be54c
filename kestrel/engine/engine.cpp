#include "kestrel/engine/engine.h"

#include <algorithm>
#include <bit>
#include <new>

namespace kestrel {

namespace {

// Grows `table` to at least `size` entries; it never shrinks, so loading smaller files later
// allocates nothing.
template <class T>
void GrowTo(std::vector<T>& table, std::size_t size) {
    if (table.size() < size) table.resize(size);
}

}  // namespace

bool Engine::Allocate(long long columns, long long rows, ko::Reporter& reporter,
                      ko::OwnerWindow owner, LineStorage line_storage, std::uint64_t memory_bytes) {
    storage = line_storage;
    if (!grids.Allocate(columns, rows, reporter, owner, memory_bytes)) return false;
    for (LoadedSide& side : sides) {
        side.lineCount = 0;
        side.rowHash.clear();
        side.compactLines.Clear();
    }
    compareState = kNotCompared;
    try {
        ReserveComparison();
    } catch (const std::bad_alloc&) {
        ReportAllocationFailure(reporter, owner);
        return false;
    }
    return true;
}

// Every working row stands opposite a loaded row of side A, or a filler line opposite a
// loaded row of side B; past both sides' text a filler step can reach one row further.
int Engine::ComparedRows() const {
    const long long rows = static_cast<long long>(LoadedRows(0)) + LoadedRows(1) + 1;
    return static_cast<int>(std::min<long long>(rows, grids.rows()));
}

std::size_t Engine::ClassTableSize() const {
    const std::size_t lines = static_cast<std::size_t>(LoadedRows(0)) + LoadedRows(1);
    return std::bit_ceil(std::max<std::size_t>(2 * lines, 16));  // at most half full
}

void Engine::ReserveComparison() {
    const std::size_t lines = static_cast<std::size_t>(LoadedRows(0)) + LoadedRows(1);
    const std::size_t rows = ComparedRows();
    GrowTo(scratch.table, ClassTableSize());
    for (int side = 0; side < 2; ++side) {
        GrowTo(scratch.classOf[side], LoadedRows(side));
        GrowTo(scratch.rowsOf[side], LoadedRows(side));
        GrowTo(scratch.classStart[side], lines + 2);  // one class per line, the empty one, the end
        GrowTo(scratch.source[side], rows);
    }
    GrowTo(scratch.rowKind, rows);
    // Only a comparison that writes the grids needs their row bookkeeping.
    if (storage == LineStorage::kLoadedGrids) grids.ReserveRows(static_cast<int>(rows));
}

}  // namespace kestrel

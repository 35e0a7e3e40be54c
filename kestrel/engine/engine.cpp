#include "kestrel/engine/engine.h"

#include <bit>

namespace kestrel {

bool Engine::Allocate(long long columns, long long rows, ko::Reporter& reporter,
                      ko::OwnerWindow owner) {
    if (!grids.Allocate(columns, rows, reporter, owner)) return false;
    const int r = grids.rows();
    for (LoadedSide& side : sides) {
        side.lineCount = 0;
        side.rowHash.assign(r, 0);
    }
    compareState = kNotCompared;
    scratch.table.assign(std::bit_ceil(static_cast<std::size_t>(r) * 4), {0, -1, 0});
    for (int side = 0; side < 2; ++side) {
        scratch.classOf[side].assign(r, 0);
        scratch.classStart[side].assign(2 * static_cast<std::size_t>(r) + 2, 0);
        scratch.rowsOf[side].assign(r, 0);
        scratch.source[side].assign(r, 0);
    }
    scratch.rowKind.assign(r, 0);
    return true;
}

}  // namespace kestrel

#include "kestrel/engine/compact_lines.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "kestrel/engine/grid_memory.h"

namespace kestrel {

CompactLines::~CompactLines() {
    for (const Block& block : blocks_)
        ReleaseBlock(block.units);
}

void CompactLines::Clear() {
    start_.clear();
    length_.clear();
    end_ = 0;
    expected_units_ = 0;
    used_rows_ = 0;
}

std::size_t CompactLines::CapacityBytes() const {
    std::size_t bytes =
        start_.capacity() * sizeof(start_[0]) + length_.capacity() * sizeof(length_[0]);
    for (const Block& block : blocks_)
        bytes += block.size * sizeof(char16_t);
    return bytes;
}

std::size_t CompactLines::Place(int count) {
    std::size_t at = end_;
    const std::size_t block = at >> kBlockShift;
    if (block < blocks_.size() && (at & (kBlockUnits - 1)) + count > blocks_[block].size)
        at = (block + 1) << kBlockShift;  // the next block's start
    if ((at >> kBlockShift) == blocks_.size()) {
        // A text that ends early in the first block takes only what it needs of one: a
        // two-line file costs a few bytes, not 2 MiB.
        const std::size_t expected = expected_units_ > at ? expected_units_ - at : 0;
        const std::size_t size = at == 0 && expected < kBlockUnits
                                     ? std::max(expected, static_cast<std::size_t>(count))
                                     : kBlockUnits;
        void* memory = AllocateZeroedBlock(size * sizeof(char16_t));
        if (memory == nullptr) throw std::bad_alloc();
        blocks_.push_back({static_cast<char16_t*>(memory), size});
        // Natively a 2 MiB page costs one fault and about 180 us of zeroing, its 512 small
        // pages 8 to 13 us of fault each here: a block the expected text fills at least halfway
        // gets one (AdviseFill).
        AdviseFill(memory, std::min(expected, size) * sizeof(char16_t));
    }
    return at;
}

void CompactLines::Store(int row, const char16_t* text, int count) {
    const auto rows = static_cast<std::size_t>(row);
    if (rows < start_.size()) {
        // The space of the last row's text is taken again by the row that replaces it.
        if (start_[row] + length_[row] == end_) end_ = start_[row];
        start_.resize(rows);
        length_.resize(rows);
    }
    start_.resize(rows, 0);
    length_.resize(rows, 0);
    std::size_t at = 0;
    if (count > 0) {
        at = Place(count);
        std::memcpy(blocks_[at >> kBlockShift].units + (at & (kBlockUnits - 1)), text,
                    sizeof(char16_t) * count);
        end_ = at + count;
        used_rows_ = std::max(used_rows_, row + 1);
    }
    start_.push_back(static_cast<std::uint32_t>(at));
    length_.push_back(static_cast<std::uint16_t>(count));
}

}  // namespace kestrel

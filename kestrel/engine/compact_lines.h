// One side's loaded lines kept one after another, for a comparison that needs only its outcome
// (kestrel-cli --quiet). The store grows with the text, where a loaded grid spends a row of the
// full width on every line: at 1,024 columns each line touches half a 4 KiB page, and where no
// 2 MiB pages can be had (Windows) the 64,000-line pair of bench/ then pays 64,000 page faults,
// about 2 s under Wine, against about 2,300 pages of text here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrel {

class CompactLines {
  public:
    CompactLines() = default;
    CompactLines(const CompactLines&) = delete;
    CompactLines& operator=(const CompactLines&) = delete;
    ~CompactLines();

    // Drops every row; the memory is kept for the next file.
    void Clear();
    // At most `units` units are about to be stored (SIZE_MAX: many). A new block is made no
    // larger than that bound asks, and the 2 MiB blocks it fills at least halfway may come as
    // huge pages (see AdviseFill).
    void Expect(std::size_t units) { expected_units_ = units; }

    // Makes `count` units of `text` row `row`; `count` is at most 512, the longest line the
    // loader makes. Rows stored before from `row` on are dropped (the loader only ever
    // replaces the last one), rows between the last stored and `row` are empty. Throws
    // std::bad_alloc when memory runs out.
    void Store(int row, const char16_t* text, int count);

    // The length of row `row`'s text, 0 for a row never stored.
    int Length(int row) const { return Stored(row) ? length_[row] : 0; }
    // Where row `row`'s text begins (null for an empty row); only its Length() units may be read.
    const char16_t* Text(int row) const {
        if (Length(row) == 0) return nullptr;
        return blocks_[start_[row] >> kBlockShift].units + (start_[row] & (kBlockUnits - 1));
    }

    // The number of leading rows that may hold text, as a loaded grid counts them: one past
    // the last row that was stored with any units, even if it was replaced by an empty line
    // since.
    int UsedRows() const { return used_rows_; }

    // The memory held.
    std::size_t CapacityBytes() const;

  private:
    // Blocks of 1 Mi units, 2 MiB, one huge page natively; the first may be smaller when the
    // whole text fits in less. A line never straddles two, so each row's text is one piece,
    // and no block is ever moved or copied to grow the store.
    static constexpr int kBlockShift = 20;
    static constexpr std::size_t kBlockUnits = std::size_t{1} << kBlockShift;
    struct Block {
        char16_t* units;
        std::size_t size;  // at most kBlockUnits
    };

    bool Stored(int row) const { return row >= 0 && static_cast<std::size_t>(row) < start_.size(); }
    // Where `count` units go next: behind the last text in its block, or in the next block.
    std::size_t Place(int count);

    std::vector<Block> blocks_;
    // Row r is length_[r] units from position start_[r], which is block start_[r] >> 20 and
    // unit start_[r] % 2^20 there. A grid holds fewer than 2^31 units (its bytes fit in 32
    // bits), and so do the lines it stands for, with less than 512 units lost at a block's end.
    std::vector<std::uint32_t> start_;
    std::vector<std::uint16_t> length_;
    std::size_t end_ = 0;  // the position after the last row's text
    std::size_t expected_units_ = 0;
    int used_rows_ = 0;
};

}  // namespace kestrel

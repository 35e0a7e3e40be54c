#include "kestrel/engine/file_loader.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "common/code_page_932.h"
#include "common/file_reader.h"
#include "common/text.h"
#include "kestrel/engine/line_decoder.h"
#include "kestrel/engine/line_hash.h"
#include "kestrel/messages.h"

namespace kestrel {

namespace {

constexpr int kPieceUnits = 512;  // the most units one line (or piece of a line) can have
constexpr char16_t kLf = 0x0A;
constexpr char16_t kCr = 0x0D;
// Block reads: a 1 GiB file is read in 4,096 calls of 256 KiB, not a billion calls of one
// byte; larger blocks gain nothing measurable and cost page faults on every start.
constexpr std::size_t kBlockBytes = std::size_t{256} << 10;
constexpr std::size_t kSlackBytes = 2 * kPieceUnits * 2;

// The file's bytes, read block by block, seen through a window that always holds the next
// piece whole (at most 1024 bytes) unless the file ends first.
class BlockInput {
  public:
    BlockInput(ko::FileReader& file, std::vector<std::uint8_t>& buffer)
        : file_(file), buffer_(buffer) {
        if (buffer_.size() < kBlockBytes + kSlackBytes) buffer_.resize(kBlockBytes + kSlackBytes);
    }

    // Makes at least `want` bytes available unless the file ends first; returns how many are.
    std::size_t Ensure(std::size_t want) {
        if (end_ - pos_ >= want || eof_) return end_ - pos_;
        std::memmove(buffer_.data(), buffer_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
        while (!eof_ && end_ < want) {
            const std::size_t got = file_.Read(buffer_.data() + end_, buffer_.size() - end_);
            if (got == 0) eof_ = true;
            end_ += got;
        }
        return end_ - pos_;
    }
    const std::uint8_t* data() const { return buffer_.data() + pos_; }
    void Consume(std::size_t bytes) { pos_ += bytes; }

  private:
    ko::FileReader& file_;
    std::vector<std::uint8_t>& buffer_;
    std::size_t pos_ = 0, end_ = 0;
    bool eof_ = false;
};

// Stores decoded lines into consecutive rows of one side's loaded lines (its loaded grid, or
// its compact store). Once the grid's last row is reached every further line replaces it, so it
// ends with the file's final line.
class LineStore {
  public:
    LineStore(Engine& engine, int side, LoadCuts& cuts)
        : engine_(engine), side_(engine.sides[side]), side_number_(side), cuts_(cuts) {}

    void StoreBytes(const std::uint8_t* bytes, std::size_t count, bool utf8) {
        if (const void* nul = std::memchr(bytes, 0, count)) {
            count = static_cast<const std::uint8_t*>(nul) - bytes;  // a NUL ends the line
            ++cuts_.atNul;
        }
        std::uint8_t seen = 0;
        for (std::size_t i = 0; i < count; ++i) {
            units_[i] = bytes[i];
            seen |= bytes[i];
        }
        // Plain ASCII reads the same in every supported encoding: no converter call needed.
        std::size_t units = count;
        if (seen >= 0x80) {
            units = utf8 ? DecodeUtf8Piece(bytes, count, units_)
                         : DecodeAnsiPiece(bytes, count, units_);
            if (utf8 ? ko::LostInUtf8(bytes, count, units_, units)
                     : ko::LostInCodePage932(bytes, count, units_, units))
                ++cuts_.undecodable;
            else if (!utf8 && ko::SecondCodeInCodePage932(bytes, count, units_, units))
                ++cuts_.secondCodes;
        }
        Store(static_cast<int>(units));
    }

    void StoreUnits(const std::uint8_t* bytes, std::size_t count, bool big_endian) {
        std::size_t n = 0;
        for (; n < count; ++n) {
            const char16_t unit = big_endian ? (bytes[2 * n] << 8) | bytes[2 * n + 1]
                                             : bytes[2 * n] | (bytes[2 * n + 1] << 8);
            if (unit == 0) {  // a NUL ends the line
                ++cuts_.atNul;
                break;
            }
            units_[n] = unit;
        }
        Store(static_cast<int>(n));
    }

    // The last row's hash is taken once at the end: it may have been replaced many times.
    void Finish() {
        if (!last_row_pending_) return;
        const int row = engine_.grids.rows() - 1;
        HashOf(row) = HashUnits(engine_.LoadedText(side_number_, row),
                                engine_.LoadedLength(side_number_, row));
    }

  private:
    void Store(int count) {
        const int row = side_.lineCount;
        const int stored = engine_.StoreLoaded(side_number_, row, units_, count);
        if (stored < count) ++cuts_.atColumns;
        if (row < engine_.grids.rows() - 1) {
            HashOf(row) = HashUnits(units_, stored);
            ++side_.lineCount;
        } else {
            if (last_row_pending_) ++cuts_.pastLastRow;
            last_row_pending_ = true;
        }
    }

    // The table grows with the lines, geometrically, so it never depends on the grid's rows.
    std::uint64_t& HashOf(int row) {
        if (side_.rowHash.size() <= static_cast<std::size_t>(row)) side_.rowHash.resize(row + 1);
        return side_.rowHash[row];
    }

    Engine& engine_;
    LoadedSide& side_;
    int side_number_;
    LoadCuts& cuts_;
    bool last_row_pending_ = false;
    char16_t units_[kPieceUnits];
};

// Reads unit `i` of a piece: one byte, or two bytes in the file's byte order.
struct ByteUnits {
    static constexpr std::size_t kBytes = 1;
    static char16_t At(const std::uint8_t* p, std::size_t i) { return p[i]; }
};
struct Utf16LeUnits {
    static constexpr std::size_t kBytes = 2;
    static char16_t At(const std::uint8_t* p, std::size_t i) {
        return p[2 * i] | (p[2 * i + 1] << 8);
    }
};
struct Utf16BeUnits {
    static constexpr std::size_t kBytes = 2;
    static char16_t At(const std::uint8_t* p, std::size_t i) {
        return (p[2 * i] << 8) | p[2 * i + 1];
    }
};

// Position of the first unit at or after `from` equal to `wanted` within `count` units, or -1.
template <class Units>
long Find(const std::uint8_t* p, std::size_t from, std::size_t count, char16_t wanted) {
    if constexpr (Units::kBytes == 1) {
        if (from >= count) return -1;
        const void* hit = std::memchr(p + from, wanted, count - from);
        return hit ? static_cast<const std::uint8_t*>(hit) - p : -1;
    } else {
        for (std::size_t i = from; i < count; ++i)
            if (Units::At(p, i) == wanted) return static_cast<long>(i);
        return -1;
    }
}

// The position of the unit that ends the line within the first `count` units of a piece, or
// -1. Under code 0 that is an LF right behind a CR in the same piece; an LF at the start of a
// piece has no CR before it and stays a character.
template <class Units>
long FindLineEnd(const std::uint8_t* p, std::size_t count, int kaimode) {
    switch (kaimode) {
        case 0:
            for (long lf = Find<Units>(p, 0, count, kLf); lf >= 0;
                 lf = Find<Units>(p, lf + 1, count, kLf))
                if (lf > 0 && Units::At(p, lf - 1) == kCr) return lf;
            return -1;
        case 1:
            return Find<Units>(p, 0, count, kLf);
        case 2:
            return Find<Units>(p, 0, count, kCr);
        default:
            return -1;
    }
}

// Cuts the text into lines of at most 512 units and hands each to `store`. At the end of the
// file the units read so far are the last line, also when there are none.
template <class Units, class StoreLine>
void SplitLines(BlockInput& input, int kaimode, StoreLine store) {
    for (;;) {
        const std::size_t available = input.Ensure(kPieceUnits * Units::kBytes) / Units::kBytes;
        const std::size_t count = std::min<std::size_t>(kPieceUnits, available);
        const std::uint8_t* piece = input.data();
        const long end = FindLineEnd<Units>(piece, count, kaimode);
        if (end >= 0) {
            // Under code 0 the CR before the LF goes too.
            store(piece, static_cast<std::size_t>(kaimode == 0 ? end - 1 : end));
            input.Consume((end + 1) * Units::kBytes);
            continue;
        }
        store(piece, count);
        input.Consume(count * Units::kBytes);
        if (count < kPieceUnits) return;  // only the end of the file leaves a piece short
    }
}

// Chooses the pages of the side's loaded grid, or of its compact lines, before the text
// touches them (see TextGrids::ExpectRows). A file that fits in its first block fills as many
// rows as it has line ends there, plus one, with at most one unit per byte; a longer file
// likely fills far more, and 2 MiB pages cost it at most one partly used page, where small
// ones cost about 1 ms per 2 MiB of rows.
void ExpectRowsOfFirstBlock(Engine& engine, int side, BlockInput& input, int kaimode) {
    const std::size_t bytes = input.Ensure(0);
    if (engine.storage == LineStorage::kCompact) {
        engine.sides[side].compactLines.Expect(bytes < kBlockBytes ? bytes : SIZE_MAX);
        return;
    }
    int rows = engine.grids.rows();
    if (bytes < kBlockBytes)
        rows = static_cast<int>(
                   std::count(input.data(), input.data() + bytes, kaimode == 2 ? kCr : kLf)) +
               1;
    engine.grids.ExpectRows(LoadedGrid(side), rows);
}

void ResetSide(Engine& engine, int side) {
    engine.grids.Clear(LoadedGrid(side));
    engine.grids.Clear(WorkingGrid(side));
    engine.grids.Clear(ColourGrid(side));
    engine.sides[side].lineCount = 0;
    engine.sides[side].rowHash.clear();
    engine.sides[side].compactLines.Clear();
}

// LoadSide without its guard against running out of memory.
LoadOutcome LoadSideUnguarded(Engine& engine, int side, std::u16string_view path, int kaimode,
                              ko::Reporter& reporter, ko::OwnerWindow owner, LoadCuts& cuts) {
    if (!RequirePath(path, reporter, owner)) return LoadOutcome::kNoPath;
    ko::FileReader file;
    if (const int error = file.Open(path); error != 0) {
        ko::ShowMessage(reporter, owner, messages::kFileOpenError, ko::box::kIconWarning,
                        {path, error});
        return LoadOutcome::kOpenFailed;
    }

    BlockInput input(file, engine.readBuffer);
    const std::size_t head = input.Ensure(3);
    const std::uint8_t* start = input.data();
    auto byte = [&](std::size_t i) { return i < head ? start[i] : 0; };  // missing bytes read as 0
    Encoding encoding = Encoding::kAnsi;
    if (byte(0) == 0xFF && byte(1) == 0xFE) {
        encoding = Encoding::kUtf16Le;
        input.Consume(2);
    } else if (byte(0) == 0xFE && byte(1) == 0xFF) {
        encoding = Encoding::kUtf16Be;
        input.Consume(2);
    } else if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        encoding = Encoding::kUtf8;
        input.Consume(3);
    }

    ResetSide(engine, side);
    ExpectRowsOfFirstBlock(engine, side, input, kaimode);
    LineStore store(engine, side, cuts);
    switch (encoding) {
        case Encoding::kUtf16Le:
            SplitLines<Utf16LeUnits>(input, kaimode, [&](const std::uint8_t* p, std::size_t n) {
                store.StoreUnits(p, n, false);
            });
            break;
        case Encoding::kUtf16Be:
            SplitLines<Utf16BeUnits>(input, kaimode, [&](const std::uint8_t* p, std::size_t n) {
                store.StoreUnits(p, n, true);
            });
            break;
        case Encoding::kUtf8:
        case Encoding::kAnsi: {
            const bool utf8 = encoding == Encoding::kUtf8;
            SplitLines<ByteUnits>(input, kaimode, [&](const std::uint8_t* p, std::size_t n) {
                store.StoreBytes(p, n, utf8);
            });
            break;
        }
    }
    store.Finish();
    // Only half a UTF-16 unit can be left behind the last line.
    if (input.Ensure(1) > 0) cuts.oddLastByte = 1;
    engine.sides[side].encoding = encoding;
    engine.ReserveComparison();

    if (const int error = file.Close(); error != 0) {
        ko::ShowMessage(reporter, owner, messages::kFileCloseError, ko::box::kIconWarning,
                        {path, error});
    }
    engine.compareState = kNotCompared;
    return LoadOutcome::kLoaded;
}

}  // namespace

bool RequirePath(std::u16string_view path, ko::Reporter& reporter, ko::OwnerWindow owner) {
    if (!path.empty() && path[0] != 0) return true;
    ko::ShowMessage(reporter, owner, messages::kNoFileName, ko::box::kIconWarning);
    return false;
}

LoadOutcome LoadSide(Engine& engine, int side, std::u16string_view path, int kaimode,
                     ko::Reporter& reporter, ko::OwnerWindow owner, LoadCuts& cuts) {
    cuts = {};
    try {
        return LoadSideUnguarded(engine, side, path, kaimode, reporter, owner, cuts);
    } catch (const std::bad_alloc&) {
        // The side keeps the lines stored so far; the program takes the way of a failed grid
        // allocation.
        cuts = {};
        engine.compareState = kNotCompared;
        ReportAllocationFailure(reporter, owner);
        return LoadOutcome::kOutOfMemory;
    }
}

}  // namespace kestrel

#include "common/file_reader.h"

#include <cstring>

namespace ko {

namespace {

// Block reads, where a byte per read takes minutes, for what the mapped comparison leaves
// (everything on Windows). At 32 KiB both blocks stay in the processor's cache from the copy
// out of the page cache to memcmp, so the copy is nearly all the cost: two cached 512 MiB
// files read in about 190 ms here, against 200 to 230 ms with blocks of 64 KiB to 256 KiB.
constexpr std::size_t kBlockBytes = std::size_t{32} << 10;

}  // namespace

std::size_t FileReader::ReadFully(void* buffer, std::size_t size) {
    std::size_t total = 0;
    auto* bytes = static_cast<unsigned char*>(buffer);
    while (total < size) {
        const std::size_t got = Read(bytes + total, size - total);
        if (got == 0) break;
        total += got;
    }
    return total;
}

bool SameContents(FileReader& a, FileReader& b, std::vector<std::uint8_t>& buffer) {
    if (buffer.size() < 2 * kBlockBytes) buffer.resize(2 * kBlockBytes);
    std::uint8_t* blockA = buffer.data();
    std::uint8_t* blockB = buffer.data() + kBlockBytes;
    // Where the system maps files, their equal start is compared without the copy.
    FileReader::SkipEqualStart(a, b);
    for (;;) {
        // Only the end of a file shortens a block, so unequal counts mean unequal lengths.
        const std::size_t gotA = a.ReadFully(blockA, kBlockBytes);
        const std::size_t gotB = b.ReadFully(blockB, kBlockBytes);
        if (gotA != gotB || std::memcmp(blockA, blockB, gotA) != 0) return false;
        if (gotA < kBlockBytes) return true;
    }
}

}  // namespace ko

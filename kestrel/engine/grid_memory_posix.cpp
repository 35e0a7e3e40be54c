#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <map>

#include "kestrel/engine/grid_memory.h"

namespace kestrel {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Sizes of the blocks mapped below, for munmap. The grids live on the one user-interface
// thread, so no lock guards this.
std::map<void*, std::size_t>& MappedBlocks() {
    static std::map<void*, std::size_t> blocks;
    return blocks;
}

// A zeroed mapping of `bytes` that starts on a 2 MiB boundary, so that every part of it can
// be backed by huge pages; null when the system refuses.
void* MapAligned(std::size_t bytes) {
    const std::size_t length = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    void* raw = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start) munmap(raw, aligned - start);
    const std::uintptr_t end = start + length + kHugePage;
    if (end > aligned + length)
        munmap(reinterpret_cast<void*>(aligned + length), end - aligned - length);
    void* block = reinterpret_cast<void*>(aligned);
#ifdef MADV_HUGEPAGE
    madvise(block, length, MADV_HUGEPAGE);
#endif
    MappedBlocks()[block] = length;
    return block;
}

}  // namespace

// A grid is megabytes that get touched row by row. In 2 MiB pages, loading and comparing two
// 4,096-line files takes a few dozen page faults instead of about 6,000, which is most of what
// a whole kestrel-cli run costs beyond reading the files.
void* AllocateZeroedBlock(std::size_t bytes) {
    if (bytes >= kHugePage) {
        if (void* block = MapAligned(bytes)) return block;
    }
    return std::calloc(1, bytes);
}

void ReleaseBlock(void* block) {
    if (block == nullptr) return;
    const auto found = MappedBlocks().find(block);
    if (found == MappedBlocks().end()) {
        std::free(block);
        return;
    }
    munmap(block, found->second);
    MappedBlocks().erase(found);
}

}  // namespace kestrel

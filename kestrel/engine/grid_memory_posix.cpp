#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>

#include "kestrel/engine/grid_memory.h"

namespace kestrel {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

struct Mapping {
    std::size_t length;   // a multiple of kHugePage
    std::size_t advised;  // the leading bytes offered huge pages so far
};

// The blocks mapped below, for munmap and AdviseFill. The grids live on the one
// user-interface thread, so no lock guards this. Never destroyed: an engine kept in a static
// of its own releases its blocks during the program's exit, maybe after this map's end.
std::map<void*, Mapping>& MappedBlocks() {
    static auto* blocks = new std::map<void*, Mapping>;
    return *blocks;
}

// A zeroed mapping of `bytes` that starts on a 2 MiB boundary, so that every part of it can
// be backed by huge pages later; null when the system refuses. It starts with small pages
// even where the system would hand out huge ones unasked.
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
#ifdef MADV_NOHUGEPAGE
    madvise(block, length, MADV_NOHUGEPAGE);
#endif
    MappedBlocks()[block] = {length, 0};
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
    munmap(block, found->second.length);
    MappedBlocks().erase(found);
}

// Small pages cost about 0.7 us of page fault each here, zeroing a huge page about 180 us:
// a 2 MiB page pays off once the writes reach about half of it.
void AdviseFill(void* block, std::size_t bytes) {
    const auto found = MappedBlocks().find(block);
    if (found == MappedBlocks().end()) return;
    Mapping& mapping = found->second;
    const std::size_t end = std::min((bytes + kHugePage / 2) & ~(kHugePage - 1), mapping.length);
    if (end <= mapping.advised) return;
#ifdef MADV_HUGEPAGE
    madvise(static_cast<char*>(block) + mapping.advised, end - mapping.advised, MADV_HUGEPAGE);
#endif
    mapping.advised = end;
}

std::uint64_t PhysicalMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0) return std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
}

}  // namespace kestrel

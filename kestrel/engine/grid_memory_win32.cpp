#include <windows.h>

#include <limits>

#include "kestrel/engine/grid_memory.h"

namespace kestrel {

void* AllocateZeroedBlock(std::size_t bytes) {
    return GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes);
}
void ReleaseBlock(void* block) {
    if (block != nullptr) GlobalFree(block);
}
void AdviseFill(void*, std::size_t) {}
std::uint64_t PhysicalMemoryBytes() {
    return std::numeric_limits<std::uint64_t>::max();
}

}  // namespace kestrel

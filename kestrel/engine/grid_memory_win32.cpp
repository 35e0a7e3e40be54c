#include <windows.h>

#include "kestrel/engine/grid_memory.h"

namespace kestrel {

void* AllocateZeroedBlock(std::size_t bytes) {
    return GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes);
}
void ReleaseBlock(void* block) {
    if (block != nullptr) GlobalFree(block);
}

}  // namespace kestrel

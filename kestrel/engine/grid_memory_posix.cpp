#include <cstdlib>

#include "kestrel/engine/grid_memory.h"

namespace kestrel {

void* AllocateZeroedBlock(std::size_t bytes) { return std::calloc(1, bytes); }
void ReleaseBlock(void* block) { std::free(block); }

}  // namespace kestrel

// Where the six grids get their memory: the platform's global heap on Windows (fixed,
// zero-initialised blocks), calloc elsewhere. Both hand out zeroed blocks or null.
#pragma once

#include <cstddef>

namespace kestrel {

void* AllocateZeroedBlock(std::size_t bytes);
void ReleaseBlock(void* block);

}  // namespace kestrel

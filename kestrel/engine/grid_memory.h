// Where the six grids get their memory: the platform's global heap on Windows (fixed,
// zero-initialised blocks), anonymous mappings or calloc elsewhere. Both hand out zeroed
// blocks or null.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrel {

void* AllocateZeroedBlock(std::size_t bytes);
void ReleaseBlock(void* block);

// The first `bytes` bytes of `block` are about to be written. Where the platform can, the
// 2 MiB pages they cover at least halfway are then backed by huge pages (one page fault and
// one zeroing instead of 512); the rest of the block keeps small pages, so a grid that holds
// ten short lines costs a few small pages, not 2 MiB. Nothing happens on Windows.
void AdviseFill(void* block, std::size_t bytes);

// The machine's physical memory in bytes, which the six grids together must fit in: larger
// grids would be paged to death or killed by the system. Windows reports no limit here; a
// failing GlobalAlloc refuses there.
std::uint64_t PhysicalMemoryBytes();

}  // namespace kestrel

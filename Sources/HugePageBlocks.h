// Huge pages for the Linux program's large blocks and for malloc's heap. See
// ProgramAllocator.cpp.
#ifndef VANTREL_HUGE_PAGE_BLOCKS_H
#define VANTREL_HUGE_PAGE_BLOCKS_H

#include <cstddef>

namespace kel::rez {

constexpr std::size_t __largeBlockSize = std::size_t(4) << 20;

/// A block of at least size bytes on huge pages, or null (the caller then uses malloc).
void* __allocateLarge(std::size_t size);

/// Unmaps block when it is one of the large blocks; false otherwise.
bool __releaseLarge(void* block);

/// Marks the part of malloc's heap grown since the last call for huge pages. The first
/// call also makes the heap grow in large steps, so that whole 2 MiB pages fit in it.
void __markHeapGrowth();

}  // namespace kel::rez

#endif

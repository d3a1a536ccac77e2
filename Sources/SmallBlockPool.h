// Blocks of up to 256 bytes for the Linux program's operator new: tree nodes, their member
// tables and short strings. See ProgramAllocator.cpp.
#ifndef VANTREL_SMALL_BLOCK_POOL_H
#define VANTREL_SMALL_BLOCK_POOL_H

#include <cstddef>

namespace kel::rez {

constexpr std::size_t __largestSmallBlock = 256;

/// A block of size bytes (at most __largestSmallBlock), or null when the pool cannot have
/// one; the caller then asks malloc.
void* __allocateSmall(std::size_t size);

/// Takes block back when it came from the pool; false otherwise.
bool __releaseSmall(void* block);

}  // namespace kel::rez

#endif

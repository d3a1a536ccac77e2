// The Linux program's operator new and delete (not its tests or the sanitizer builds, which
// keep their own allocators): small blocks from a pool, large ones on huge pages, the rest
// from malloc. The pool and the large-block table each know their own blocks by address,
// so delete offers a block to them in turn and hands anything else to free.
#include <cstdlib>
#include <new>

#include "HugePageBlocks.h"
#include "SmallBlockPool.h"

using namespace kel::rez;

void* operator new(std::size_t size)
{
    if (size <= __largestSmallBlock)
        if (void* block = __allocateSmall(size))
            return block;
    if (size >= __largeBlockSize)
        if (void* block = __allocateLarge(size))
            return block;
    if (void* block = std::malloc(size != 0 ? size : 1)) {
        __markHeapGrowth();
        return block;
    }
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return ::operator new(size); }

void operator delete(void* block) noexcept
{
    if (block != nullptr && !__releaseSmall(block) && !__releaseLarge(block))
        std::free(block);
}

void operator delete[](void* block) noexcept { ::operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { ::operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { ::operator delete(block); }

// Large blocks on transparent huge pages, and huge pages for the growth of malloc's heap.
//
// A 64 MiB document becomes several hundred MiB of strings: the text, the data, the .r and
// .rc texts. With 4 KiB pages every first touch of that memory is a page fault, and the
// faults cost more than all the parsing and formatting together. Large blocks are therefore
// mapped 2 MiB-aligned and marked for huge pages, and the heap behind malloc grows in steps
// of 32 MiB, marked the same way. The program is single-threaded, so a small table records
// the large blocks.
#include "HugePageBlocks.h"

#include <cstdint>
#include <cstdlib>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace kel::rez {

namespace {

constexpr std::size_t __hugePageSize = std::size_t(2) << 20;
constexpr std::size_t __maxLargeBlocks = 64;

struct __LargeBlock {
    void* block;
    void* mapping;
    std::size_t mappingLength;
};

__LargeBlock __largeBlocks[__maxLargeBlocks];
std::size_t __largeBlockCount = 0;

constexpr int __heapGrowthStep = 32 << 20;
char* __heapMarkedUpTo = nullptr;

}  // namespace

void* __allocateLarge(std::size_t size)
{
    if (__largeBlockCount == __maxLargeBlocks || size > SIZE_MAX - 2 * __hugePageSize)
        return nullptr;
    const std::size_t rounded = (size + __hugePageSize - 1) / __hugePageSize * __hugePageSize;
    const std::size_t mappingLength = rounded + __hugePageSize;  // room to align the start
    void* mapping = mmap(nullptr, mappingLength, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        return nullptr;
    const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(mapping) + __hugePageSize - 1)
                                 & ~(__hugePageSize - 1);
    void* block = reinterpret_cast<void*>(start);
    madvise(block, rounded, MADV_HUGEPAGE);  // only a hint: without it the block still works
    __largeBlocks[__largeBlockCount++] = {block, mapping, mappingLength};
    return block;
}

bool __releaseLarge(void* block)
{
    for (std::size_t i = 0; i < __largeBlockCount; ++i) {
        if (__largeBlocks[i].block == block) {
            munmap(__largeBlocks[i].mapping, __largeBlocks[i].mappingLength);
            __largeBlocks[i] = __largeBlocks[--__largeBlockCount];
            return true;
        }
    }
    return false;
}

void __markHeapGrowth()
{
    if (__heapMarkedUpTo == nullptr) {
        mallopt(M_TOP_PAD, __heapGrowthStep);
        __heapMarkedUpTo = static_cast<char*>(sbrk(0));
        return;
    }
    char* const heapEnd = static_cast<char*>(sbrk(0));
    if (heapEnd <= __heapMarkedUpTo)
        return;
    const std::uintptr_t pageMask = static_cast<std::uintptr_t>(getpagesize()) - 1;
    char* const start = reinterpret_cast<char*>(
        reinterpret_cast<std::uintptr_t>(__heapMarkedUpTo) & ~pageMask);
    madvise(start, static_cast<std::size_t>(heapEnd - start), MADV_HUGEPAGE);
    __heapMarkedUpTo = heapEnd;
}

}  // namespace kel::rez

// Large blocks on transparent huge pages, for the Linux program only (not its tests or the
// sanitizer builds, which keep their own allocators).
//
// A 64 MiB document becomes several hundred MiB of strings: the text, the data, the .r and
// .rc texts. With 4 KiB pages every first touch of that memory is a page fault, and the
// faults cost more than all the parsing and formatting together. Blocks of 4 MiB and more
// are therefore mapped 2 MiB-aligned and marked for huge pages; everything smaller still
// comes from malloc, whose heap is grown in steps of 32 MiB and marked for huge pages as it
// grows (a document of many small entries is mostly small tree nodes). The program is
// single-threaded, so a small table records the large blocks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr std::size_t __hugePageSize = std::size_t(2) << 20;
constexpr std::size_t __largeBlockSize = std::size_t(4) << 20;
constexpr std::size_t __maxLargeBlocks = 64;

struct __LargeBlock {
    void* block;
    void* mapping;
    std::size_t mappingLength;
};

__LargeBlock __largeBlocks[__maxLargeBlocks];
std::size_t __largeBlockCount = 0;

/// A block of at least size bytes on huge pages, or null (the caller then uses malloc).
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

/// Unmaps block when it is one of the large blocks; false otherwise.
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

constexpr int __heapGrowthStep = 32 << 20;
char* __heapMarkedUpTo = nullptr;

/// Marks the part of malloc's heap grown since the last call for huge pages. The first
/// call also makes the heap grow in large steps, so that whole 2 MiB pages fit in it.
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

}  // namespace

void* operator new(std::size_t size)
{
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
    if (block != nullptr && !__releaseLarge(block))
        std::free(block);
}

void operator delete[](void* block) noexcept { ::operator delete(block); }
void operator delete(void* block, std::size_t) noexcept { ::operator delete(block); }
void operator delete[](void* block, std::size_t) noexcept { ::operator delete(block); }

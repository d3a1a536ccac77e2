// Segregated free lists in one reserved address range.
//
// A document of many small entries turns into hundreds of thousands of small blocks that
// are all freed together at the end; malloc spends more time on them than the parser. Here
// a block costs a few instructions: the range is cut into 64 KiB slabs, each slab serves
// one size (a multiple of 16 bytes), and freed blocks go on the free list of their size.
// Whether a block is the pool's, and its size, follow from its address alone, so plain
// and sized deletes both work. The program is single-threaded.
#include "SmallBlockPool.h"

#include <cstdint>

#include <sys/mman.h>

namespace kel::rez {

namespace {

constexpr std::size_t __granule = 16;
constexpr std::size_t __sizeClassCount = __largestSmallBlock / __granule + 1;
constexpr std::size_t __slabSize = std::size_t(64) << 10;
constexpr std::size_t __reservedSize = std::size_t(16) << 30;  // address space, not memory
constexpr std::size_t __slabCount = __reservedSize / __slabSize;
constexpr std::size_t __commitStep = std::size_t(32) << 20;
constexpr std::size_t __hugePageSize = std::size_t(2) << 20;

struct __FreeBlock {
    __FreeBlock* next;
};

char* __rangeStart = nullptr;
char* __rangeEnd = nullptr;
char* __committedEnd = nullptr;
char* __nextSlab = nullptr;
bool __reservationFailed = false;

unsigned char __slabSizeClass[__slabCount];
__FreeBlock* __freeLists[__sizeClassCount];
char* __slabCursor[__sizeClassCount];  // next unused block of the class's newest slab
char* __slabLimit[__sizeClassCount];

bool __reserveRange()
{
    // Reserved without access, so it counts against no memory limit until committed.
    void* mapping = mmap(nullptr, __reservedSize + __hugePageSize, PROT_NONE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapping == MAP_FAILED) {
        __reservationFailed = true;
        return false;
    }
    const std::uintptr_t aligned = (reinterpret_cast<std::uintptr_t>(mapping) + __hugePageSize - 1)
                                   & ~(__hugePageSize - 1);
    __rangeStart = reinterpret_cast<char*>(aligned);
    __rangeEnd = __rangeStart + __reservedSize;
    __committedEnd = __rangeStart;
    __nextSlab = __rangeStart;
    return true;
}

bool __commitMore()
{
    if (__committedEnd == __rangeEnd)
        return false;
    if (mprotect(__committedEnd, __commitStep, PROT_READ | PROT_WRITE) != 0)
        return false;
    // Only a hint. The first huge page is left out: a short run touches a few small pages
    // of it, and zeroing a whole huge page would cost it more than its start-up.
    char* const hugeFrom = __committedEnd == __rangeStart ? __rangeStart + __hugePageSize
                                                          : __committedEnd;
    madvise(hugeFrom, static_cast<std::size_t>(__committedEnd + __commitStep - hugeFrom),
            MADV_HUGEPAGE);
    __committedEnd += __commitStep;
    return true;
}

bool __startSlab(std::size_t sizeClass)
{
    if (__rangeStart == nullptr && (__reservationFailed || !__reserveRange()))
        return false;
    if (__nextSlab == __committedEnd && !__commitMore())
        return false;
    char* slab = __nextSlab;
    __nextSlab += __slabSize;
    __slabSizeClass[(slab - __rangeStart) / __slabSize] = static_cast<unsigned char>(sizeClass);
    __slabCursor[sizeClass] = slab;
    __slabLimit[sizeClass] = slab + __slabSize;
    return true;
}

}  // namespace

void* __allocateSmall(std::size_t size)
{
    const std::size_t sizeClass = size == 0 ? 1 : (size + __granule - 1) / __granule;
    if (__FreeBlock* block = __freeLists[sizeClass]) {
        __freeLists[sizeClass] = block->next;
        return block;
    }
    const std::size_t blockSize = sizeClass * __granule;
    if (__slabLimit[sizeClass] - __slabCursor[sizeClass] < static_cast<std::ptrdiff_t>(blockSize)
        && !__startSlab(sizeClass))
        return nullptr;
    void* block = __slabCursor[sizeClass];
    __slabCursor[sizeClass] += blockSize;
    return block;
}

bool __releaseSmall(void* block)
{
    const auto address = reinterpret_cast<std::uintptr_t>(block);
    const auto start = reinterpret_cast<std::uintptr_t>(__rangeStart);
    if (address < start || address >= reinterpret_cast<std::uintptr_t>(__rangeEnd))
        return false;
    const std::size_t sizeClass = __slabSizeClass[(address - start) / __slabSize];
    auto* freed = static_cast<__FreeBlock*>(block);
    freed->next = __freeLists[sizeClass];
    __freeLists[sizeClass] = freed;
    return true;
}

}  // namespace kel::rez

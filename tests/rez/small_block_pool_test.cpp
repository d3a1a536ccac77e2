// The Linux program's small-block pool, driven directly: the tests themselves keep the
// standard allocator.
#ifdef __linux__

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "SmallBlockPool.h"

using kel::rez::__allocateSmall;
using kel::rez::__largestSmallBlock;
using kel::rez::__releaseSmall;

namespace {

bool isAligned(const void* block)
{
    return reinterpret_cast<std::uintptr_t>(block) % 16 == 0;
}

}  // namespace

TEST(SmallBlockPool, BlocksOfEverySizeAreAlignedAndDoNotOverlap)
{
    struct Held {
        unsigned char* block;
        std::size_t size;
    };
    std::vector<Held> held;
    for (std::size_t size = 0; size <= __largestSmallBlock; ++size)
        for (int copy = 0; copy < 40; ++copy) {
            auto* block = static_cast<unsigned char*>(__allocateSmall(size));
            ASSERT_NE(nullptr, block);
            EXPECT_TRUE(isAligned(block)) << size;
            std::memset(block, static_cast<int>(held.size() % 251), size);
            held.push_back({block, size});
        }
    for (std::size_t i = 0; i < held.size(); ++i) {
        for (std::size_t byte = 0; byte < held[i].size; ++byte)
            ASSERT_EQ(i % 251, held[i].block[byte]) << "block " << i << " was overwritten";
        EXPECT_TRUE(__releaseSmall(held[i].block));
    }
}

TEST(SmallBlockPool, AFreedBlockServesTheNextRequestOfItsSizeOnly)
{
    void* first = __allocateSmall(100);
    ASSERT_TRUE(__releaseSmall(first));
    void* otherSize = __allocateSmall(40);
    EXPECT_NE(first, otherSize);
    void* sameSize = __allocateSmall(97);  // 97 and 100 share a 16-byte size class
    EXPECT_EQ(first, sameSize);
    __releaseSmall(otherSize);
    __releaseSmall(sameSize);
}

TEST(SmallBlockPool, BlocksFromElsewhereAreNotClaimed)
{
    int onStack = 0;
    void* fromMalloc = std::malloc(32);
    EXPECT_FALSE(__releaseSmall(&onStack));
    EXPECT_FALSE(__releaseSmall(fromMalloc));
    EXPECT_FALSE(__releaseSmall(nullptr));
    std::free(fromMalloc);
}

TEST(SmallBlockPool, GrowsPastManySlabsAndCommitSteps)
{
    // 48 MiB of the largest blocks: several hundred slabs and more than one commit step.
    std::vector<void*> blocks;
    for (std::size_t total = 0; total < (std::size_t(48) << 20); total += __largestSmallBlock) {
        void* block = __allocateSmall(__largestSmallBlock);
        ASSERT_NE(nullptr, block);
        static_cast<char*>(block)[__largestSmallBlock - 1] = 1;
        blocks.push_back(block);
    }
    for (void* block : blocks)
        EXPECT_TRUE(__releaseSmall(block));
}

#endif

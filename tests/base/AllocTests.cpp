#include "base/MKAlloc.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <thread>

namespace {

thread_local int t_allocs = 0;
thread_local int t_frees = 0;
thread_local int t_reallocs = 0;

void* CountingAlloc(size_t size)
{
    ++t_allocs;
    return malloc(size);
}
void CountingFree(void* block)
{
    ++t_frees;
    free(block);
}
void* CountingRealloc(void* block, size_t size)
{
    ++t_reallocs;
    return realloc(block, size);
}
const MKAllocHooks s_counting = {CountingAlloc, CountingFree, CountingRealloc};

class AllocRouting : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MKEnableThreadAllocHooks(true));
        t_allocs = t_frees = t_reallocs = 0;
    }
    void TearDown() override { MKSetThreadAllocHooks(nullptr); }
};

TEST_F(AllocRouting, ThreadHooksReceiveEveryCall)
{
    ASSERT_TRUE(MKSetThreadAllocHooks(&s_counting));
    void* block = MKAlloc(16);
    block = MKRealloc(block, 64);
    MKFree(block);
    MKFree(nullptr);  // ignored, never reaches the hook
    EXPECT_EQ(1, t_allocs);
    EXPECT_EQ(1, t_reallocs);
    EXPECT_EQ(1, t_frees);
}

TEST_F(AllocRouting, SettingHooksAnswersThePreviousOnes)
{
    const MKAllocHooks* previous = &s_counting;
    ASSERT_TRUE(MKSetThreadAllocHooks(&s_counting, &previous));
    EXPECT_EQ(nullptr, previous);
    ASSERT_TRUE(MKSetThreadAllocHooks(nullptr, &previous));
    EXPECT_EQ(&s_counting, previous);
    MKFree(MKAlloc(8));
    EXPECT_EQ(0, t_allocs);
}

TEST_F(AllocRouting, OtherThreadsKeepTheRuntimeHeap)
{
    ASSERT_TRUE(MKSetThreadAllocHooks(&s_counting));
    int otherAllocs = -1;
    std::thread other([&] {
        MKFree(MKAlloc(32));
        otherAllocs = t_allocs;
    });
    other.join();
    EXPECT_EQ(0, otherAllocs);
    EXPECT_EQ(0, t_allocs);
    MKFree(MKAlloc(32));
    EXPECT_EQ(1, t_allocs);
}

TEST_F(AllocRouting, DisabledHooksAreBypassed)
{
    ASSERT_TRUE(MKSetThreadAllocHooks(&s_counting));
    ASSERT_TRUE(MKEnableThreadAllocHooks(false));
    MKFree(MKAlloc(8));
    EXPECT_EQ(0, t_allocs);
    EXPECT_FALSE(MKSetThreadAllocHooks(&s_counting));
    // Turning them on again starts from an empty slot.
    ASSERT_TRUE(MKEnableThreadAllocHooks(true));
    MKFree(MKAlloc(8));
    EXPECT_EQ(0, t_allocs);
}

}  // namespace

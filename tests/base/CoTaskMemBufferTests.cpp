#include <gtest/gtest.h>

#include <objbase.h>

#include <vector>

#include "base/MKCoTaskMemBuffer.h"
#include "fixtures/FreeSpy.h"

namespace {

TEST(CoTaskMemBuffer, EmptyUntilAllocated)
{
    MKCoTaskMemBuffer buffer;
    EXPECT_EQ(buffer.Data(), nullptr);
    EXPECT_EQ(buffer.Size(), -1);
    EXPECT_TRUE(buffer.Free());
    EXPECT_FALSE(buffer.Allocate(-1));
    EXPECT_EQ(buffer.Size(), -1);
}

TEST(CoTaskMemBuffer, ZeroBytesFollowTheAllocator)
{
    MKCoTaskMemBuffer buffer;
    void* probe = CoTaskMemAlloc(0);
    EXPECT_EQ(buffer.Allocate(0), probe != nullptr);
    CoTaskMemFree(probe);
    if (buffer.Data()) {
        EXPECT_EQ(buffer.Size(), 0);
    }
}

TEST(CoTaskMemBuffer, ReallocatingFreesTheOldBlockAndDetachHandsItOver)
{
    FreeSpy spy;
    ASSERT_EQ(CoRegisterMallocSpy(&spy), S_OK);
    void* detached = nullptr;
    {
        MKCoTaskMemBuffer buffer;
        ASSERT_TRUE(buffer.Allocate(16));
        void* first = buffer.Data();
        ASSERT_TRUE(buffer.Allocate(32));
        EXPECT_EQ(buffer.Size(), 32);
        ASSERT_EQ(spy.freed.size(), 1u);
        EXPECT_EQ(spy.freed[0], first);
        memset(buffer.Data(), 0x5A, 32);
        detached = buffer.Detach();
        EXPECT_EQ(buffer.Data(), nullptr);
        EXPECT_EQ(buffer.Size(), -1);
    }
    // The destructor left the handed-over block alone.
    EXPECT_EQ(spy.freed.size(), 1u);
    EXPECT_EQ(static_cast<unsigned char*>(detached)[31], 0x5A);
    CoTaskMemFree(detached);
    EXPECT_EQ(spy.freed.size(), 2u);
    CoRevokeMallocSpy();
}

TEST(CoTaskMemBuffer, DestructorFreesTheBlock)
{
    FreeSpy spy;
    ASSERT_EQ(CoRegisterMallocSpy(&spy), S_OK);
    void* block = nullptr;
    {
        MKCoTaskMemBuffer buffer;
        ASSERT_TRUE(buffer.Allocate(8));
        block = buffer.Data();
    }
    ASSERT_EQ(spy.freed.size(), 1u);
    EXPECT_EQ(spy.freed[0], block);
    CoRevokeMallocSpy();
}

}  // namespace

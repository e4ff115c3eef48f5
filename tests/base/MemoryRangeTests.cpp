#include <gtest/gtest.h>

#include <windows.h>
#include <stdint.h>

#include "base/MKMemoryRange.h"

namespace {

// Four pages: read-write, read-only, guarded, no access.
class MemoryRangeTest : public testing::Test {
protected:
    void SetUp() override
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        page = info.dwPageSize;
        pages = static_cast<char*>(VirtualAlloc(nullptr, 4 * page, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        ASSERT_NE(pages, nullptr);
        DWORD old = 0;
        ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_READONLY, &old));
        ASSERT_TRUE(VirtualProtect(pages + 2 * page, page, PAGE_READWRITE | PAGE_GUARD, &old));
        ASSERT_TRUE(VirtualProtect(pages + 3 * page, page, PAGE_NOACCESS, &old));
    }
    void TearDown() override { VirtualFree(pages, 0, MEM_RELEASE); }

    size_t page = 0;
    char* pages = nullptr;
};

TEST_F(MemoryRangeTest, AnswersForEachKindOfPage)
{
    struct Case {
        const char* what;
        size_t offset;
        size_t size;
        bool readable;
        bool writable;
    };
    const size_t p = page;
    const Case cases[] = {
        {"read-write page", 0, p, true, true},
        {"one byte", 5, 1, true, true},
        {"read-write into read-only", p - 4, 8, true, false},
        {"read-only page", p, p, true, false},
        {"read-only into guarded", 2 * p - 1, 2, false, false},
        {"guarded page", 2 * p, 1, false, false},
        {"no-access page", 3 * p, 1, false, false},
        {"empty range", 0, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(MKIsReadableRange(pages + c.offset, c.size), c.readable);
        EXPECT_EQ(MKIsWritableRange(pages + c.offset, c.size), c.writable);
    }
}

TEST(MemoryRange, RefusesNullUnmappedAndWrappingRanges)
{
    EXPECT_FALSE(MKIsReadableRange(nullptr, 4));
    EXPECT_FALSE(MKIsReadableRange(reinterpret_cast<const void*>(uintptr_t(0x10)), 4));
    // A range that ends exactly at the top of the address space wraps to zero.
    EXPECT_FALSE(MKIsReadableRange(reinterpret_cast<const void*>(UINTPTR_MAX), 1));
    static const char text[] = "text";
    EXPECT_FALSE(MKIsReadableRange(text, SIZE_MAX));
    EXPECT_TRUE(MKIsReadableRange(text, sizeof text));
}

}  // namespace

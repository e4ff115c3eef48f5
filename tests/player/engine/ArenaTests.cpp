#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "fixtures/AllocationProbe.h"
#include "player/engine/PVArena.h"

namespace {

TEST(Arena, HandsOutAlignedDisjointPiecesInFewBoundedBlocks)
{
    std::vector<std::pair<char*, size_t>> pieces;
    pieces.reserve(5000);
    AllocationProbe probe;
    unsigned long long total = 0;
    {
        PVArena arena;
        for (int i = 0; i < 5000; ++i) {
            const size_t size = 1 + (i * 37) % 200;
            auto* piece = static_cast<char*>(arena.Allocate(size));
            ASSERT_NE(piece, nullptr) << i;
            EXPECT_EQ(reinterpret_cast<uintptr_t>(piece) % 8, 0u) << i;
            std::memset(piece, i & 0xFF, size);
            pieces.push_back({piece, size});
        }
        for (size_t i = 0; i < pieces.size(); ++i) {
            for (size_t b = 0; b < pieces[i].second; ++b)
                ASSERT_EQ(static_cast<uint8_t>(pieces[i].first[b]), i & 0xFF) << i;
        }
        total = probe.Total();
    }
    // About 500 KB asked for: blocks stay at most 16 KB and waste little.
    EXPECT_LE(probe.Largest(), PVArena::kMaxBlock);
    EXPECT_LT(total, 5000ull * 104 * 5 / 4);
}

TEST(Arena, RefusesPiecesLargerThanABlock)
{
    PVArena arena;
    EXPECT_EQ(arena.Allocate(PVArena::kMaxBlock), nullptr);
    EXPECT_NE(arena.Allocate(PVArena::kMaxBlock - 64), nullptr);
    EXPECT_NE(arena.Allocate(8), nullptr);
}

}  // namespace

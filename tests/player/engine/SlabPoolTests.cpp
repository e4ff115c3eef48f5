#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>
#include <set>
#include <thread>
#include <vector>

#include "player/engine/PVAction.h"
#include "player/engine/PVSlabPool.h"

namespace {

TEST(SlabPool, SlotsAreAlignedDisjointAndOutliveTheirNeighboursFrees)
{
    PVSlabPool pool(44);  // rounds up to 48
    ASSERT_EQ(pool.SlotSize(), 48u);
    const int count = 5000;  // several slabs
    std::vector<uint8_t*> slots;
    for (int i = 0; i < count; ++i) {
        auto* slot = static_cast<uint8_t*>(pool.Allocate());
        ASSERT_NE(slot, nullptr);
        ASSERT_EQ(reinterpret_cast<uintptr_t>(slot) % 8, 0u);
        std::memset(slot, i & 0xFF, pool.SlotSize());
        slots.push_back(slot);
    }
    EXPECT_GT(pool.SlabCount(), 1);
    // Free every other slot; the rest keep their bytes.
    for (int i = 0; i < count; i += 2)
        pool.Free(slots[i]);
    for (int i = 1; i < count; i += 2) {
        for (size_t b = 0; b < pool.SlotSize(); ++b)
            ASSERT_EQ(slots[i][b], i & 0xFF) << i;
    }
    // Freed slots are handed out again before any new slab.
    const int slabs = pool.SlabCount();
    std::set<uint8_t*> freed;
    for (int i = 0; i < count; i += 2)
        freed.insert(slots[i]);
    for (int i = 0; i < count; i += 2) {
        auto* slot = static_cast<uint8_t*>(pool.Allocate());
        EXPECT_EQ(freed.count(slot), 1u);
        slots[i] = slot;
    }
    EXPECT_EQ(pool.SlabCount(), slabs);
    for (uint8_t* slot : slots)
        pool.Free(slot);
    // Only the first slab is kept.
    EXPECT_EQ(pool.SlabCount(), 1);
    pool.Free(nullptr);
}

TEST(SlabPool, ThreadsAllocatingAndFreingTogetherLoseNothing)
{
    PVSlabPool pool(64);
    auto churn = [&pool](int seed) {
        std::vector<uint32_t*> held;
        for (int round = 0; round < 20000; ++round) {
            if (held.size() < 3000 && (round * 7 + seed) % 3 != 0) {
                auto* slot = static_cast<uint32_t*>(pool.Allocate());
                if (!slot)
                    return false;
                slot[0] = static_cast<uint32_t>(seed);
                slot[15] = static_cast<uint32_t>(round);
                held.push_back(slot);
            } else if (!held.empty()) {
                uint32_t* slot = held.back();
                held.pop_back();
                if (slot[0] != static_cast<uint32_t>(seed))
                    return false;
                pool.Free(slot);
            }
        }
        for (uint32_t* slot : held)
            pool.Free(slot);
        return true;
    };
    bool ok[4] = {};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] { ok[t] = churn(t + 1); });
    for (auto& thread : threads)
        thread.join();
    for (bool each : ok)
        EXPECT_TRUE(each);
    EXPECT_EQ(pool.SlabCount(), 1);
}

TEST(SlabPool, ActionsComeFromThePoolAndGoBackOnRelease)
{
    std::vector<PVAction*> actions;
    for (int i = 0; i < 3000; ++i) {
        PVAction* action = i % 2 ? new (std::nothrow) PVAction(PVAction::kPlay)
                                 : new (std::nothrow) PVAction_GetURL;
        ASSERT_NE(action, nullptr);
        action->AddRef();
        actions.push_back(action);
    }
    auto* url = static_cast<PVAction_GetURL*>(actions[0]);
    ASSERT_TRUE(url->url.Assign("http://example.invalid/a/rather/long/address", 44));
    EXPECT_STREQ(url->url.Data(), "http://example.invalid/a/rather/long/address");
    for (PVAction* action : actions)
        action->Release();
}

// Action classes take slots of different sizes, and each slot must go back
// to the pool it came from: a small slot handed out again as a large one
// would overlap its live neighbours.
TEST(SlabPool, EachActionClassReturnsToThePoolOfItsSize)
{
    const std::vector<std::pair<std::function<PVAction*()>, size_t>> classes = {
        {[] { return new (std::nothrow) PVAction(PVAction::kPlay); }, sizeof(PVAction)},
        {[] { return new (std::nothrow) PVAction_GotoFrame; }, sizeof(PVAction_GotoFrame)},
        {[] { return new (std::nothrow) PVAction_GetURL; }, sizeof(PVAction_GetURL)},
        {[] { return new (std::nothrow) PVAction_ConstantPool; }, sizeof(PVAction_ConstantPool)},
        {[] { return new (std::nothrow) PVAction_WaitForFrame; }, sizeof(PVAction_WaitForFrame)},
        {[] { return new (std::nothrow) PVAction_SetTarget; }, sizeof(PVAction_SetTarget)},
        {[] { return new (std::nothrow) PVAction_GotoLabel; }, sizeof(PVAction_GotoLabel)},
        {[] { return new (std::nothrow) PVAction_Push; }, sizeof(PVAction_Push)},
        {[] { return new (std::nothrow) PVAction_Jump; }, sizeof(PVAction_Jump)},
        {[] { return new (std::nothrow) PVAction_If; }, sizeof(PVAction_If)},
        {[] { return new (std::nothrow) PVAction_GotoFrame2; }, sizeof(PVAction_GotoFrame2)},
    };
    std::vector<std::pair<uintptr_t, uintptr_t>> ranges;
    for (int round = 0; round < 2; ++round) {
        std::vector<PVAction*> actions;
        ranges.clear();
        for (int i = 0; i < 150; ++i) {
            for (const auto& [make, size] : classes) {
                PVAction* action = make();
                ASSERT_NE(action, nullptr);
                action->AddRef();
                actions.push_back(action);
                ranges.push_back({reinterpret_cast<uintptr_t>(action), reinterpret_cast<uintptr_t>(action) + size});
            }
        }
        std::sort(ranges.begin(), ranges.end());
        for (size_t i = 1; i < ranges.size(); ++i)
            ASSERT_LE(ranges[i - 1].second, ranges[i].first) << "round " << round;
        // Released in an order unlike the one they were made in.
        std::reverse(actions.begin(), actions.end());
        for (PVAction* action : actions)
            action->Release();
    }
}

}  // namespace

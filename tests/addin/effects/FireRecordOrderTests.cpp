// The order in which build-step records fire: a strict weak order, so that
// a sort gives one result whatever order the records came in.
#include "addin/effects/FireRecord.h"
#include "addin/effects/StepList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct OrderFixture {
    StepList main{nullptr, 0};
    StepList trigger{nullptr, 1};
    Step step1{&main, 1};
    Step step2{&main, 2};
    Step triggerStep{&trigger, 1};
    StepItem items[6];
    std::vector<FireRecord> records;

    OrderFixture()
    {
        step1.clickIndex = 1;
        step2.clickIndex = 2;
        triggerStep.clickIndex = 1;
        // position, step, start, end
        SetItem(0, 3, &step1, 500, 500);  // ends where it starts
        SetItem(1, 5, &step1, 0, 500);
        SetItem(2, 4, &step1, 500, 900);
        SetItem(3, 6, &step2, 0, 500);
        SetItem(4, 1, &triggerStep, 0, 500);
        SetItem(5, 2, &step1, 500, 500);
        for (size_t i = 0; i < 6; ++i) {
            AddRecord(&items[i], true, 1000);
            AddRecord(&items[i], false, 1000);
        }
        AddRecord(&items[1], true, 200);
        AddRecord(&items[2], false, 1400);
        // Fired records, in firing order.
        AddRecord(&items[3], true, FireRecord::kNoTime, 1);
        AddRecord(&items[4], false, FireRecord::kNoTime, 0);
    }
    void SetItem(size_t i, int32_t position, Step* step, int32_t start, int32_t end)
    {
        items[i].position = position;
        items[i].step = step;
        items[i].list = step->GetList();
        items[i].start = start;
        items[i].end = end;
    }
    void AddRecord(StepItem* item, bool isStart, int32_t time, int32_t order = -1)
    {
        FireRecord record;
        record.item = item;
        record.isStart = isStart;
        record.time = time;
        record.hasFired = order >= 0;
        record.order = order;
        record.serial = uint32_t(records.size());
        records.push_back(record);
    }
};

TEST(FireRecordOrder, IsAStrictWeakOrder)
{
    OrderFixture f;
    const std::vector<FireRecord>& r = f.records;
    auto less = [](const FireRecord& a, const FireRecord& b) { return CompareFireRecords(a, b) < 0; };
    for (size_t a = 0; a < r.size(); ++a) {
        EXPECT_EQ(CompareFireRecords(r[a], r[a]), 0);
        for (size_t b = 0; b < r.size(); ++b) {
            EXPECT_EQ(CompareFireRecords(r[a], r[b]), -CompareFireRecords(r[b], r[a])) << a << " " << b;
            for (size_t c = 0; c < r.size(); ++c) {
                if (less(r[a], r[b]) && less(r[b], r[c])) {
                    EXPECT_TRUE(less(r[a], r[c])) << a << " " << b << " " << c;
                }
            }
        }
    }
}

TEST(FireRecordOrder, SortingInEveryOrderGivesOneResult)
{
    // An item that ends where it starts, another one's end at the same item
    // time and a third start there: the records whose keys tie on time,
    // list and click.
    OrderFixture f;
    std::vector<FireRecord*> tied;
    for (FireRecord& record : f.records) {
        if (record.time == 1000 && record.item->step == &f.step1 &&
            (record.isStart ? record.item->start : record.item->end) == 500)
            tied.push_back(&record);
    }
    ASSERT_EQ(tied.size(), 6u);
    std::vector<FireRecord*> expected;
    std::vector<FireRecord*> order = tied;
    std::sort(order.begin(), order.end());
    int permutations = 0;
    do {
        std::vector<FireRecord*> sorted = order;
        SortFireRecords(sorted.data(), int(sorted.size()));
        if (expected.empty())
            expected = sorted;
        ASSERT_EQ(sorted, expected) << "permutation " << permutations;
        ++permutations;
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(permutations, 720);

    // Ends before starts; an item that ends where it starts keeps its start
    // before its own end, among the starts.
    auto at = [&](const FireRecord* record) {
        return std::find(expected.begin(), expected.end(), record) - expected.begin();
    };
    auto find = [&](size_t item, bool isStart) {
        for (FireRecord* record : tied) {
            if (record->item == &f.items[item] && record->isStart == isStart)
                return record;
        }
        return static_cast<FireRecord*>(nullptr);
    };
    EXPECT_EQ(at(find(1, false)), 0);  // the only end of a running item
    EXPECT_LT(at(find(0, true)), at(find(0, false)));
    EXPECT_LT(at(find(5, true)), at(find(5, false)));
    EXPECT_LT(at(find(5, false)), at(find(0, true)));  // position 2 before 3
}

TEST(FireRecordOrder, FiredFirstByOrderThenTimeListClickAndPosition)
{
    OrderFixture f;
    std::vector<FireRecord*> all;
    for (FireRecord& record : f.records)
        all.push_back(&record);
    std::reverse(all.begin(), all.end());
    SortFireRecords(all.data(), int(all.size()));
    // Fired: by firing order.
    EXPECT_EQ(all[0]->item, &f.items[4]);
    EXPECT_EQ(all[1]->item, &f.items[3]);
    // Then the earliest unfired one; the last at 1400.
    EXPECT_EQ(all[2]->time, 200);
    EXPECT_EQ(all.back()->time, 1400);
    // At 1000 the main list's click 1, then click 2, then the trigger list.
    std::vector<int32_t> lists;
    std::vector<int32_t> clicks;
    for (FireRecord* record : all) {
        if (record->time != 1000)
            continue;
        lists.push_back(record->item->list->GetSequenceIndex());
        clicks.push_back(record->item->step->clickIndex);
    }
    EXPECT_TRUE(std::is_sorted(lists.begin(), lists.end()));
    EXPECT_EQ(clicks.front(), 1);
    EXPECT_EQ(clicks[clicks.size() - 3], 2);
}

}  // namespace

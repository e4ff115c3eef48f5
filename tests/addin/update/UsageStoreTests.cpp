// The usage counters against the oracle's records and corruption table, the
// moving window, and what the store writes for the oracle.
#include "RecordFixtures.h"

#include "addin/update/FeatureCounter.h"
#include "addin/update/UsageStore.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

using Counts = std::map<int, int>;  // counter index -> uses, the others 0

Counts NonZero(const FeatureCounter* counter)
{
    Counts counts;
    for (int i = 0; i < FeatureCounter::kDays; ++i)
        if (counter->GetCounters()[i])
            counts[i] = counter->GetCounters()[i];
    return counts;
}

std::vector<int32_t> Listed(const UsageStore& store)
{
    MKTArray<int32_t> ids;
    store.ListFeatures(ids);
    return std::vector<int32_t>(ids.GetData(), ids.GetData() + ids.GetCount());
}

bool LoadFixture(UsageStore& store, const std::wstring& name)
{
    MemoryRecordStore records;
    records.user = ReadRecordFixture(name);
    return store.Load(records);
}

struct Feature {
    int32_t id;
    int32_t firstDay;
    Counts counts;
    uint32_t total;
};

void ExpectFeatures(UsageStore& store, const std::vector<Feature>& features)
{
    for (const Feature& feature : features) {
        const FeatureCounter* counter = store.GetCounter(feature.id);
        ASSERT_NE(counter, nullptr) << feature.id;
        EXPECT_EQ(counter->GetFirstDay(), feature.firstDay) << feature.id;
        EXPECT_EQ(NonZero(counter), feature.counts) << feature.id;
        EXPECT_EQ(counter->GetTotal(), feature.total) << feature.id;
    }
}

// The fixture's features as stored, counter 0 being the saved day.
const std::vector<Feature> kStored = {
    {1, 4000, {{0, 3}, {1, 1}, {363, 9}}, 120},
    {2, 4100, {{2, 255}}, 700},
    {fixture::kEffectId, 4990, {{0, 1}, {9, 4}}, 5},
};

std::string CountsJson(const Counts& counts)
{
    std::ostringstream text;
    text << "[";
    for (auto it = counts.begin(); it != counts.end(); ++it)
        text << (it == counts.begin() ? "" : ", ") << "[" << it->first << ", " << it->second << "]";
    text << "]";
    return text.str();
}

std::string FeaturesJson(const std::vector<Feature>& features)
{
    std::ostringstream text;
    text << "{";
    for (size_t i = 0; i < features.size(); ++i)
        text << (i ? ", " : "") << "\"" << features[i].id << "\": {\"first_day\": " << features[i].firstDay
             << ", \"total\": " << features[i].total << ", \"counters\": " << CountsJson(features[i].counts) << "}";
    text << "}";
    return text.str();
}

}  // namespace

TEST(UsageStoreTest, ReadsTheOraclesRecords)
{
    struct Case {
        const wchar_t* name;
        std::vector<Feature> features;
        bool storedCreationDate;
    };
    std::vector<Feature> summed = kStored;
    summed[0].total = 13;
    summed[1].total = 255;
    summed[2].total = 5;
    std::vector<Feature> emptied = kStored;
    for (Feature& feature : emptied)
        feature.counts.clear();
    const Case cases[] = {
        {L"usage_valid", kStored, true},
        {L"usage_v10000", summed, false},
        {L"usage_n0", emptied, true},
        // Counters past the window are dropped.
        {L"usage_n1000", kStored, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name);
        FixedClock clock(fixture::kSavedDay);
        UsageStore store(clock);
        ASSERT_TRUE(LoadFixture(store, c.name));
        EXPECT_FALSE(store.IsChanged());
        ExpectFeatures(store, c.features);
        EXPECT_EQ(Listed(store), std::vector<int32_t>{fixture::kEffectId});
        if (c.storedCreationDate) {
            EXPECT_EQ(store.GetCreationDate().GetTicks(), fixture::CreatedTicks());
            EXPECT_EQ(store.GetCreationDate().GetKind(), MKDateTimeUtc);
        } else {
            EXPECT_EQ(store.GetCreationDate().GetTicks(), clock.UtcNow().GetTicks());
        }
    }
}

TEST(UsageStoreTest, AVersionOneRecordTakesItsCreationDateFromTheOldestFeature)
{
    FixedClock clock(fixture::kSavedDay);
    UsageStore store(clock);
    ASSERT_TRUE(LoadFixture(store, L"usage_v1"));
    EXPECT_EQ(store.TotalUses(1), 13);
    EXPECT_EQ(store.GetCounter(2)->GetTotal(), 255u);
    EXPECT_EQ(store.GetCreationDate().GetTicks(),
              MKDateTime::TicksFromDate(2009, 1, 1) + 4000 * MKDateTime::kTicksPerDay);
}

TEST(UsageStoreTest, LoadingKeepsFeaturesOneAndTwoAndTheLastRecordOfAnId)
{
    FixedClock clock(fixture::kSavedDay);
    UsageStore store(clock);
    ASSERT_TRUE(LoadFixture(store, L"usage_no_features"));
    ExpectFeatures(store, {{1, fixture::kSavedDay, {}, 0}, {2, fixture::kSavedDay, {}, 0}});
    EXPECT_TRUE(Listed(store).empty());

    ASSERT_TRUE(LoadFixture(store, L"usage_duplicate_id"));
    ExpectFeatures(store, {{fixture::kEffectId, 4999, {{0, 2}}, 2}});
    EXPECT_EQ(Listed(store), std::vector<int32_t>{fixture::kEffectId});
}

TEST(UsageStoreTest, LoadedCountersMoveWithTheDay)
{
    struct Case {
        int32_t day;
        Counts feature1;
    };
    const Case cases[] = {
        {fixture::kSavedDay + 1, {{1, 3}, {2, 1}}},
        {fixture::kSavedDay + 363, {{363, 3}}},
        {fixture::kSavedDay + 400, {}},
        // A clock set back: the days after today are dropped.
        {fixture::kSavedDay - 1, {{0, 1}, {362, 9}}},
    };
    for (const Case& c : cases) {
        FixedClock clock(c.day);
        UsageStore store(clock);
        ASSERT_TRUE(LoadFixture(store, L"usage_valid"));
        ExpectFeatures(store, {{1, 4000, c.feature1, 120}});
    }
}

TEST(UsageStoreTest, EveryDamagedRecordGivesAFreshStore)
{
    FixedClock clock(fixture::kSavedDay + 3);
    int tried = 0;
    for (const std::string& name : ReadFixtureLines(L"corrupt_records.txt")) {
        if (name.rfind("usage_", 0) != 0)
            continue;
        SCOPED_TRACE(name);
        ++tried;
        UsageStore store(clock);
        ASSERT_TRUE(LoadFixture(store, L"usage_valid"));
        EXPECT_FALSE(LoadFixture(store, std::wstring(name.begin(), name.end())));
        EXPECT_FALSE(store.ReadFailed());
        EXPECT_TRUE(store.IsChanged());
        EXPECT_TRUE(Listed(store).empty());
        ExpectFeatures(store, {{1, fixture::kSavedDay + 3, {}, 0}, {2, fixture::kSavedDay + 3, {}, 0}});
        EXPECT_EQ(store.GetCreationDate().GetTicks(), clock.UtcNow().GetTicks());
    }
    EXPECT_GE(tried, 16);
}

TEST(UsageStoreTest, ADayCountsUpTo255Uses)
{
    FixedClock clock(fixture::kSavedDay);
    UsageStore store(clock);
    ASSERT_TRUE(LoadFixture(store, L"usage_valid"));
    for (int i = 0; i < 300; ++i)
        store.CountUse(1);
    ExpectFeatures(store, {{1, 4000, {{0, 255}, {1, 1}, {363, 9}}, 120 + 252}});
    EXPECT_TRUE(store.IsChanged());
    store.CountUse(77);  // no such feature
    EXPECT_EQ(store.TotalUses(77), -1);
    EXPECT_EQ(store.RecentUses(77), -1);
    EXPECT_EQ(store.TotalUses(1), 255 + 1 + 9);
    EXPECT_EQ(store.RecentUses(1), 256);
    EXPECT_EQ(store.RecentUses(fixture::kEffectId), 5);  // 11 days since its first
}

TEST(UsageStoreTest, RecentUsesNeedAFeatureOlderThanToday)
{
    FixedClock clock(6000);
    UsageStore store(clock);
    store.AddFeature(0x4242);
    EXPECT_TRUE(store.IsChanged());
    store.CountUse(0x4242);
    store.CountUse(0x4242);
    EXPECT_EQ(store.RecentUses(0x4242), -1);
    EXPECT_EQ(store.TotalUses(0x4242), 2);
    clock.SetDay(6001);
    store.CountUse(0x4242);
    EXPECT_EQ(store.RecentUses(0x4242), 3);
    clock.SetDay(6100);
    EXPECT_EQ(store.RecentUses(0x4242), 0);
    EXPECT_EQ(store.TotalUses(0x4242), 3);
    EXPECT_EQ(store.GetCounter(0x4242)->GetTotal(), 3u);
    store.AddFeature(0x4242);
    EXPECT_EQ(store.TotalUses(0x4242), 3);
    EXPECT_EQ(Listed(store), std::vector<int32_t>{0x4242});
}

TEST(UsageStoreTest, WritesWhatTheOracleReads)
{
    FixedClock clock(fixture::kSavedDay + 2);
    UsageStore store(clock);
    ASSERT_TRUE(LoadFixture(store, L"usage_valid"));
    for (int i = 0; i < 3; ++i)
        store.CountUse(2);
    store.AddFeature(0x777);
    MKByteArray record;
    ASSERT_TRUE(store.WriteRecord(fixture::kSeed, record));
    const std::vector<Feature> expected = {
        {1, 4000, {{2, 3}, {3, 1}}, 120},
        {2, 4100, {{0, 3}, {4, 255}}, 703},
        {fixture::kEffectId, 4990, {{2, 1}, {11, 4}}, 5},
        {0x777, fixture::kSavedDay + 2, {}, 0},
    };
    std::ostringstream expectations;
    expectations << "{\"saved_day\": " << fixture::kSavedDay + 2 << ", \"created\": " << fixture::CreatedTicks()
                 << ", \"order\": [1, 2, " << fixture::kEffectId << ", " << 0x777
                 << "], \"features\": " << FeaturesJson(expected) << "}";
    HandRecordToOracle(RecordKind::Usage, L"usage_cpp_seeded.bin", ToBytes(record), expectations.str());

    // What the store reads back of its own record.
    UsageStore loaded(clock);
    ASSERT_TRUE(loaded.ReadRecord(record));
    ExpectFeatures(loaded, expected);
}

TEST(UsageStoreTest, SavesOnlyWhatChangedAndRetriesAFailedWrite)
{
    FixedClock clock(6000);
    UsageStore store(clock);
    MemoryRecordStore records;
    EXPECT_FALSE(store.IsChanged());
    EXPECT_TRUE(store.Save(records, false));
    EXPECT_EQ(records.writes, 0);
    store.CountUse(1);
    records.failWrites = true;
    EXPECT_FALSE(store.Save(records, false));
    EXPECT_TRUE(store.IsChanged());
    records.failWrites = false;
    EXPECT_TRUE(store.Save(records, false));
    EXPECT_TRUE(store.Save(records, false));
    EXPECT_EQ(records.writes, 1);
    EXPECT_TRUE(store.Save(records, true));
    EXPECT_EQ(records.writes, 2);

    UsageStore loaded(clock);
    ASSERT_TRUE(loaded.Load(records));
    EXPECT_EQ(loaded.TotalUses(1), 1);
}

TEST(UsageStoreTest, ARecordThatCannotBeReadIsNeverWrittenOver)
{
    FixedClock clock(fixture::kSavedDay);
    MemoryRecordStore records;
    records.user = ReadRecordFixture(L"usage_valid");
    records.failReads = true;
    UsageStore store(clock);
    EXPECT_FALSE(store.Load(records));
    EXPECT_TRUE(store.ReadFailed());
    store.CountUse(2);
    EXPECT_FALSE(store.Save(records, false));
    EXPECT_FALSE(store.Save(records, true));
    EXPECT_EQ(records.writes, 0);

    records.failReads = false;
    ASSERT_TRUE(store.Load(records));
    ExpectFeatures(store, kStored);
    store.CountUse(2);
    EXPECT_TRUE(store.Save(records, false));
    EXPECT_EQ(records.writes, 1);
}

TEST(FeatureCounterTest, StoredCountersOfAnyLengthFitTheWindow)
{
    struct Case {
        int length;
        int32_t storedDay;
        int32_t day;
        Counts expected;  // some of the counters
        int used;         // how many are not 0
    };
    // Stored counter k holds k % 200 + 1 uses.
    const Case cases[] = {
        {0, 100, 100, {}, 0},
        {364, 100, 100, {{0, 1}, {1, 2}, {100, 101}}, 101},  // day 0 is the oldest day there is
        {364, 500, 500, {{0, 1}, {199, 200}, {200, 1}, {363, 164}}, 364},
        {1000, 500, 500, {{0, 1}, {199, 200}, {200, 1}, {363, 164}}, 364},
        {1000, 500, 502, {{2, 1}, {201, 200}, {202, 1}, {363, 162}}, 362},
        {3, 500, 499, {{0, 2}, {1, 3}}, 2},
    };
    uint8_t stored[1000];
    for (int k = 0; k < 1000; ++k)
        stored[k] = uint8_t(k % 200 + 1);
    for (const Case& c : cases) {
        FeatureCounter counter(5, 7, stored, c.length, c.storedDay, 77, c.day);
        Counts got = NonZero(&counter);
        for (const auto& [index, uses] : c.expected)
            EXPECT_EQ(got[index], uses) << c.length << "/" << c.day << " index " << index;
        EXPECT_EQ(static_cast<int>(got.size()), c.used) << c.length << "/" << c.day;
        EXPECT_EQ(counter.GetTotal(), 77u);
        EXPECT_EQ(counter.GetCurrentDay(), c.day);
    }
}

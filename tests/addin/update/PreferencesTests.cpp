// The preferences record against the oracle's records and its corruption
// table, what it writes for the oracle, and when it saves.
#include "RecordFixtures.h"

#include "addin/update/Preferences.h"

#include <gtest/gtest.h>

namespace {

MKGuid FixtureGuid()
{
    MKGuid guid;
    guid.Parse(fixture::kGuid);
    return guid;
}

Bytes BlobOf(Preferences& preferences)
{
    const uint8_t* bytes = nullptr;
    int length = 0;
    preferences.GetBlob(&bytes, &length);
    return Bytes(bytes, bytes + length);
}

bool LoadBytes(Preferences& preferences, const Bytes& bytes)
{
    MemoryRecordStore store;
    store.preferences = bytes;
    return preferences.Load(store);
}

Bytes Written(Preferences& preferences, uint32_t seed)
{
    MKByteArray record;
    EXPECT_TRUE(preferences.WriteRecord(seed, record));
    return ToBytes(record);
}

// A day outside the 2010-2011 window: the default frequency is 2.
const int32_t kToday = 5100;

struct Expected {
    const wchar_t* name;
    int32_t frequency;
};

}  // namespace

TEST(PreferencesTest, ReadsTheOraclesRecords)
{
    const Expected cases[] = {
        {L"prefs_valid", 7},          {L"prefs_version10000", 7}, {L"prefs_deflated_tail", 9},
        {L"prefs_tail_marker0", 2},   {L"prefs_no_tail", 2},      {L"prefs_tail_kind1", 2},
        {L"prefs_tail_kind3", 2},     {L"prefs_key2_0", 2},       {L"prefs_key2_18", 2},
        {L"prefs_key2_17_other_keys", 17},
    };
    FixedClock clock(kToday);
    const Bytes blob(fixture::kBlob, fixture::kBlob + sizeof(fixture::kBlob));
    for (const Expected& expected : cases) {
        SCOPED_TRACE(testing::Message() << expected.name);
        Preferences preferences(clock);
        preferences.SetUpdateFrequency(3);
        ASSERT_TRUE(LoadBytes(preferences, ReadRecordFixture(expected.name)));
        EXPECT_FALSE(preferences.IsChanged());
        EXPECT_TRUE(preferences.GetInstallationGuid() == FixtureGuid());
        EXPECT_EQ(BlobOf(preferences), blob);
        EXPECT_EQ(preferences.GetUpdateFrequency(), expected.frequency);
    }
}

TEST(PreferencesTest, EveryDamagedRecordFailsToLoadAndLeavesTheRecordAsItWas)
{
    FixedClock clock(kToday);
    int tried = 0;
    for (const std::string& name : ReadFixtureLines(L"corrupt_records.txt")) {
        if (name.rfind("prefs_", 0) != 0)
            continue;
        SCOPED_TRACE(name);
        ++tried;
        Preferences preferences(clock);
        ASSERT_TRUE(LoadBytes(preferences, ReadRecordFixture(L"prefs_valid")));
        EXPECT_FALSE(LoadBytes(preferences, ReadRecordFixture(std::wstring(name.begin(), name.end()))));
        EXPECT_FALSE(preferences.ReadFailed());
        EXPECT_TRUE(preferences.GetInstallationGuid() == FixtureGuid());
        EXPECT_EQ(preferences.GetUpdateFrequency(), 7);
        EXPECT_EQ(BlobOf(preferences).size(), sizeof(fixture::kBlob));

        // What the add-in then does: a fresh record, saved at once.
        MemoryRecordStore store;
        preferences.Reset();
        ASSERT_TRUE(preferences.Save(store, true));
        Preferences reloaded(clock);
        ASSERT_TRUE(reloaded.Load(store));
        EXPECT_TRUE(reloaded.GetInstallationGuid() == preferences.GetInstallationGuid());
        EXPECT_FALSE(reloaded.GetInstallationGuid() == FixtureGuid());
        EXPECT_TRUE(BlobOf(reloaded).empty());
        EXPECT_EQ(reloaded.GetUpdateFrequency(), 2);
    }
    EXPECT_GE(tried, 19);
}

TEST(PreferencesTest, WritesWhatTheOracleReads)
{
    FixedClock clock(kToday);
    Preferences preferences(clock);
    preferences.Reset();
    const uint8_t blob[] = {0, 1, 2, 0xFE, 0xFF, 'b'};
    ASSERT_TRUE(preferences.SetBlob(blob, sizeof(blob)));
    preferences.SetUpdateFrequency(11);
    std::string guid = GuidText(preferences.GetInstallationGuid());
    HandRecordToOracle(RecordKind::Preferences, L"prefs_cpp_seeded.bin", Written(preferences, fixture::kSeed),
                       "{\"guid\": \"" + guid + "\", \"blob\": \"" + Hex(blob, sizeof(blob)) +
                           "\", \"frequency\": 11, \"seed\": 305419896}");

    Preferences empty(clock);
    HandRecordToOracle(RecordKind::Preferences, L"prefs_cpp_empty.bin", Written(empty, 0xFFFFFFFF),
                       "{\"guid\": \"00000000-0000-0000-0000-000000000000\", \"blob\": \"\", \"frequency\": 2, "
                       "\"seed\": 4294967295}");

    MemoryRecordStore store;
    ASSERT_TRUE(preferences.Save(store, false));
    HandRecordToOracle(RecordKind::Preferences, L"prefs_cpp_saved.bin", store.preferences,
                       "{\"guid\": \"" + guid + "\", \"blob\": \"" + Hex(blob, sizeof(blob)) +
                           "\", \"frequency\": 11}");
}

TEST(PreferencesTest, EverySaveScramblesDifferentlyAndLoadsBack)
{
    FixedClock clock(kToday);
    Preferences preferences(clock);
    preferences.Reset();
    MemoryRecordStore first;
    MemoryRecordStore second;
    ASSERT_TRUE(preferences.Save(first, true));
    ASSERT_TRUE(preferences.Save(second, true));
    EXPECT_NE(first.preferences, second.preferences);
    EXPECT_NE(Written(preferences, 1), Written(preferences, 2));
    for (MemoryRecordStore* store : {&first, &second}) {
        Preferences loaded(clock);
        ASSERT_TRUE(loaded.Load(*store));
        EXPECT_TRUE(loaded.GetInstallationGuid() == preferences.GetInstallationGuid());
    }
}

TEST(PreferencesTest, SavesOnlyWhatChanged)
{
    FixedClock clock(kToday);
    Preferences preferences(clock);
    MemoryRecordStore store;
    EXPECT_TRUE(preferences.Save(store, false));
    EXPECT_EQ(store.writes, 0);
    preferences.Reset();
    EXPECT_TRUE(preferences.Save(store, false));
    EXPECT_TRUE(preferences.Save(store, false));
    EXPECT_EQ(store.writes, 1);

    preferences.SetUpdateFrequency(2);  // the code it already has
    preferences.SetUpdateFrequency(0);  // not a code
    preferences.SetUpdateFrequency(18);
    EXPECT_FALSE(preferences.IsChanged());
    preferences.SetUpdateFrequency(17);
    EXPECT_TRUE(preferences.IsChanged());
    EXPECT_TRUE(preferences.Save(store, false));
    EXPECT_EQ(store.writes, 2);
    EXPECT_TRUE(preferences.Save(store, true));
    EXPECT_EQ(store.writes, 3);
}

TEST(PreferencesTest, AFailedWriteIsTriedAgainAtTheNextSave)
{
    FixedClock clock(kToday);
    Preferences preferences(clock);
    preferences.Reset();
    const uint8_t blob[] = {9, 8, 7};
    preferences.SetBlob(blob, sizeof(blob));
    MemoryRecordStore store;
    store.failWrites = true;
    EXPECT_FALSE(preferences.Save(store, false));
    EXPECT_TRUE(preferences.IsChanged());
    store.failWrites = false;
    EXPECT_TRUE(preferences.Save(store, false));
    EXPECT_FALSE(preferences.IsChanged());
    Preferences loaded(clock);
    ASSERT_TRUE(loaded.Load(store));
    EXPECT_EQ(BlobOf(loaded), Bytes(blob, blob + 3));
}

TEST(PreferencesTest, ARecordThatCannotBeReadIsNeverWrittenOver)
{
    FixedClock clock(kToday);
    MemoryRecordStore store;
    store.preferences = ReadRecordFixture(L"prefs_valid");
    store.failReads = true;
    Preferences preferences(clock);
    EXPECT_FALSE(preferences.Load(store));
    EXPECT_TRUE(preferences.ReadFailed());
    preferences.Reset();
    EXPECT_FALSE(preferences.Save(store, true));
    EXPECT_EQ(store.writes, 0);
    EXPECT_EQ(store.preferences, ReadRecordFixture(L"prefs_valid"));

    // Once the record reads again it is the record's own.
    store.failReads = false;
    ASSERT_TRUE(preferences.Load(store));
    EXPECT_FALSE(preferences.ReadFailed());
    EXPECT_TRUE(preferences.GetInstallationGuid() == FixtureGuid());
    preferences.SetUpdateFrequency(4);
    EXPECT_TRUE(preferences.Save(store, false));
    EXPECT_EQ(store.writes, 1);
}

TEST(PreferencesTest, TheDefaultFrequencyIsOneOnlyFromJuly2010ToJuly2011)
{
    struct Case {
        int64_t ticks;
        int32_t frequency;
    };
    const int64_t start = MKDateTime::TicksFromDate(2010, 7, 1);
    const int64_t end = MKDateTime::TicksFromDate(2011, 7, 1);
    const Case cases[] = {
        {start - 1, 2}, {start, 1}, {end, 1}, {end + 1, 2}, {MKDateTime::TicksFromDate(2026, 1, 1), 2},
    };
    for (const Case& c : cases) {
        FixedClock clock(0);
        clock.SetUtc(MKDateTime(c.ticks, MKDateTimeUtc));
        Preferences preferences(clock);
        EXPECT_EQ(preferences.GetUpdateFrequency(), c.frequency) << c.ticks;
        preferences.Reset();
        EXPECT_EQ(preferences.GetUpdateFrequency(), c.frequency) << c.ticks;
    }
}

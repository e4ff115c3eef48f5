#include "base/MKHashMap.h"
#include "base/MKRefClass.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

MKString Key(int i)
{
    return MKString::FromInt(i);
}

TEST(HashText, KnownValues)
{
    struct Case {
        const wchar_t* text;
        uint32_t hash;
    } cases[] = {
        {L"", 0u},
        {L"a", 4294967280u},
        {L"ab", 4294966275u},
        {L"abcdefghijklmnopqrstuvwxyz0", 2190119742u},   // 27: every character
        {L"abcdefghijklmnopqrstuvwxyz01", 636654923u},   // 28: nine sampled characters
        {L"The quick brown fox jumps over the lazy dog", 2883460236u},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.hash, MKHashText(c.text, int(wcslen(c.text)))) << c.text;
        EXPECT_EQ(c.hash, MKHashKey(MKString(c.text)).GetHash()) << c.text;
    }
    EXPECT_EQ(0u, MKHashText(L"x", -1));
}

TEST(HashText, KeysFromCharactersCopyThem)
{
    wchar_t text[] = L"abcd";
    MKHashKey key(text, 2);
    text[0] = L'z';
    EXPECT_TRUE(key.GetKey().EqualsText(L"ab"));
    EXPECT_EQ(4294966275u, key.GetHash());
    EXPECT_EQ(7u, MKHashKey(text, 2, 7).GetHash());
}

TEST(HashPrimes, SmallestTableEntryAtLeast)
{
    struct Case {
        uint32_t n, prime;
    } cases[] = {{0, 7},         {7, 7},           {8, 13},          {32, 61},
                 {62, 127},      {65522, 131071},  {2147483648u, 4294967291u},
                 {4294967291u, 4294967291u},       {4294967295u, 4294967291u}};
    for (const Case& c : cases)
        EXPECT_EQ(c.prime, MKHashPrimeAtLeast(c.n)) << c.n;
}

TEST(HashMap, GrowsFrom31To61AtThe64thEntry)
{
    MKHashMap map;
    EXPECT_EQ(0u, map.GetBucketCount());
    EXPECT_EQ(nullptr, map.Find(Key(1)));
    int values[200];
    for (int i = 1; i <= 63; ++i)
        ASSERT_EQ(i, map.Set(Key(i), &values[i]));
    EXPECT_EQ(31u, map.GetBucketCount());
    ASSERT_EQ(64, map.Set(Key(64), &values[64]));
    EXPECT_EQ(61u, map.GetBucketCount());
    for (int i = 65; i <= 123; ++i)
        ASSERT_EQ(i, map.Set(Key(i), &values[i]));
    EXPECT_EQ(61u, map.GetBucketCount());
    ASSERT_EQ(124, map.Set(Key(124), &values[124]));
    EXPECT_EQ(127u, map.GetBucketCount());
    for (int i = 1; i <= 124; ++i) {
        MKHashNode* node = map.Find(Key(i));
        ASSERT_NE(nullptr, node) << i;
        EXPECT_EQ(&values[i], node->value);
        EXPECT_EQ(i, node->order);
        EXPECT_EQ(node, map.GetNodeAt(i));
    }
}

TEST(HashMap, PresentKeyKeepsItsFirstValueAndIndex)
{
    MKHashMap map;
    int a = 0, b = 0;
    EXPECT_EQ(1, map.Set(MKString(L"k"), &a));
    EXPECT_EQ(2, map.Set(MKString(L"other"), &b));
    EXPECT_EQ(1, map.Set(MKString(L"k"), &b));
    EXPECT_EQ(&a, map.Find(MKString(L"k"))->value);
    EXPECT_EQ(2, map.GetCount());
}

TEST(HashMap, EqualHashesAreToldApartByText)
{
    MKHashMap map;
    int a = 0, b = 0;
    ASSERT_EQ(1, map.Set(MKHashKey(MKString(L"x"), 5), &a));
    ASSERT_EQ(2, map.Set(MKHashKey(MKString(L"y"), 5), &b));
    EXPECT_EQ(&a, map.Find(MKHashKey(MKString(L"x"), 5))->value);
    EXPECT_EQ(&b, map.Find(MKHashKey(MKString(L"y"), 5))->value);
    EXPECT_EQ(nullptr, map.Find(MKHashKey(MKString(L"z"), 5)));
    EXPECT_EQ(nullptr, map.Find(MKString(L"x")));  // its real hash differs
}

TEST(HashMap, RemovedEntriesLeaveTheirOrderSlotEmpty)
{
    MKHashMap map;
    int values[4];
    for (int i = 1; i <= 3; ++i)
        map.Set(Key(i), &values[i]);
    EXPECT_EQ(&values[2], map.Remove(Key(2)));
    EXPECT_EQ(nullptr, map.Remove(Key(2)));
    EXPECT_EQ(2, map.GetCount());
    EXPECT_EQ(nullptr, map.GetNodeAt(2));
    EXPECT_EQ(nullptr, map.GetNodeAt(0));
    EXPECT_EQ(nullptr, map.GetNodeAt(99));
    EXPECT_EQ(4, map.Set(Key(2), &values[2]));
    EXPECT_EQ(5, map.GetOrderCount());

    map.RemoveAll();
    EXPECT_EQ(0, map.GetCount());
    EXPECT_EQ(nullptr, map.Find(Key(1)));
    EXPECT_EQ(nullptr, map.GetNodeAt(1));
    EXPECT_EQ(5, map.Set(Key(1), &values[1]));

    map.Clear();
    EXPECT_EQ(0u, map.GetBucketCount());
    EXPECT_EQ(1, map.Set(Key(1), &values[1]));
}

TEST(HashMap, IteratesBucketsInOrderNewestFirst)
{
    MKHashMap map;
    int v = 0;
    // Buckets of 31: 5 % 31 = 5, 36 % 31 = 5, 2 % 31 = 2.
    map.Set(MKHashKey(MKString(L"old"), 5), &v);
    map.Set(MKHashKey(MKString(L"new"), 36), &v);
    map.Set(MKHashKey(MKString(L"low"), 2), &v);
    std::vector<std::wstring> seen;
    MKHashMapIterator it(map);
    while (MKHashNode* node = it.Next())
        seen.push_back(node->key.GetText());
    EXPECT_EQ((std::vector<std::wstring>{L"low", L"new", L"old"}), seen);

    // Rehashing keeps every chain newest first.
    ASSERT_TRUE(map.Rehash(61));
    seen.clear();
    MKHashMapIterator again(map);
    while (MKHashNode* node = again.Next())
        seen.push_back(node->key.GetText());
    EXPECT_EQ((std::vector<std::wstring>{L"low", L"old", L"new"}), seen);  // 5, 36 now apart
}

TEST(HashMap, IteratorToleratesRemovingTheNodeItAnswered)
{
    MKHashMap map;
    int v = 0;
    for (int i = 0; i < 100; ++i)
        map.Set(Key(i), &v);
    std::set<std::wstring> seen;
    MKHashMapIterator it(map);
    while (MKHashNode* node = it.Next()) {
        seen.insert(node->key.GetText());
        map.RemoveNode(node);
    }
    EXPECT_EQ(100u, seen.size());
    EXPECT_EQ(0, map.GetCount());
    MKHashMap empty;
    EXPECT_EQ(nullptr, MKHashMapIterator(empty).Next());
}

// Removes its whole map while being released.
class MapClearingValue : public MKRefClass {
public:
    MapClearingValue(MKHashMap* map, int* released) : m_map(map), m_released(released) {}
    ~MapClearingValue() override
    {
        ++*m_released;
        if (m_map)
            m_map->Clear();
    }

private:
    MKHashMap* m_map;
    int* m_released;
};

TEST(HashMap, ReleaseAllValuesReleasesEachOnce)
{
    int released = 0;
    MKHashMap map;
    MapClearingValue* kept = new MapClearingValue(nullptr, &released);
    kept->AddRef();
    map.Set(Key(1), kept);
    map.Set(Key(2), new MapClearingValue(nullptr, &released));
    map.Set(Key(3), new MapClearingValue(nullptr, &released));
    map.Remove(Key(3));  // its value is the caller's again
    map.ReleaseAllValues();
    EXPECT_EQ(1, released);
    EXPECT_EQ(1, kept->GetRefCount());
    EXPECT_EQ(0, map.GetCount());
    EXPECT_EQ(0u, map.GetBucketCount());
    kept->Release();
}

TEST(HashMap, ReleaseAllValuesSurvivesAValueThatClearsTheMap)
{
    int released = 0;
    MKHashMap map;
    MapClearingValue* older = new MapClearingValue(nullptr, &released);
    map.Set(Key(1), older);
    map.Set(Key(2), new MapClearingValue(&map, &released));  // released first
    map.ReleaseAllValues();
    EXPECT_EQ(1, released);  // the older value went out with the cleared map
    EXPECT_EQ(0, map.GetCount());
    EXPECT_EQ(1, older->GetRefCount());
    older->Release();
}

}  // namespace

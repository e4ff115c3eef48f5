// Effect types, content and ribbon handlers of plug-in records.
#include "PluginTestSupport.h"

#include "addin/effects/ContentRegistry.h"
#include "addin/effects/ControlHandlerTable.h"
#include "addin/effects/Plugin.h"

#include <gtest/gtest.h>

namespace {

const GUID kTypeA = MakeGuid(L"6D1F2A3B-4C5D-4E6F-8A9B-0C1D2E3F4A5B");
const GUID kTypeB = MakeGuid(L"11111111-2222-3333-4444-555555555555");
// Their usage ids are the usage counters' own 1 and 2.
const GUID kTypeUsage1 = MakeGuid(L"00000001-0000-0000-0000-000000000000");
const GUID kTypeUsage2 = MakeGuid(L"00000000-0002-0000-0000-000000000000");
// The same usage id as kTypeA: the first and the last word differ in the
// same bit.
const GUID kTypeLikeA = MakeGuid(L"6D1F2A3A-4C5D-4E6F-8A9B-0C1D2F3F4A5B");

class PluginRecordTest : public ::testing::Test {
protected:
    PluginRecordTest() : package(L"PackageA"), other(L"PackageB")
    {
        for (MemoryPackage* p : {&package, &other}) {
            p->AddType(kTypeA, L"Type A");
            p->AddType(kTypeB, L"Type B");
            p->AddType(kTypeUsage1, L"Usage 1");
            p->AddType(kTypeUsage2, L"Usage 2");
            p->AddType(kTypeLikeA, L"Like A");
        }
    }

    MemoryPackage package;
    MemoryPackage other;
    TestPluginHost host;
};

TEST_F(PluginRecordTest, UsageIdsAreTheLow24BitsOfTheGuidWordsExclusiveOr)
{
    EXPECT_EQ(EffectDataRecord::UsageIdOf(kTypeUsage1), 1u);
    EXPECT_EQ(EffectDataRecord::UsageIdOf(kTypeUsage2), 2u);
    EXPECT_EQ(EffectDataRecord::UsageIdOf(kTypeLikeA), EffectDataRecord::UsageIdOf(kTypeA));
    EffectDataRecord record(nullptr, kTypeA, PackageTypeInfo());
    EXPECT_EQ(record.GetContentType(), MKString(L"6D1F2A3B4C5D4E6F8A9B0C1D2E3F4A5B"));
    EXPECT_EQ(record.GetTagPrefix(), MKString(L"_VQZ_6D1F2A3B4C5D4E6F8A9B0C1D2E3F4A5B_"));
    EXPECT_EQ(record.GetIndex(), -1);
    EXPECT_FALSE(record.GetStateFlag(0));
    EXPECT_FALSE(record.GetStateFlag(1));
    EXPECT_EQ(record.GetValue(), 0);
}

TEST_F(PluginRecordTest, ATypeRegistersOnceAcrossPlugins)
{
    Plugin first(&host, &package);
    Plugin second(&host, &other);
    EffectDataRecord* record = nullptr;
    EXPECT_EQ(first.RegisterEffectType(kTypeA, &record), 1);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->GetIndex(), 1);
    EXPECT_EQ(record->GetPlugin(), &first);
    EXPECT_EQ(record->GetPackageType().name, MKString(L"Type A"));
    EXPECT_EQ(host.types.FindByContentType(record->GetContentType()), record);
    // Again by the same plug-in, then by another one.
    EXPECT_EQ(first.RegisterEffectType(kTypeA, &record), -1);
    EXPECT_EQ(record, nullptr);
    EXPECT_EQ(second.RegisterEffectType(kTypeA, &record), 0);
    // A type whose usage id is taken, and the usage counters' own ids.
    EXPECT_EQ(second.RegisterEffectType(kTypeLikeA, &record), 0);
    EXPECT_EQ(first.RegisterEffectType(kTypeUsage1, &record), 0);
    EXPECT_EQ(first.RegisterEffectType(kTypeUsage2, &record), 0);
    // A type the package does not describe.
    EXPECT_EQ(first.RegisterEffectType(MakeGuid(L"99999999-2222-3333-4444-555555555555"), &record), 0);
    EXPECT_EQ(second.RegisterEffectType(kTypeB, &record), 2);
    EXPECT_EQ(host.types.GetAt(2), record);

    // Unloading takes a plug-in's types out of the table; their indices stay
    // spent.
    first.Unload();
    EXPECT_EQ(host.types.GetAt(1), nullptr);
    EXPECT_EQ(host.types.GetAt(2), record);
    EXPECT_EQ(second.RegisterEffectType(kTypeA, &record), 3);
}

TEST_F(PluginRecordTest, UnregisteringADuplicateContentTypeLeavesTheFirstRecord)
{
    EffectDataRecord* first = new EffectDataRecord(nullptr, kTypeA, PackageTypeInfo());
    EffectDataRecord* duplicate = new EffectDataRecord(nullptr, kTypeA, PackageTypeInfo());
    EXPECT_EQ(host.types.Register(first), 1);
    EXPECT_EQ(host.types.Register(duplicate), 1);
    EXPECT_EQ(duplicate->GetIndex(), -1);
    host.types.Unregister(duplicate);
    EXPECT_EQ(host.types.FindByContentType(first->GetContentType()), first);
    EXPECT_EQ(host.types.FindByUsageId(first->GetUsageId()), first);
    EXPECT_EQ(host.types.FindByContentType(L""), nullptr);
    // The table holds its own reference.
    EXPECT_EQ(first->GetRefCount(), 2);
    host.types.Unregister(first);
    EXPECT_EQ(first->GetRefCount(), 1);
    EXPECT_EQ(host.types.FindByUsageId(first->GetUsageId()), nullptr);
    first->Release();
    duplicate->Release();
}

TEST(ContentRegistryTest, ContentGetsAFreshKeyAndUnknownKeysAreIgnored)
{
    ContentRegistry registry;
    MKString first;
    MKString second;
    ASSERT_TRUE(registry.Register(nullptr, 7, 3, first));
    ASSERT_TRUE(registry.Register(nullptr, 8, 4, second));
    EXPECT_EQ(first.GetLength(), 32);
    EXPECT_EQ(first, first.ToLower());
    EXPECT_NE(first, second);
    const ContentRegistry::Record* record = registry.Find(first);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->value, 7);
    EXPECT_EQ(record->kind, 3);
    EXPECT_EQ(record->shapeId, -1);
    registry.Unregister(L"0123");
    EXPECT_EQ(registry.GetCount(), 2);
    registry.Unregister(first);
    EXPECT_EQ(registry.Find(first), nullptr);
    EXPECT_NE(registry.Find(second), nullptr);
}

TEST(ControlHandlerTableTest, HandlersGetIdsOfTheirOwnAndDieWithTheTable)
{
    ControlHandlerTable table;
    MKString id;
    EXPECT_FALSE(table.Register(nullptr, id));
    EXPECT_TRUE(id.IsEmpty());
    table.Unregister(L"_vqz_unknown");
}

}  // namespace

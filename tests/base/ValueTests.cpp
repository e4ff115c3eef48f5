#include "base/MKBinaryReader.h"
#include "base/MKBinaryWriter.h"
#include "base/MKDateTime.h"
#include "base/MKGuid.h"
#include "base/MKIntHashMap.h"
#include "base/MKMemInStream.h"
#include "base/MKMemOutStream.h"
#include "base/MKRefHolder.h"
#include "base/MKStreamErrors.h"
#include "base/MKValueArray.h"
#include "base/MKValueBlob.h"
#include "base/MKValueDictionary.h"
#include "base/MKValueIO.h"
#include "base/MKValuePlain.h"
#include "base/MKValueString.h"
#include "base/MKValueVersion.h"

#include "AllocFailure.h"
#include "AllocMeter.h"
#include "BaseTestSupport.h"

#include <gtest/gtest.h>

#include <string.h>

#include <random>
#include <vector>

namespace {

typedef MKRefHolder<MKValue> Node;

Node Adopt(MKValue* node)
{
    Node holder;
    holder.Attach(node);
    return holder;
}

Bytes WriteTree(const MKValueDictionary* root, int form)
{
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    EXPECT_TRUE(MKWriteValue(writer, root, form));
    return BytesOf(out);
}

Bytes WriteOne(const MKValue* node, bool withCode)
{
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    EXPECT_TRUE(MKWriteNode(writer, node, withCode));
    return BytesOf(out);
}

MKRefHolder<MKValueDictionary> ReadTree(const Bytes& bytes)
{
    ReaderOver reader(bytes);
    MKRefHolder<MKValueDictionary> root;
    root.Attach(MKReadValue(*reader));
    return root;
}

Node ReadOne(const Bytes& bytes)
{
    ReaderOver reader(bytes);
    uint8_t code = 0;
    if (!reader->ReadU8(&code))
        return Node();
    return Adopt(MKReadNode(*reader, code));
}

TEST(ValueVarUInt, GoldenBytes)
{
    struct Case {
        uint32_t value;
        Bytes bytes;
    } cases[] = {
        {0, {0x00}},
        {127, {0x7F}},
        {128, {0x80, 0x01}},
        {0x3FFF, {0xFF, 0x7F}},
        {0x4000, {0x80, 0x80, 0x01}},
        {0x10000000, {0x80, 0x80, 0x80, 0x80, 0x01}},
        {0xFFFFFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x0F}},
    };
    for (const Case& c : cases) {
        MKMemOutStream out;
        MKBinaryWriter writer(&out);
        ASSERT_TRUE(MKWriteVarUInt(writer, c.value));
        EXPECT_EQ(c.bytes, BytesOf(out)) << c.value;
        ReaderOver reader(c.bytes);
        uint32_t back = 1;
        EXPECT_TRUE(MKReadVarUInt(*reader, &back));
        EXPECT_EQ(c.value, back);
    }
    for (const Bytes& bad : {Bytes{0x80}, Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x10}, Bytes{0x80, 0x80, 0x80, 0x80, 0x80},
                             Bytes{}}) {
        ReaderOver reader(bad);
        uint32_t back = 1;
        EXPECT_FALSE(MKReadVarUInt(*reader, &back));
        EXPECT_EQ(0u, back);
    }
}

TEST(ValueTree, SingleBoolDictionaryGoldenBytes)
{
    MKRefHolder<MKValueDictionary> root;
    root.Attach(new MKValueDictionary);
    Node yes = Adopt(MKNewBoolValue(true));
    ASSERT_TRUE(root->Set(1, yes.Get()));
    EXPECT_EQ(Bytes({0x03, 0x01, 0x01, 0x01}), WriteOne(root.Get(), false));
    EXPECT_EQ(Bytes({0x37, 0x03, 0x01, 0x01, 0x01}), WriteOne(root.Get(), true));
    EXPECT_EQ(Bytes({0x00, 0x03, 0x01, 0x01, 0x01}), WriteTree(root.Get(), MKValueFormPlain));
    // Deflating cannot save anything on four bytes.
    EXPECT_EQ(Bytes({0x00, 0x03, 0x01, 0x01, 0x01}), WriteTree(root.Get(), MKValueFormCompressed));

    MKRefHolder<MKValueDictionary> back = ReadTree({0x00, 0x03, 0x01, 0x01, 0x01});
    ASSERT_TRUE(back);
    EXPECT_EQ(1, back->GetCount());
    EXPECT_TRUE(MKValueGetBool(back->Get(1)));
    EXPECT_EQ(1, back->Get(1)->GetCode());
}

TEST(ValueTree, EveryKindRoundTripsInBothForms)
{
    MKRefHolder<MKValueDictionary> root;
    root.Attach(new MKValueDictionary);
    // Every fixed-size code with a recognisable payload.
    for (int code = 2; code <= 36; ++code) {
        if (code == MKValueCodeVersion || code == MKValueCodeNull || code == MKValueCodeDateTime)
            continue;
        uint8_t payload[128];
        for (int i = 0; i < 128; ++i)
            payload[i] = uint8_t(code * 7 + i);
        ASSERT_TRUE(root->Set(uint32_t(code), Adopt(MKNewPlainValue(code, payload)).Get())) << code;
    }
    MKDateTime utc = MKDateTime::FromParts(2024, 5, 6, 7, 8, 9, MKDateTimeUtc);
    MKDateTime local = MKDateTime::FromParts(1999, 12, 31, 23, 59, 58, MKDateTimeLocal);
    uint64_t raw = utc.GetValue();
    root->Set(100, Adopt(MKNewPlainValue(MKValueCodeDateTime, &raw)).Get());
    raw = local.GetValue();
    root->Set(101, Adopt(MKNewPlainValue(MKValueCodeDateTime, &raw)).Get());
    root->Set(102, Adopt(new MKValueVersion(MKVersion(1, 2, 3, 4))).Get());
    root->Set(103, Adopt(new MKValueVersion(MKVersion(5, 6))).Get());
    root->Set(104, Adopt(new MKValueString).Get());
    root->Set(105, Adopt(new MKValueString(MKString())).Get());
    root->Set(106, Adopt(new MKValueString(MKString(L"h\x00E9llo \x20AC"))).Get());
    root->Set(107, Adopt(MKNewPlainValue(MKValueCodeNull, nullptr)).Get());
    root->Set(108, Adopt(MKNewBoolValue(false)).Get());
    root->Set(0xFFFFFFFF, Adopt(MKNewInt32Value(-5)).Get());
    MKRefHolder<MKValueBlob> blob;
    blob.Attach(new MKValueBlob);
    for (int i = 0; i < 3000; ++i)
        blob->GetBytes().Add(uint8_t(i % 10));
    root->Set(109, blob.Get());
    MKRefHolder<MKValueBlob> raw200;
    raw200.Attach(new MKValueBlob(200));
    raw200->GetBytes().Add(0xAA);
    root->Set(110, raw200.Get());

    MKRefHolder<MKValueList> list;
    list.Attach(new MKValueList);
    list->Add(Adopt(MKNewInt32Value(7)).Get());
    list->Add(Adopt(new MKValueString(MKString(L"x"))).Get());
    MKRefHolder<MKValueDictionary> inner;
    inner.Attach(new MKValueDictionary);
    inner->Set(3, Adopt(MKNewBoolValue(true)).Get());
    list->Add(inner.Get());
    root->Set(111, list.Get());
    MKRefHolder<MKValueArray> bools;
    bools.Attach(new MKValueArray(MKValueCodeBool));
    for (int i = 0; i < 10; ++i)
        bools->Add(Adopt(MKNewBoolValue(i % 3 == 0)).Get());
    root->Set(112, bools.Get());
    MKRefHolder<MKValueArray> ints;
    ints.Attach(new MKValueArray(MKValueCodeInt32));
    for (int i = 0; i < 5; ++i)
        ints->Add(Adopt(MKNewInt32Value(i * 1000)).Get());
    EXPECT_FALSE(ints->Add(Adopt(MKNewBoolValue(true)).Get()));
    root->Set(113, ints.Get());

    for (int form : {MKValueFormPlain, MKValueFormCompressed}) {
        Bytes bytes = WriteTree(root.Get(), form);
        EXPECT_EQ(form == MKValueFormPlain ? 0 : 1, bytes[0]);  // the blob makes deflating pay
        MKRefHolder<MKValueDictionary> back = ReadTree(bytes);
        ASSERT_TRUE(back);
        EXPECT_EQ(root->GetCount(), back->GetCount());
        // Same bytes again: nothing was lost or changed.
        EXPECT_EQ(WriteTree(root.Get(), MKValueFormPlain), WriteTree(back.Get(), MKValueFormPlain));
        for (int code = 2; code <= 36; ++code) {
            MKValue* node = back->Get(uint32_t(code));
            if (!root->Get(uint32_t(code)))
                continue;
            ASSERT_TRUE(node) << code;
            EXPECT_EQ(code, node->GetCode());
            EXPECT_EQ(0, memcmp(root->Get(uint32_t(code))->GetPayload(), node->GetPayload(),
                                size_t(MKValuePayloadSize(code))))
                << code;
        }
        uint64_t when;
        memcpy(&when, back->Get(100)->GetPayload(), 8);
        EXPECT_EQ(utc.GetValue(), when);
        memcpy(&when, back->Get(101)->GetPayload(), 8);
        EXPECT_EQ(local.GetTicks(), MKDateTime::FromValue(when).GetTicks());
        EXPECT_EQ(MKVersion(1, 2, 3, 4), MKValueGetVersion(back->Get(102)));
        EXPECT_EQ(-1, MKValueGetVersion(back->Get(103)).build);
        EXPECT_TRUE(static_cast<MKValueString*>(back->Get(104))->IsNull());
        EXPECT_FALSE(static_cast<MKValueString*>(back->Get(105))->IsNull());
        EXPECT_STREQ(L"h\x00E9llo \x20AC", back->Get(106)->GetString().GetText());
        EXPECT_EQ(MKValueCodeNull, back->Get(107)->GetCode());
        EXPECT_FALSE(MKValueGetBool(back->Get(108)));
        EXPECT_EQ(-5, MKValueGetInt32(back->Get(0xFFFFFFFF)));
        const uint8_t* data;
        int size;
        ASSERT_TRUE(MKValueGetBlob(back->Get(109), &data, &size));
        EXPECT_EQ(3000, size);
        ASSERT_TRUE(MKValueGetBlob(back->Get(110), &data, &size));
        EXPECT_EQ(200, back->Get(110)->GetCode());
        EXPECT_TRUE(back->Get(110)->HasRawPayload());
        MKValueList* l = static_cast<MKValueList*>(back->Get(111));
        ASSERT_EQ(3, l->GetCount());
        EXPECT_EQ(7, MKValueGetInt32(l->GetAt(0)));
        EXPECT_TRUE(MKValueGetBool(static_cast<MKValueDictionary*>(l->GetAt(2))->Get(3)));
        MKValueArray* a = static_cast<MKValueArray*>(back->Get(112));
        ASSERT_EQ(10, a->GetCount());
        EXPECT_TRUE(MKValueGetBool(a->GetAt(9)));
        EXPECT_FALSE(MKValueGetBool(a->GetAt(8)));
        EXPECT_EQ(4000, MKValueGetInt32(static_cast<MKValueArray*>(back->Get(113))->GetAt(4)));
    }
}

TEST(ValueTree, SixteenBitValuesKeepAllTheirBits)
{
    uint16_t word = 0xABCD;
    Node node = Adopt(MKNewPlainValue(MKValueCodeWord16, &word));
    Bytes bytes = WriteOne(node.Get(), true);
    EXPECT_EQ(Bytes({12, 0xCD, 0xAB}), bytes);
    Node back = ReadOne(bytes);
    ASSERT_TRUE(back);
    uint16_t read;
    memcpy(&read, back->GetPayload(), 2);
    EXPECT_EQ(0xABCD, read);
}

TEST(ValueTree, VersionNodes)
{
    Node v = Adopt(new MKValueVersion(MKVersion(1, 2)));
    EXPECT_EQ(Bytes({14, 1, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), WriteOne(v.Get(), true));
    // Build -1 with a revision does not stand.
    Node odd = ReadOne({14, 1, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 5, 0, 0, 0});
    ASSERT_TRUE(odd);
    MKVersion got = MKValueGetVersion(odd.Get());
    EXPECT_EQ(0, got.major);
    EXPECT_EQ(0, got.minor);
    EXPECT_EQ(-1, got.build);
    EXPECT_EQ(-1, got.revision);
}

TEST(ValueTree, FixedBlocksReadAsByteBlocks)
{
    Bytes bytes = {40};
    for (int i = 0; i < 12; ++i)
        bytes.push_back(uint8_t(i + 1));
    Node node = ReadOne(bytes);
    ASSERT_TRUE(node);
    EXPECT_EQ(MKValueCodeBlob, node->GetCode());
    const uint8_t* data;
    int size;
    ASSERT_TRUE(MKValueGetBlob(node.Get(), &data, &size));
    ASSERT_EQ(12, size);
    EXPECT_EQ(12, data[11]);
    // Blocks cannot be written back under their own code, but as code 54 they can.
    EXPECT_EQ(size_t(14), WriteOne(node.Get(), true).size());
}

TEST(ValueTree, ScalarCutShortOutsideAContainerReadsAsZero)
{
    ReaderOver reader({4, 0x78, 0x56});
    uint8_t code;
    ASSERT_TRUE(reader->ReadU8(&code));
    Node node = Adopt(MKReadNode(*reader, code));
    ASSERT_TRUE(node);
    EXPECT_EQ(0, MKValueGetInt32(node.Get()));
    EXPECT_FALSE(reader->IsOk());
}

Bytes Var(uint32_t n)
{
    Bytes out;
    do {
        out.push_back(uint8_t((n & 0x7F) | (n >= 0x80 ? 0x80 : 0)));
        n >>= 7;
    } while (n);
    return out;
}

Bytes Chunk(const Bytes& body)
{
    Bytes out = Var(uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// The tree {1: ["ab", int32 7], 2: blob "xyz"} in the plain form, for the
// hostile table to damage.
Bytes SmallTree()
{
    Bytes list = Chunk({0x02, 53, 0x03, 'a', 'b', 4, 0x07, 0x00, 0x00, 0x00});
    Bytes root = Join({{0x02, 0x01, 56}, list, {0x02, 54, 0x03, 'x', 'y', 'z'}});
    return Join({{0x00}, Chunk(root)});
}

// A root dictionary {1: list} with `depth` lists nested in each other.
Bytes NestedLists(int depth)
{
    Bytes body = {0x00};
    for (int i = 1; i < depth; ++i)
        body = Join({{0x01, 56}, Chunk(body)});
    return Join({{0x00}, Chunk(Join({{0x01, 0x01, 56}, Chunk(body)}))});
}

TEST(ValueReader, HostileInputFailsCleanly)
{
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"zero chunk length", {0x00, 0x00}},
        {"chunk longer than the data", {0x00, 0x05, 0x01, 0x01, 0x01}},
        {"chunk claiming 4 GB", {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x01}},
        {"entry count beyond the chunk", {0x00, 0x03, 0xFF, 0xFF, 0x03}},
        {"entry count of 2^32 - 1", {0x00, 0x06, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x01}},
        {"missing child", {0x00, 0x03, 0x02, 0x01, 0x01}},
        {"child code cut", {0x00, 0x02, 0x01, 0x01}},
        {"scalar cut in a chunk", {0x00, 0x05, 0x01, 0x01, 0x04, 0x01, 0x02}},
        {"string longer than the chunk", {0x00, 0x05, 0x01, 0x01, 53, 0x7F, 'a'}},
        {"string claiming 4 GB", {0x00, 0x08, 0x01, 0x01, 53, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}},
        {"blob longer than the chunk", {0x00, 0x05, 0x01, 0x01, 54, 0x10, 0x00}},
        {"list count beyond the chunk", {0x00, 0x06, 0x01, 0x01, 56, 0x02, 0x50, 0x00}},
        {"typed array of int64 beyond the chunk", {0x00, 0x07, 0x01, 0x01, 57, 0x03, 0x05, 0x02, 0x00}},
        {"typed array of 10^6 nulls", {0x00, 0x08, 0x01, 0x01, 57, 0x04, 0x11, 0xC0, 0x84, 0x3D}},
        {"block code cut", {0x00, 0x04, 0x01, 0x01, 40, 0x01}},
        {"packed plain size beyond any ratio", {0x01, 0x02, 0xFF, 0xFF, 0xFF, 0xFF, 0x07, 0x00, 0x00}},
        {"packed size beyond the data", {0x01, 0x7F, 0x04, 0x00}},
        {"packed bytes that are not deflate", {0x01, 0x04, 0x04, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"fifth varint byte overflowing", {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},
    };
    // Every cut of a valid tree.
    Bytes good = SmallTree();
    for (size_t n = 0; n < good.size(); ++n)
        cases.push_back({"cut tree", Bytes(good.begin(), good.begin() + n)});
    cases.push_back({"deep nesting", NestedLists(100)});
    cases.push_back({"deeper nesting", NestedLists(5000)});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AllocMeter meter;
        EXPECT_FALSE(ReadTree(c.bytes));
        EXPECT_LT(meter.Largest(), size_t(64 * 1024));
    }
    ASSERT_TRUE(ReadTree(good));
}

TEST(ValueReader, NestingLimit)
{
    // The root dictionary counts as one level.
    EXPECT_TRUE(ReadTree(NestedLists(MKValueMaxDepth - 1)));
    EXPECT_FALSE(ReadTree(NestedLists(MKValueMaxDepth)));

    // The writer refuses what the reader would refuse.
    MKRefHolder<MKValueDictionary> root;
    root.Attach(new MKValueDictionary);
    Node current = Adopt(new MKValueList);
    root->Set(1, current.Get());
    for (int i = 0; i < MKValueMaxDepth; ++i) {
        Node next = Adopt(new MKValueList);
        static_cast<MKValueList*>(current.Get())->Add(next.Get());
        current = next;
    }
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    EXPECT_FALSE(MKWriteValue(writer, root.Get(), MKValueFormPlain));
}

TEST(ValueReader, DamagedTreesNeverCrash)
{
    MKRefHolder<MKValueDictionary> root;
    root.Attach(new MKValueDictionary);
    for (uint32_t k = 0; k < 30; ++k) {
        MKRefHolder<MKValueList> list;
        list.Attach(new MKValueList);
        list->Add(Adopt(new MKValueString(MKString(L"entry"))).Get());
        list->Add(Adopt(MKNewInt32Value(int32_t(k))).Get());
        root->Set(k, list.Get());
    }
    Bytes good = WriteTree(root.Get(), MKValueFormPlain);
    Bytes packed = WriteTree(root.Get(), MKValueFormCompressed);
    ASSERT_EQ(1, packed[0]);
    std::mt19937 random(11);
    for (const Bytes& base : {good, packed}) {
        for (int round = 0; round < 400; ++round) {
            Bytes damaged = base;
            int flips = 1 + int(random() % 4);
            for (int i = 0; i < flips; ++i)
                damaged[random() % damaged.size()] ^= uint8_t(1 + random() % 255);
            AllocMeter meter;
            MKRefHolder<MKValueDictionary> back = ReadTree(damaged);  // null or a tree: both fine
            EXPECT_LT(meter.Largest(), size_t(256 * 1024));
        }
    }
}

TEST(ValueWriter, ReportsTheRealOutcome)
{
    MKRefHolder<MKValueDictionary> root;
    root.Attach(new MKValueDictionary);
    double pair[2] = {1.5, -2.5};
    root->Set(1, Adopt(MKNewPlainValue(20, pair)).Get());
    root->Set(2, Adopt(new MKValueString(MKString(L"text"))).Get());
    for (int room : {0, 1, 5, 10, 20}) {
        for (int form : {MKValueFormPlain, MKValueFormCompressed}) {
            RefusingStream target(room);
            MKBinaryWriter writer(&target);
            EXPECT_FALSE(MKWriteValue(writer, root.Get(), form)) << room;
            EXPECT_EQ(-77, target.GetError());
        }
    }
    RefusingStream enough(1000);
    MKBinaryWriter writer(&enough);
    EXPECT_TRUE(MKWriteValue(writer, root.Get(), MKValueFormPlain));
    EXPECT_FALSE(MKWriteValue(writer, nullptr, MKValueFormPlain));
}

TEST(ValueWriter, ArraysOfBlocksReadBackButAreNotWrittenUnderTheirCode)
{
    // A typed array of 2-byte blocks (code 37) reads as byte blocks; its
    // elements no longer carry the element code, so writing it back fails
    // instead of writing bytes no reader could take.
    Bytes bytes = Join({{0x00}, Chunk(Join({{0x01, 0x01, 57}, Chunk({37, 0x02, 'a', 'b', 'c', 'd'})}))});
    MKRefHolder<MKValueDictionary> back = ReadTree(bytes);
    ASSERT_TRUE(back);
    MKValueArray* array = static_cast<MKValueArray*>(back->Get(1));
    ASSERT_EQ(2, array->GetCount());
    EXPECT_EQ(MKValueCodeBlob, array->GetAt(1)->GetCode());
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    EXPECT_FALSE(MKWriteValue(writer, back.Get(), MKValueFormPlain));
}

TEST(IntHashMap, SlotsAreReusedAndGrowthFollowsThePrimes)
{
    MKIntHashMap map;
    Node a = Adopt(MKNewInt32Value(1)), b = Adopt(MKNewInt32Value(2));
    ASSERT_TRUE(map.Set(5, a.Get()));
    EXPECT_EQ(3, map.GetBucketCount());
    EXPECT_EQ(2, a->GetRefCount());
    int slot = map.Find(5);
    ASSERT_TRUE(map.Remove(5));
    EXPECT_EQ(1, a->GetRefCount());
    EXPECT_FALSE(map.Remove(5));
    ASSERT_TRUE(map.Set(9, b.Get()));
    EXPECT_EQ(slot, map.Find(9));
    uint32_t key;
    MKValue* node;
    ASSERT_TRUE(map.GetSlot(slot, &key, &node));
    EXPECT_EQ(9u, key);
    EXPECT_EQ(b.Get(), node);

    for (uint32_t k = 100; k < 103; ++k)
        map.Set(k, a.Get());
    EXPECT_EQ(7, map.GetBucketCount());
    for (uint32_t k = 200; k < 204; ++k)
        map.Set(k, a.Get());
    EXPECT_EQ(17, map.GetBucketCount());
    EXPECT_EQ(8, map.GetCount());
    EXPECT_EQ(1 + 7, a->GetRefCount());

    // Keys that share a bucket and keys with the top bit set.
    MKIntHashMap spread;
    for (uint32_t k : {0u, 3u, 6u, 0x80000000u, 0x80000003u, 0xFFFFFFFFu})
        ASSERT_TRUE(spread.Set(k, b.Get()));
    for (uint32_t k : {0u, 3u, 6u, 0x80000000u, 0x80000003u, 0xFFFFFFFFu})
        EXPECT_EQ(b.Get(), spread.Lookup(k)) << k;
    EXPECT_EQ(nullptr, spread.Lookup(9));
    Node holder;
    EXPECT_TRUE(spread.Get(3, holder));
    EXPECT_EQ(b.Get(), holder.Get());
    EXPECT_FALSE(spread.Get(4, holder));
    EXPECT_FALSE(holder);

    // Replacing a node releases the old one.
    int before = a->GetRefCount();
    spread.Set(0, a.Get());
    spread.Set(0, b.Get());
    EXPECT_EQ(before, a->GetRefCount());
}

TEST(IntHashMap, FailedGrowthKeepsEveryEntry)
{
    Node a = Adopt(MKNewInt32Value(1));
    MKIntHashMap map;
    for (uint32_t k = 10; k < 17; ++k)
        ASSERT_TRUE(map.Set(k, a.Get()));
    ASSERT_EQ(7, map.GetBucketCount());
    {
        // The slots grow, the buckets cannot.
        AllocFailureScope failing(1);
        EXPECT_FALSE(map.Set(17, a.Get()));
        EXPECT_EQ(2, failing.Requests());
    }
    EXPECT_EQ(7, map.GetBucketCount());
    for (uint32_t k = 10; k < 17; ++k)
        EXPECT_EQ(a.Get(), map.Lookup(k)) << k;
    EXPECT_EQ(nullptr, map.Lookup(17));
    EXPECT_EQ(1 + 7, a->GetRefCount());
    ASSERT_TRUE(map.Set(17, a.Get()));
    EXPECT_EQ(17, map.GetBucketCount());
    EXPECT_EQ(8, map.GetCount());
}

TEST(IntHashMap, PrimeTable)
{
    EXPECT_EQ(3u, MKNextHashPrime(0));
    EXPECT_EQ(7u, MKNextHashPrime(6));
    EXPECT_EQ(17u, MKNextHashPrime(14));
    EXPECT_EQ(7199369u, MKNextHashPrime(7199369));
    EXPECT_EQ(7199371u, MKNextHashPrime(7199370));
}

TEST(ValueDictionary, SetOrRemoveAndViews)
{
    MKRefHolder<MKValueDictionary> dict;
    dict.Attach(new MKValueDictionary);
    Node n = Adopt(MKNewInt32Value(42));
    EXPECT_TRUE(dict->SetOrRemove(2, n.Get()));
    EXPECT_TRUE(dict->Has(2));
    EXPECT_EQ(42, MKValueGetInt32(dict->Get(2)));
    EXPECT_EQ(0, MKValueGetInt32(nullptr));
    EXPECT_TRUE(dict->Get(2)->GetString().IsEmpty());
    EXPECT_FALSE(MKValueGetBool(dict->Get(2)));
    EXPECT_EQ(-1, MKValueGetVersion(dict->Get(2)).build);
    EXPECT_TRUE(dict->SetOrRemove(2, nullptr));
    EXPECT_FALSE(dict->Has(2));
    EXPECT_EQ(nullptr, dict->Get(2));
    EXPECT_FALSE(dict->Set(3, nullptr));
}

}  // namespace

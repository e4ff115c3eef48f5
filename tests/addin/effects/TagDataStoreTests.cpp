// Effect-type data in a stand-in shape's tags: both forms, the chunk limit,
// refusals, and writes that fail part-way losing nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "addin/effects/EffectDataCodec.h"
#include "addin/effects/TagDataStore.h"
#include "base/MKBstrHolder.h"
#include "base/MKCoTaskMemBuffer.h"
#include "fixtures/AllocationProbe.h"
#include "fixtures/ComScope.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/CallLog.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TagsObject.h"

using standin::CallLog;
using Entries = std::vector<std::pair<std::wstring, std::wstring>>;

namespace {

const MKString kPrefix(L"_VQZ_0123456789ABCDEF0123456789ABCDEF_");
// The chunked form of "state": its header and first chunk.
const std::wstring kHeaderTag = L"_VQZ_0123456789ABCDEF0123456789ABCDEF_state$0";
const std::wstring kChunkTag = L"_VQZ_0123456789ABCDEF0123456789ABCDEF_state$1";

// A chunked header's text: version, total bytes, chunk count and mode.
std::wstring HeaderText(int32_t version, int32_t total, int32_t count, int32_t mode)
{
    const int32_t values[4] = {version, total, count, mode};
    MKBstrHolder text;
    EffectDataCodec::Encode(reinterpret_cast<const uint8_t*>(values), 16, false, text.Receive());
    return std::wstring(text.Get(), SysStringLen(text.Get()));
}

class TagDataStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        standin::SlideObject* slide = host.App().AddPresentation(L"Tags.pptx")->AddSlide();
        tags = slide->AddShape(PowerPoint::msoAutoShape, L"Box", 0, 0, 100, 100)->Tags();
    }
    void TearDown() override { CallLog::Get().ClearFailures(); }

    PowerPoint::Tags* Tags() { return tags; }

    HRESULT Write(const std::string& data, bool single, const wchar_t* name = L"state")
    {
        TagDataStore store(Tags(), kPrefix, MKString(name), single);
        return store.Write(reinterpret_cast<const uint8_t*>(data.data()), int(data.size()));
    }
    std::pair<HRESULT, std::string> Read(bool single, const wchar_t* name = L"state")
    {
        TagDataStore store(Tags(), kPrefix, MKString(name), single);
        MKCoTaskMemBuffer buffer;
        int length = -1;
        const HRESULT hr = store.Read(buffer, &length);
        std::string data;
        if (SUCCEEDED(hr))
            data.assign(static_cast<const char*>(buffer.Data()), size_t(length));
        return {hr, data};
    }

    ComScope com;
    standin::PowerPointHost host{L"14.0"};
    standin::TagsObject* tags = nullptr;
};

std::string Pattern(size_t size, int seed)
{
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i)
        data[i] = char((i * 131 + size_t(seed)) >> 3);
    return data;
}

TEST_F(TagDataStoreTest, SingleFormIsOneEffectDataTextUnderTheNameWithADollar)
{
    ASSERT_EQ(Write("first", true), S_OK);
    ASSERT_EQ(tags->Entries().size(), 1u);
    EXPECT_EQ(tags->Entries()[0].first, L"_VQZ_0123456789ABCDEF0123456789ABCDEF_STATE$");
    EXPECT_EQ(tags->Entries()[0].second.substr(0, 2), L"ad");
    EXPECT_EQ(Read(true), std::make_pair(S_OK, std::string("first")));

    ASSERT_EQ(Write("second, longer", true), S_OK);
    EXPECT_EQ(tags->Entries().size(), 1u);
    EXPECT_EQ(Read(true).second, "second, longer");

    TagDataStore store(Tags(), kPrefix, MKString(L"state"), true);
    EXPECT_EQ(store.Clear(), S_OK);
    EXPECT_TRUE(tags->Entries().empty());
    // An absent tag reads as empty text, which is no effect data.
    EXPECT_EQ(Read(true).first, E_FAIL);
}

TEST_F(TagDataStoreTest, ChunkedFormHasAHeaderAndNumberedChunks)
{
    const std::string data = Pattern(1000, 1);
    ASSERT_EQ(Write(data, false), S_OK);
    ASSERT_EQ(tags->Entries().size(), 2u);
    const std::wstring header = tags->Value(L"_VQZ_0123456789ABCDEF0123456789ABCDEF_state$0");
    MKCoTaskMemBuffer values;
    int length = 0;
    ASSERT_EQ(EffectDataCodec::Decode(header.c_str(), int(header.size()), false, values, &length, nullptr, nullptr),
              S_OK);
    ASSERT_EQ(length, 16);
    const auto* v = static_cast<const int32_t*>(values.Data());
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], 1000);
    EXPECT_EQ(v[2], 1);
    EXPECT_EQ(v[3], 4);
    // A chunk is a bare payload: no letters, no record.
    const std::wstring chunk = tags->Value(L"_VQZ_0123456789ABCDEF0123456789ABCDEF_state$1");
    EXPECT_EQ(int(chunk.size()), EffectDataCodec::EncodedLength(1000, 4));

    EXPECT_EQ(Read(false), std::make_pair(S_OK, data));
    TagDataStore store(Tags(), kPrefix, MKString(L"state"), false);
    EXPECT_EQ(store.TotalLength(), 1000);

    // Shorter data leaves no chunk of the longer data behind.
    ASSERT_EQ(Write("", false), S_OK);
    EXPECT_EQ(tags->Entries().size(), 1u);
    EXPECT_EQ(Read(false), std::make_pair(S_OK, std::string()));
}

TEST_F(TagDataStoreTest, ABlockOfTheLargestSizeIsOneChunkAndOneByteMoreIsTwo)
{
    std::string data = Pattern(size_t(EffectDataCodec::kMaxBlockBytes), 2);
    ASSERT_EQ(Write(data, false), S_OK);
    EXPECT_EQ(tags->Entries().size(), 2u);
    for (const auto& entry : tags->Entries())
        EXPECT_LE(int(entry.second.size()), EffectDataCodec::kMaxTextLength);
    data.push_back('!');
    ASSERT_EQ(Write(data, false), S_OK);
    ASSERT_EQ(tags->Entries().size(), 3u);
    EXPECT_EQ(Read(false), std::make_pair(S_OK, data));
}

TEST_F(TagDataStoreTest, AWriteFailingAtAnyTagCallLosesNothing)
{
    const std::string previous = Pattern(300, 3);
    // Three chunks' worth of new data, over one chunk of old.
    const std::string next = Pattern(size_t(EffectDataCodec::kMaxBlockBytes) * 2 + 10, 4);
    for (int skip = 0; skip < 4; ++skip) {
        ASSERT_EQ(Write(previous, false), S_OK);
        const Entries before = tags->Entries();
        CallLog::Get().Fail(L"Tags.Add", E_ACCESSDENIED, skip, 1);
        EXPECT_EQ(Write(next, false), E_ACCESSDENIED) << skip;
        CallLog::Get().ClearFailures();
        Entries after = tags->Entries();
        std::sort(after.begin(), after.end());
        Entries expected = before;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(after, expected) << skip;
        EXPECT_EQ(Read(false), std::make_pair(S_OK, previous)) << skip;
    }
    // With no data before, a failed write leaves no tag.
    ASSERT_EQ(TagDataStore(Tags(), kPrefix, MKString(L"state"), false).Clear(), S_OK);
    CallLog::Get().Fail(L"Tags.Add", E_ACCESSDENIED, 1, 1);
    EXPECT_EQ(Write(next, false), E_ACCESSDENIED);
    EXPECT_TRUE(tags->Entries().empty());
}

TEST_F(TagDataStoreTest, HeadersAndChunksThatDoNotAddUpAreRefused)
{
    struct Row {
        std::wstring header;
        std::wstring chunk;
    } rows[] = {
        {HeaderText(2, 3, 1, 4), L"0000000000"},   // version
        {HeaderText(1, 0, 1, 4), L"0000000000"},   // fewer bytes than chunks
        {HeaderText(1, 3, 1, 5), L"0000000000"},   // mode
        {HeaderText(1, -1, 0, 4), L""},            // negative total
        {L"not effect data", L""},                 // not a text
        {HeaderText(1, 3, 1, 4), L""},             // a missing chunk
        {HeaderText(1, 3, 1, 4), L"0000000000"},   // 4 bytes where 3 are stated
        {HeaderText(1, 3, 2, 4), L"0000000000"},   // a second chunk missing
    };
    for (const Row& row : rows) {
        tags->Set(kHeaderTag, row.header);
        tags->Set(kChunkTag, row.chunk);
        EXPECT_EQ(Read(false).first, E_FAIL) << row.header;
    }
    tags->Set(kHeaderTag, L"");
    TagDataStore store(Tags(), kPrefix, MKString(L"state"), false);
    EXPECT_EQ(store.TotalLength(), -1);
}

TEST_F(TagDataStoreTest, AHeaderStatingMoreThanItsChunksHoldReservesNothingForIt)
{
    // Ten characters of a mode-4 payload hold at most 7 bytes (a 4-byte key
    // in 5 characters, then 4 bytes in each further 5).
    struct Row {
        int32_t total;
        int32_t count;
    } rows[] = {{0x7FFFFFF0, 1}, {0x40000000, 1}, {8, 1}, {0x7FFFFFF0, 0x7FFFFFF0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.total << " in " << row.count);
        tags->Set(kHeaderTag, HeaderText(1, row.total, row.count, EffectDataCodec::kScrambled));
        tags->Set(kChunkTag, L"0000000000");
        AllocationProbe probe;
        EXPECT_EQ(Read(false).first, E_FAIL);
        EXPECT_LT(probe.Largest(), size_t(64 << 10));
    }
    // What the chunks do hold is still read: 3 bytes under a key.
    EXPECT_EQ(Write("abc", false), S_OK);
    AllocationProbe probe;
    EXPECT_EQ(Read(false), std::make_pair(S_OK, std::string("abc")));
    EXPECT_LT(probe.Largest(), size_t(64 << 10));
}

TEST_F(TagDataStoreTest, AWriteOverAHeaderStatingManyChunksAsksOnlyForTheStoredOnes)
{
    // A damaged header states 100000 chunks; only the first is there.
    tags->Set(kHeaderTag, HeaderText(1, 0x7FFFFFF0, 100000, EffectDataCodec::kScrambled));
    tags->Set(kChunkTag, L"0000000000");
    CallLog::Get().Clear();
    CallLog::Get().SetRecording(true);
    const HRESULT written = Write("abc", false);
    CallLog::Get().SetRecording(false);
    const size_t asked = CallLog::Get().EntriesStartingWith(L"Tags.Item").size();
    CallLog::Get().Clear();
    ASSERT_EQ(written, S_OK);
    // The header (once or twice), the stored chunk and the first missing one.
    EXPECT_GE(asked, 3u);
    EXPECT_LE(asked, 4u);
    EXPECT_EQ(Read(false), std::make_pair(S_OK, std::string("abc")));
}

}  // namespace

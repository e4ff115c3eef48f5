#include "base/MKBinaryReader.h"
#include "base/MKBinaryWriter.h"
#include "base/MKBufferBuilders.h"
#include "base/MKDateTime.h"
#include "base/MKGuid.h"
#include "base/MKInZStream.h"
#include "base/MKMemInStream.h"
#include "base/MKMemOutStream.h"
#include "base/MKOutZStream.h"
#include "base/MKRefHolder.h"
#include "base/MKStreamErrors.h"
#include "base/MKString.h"
#include "base/MKTextBuffer.h"
#include "base/MKVersion.h"

#include "AllocFailure.h"
#include "AllocMeter.h"
#include "BaseTestSupport.h"

#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

TEST(BinaryRecords, VersionGoldenBytes)
{
    struct Case {
        MKVersion version;
        Bytes bytes;
        MKVersion back;
    } cases[] = {
        {MKVersion(1, 2), {2, 1, 0, 0, 0, 2, 0, 0, 0}, MKVersion(1, 2)},
        {MKVersion(1, 2, 3), {3, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}, MKVersion(1, 2, 3)},
        {MKVersion(1, 2, 3, 4), {4, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0}, MKVersion(1, 2, 3, 4)},
        {MKVersion(1, 2, -1, 5),
         {4, 1, 0, 0, 0, 2, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 5, 0, 0, 0},
         MKVersion(1, 2, -1, 5)},
        {MKVersion(-7, 0x01020304), {2, 0xF9, 0xFF, 0xFF, 0xFF, 4, 3, 2, 1}, MKVersion(-7, 0x01020304)},
    };
    for (const Case& c : cases) {
        MKMemOutStream out;
        MKBinaryWriter writer(&out);
        ASSERT_TRUE(writer.WriteVersion(c.version));
        EXPECT_EQ(c.bytes, BytesOf(out)) << c.version.ToString().GetText();
        ReaderOver reader(c.bytes);
        MKVersion back(9, 9, 9, 9);
        EXPECT_TRUE(reader->ReadVersion(&back));
        EXPECT_EQ(c.back.major, back.major);
        EXPECT_EQ(c.back.minor, back.minor);
        EXPECT_EQ(c.back.build, back.build);
        EXPECT_EQ(c.back.revision, back.revision);
        EXPECT_TRUE(reader->IsOk());
    }
}

TEST(BinaryRecords, BadVersionCount)
{
    for (uint8_t count : {0, 1, 5, 255}) {
        ReaderOver reader({count, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0xAB});
        MKVersion v(9, 9, 9, 9);
        EXPECT_FALSE(reader->ReadVersion(&v));
        EXPECT_EQ(0, v.major);
        EXPECT_EQ(0, v.minor);
        EXPECT_EQ(-1, v.build);
        EXPECT_EQ(-1, v.revision);
        EXPECT_EQ(9, reader->Tell());  // the count and two parts are consumed
    }
    // A record cut inside a version.
    ReaderOver cut({3, 1, 0, 0, 0, 2, 0});
    MKVersion v;
    EXPECT_FALSE(cut->ReadVersion(&v));
    EXPECT_FALSE(cut->IsOk());
}

TEST(BinaryRecords, StringGoldenBytes)
{
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    ASSERT_TRUE(writer.WriteString(MKString(L"\x00E9")));
    EXPECT_EQ(Bytes({2, 0, 0, 0, 0xC3, 0xA9}), BytesOf(out));
    out.Reset();
    ASSERT_TRUE(writer.WriteString(MKString()));
    EXPECT_EQ(Bytes({0, 0, 0, 0}), BytesOf(out));
    out.Reset();
    ASSERT_TRUE(writer.WriteText(nullptr, 3));
    ASSERT_TRUE(writer.WriteText(L"abc", -1));
    ASSERT_TRUE(writer.WriteText(L"abc", 0));
    ASSERT_TRUE(writer.WriteText(L"abcdef", 2));
    EXPECT_EQ(Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 2, 0, 0, 0, 'a', 'b'}), BytesOf(out));

    // Lengths of 0 and -1 read as the empty string and consume nothing more.
    ReaderOver reader(BytesOf(out));
    MKString s(L"x");
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(reader->ReadString(&s));
        EXPECT_TRUE(s.IsEmpty());
    }
    EXPECT_TRUE(reader->ReadString(&s));
    EXPECT_STREQ(L"ab", s.GetText());
    EXPECT_TRUE(reader->IsOk());
    EXPECT_FALSE(reader->ReadString(&s));
    EXPECT_FALSE(reader->IsOk());
}

TEST(BinaryRecords, LongStringsRoundTrip)
{
    for (int n : {85, 86, 300, 1 << 20, (1 << 20) + 5}) {
        std::wstring text;
        for (int i = 0; i < n; ++i)
            text += wchar_t(i % 3 == 0 ? 0x20AC : 'a' + i % 26);  // 3 and 1 UTF-8 bytes
        MKMemOutStream out;
        MKBinaryWriter writer(&out);
        ASSERT_TRUE(writer.WriteText(text.c_str(), n));
        ReaderOver reader(BytesOf(out));
        MKString back;
        ASSERT_TRUE(reader->ReadString(&back)) << n;
        EXPECT_EQ(text, std::wstring(back.GetText(), size_t(back.GetLength())));
    }
}

TEST(BinaryRecords, GuidIntegersAndDateTimeGoldenBytes)
{
    const GUID guid = {0x01020304, 0x0506, 0x0708, {9, 10, 11, 12, 13, 14, 15, 16}};
    MKDateTime utc = MKDateTime::FromParts(2020, 2, 29, 12, 30, 15, MKDateTimeUtc);
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    ASSERT_TRUE(writer.WriteGuid(MKGuid(guid)));
    ASSERT_TRUE(writer.WriteInt32(-2));
    ASSERT_TRUE(writer.WriteU8(0x7F));
    ASSERT_TRUE(writer.WriteU16(0x0102));
    ASSERT_TRUE(writer.WriteU64(0x0102030405060708ull));
    ASSERT_TRUE(writer.WriteDateTime(utc));
    Bytes expected = {4, 3, 2, 1, 6, 5, 8, 7, 9, 10, 11, 12, 13, 14, 15, 16, 0xFE, 0xFF, 0xFF, 0xFF, 0x7F, 2, 1,
                      8, 7, 6, 5, 4, 3, 2, 1};
    uint64_t stamp = uint64_t(utc.GetTicks()) | (1ull << 62);
    for (int i = 0; i < 8; ++i)
        expected.push_back(uint8_t(stamp >> (8 * i)));
    EXPECT_EQ(expected, BytesOf(out));
    EXPECT_EQ(int(expected.size()), writer.GetCount());

    ReaderOver reader(expected);
    MKGuid g;
    int32_t i32 = 0;
    bool flag = false;
    uint16_t u16 = 0;
    int64_t i64 = 0;
    MKDateTime when;
    ASSERT_TRUE(reader->ReadGuid(&g));
    EXPECT_TRUE(g == MKGuid(guid));
    ASSERT_TRUE(reader->ReadInt32(&i32) && reader->ReadBool(&flag) && reader->ReadUInt16(&u16) &&
                reader->ReadInt64(&i64) && reader->ReadDateTime(&when));
    EXPECT_EQ(-2, i32);
    EXPECT_TRUE(flag);
    EXPECT_EQ(0x0102, u16);
    EXPECT_EQ(0x0102030405060708ll, i64);
    EXPECT_EQ(utc.GetValue(), when.GetValue());
    EXPECT_TRUE(reader->IsOk());
}

TEST(BinaryRecords, LocalDateTimesRoundTrip)
{
    MKDateTime local = MKDateTime::FromParts(2021, 7, 1, 8, 0, 0, MKDateTimeLocal);
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    ASSERT_TRUE(writer.WriteDateTime(local));
    Bytes bytes = BytesOf(out);
    ASSERT_EQ(8u, bytes.size());
    EXPECT_EQ(0x80, bytes[7] & 0xC0);  // the local mark
    ReaderOver reader(bytes);
    MKDateTime back;
    ASSERT_TRUE(reader->ReadDateTime(&back));
    EXPECT_EQ(local.GetTicks(), back.GetTicks());
    EXPECT_EQ(MKDateTimeLocal, back.GetKind());

    // Ticks beyond year 9999 are refused and read as the zero date-time.
    ReaderOver bad({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x3F});
    EXPECT_FALSE(bad->ReadDateTime(&back));
    EXPECT_EQ(0u, back.GetValue());
}

TEST(BinaryRecords, TruncatedRecordReadsNeutralAndFailsOnce)
{
    // An int32, a GUID and a string, cut in the GUID.
    ReaderOver reader({5, 0, 0, 0, 1, 2, 3});
    int32_t a = 0;
    MKGuid g;
    MKString s(L"old");
    MKVersion v(3, 3);
    uint64_t big = 1;
    EXPECT_TRUE(reader->ReadInt32(&a));
    EXPECT_FALSE(reader->ReadGuid(&g));
    EXPECT_TRUE(g == MKGuid());
    EXPECT_FALSE(reader->ReadString(&s));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_FALSE(reader->ReadVersion(&v));
    EXPECT_EQ(-1, v.build);
    EXPECT_FALSE(reader->ReadU64(&big));
    EXPECT_EQ(0u, big);
    EXPECT_EQ(MKStreamErrorEnd, reader->GetError());

    // A value cut short at the very end of the data still fails the stream.
    ReaderOver tail({1, 2, 3});
    uint32_t u = 9;
    EXPECT_FALSE(tail->ReadU32(&u));
    EXPECT_FALSE(tail->IsOk());
}

TEST(BinaryRecords, LyingLengthsCostNoMoreThanTheData)
{
    AllocMeter meter;
    // 100 MB announced, 3 bytes there.
    ReaderOver reader({0x00, 0x00, 0x40, 0x06, 'a', 'b', 'c'});
    MKString s;
    EXPECT_FALSE(reader->ReadString(&s));
    EXPECT_FALSE(reader->IsOk());
    EXPECT_LT(meter.Largest(), size_t(4096));

    ReaderOver bytes({1, 2, 3});
    MKByteArray out;
    out.Add(7);
    EXPECT_FALSE(bytes->ReadBytes(2000000000, out));
    EXPECT_EQ(0, out.GetCount());
    EXPECT_LT(meter.Largest(), size_t(4096));
    EXPECT_FALSE(bytes->ReadBytes(-1, out));
    EXPECT_TRUE(bytes->ReadBytes(0, out));
}

TEST(BinaryRecords, UnsizedSourcesReadInOneMegabyteSteps)
{
    // An inflating stream cannot say how much is left: the claim is checked
    // step by step.
    Bytes plain(3 << 20);
    for (size_t i = 0; i < plain.size(); ++i)
        plain[i] = uint8_t(i * 7);
    MKMemOutStream packed;
    {
        MKOutZStream z(&packed, 1);
        ASSERT_TRUE(z.Write(plain.data(), int(plain.size())) && z.Close());
    }
    MKRefHolder<MKMemInStream> source;
    source.Attach(new MKMemInStream(packed.GetData(), packed.GetCount()));
    MKRefHolder<MKInZStream> inflated;
    inflated.Attach(new MKInZStream(source.Get()));
    MKRefHolder<MKBinaryReader> reader;
    reader.Attach(new MKBinaryReader(inflated.Get()));
    MKByteArray out;
    ASSERT_TRUE(reader->ReadBytes(int(plain.size()) - 10, out));
    EXPECT_EQ(0, memcmp(plain.data(), out.GetData(), plain.size() - 10));
    AllocMeter meter;
    EXPECT_FALSE(reader->ReadBytes(500000000, out));
    EXPECT_LE(meter.Largest(), size_t(1 << 20) + 64);
    EXPECT_FALSE(reader->IsOk());
}

TEST(BinaryWriter, AfterCloseEverythingFails)
{
    MKMemOutStream out;
    MKBinaryWriter writer(&out);
    ASSERT_TRUE(writer.WriteInt32(1));
    ASSERT_TRUE(writer.Close());
    EXPECT_FALSE(writer.Write("a", 1));
    EXPECT_FALSE(writer.WriteU8(1));
    EXPECT_FALSE(writer.WriteU16(1));
    EXPECT_FALSE(writer.WriteU32(1));
    EXPECT_FALSE(writer.WriteU64(1));
    EXPECT_FALSE(writer.WriteInt32(1));
    EXPECT_FALSE(writer.WriteGuid(MKGuid()));
    EXPECT_FALSE(writer.WriteVersion(MKVersion(1, 2)));
    EXPECT_FALSE(writer.WriteDateTime(MKDateTime()));
    EXPECT_FALSE(writer.WriteString(MKString(L"x")));
    EXPECT_FALSE(writer.WriteText(nullptr, -1));
    EXPECT_FALSE(writer.Flush());
    EXPECT_TRUE(writer.Close());
    EXPECT_EQ(4, out.GetCount());
    EXPECT_TRUE(out.IsOk());
    EXPECT_EQ(0, writer.GetCount());
}

TEST(BinaryWriter, TargetErrorStaysInTheTarget)
{
    MKMemOutStream out;
    ASSERT_TRUE(out.Write("ab", 2));
    {
        AllocFailureScope scope(0);
        std::vector<uint8_t> big(1000);
        EXPECT_FALSE(out.Write(big.data(), 1000));
    }
    ASSERT_EQ(MKStreamErrorNoMemory, out.GetError());
    MKBinaryWriter writer(&out);
    EXPECT_FALSE(writer.WriteU8(1));
    EXPECT_FALSE(writer.WriteVersion(MKVersion(1, 2)));
    EXPECT_EQ(2, out.GetCount());
    EXPECT_EQ(MKStreamErrorNoMemory, out.GetError());
    EXPECT_EQ(0, writer.GetError());
    EXPECT_TRUE(writer.IsOk());
}

TEST(BufferBuilders, AppendFormat)
{
    MKTextBuffer buffer;
    ASSERT_TRUE(buffer.AppendFormat(L"%d-%s", 42, L"x"));
    EXPECT_STREQ(L"42-x", buffer.GetText());
    EXPECT_EQ(5, buffer.GetCount());
    std::wstring longText(600, L'q');
    ASSERT_TRUE(buffer.AppendFormat(L"[%s]", longText.c_str()));
    EXPECT_EQ(L"42-x[" + longText + L"]", std::wstring(buffer.GetText()));
    EXPECT_EQ(4 + 602 + 1, buffer.GetCount());
    // An argument that is the buffer's own text.
    ASSERT_TRUE(buffer.AppendFormat(L"%s", buffer.GetText()));
    EXPECT_EQ(2 * (4 + 602) + 1, buffer.GetCount());
    EXPECT_EQ(L"42-x[" + longText + L"]42-x[" + longText + L"]", std::wstring(buffer.GetText()));
}

TEST(BufferBuilders, AppendCharsAndUtf8KeepOneTerminator)
{
    MKByteArray array;
    EXPECT_TRUE(MKByteArrayAppendChars(array, "ab", 0));
    EXPECT_EQ(0, array.GetCount());
    ASSERT_TRUE(MKByteArrayAppendChars(array, "ab", 2));
    EXPECT_EQ(3, array.GetCount());
    EXPECT_EQ(3, array.GetCapacity());
    ASSERT_TRUE(MKByteArrayAppendChars(array, "cd", 2));
    ASSERT_EQ(5, array.GetCount());
    EXPECT_STREQ("abcd", reinterpret_cast<const char*>(array.GetData()));
    ASSERT_TRUE(MKByteArrayAppendUtf8(array, L"\x00E9", 1));
    EXPECT_STREQ("abcd\xC3\xA9", reinterpret_cast<const char*>(array.GetData()));
    std::wstring longText(40, L'\x20AC');
    ASSERT_TRUE(MKByteArrayAppendUtf8(array, longText.c_str(), 40));
    EXPECT_EQ(6 + 120 + 1, array.GetCount());
    EXPECT_EQ(0, array[array.GetCount() - 1]);
    MKString back = MKString::FromUtf8Array(array);
    EXPECT_EQ(std::wstring(L"abcd\x00E9") + longText, std::wstring(back.GetText()));
}

}  // namespace

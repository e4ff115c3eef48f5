#include "base/MKInFileStream.h"
#include "base/MKMemInStream.h"
#include "base/MKMemOutStream.h"
#include "base/MKOutFileStream.h"
#include "base/MKStreamErrors.h"

#include "AllocFailure.h"
#include "tests/fixtures/Fixtures.h"

#include <gtest/gtest.h>

#include <errno.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

// Hands out at most one byte per Read, as a slow wrapping stream may.
class TrickleStream : public MKInStream {
public:
    explicit TrickleStream(std::string bytes) : m_bytes(std::move(bytes)) {}
    bool Close() override { return true; }
    int Read(void* buffer, int n) override
    {
        if (n <= 0)
            return 0;
        if (m_position >= m_bytes.size()) {
            SetError(MKStreamErrorEnd);
            memset(buffer, 0, size_t(n));
            return -1;
        }
        static_cast<char*>(buffer)[0] = m_bytes[m_position++];
        return 1;
    }
    int Tell() override { return int(m_position); }
    bool Seek(int) override { return false; }
    bool CanSeek() override { return false; }
    int GetPosition() override { return 0; }
    int GetSize() override { return 0; }

private:
    std::string m_bytes;
    size_t m_position = 0;
};

// A typed read the stream cannot fill fails, yields 0 and stores the end error.
template <typename T>
void ExpectCutRead(MKInStream& in, bool (MKInStream::*read)(T*))
{
    T value = T(99);
    EXPECT_FALSE((in.*read)(&value));
    EXPECT_EQ(T(0), value);
    EXPECT_EQ(MKStreamErrorEnd, in.GetError());
}

TEST(MemInStream, ShortTypedReadFailsWithoutConsuming)
{
    const uint8_t bytes[] = {1, 2, 3};
    MKMemInStream in(bytes, 3);
    ExpectCutRead(in, &MKInStream::ReadU32);
    EXPECT_FALSE(in.IsOk());

    uint8_t buffer[8];
    EXPECT_EQ(3, in.Read(buffer, 8));
    EXPECT_EQ(0, memcmp(buffer, bytes, 3));
    memset(buffer, 0xAA, sizeof(buffer));
    EXPECT_EQ(-1, in.Read(buffer, 8));
    for (uint8_t b : buffer)
        EXPECT_EQ(0, b);
    EXPECT_EQ(0, in.Read(buffer, 0));
}

TEST(MemInStream, LittleEndianValues)
{
    const uint8_t bytes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F};
    MKMemInStream in(bytes, sizeof(bytes));
    uint8_t u8;
    uint16_t u16;
    uint32_t u32;
    uint64_t u64;
    ASSERT_TRUE(in.ReadU8(&u8) && in.ReadU16(&u16) && in.ReadU32(&u32) && in.ReadU64(&u64));
    EXPECT_EQ(0x01, u8);
    EXPECT_EQ(0x0302, u16);
    EXPECT_EQ(0x07060504u, u32);
    EXPECT_EQ(0x0F0E0D0C0B0A0908ull, u64);
    EXPECT_TRUE(in.IsOk());
    EXPECT_EQ(15, in.Tell());
}

TEST(MemInStream, NoBytesMeansErrorFromTheStart)
{
    MKMemInStream none(nullptr, 4);
    EXPECT_EQ(MKStreamErrorEnd, none.GetError());
    const uint8_t b = 7;
    MKMemInStream zero(&b, 0);
    EXPECT_FALSE(zero.IsOk());
    MKByteArray empty;
    MKMemInStream overEmpty(empty);
    EXPECT_FALSE(overEmpty.IsOk());
    MKMemInStream fresh;
    EXPECT_TRUE(fresh.IsOk());

    // Attach starts over with no error.
    none.Attach(&b, 1, false);
    EXPECT_TRUE(none.IsOk());
    uint8_t out = 0;
    EXPECT_TRUE(none.ReadU8(&out));
    EXPECT_EQ(7, out);
}

TEST(MemInStream, FirstErrorStaysThroughSeekAndClose)
{
    const uint8_t bytes[] = {1, 2};
    MKMemInStream in(bytes, 2);
    uint32_t v;
    in.ReadU32(&v);
    EXPECT_TRUE(in.Seek(0));
    EXPECT_FALSE(in.Seek(3));
    EXPECT_FALSE(in.Seek(-1));
    EXPECT_TRUE(in.Seek(2));
    EXPECT_EQ(MKStreamErrorEnd, in.GetError());
    in.Close();
    EXPECT_EQ(MKStreamErrorEnd, in.GetError());
    EXPECT_EQ(0, in.GetSize());
}

TEST(MemInStream, ReadLine)
{
    const char text[] = "ab\ncd";
    MKMemInStream in(text, 5);
    char line[10];
    ASSERT_NE(nullptr, in.ReadLine(line, 1));
    EXPECT_STREQ("", line);
    ASSERT_NE(nullptr, in.ReadLine(line, 10));
    EXPECT_STREQ("ab\n", line);
    ASSERT_NE(nullptr, in.ReadLine(line, 10));
    EXPECT_STREQ("cd", line);
    EXPECT_EQ(nullptr, in.ReadLine(line, 10));
    EXPECT_TRUE(in.IsOk());  // the end of the lines is no error here

    MKMemInStream cut(text, 5);
    ASSERT_NE(nullptr, cut.ReadLine(line, 3));
    EXPECT_STREQ("ab", line);
    EXPECT_EQ(nullptr, cut.ReadLine(line, 0));
}

TEST(MemInStream, SkipStopsAtTheEnd)
{
    std::vector<uint8_t> bytes(6000);
    MKMemInStream in(bytes.data(), 6000);
    EXPECT_EQ(1000, in.Skip(1000));
    EXPECT_EQ(5000, in.Skip(10000));
    EXPECT_EQ(6000, in.Tell());
    EXPECT_EQ(0, in.Skip(-5));
    EXPECT_TRUE(in.IsOk());
}

TEST(InStreamBase, TypedReadsAndLinesOverAStreamThatTrickles)
{
    TrickleStream in(std::string("\x04\x03\x02\x01xy\nz", 8));
    uint32_t value = 0;
    ASSERT_TRUE(in.ReadU32(&value));
    EXPECT_EQ(0x01020304u, value);
    char line[8];
    ASSERT_NE(nullptr, in.ReadLine(line, 8));
    EXPECT_STREQ("xy\n", line);
    ASSERT_NE(nullptr, in.ReadLine(line, 8));
    EXPECT_STREQ("z", line);
    EXPECT_EQ(nullptr, in.ReadLine(line, 8));
    ExpectCutRead(in, &MKInStream::ReadU16);
}

TEST(InStreamBase, CutValueFailsTheStream)
{
    TrickleStream in(std::string("\x01\x02\x03", 3));
    ExpectCutRead(in, &MKInStream::ReadU64);
}

TEST(MemOutStream, GrowsByAQuarterWithA32ByteFloor)
{
    MKMemOutStream out;
    ASSERT_TRUE(out.WriteU8(1));
    EXPECT_EQ(32, out.GetCapacity());
    ASSERT_TRUE(out.WriteU8(2));
    EXPECT_EQ(32, out.GetCapacity());

    MKMemOutStream big;
    std::vector<uint8_t> forty(40, 0x11);
    ASSERT_TRUE(big.Write(forty.data(), 40));
    EXPECT_EQ(40, big.GetCapacity());
    ASSERT_TRUE(big.WriteU8(0));
    EXPECT_EQ(50, big.GetCapacity());
    EXPECT_EQ(41, big.GetCount());
    EXPECT_TRUE(big.Write(nullptr, 0));
}

TEST(MemOutStream, LittleEndianWritesAndTakeBuffer)
{
    MKMemOutStream out;
    ASSERT_TRUE(out.WriteU8(0xAB) && out.WriteU16(0x0201) && out.WriteU32(0x06050403) &&
                out.WriteU64(0x0E0D0C0B0A090807ull));
    MKByteArray bytes;
    bytes.Add(0xFF);
    ASSERT_TRUE(out.TakeBuffer(bytes));
    const uint8_t expected[] = {0xAB, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    ASSERT_EQ(15, bytes.GetCount());
    EXPECT_EQ(15, bytes.GetCapacity());
    EXPECT_EQ(0, memcmp(expected, bytes.GetData(), 15));
    EXPECT_EQ(0, out.GetCount());
    EXPECT_EQ(0, out.GetCapacity());

    MKMemOutStream empty;
    ASSERT_TRUE(empty.TakeBuffer(bytes));
    EXPECT_EQ(0, bytes.GetCount());
}

TEST(MemOutStream, TakeBufferHandsOverTheBlockItself)
{
    MKMemOutStream full;
    std::vector<uint8_t> data(32, 0x5A);
    ASSERT_TRUE(full.Write(data.data(), 32));
    ASSERT_EQ(32, full.GetCapacity());
    const uint8_t* block = full.GetData();
    MKByteArray bytes;
    {
        AllocFailureScope noMemory(0);  // neither a copy nor a trim is needed
        ASSERT_TRUE(full.TakeBuffer(bytes));
    }
    EXPECT_EQ(block, bytes.GetData());
    EXPECT_EQ(32, bytes.GetCount());
    EXPECT_EQ(32, bytes.GetCapacity());
    EXPECT_EQ(nullptr, full.GetData());

    // Giving back the spare room is the only request that can fail.
    MKMemOutStream roomy;
    ASSERT_TRUE(roomy.Write("abc", 3));
    {
        AllocFailureScope noMemory(0);
        EXPECT_FALSE(roomy.TakeBuffer(bytes));
    }
    EXPECT_EQ(0, bytes.GetCount());
    EXPECT_EQ(3, roomy.GetCount());
    EXPECT_EQ(32, roomy.GetCapacity());
    EXPECT_EQ(0, memcmp("abc", roomy.GetData(), 3));
}

TEST(MemOutStream, AppendingItsOwnBytesSurvivesGrowth)
{
    MKMemOutStream out;
    ASSERT_TRUE(out.Write("0123456789012345678901234567890", 31));
    ASSERT_TRUE(out.Write(out.GetData(), out.GetCount()));
    ASSERT_EQ(62, out.GetCount());
    EXPECT_EQ(0, memcmp(out.GetData(), out.GetData() + 31, 31));
}

TEST(MemOutStream, FailedGrowthLatchesAndKeepsTheBytes)
{
    MKMemOutStream out;
    ASSERT_TRUE(out.Write("abc", 3));
    {
        AllocFailureScope scope(0);
        std::vector<uint8_t> more(100, 1);
        EXPECT_FALSE(out.Write(more.data(), 100));
    }
    EXPECT_EQ(MKStreamErrorNoMemory, out.GetError());
    EXPECT_FALSE(out.IsOk());
    EXPECT_FALSE(out.WriteU8(1));
    EXPECT_FALSE(out.WriteU64(1));
    EXPECT_EQ(3, out.GetCount());
    EXPECT_EQ(0, memcmp("abc", out.GetData(), 3));
    out.SetError(-5);
    EXPECT_EQ(MKStreamErrorNoMemory, out.GetError());
}

TEST(FileStreams, WriteThenReadBack)
{
    ScratchFolder folder;
    std::wstring path = folder.File(L"data.bin");
    {
        MKOutFileStream out;
        ASSERT_TRUE(out.Open(path.c_str()));
        EXPECT_TRUE(out.WriteU32(0x64636261) && out.Write("\nline two\nrest", 14) && out.WriteU16(0x2121));
        EXPECT_EQ(20, out.GetCount());
        EXPECT_TRUE(out.Flush());
        EXPECT_TRUE(out.Close());
        EXPECT_TRUE(out.IsOk());
    }
    MKInFileStream in;
    ASSERT_TRUE(in.Open(path.c_str()));
    uint32_t first = 0;
    ASSERT_TRUE(in.ReadU32(&first));
    EXPECT_EQ(0x64636261u, first);
    char line[32];
    ASSERT_NE(nullptr, in.ReadLine(line, 32));
    EXPECT_STREQ("\n", line);
    ASSERT_NE(nullptr, in.ReadLine(line, 32));
    EXPECT_STREQ("line two\n", line);
    EXPECT_EQ(14, in.Tell());
    EXPECT_EQ(14, in.GetPosition());
    EXPECT_EQ(0, in.GetSize());

    // Skip never claims bytes beyond the end of the file.
    EXPECT_EQ(2, in.Skip(2));
    EXPECT_EQ(4, in.Skip(1000));
    EXPECT_EQ(20, in.Tell());
    EXPECT_TRUE(in.IsOk());

    uint8_t buffer[4] = {1, 1, 1, 1};
    EXPECT_EQ(-1, in.Read(buffer, 4));
    EXPECT_EQ(0, buffer[0] | buffer[3]);
    EXPECT_EQ(MKStreamErrorEnd, in.GetError());
    EXPECT_EQ(nullptr, in.ReadLine(line, 32));

    EXPECT_TRUE(in.Seek(4));
    EXPECT_EQ(4, in.Read(buffer, 4));  // a short count at the end is no error
    EXPECT_EQ(0, memcmp("\nlin", buffer, 4));
    EXPECT_TRUE(in.Close());
}

TEST(FileStreams, ShortTypedReadAtTheEnd)
{
    ScratchFolder folder;
    std::wstring path = folder.File(L"three.bin");
    {
        MKOutFileStream out;
        ASSERT_TRUE(out.Open(path.c_str()));
        out.Write("xyz", 3);
    }
    MKInFileStream in;
    ASSERT_TRUE(in.Open(path.c_str()));
    ExpectCutRead(in, &MKInStream::ReadU32);
}

TEST(FileStreams, OpenFailures)
{
    ScratchFolder folder;
    MKInFileStream in;
    EXPECT_FALSE(in.Open(folder.File(L"missing.bin").c_str()));
    uint8_t b;
    EXPECT_FALSE(in.ReadU8(&b));

    MKOutFileStream out;
    EXPECT_FALSE(out.Open(folder.File(L"no\\such\\folder.bin").c_str()));
    EXPECT_EQ(-ENOENT, out.GetError());
    EXPECT_FALSE(out.Write("a", 1));
    EXPECT_FALSE(out.Flush());
}

TEST(FileStreams, BorrowedFilesStayOpen)
{
    ScratchFolder folder;
    std::wstring path = folder.File(L"borrowed.bin");
    FILE* file = _wfopen(path.c_str(), L"w+b");
    ASSERT_NE(nullptr, file);
    {
        MKOutFileStream out(file);
        EXPECT_TRUE(out.Write("hello", 5));
        EXPECT_TRUE(out.Close());
    }
    rewind(file);
    {
        MKInFileStream in(file);
        char text[6] = {};
        EXPECT_EQ(5, in.Read(text, 5));
        EXPECT_STREQ("hello", text);
    }
    EXPECT_EQ(0, fseek(file, 0, SEEK_SET));  // still ours to use and close
    EXPECT_EQ(0, fclose(file));
}

TEST(FileStreams, RefusedWriteLatchesTheFileError)
{
    ScratchFolder folder;
    std::wstring path = folder.File(L"readonly.bin");
    FILE* create = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(nullptr, create);
    fclose(create);
    FILE* readOnly = _wfopen(path.c_str(), L"rb");
    ASSERT_NE(nullptr, readOnly);
    MKOutFileStream out(readOnly);
    EXPECT_FALSE(out.Write("data", 4));
    EXPECT_LT(out.GetError(), 0);
    int first = out.GetError();
    EXPECT_FALSE(out.Write("more", 4));
    EXPECT_EQ(first, out.GetError());
    out.Close();
    fclose(readOnly);
}

}  // namespace

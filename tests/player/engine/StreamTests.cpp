#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>
#include <zlib.h>

#include "fixtures/Fixtures.h"
#include "MemoryInStream.h"
#include "NarrowPath.h"
#include "fixtures/SwfFile.h"
#include "player/engine/MKFile.h"
#include "player/engine/PVInFileStream.h"
#include "player/engine/PVInZStream.h"

namespace {

std::vector<uint8_t> Pattern(size_t size)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>((i * 7) ^ (i >> 9));
    return bytes;
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size()), 6);
    out.resize(size);
    return out;
}

TEST(FileWrappers, MissingFileGivesNullNotAnInvalidHandle)
{
    ScratchFolder folder;
    EXPECT_EQ(MKFileOpenRead(NarrowPath(folder.File(L"missing.swf")).c_str()), nullptr);
    EXPECT_EQ(MKFileOpenRead(""), nullptr);
    EXPECT_EQ(MKFileOpenRead(nullptr), nullptr);
    EXPECT_EQ(MKFileClose(nullptr), -1);
    char buffer[4];
    EXPECT_EQ(MKFileRead(buffer, 4, nullptr), 0);
}

TEST(FileStreams, OwnedAndBorrowedHandles)
{
    ScratchFolder folder;
    const std::wstring path = folder.File(L"data.bin");
    const std::vector<uint8_t> data = Pattern(100000);
    ASSERT_TRUE(SwfSaveFile(path, data));

    PVInFileStream stream;
    EXPECT_EQ(stream.Read(nullptr, 10), 0);
    EXPECT_EQ(stream.Close(), 0);
    EXPECT_FALSE(stream.Open(""));
    ASSERT_TRUE(stream.Open(NarrowPath(path).c_str()));
    std::vector<uint8_t> read(data.size() + 10);
    int total = 0;
    // Never offer more room than the buffer has: ReadFile checks all of it.
    for (int n; (n = stream.Read(read.data() + total, std::min(4096, static_cast<int>(read.size()) - total))) > 0;)
        total += n;
    EXPECT_EQ(total, static_cast<int>(data.size()));
    read.resize(total);
    EXPECT_EQ(read, data);
    EXPECT_EQ(stream.Close(), 0);

    // Shared reading: a borrowed handle stays open after the stream is gone.
    void* handle = MKFileOpenRead(NarrowPath(path).c_str());
    ASSERT_NE(handle, nullptr);
    {
        PVInFileStream borrowed(handle);
        uint8_t first[2];
        EXPECT_EQ(borrowed.Read(first, 2), 2);
        EXPECT_EQ(borrowed.Close(), 0);
    }
    uint8_t next[2];
    EXPECT_EQ(MKFileRead(next, 2, handle), 2);
    EXPECT_EQ(next[0], data[2]);
    EXPECT_EQ(MKFileClose(handle), 0);
}

TEST(ZStreams, InflatesInPiecesAndAnswersZeroAfterTheEnd)
{
    const std::vector<uint8_t> data = Pattern(300000);
    const std::vector<uint8_t> packed = Deflate(data);
    for (int sourceChunk : {1 << 30, 1000, 1}) {
        MemoryInStream source(packed, sourceChunk);
        PVInZStream stream(&source);
        std::vector<uint8_t> out(data.size());
        size_t total = 0;
        while (total < out.size()) {
            int n = stream.Read(out.data() + total, static_cast<int>(std::min<size_t>(777, out.size() - total)));
            ASSERT_GT(n, 0);
            total += n;
        }
        EXPECT_EQ(out, data);
        uint8_t more[16];
        EXPECT_EQ(stream.Read(more, 16), 0);
        EXPECT_EQ(stream.Read(more, 16), 0);
        EXPECT_EQ(stream.Close(), 0);
    }
}

TEST(ZStreams, CorruptDataAndFailingSourcesAnswerMinusOne)
{
    const std::vector<uint8_t> data = Pattern(100000);
    std::vector<uint8_t> packed = Deflate(data);
    packed[0] ^= 0x0F;  // not a zlib header
    {
        MemoryInStream source(packed);
        PVInZStream stream(&source);
        std::vector<uint8_t> out(data.size());
        EXPECT_EQ(stream.Read(out.data(), static_cast<int>(out.size())), -1);
        EXPECT_EQ(stream.Read(out.data(), 10), -1);
    }
    packed = Deflate(data);
    {
        MemoryInStream source(packed, 1 << 30, static_cast<int>(packed.size() / 2));
        PVInZStream stream(&source);
        std::vector<uint8_t> out(data.size());
        int total = 0, n = 0;
        while ((n = stream.Read(out.data() + total, 4096)) > 0)
            total += n;
        EXPECT_EQ(n, -1);
        EXPECT_LT(total, static_cast<int>(data.size()));
    }
    {
        // A stream cut short just ends: no more bytes, no error.
        std::vector<uint8_t> cut(packed.begin(), packed.begin() + packed.size() / 2);
        MemoryInStream source(cut);
        PVInZStream stream(&source);
        std::vector<uint8_t> out(data.size());
        int total = 0, n = 0;
        while ((n = stream.Read(out.data() + total, 4096)) > 0)
            total += n;
        EXPECT_EQ(n, 0);
        EXPECT_LT(total, static_cast<int>(data.size()));
    }
    PVInZStream orphan(nullptr);
    uint8_t byte;
    EXPECT_EQ(orphan.Read(&byte, 1), -1);
}

}  // namespace

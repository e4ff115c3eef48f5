#include "base/MKCompressBuffers.h"
#include "base/MKInLzmaStream.h"
#include "base/MKInZStream.h"
#include "base/MKMemInStream.h"
#include "base/MKMemOutStream.h"
#include "base/MKOutZStream.h"
#include "base/MKRefHolder.h"
#include "base/MKStreamErrors.h"

#include "AllocMeter.h"
#include "BaseTestSupport.h"
#include "tests/fixtures/Fixtures.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <zlib.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

Bytes ReadFixture(const wchar_t* name)
{
    Bytes bytes;
    FILE* file = _wfopen(FixturePath(name).c_str(), L"rb");
    EXPECT_NE(nullptr, file) << "missing fixture";
    if (!file)
        return bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
    return bytes;
}

Bytes RandomBytes(size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes bytes(n);
    for (uint8_t& b : bytes)
        b = uint8_t(random());
    return bytes;
}

Bytes TextBytes(size_t n)
{
    Bytes bytes;
    const char* words[] = {"alpha ", "beta ", "gamma ", "delta\n"};
    for (size_t i = 0; bytes.size() < n; ++i)
        bytes.insert(bytes.end(), words[(i * 7) % 4], words[(i * 7) % 4] + strlen(words[(i * 7) % 4]));
    bytes.resize(n);
    return bytes;
}

// Reads a stream to its end in pieces of `piece` bytes; the final error goes to
// *error.
Bytes Drain(MKInStream& in, int piece, int* error)
{
    Bytes out;
    std::vector<uint8_t> buffer(static_cast<size_t>(piece));
    for (;;) {
        int got = in.Read(buffer.data(), piece);
        if (got <= 0)
            break;
        out.insert(out.end(), buffer.begin(), buffer.begin() + got);
    }
    *error = in.GetError();
    return out;
}

// Deflates through the stream with writes of the given sizes, cycling.
Bytes DeflateStream(const Bytes& data, int level, std::vector<int> pieces)
{
    MKMemOutStream target;
    {
        MKOutZStream z(&target, level);
        size_t at = 0;
        for (size_t i = 0; at < data.size(); ++i) {
            size_t n = std::min(data.size() - at, size_t(pieces[i % pieces.size()]));
            EXPECT_TRUE(z.Write(data.data() + at, int(n)));
            at += n;
        }
        EXPECT_EQ(int(data.size()), z.GetCount());
        EXPECT_TRUE(z.Close());
        EXPECT_EQ(target.GetCount(), z.GetEmitted());
    }
    return BytesOf(target);
}

Bytes InflateStream(const Bytes& compressed, int* error)
{
    MKRefHolder<MKMemInStream> source;
    source.Attach(new MKMemInStream(compressed.data(), int(compressed.size())));
    MKRefHolder<MKInZStream> in;
    in.Attach(new MKInZStream(source.Get()));
    return Drain(*in.Get(), 5000, error);
}

TEST(DeflateStream, RoundTripsWhateverTheWriteSizes)
{
    Bytes data = TextBytes(100000);
    Bytes random = RandomBytes(50000, 1);
    data.insert(data.end(), random.begin(), random.end());
    const std::vector<std::vector<int>> patterns = {{1}, {4095, 1, 4096}, {10000}, {200000}, {3, 7000, 13}};
    for (const auto& pattern : patterns) {
        Bytes compressed = DeflateStream(data, 6, pattern);
        EXPECT_LT(compressed.size(), data.size());
        int error = 0;
        EXPECT_EQ(data, InflateStream(compressed, &error));
        EXPECT_EQ(MKStreamErrorEnd, error);

        // The same bytes in one pass of the buffer functions.
        std::vector<uint8_t> plain(data.size());
        int produced = 0;
        ASSERT_TRUE(MKUncompressBuffer(compressed.data(), int(compressed.size()), plain.data(), int(plain.size()),
                                       &produced, false));
        EXPECT_EQ(int(data.size()), produced);
    }
}

TEST(DeflateStream, RawLevelsAndEmptyInput)
{
    Bytes data = TextBytes(30000);
    Bytes raw = DeflateStream(data, -9, {777});
    MKByteArray out;
    ASSERT_TRUE(MKInflateToArray(raw.data(), int(raw.size()), out, true));
    EXPECT_EQ(data, BytesOf(out));
    EXPECT_FALSE(MKInflateToArray(raw.data(), int(raw.size()), out, false));  // no zlib header

    // Nothing written still makes a complete (empty) zlib stream.
    MKMemOutStream target;
    MKOutZStream z(&target, 9);
    ASSERT_TRUE(z.Close());
    EXPECT_GT(target.GetCount(), 0);
    ASSERT_TRUE(MKInflateToArray(target.GetData(), target.GetCount(), out, false));
    EXPECT_EQ(0, out.GetCount());
}

TEST(DeflateStream, SetUpFailures)
{
    MKOutZStream noTarget(nullptr, 6);
    EXPECT_EQ(MKStreamErrorNoTarget, noTarget.GetError());
    EXPECT_FALSE(noTarget.Write("abc", 3));
    EXPECT_FALSE(noTarget.Close());

    MKMemOutStream target;
    MKOutZStream badLevel(&target, 12);
    EXPECT_EQ(MKStreamErrorNoMemory, badLevel.GetError());
    EXPECT_FALSE(badLevel.Write("abc", 3));

    // After Reset the stream has no target left to write to.
    MKOutZStream z(&target, 6);
    EXPECT_TRUE(z.Write("abc", 3));
    EXPECT_TRUE(z.Reset());
    EXPECT_EQ(MKStreamErrorNoTarget, z.GetError());
}

TEST(DeflateStream, RefusedTargetLatches)
{
    RefusingStream target(100);
    MKOutZStream z(&target, 0);  // stored blocks: output grows with input
    Bytes data = RandomBytes(100000, 2);
    bool ok = true;
    for (size_t at = 0; at < data.size() && ok; at += 4096)
        ok = z.Write(data.data() + at, 4096);
    EXPECT_FALSE(ok);
    EXPECT_EQ(MKStreamErrorSourceFailed, z.GetError());
    EXPECT_FALSE(z.Write("x", 1));
    EXPECT_FALSE(z.Close());
    EXPECT_EQ(-77, target.GetError());  // the target keeps its own code
}

TEST(InflateStream, SourceEndingMidwayFailsTheRead)
{
    Bytes data = RandomBytes(60000, 3);  // incompressible: the cut lands in data
    Bytes compressed = DeflateStream(data, 6, {60000});
    compressed.resize(compressed.size() / 2);
    MKRefHolder<MKMemInStream> source;
    source.Attach(new MKMemInStream(compressed.data(), int(compressed.size())));
    MKRefHolder<MKInZStream> in;
    in.Attach(new MKInZStream(source.Get()));
    std::vector<uint8_t> buffer(40000, 0xEE);
    EXPECT_EQ(-1, in->Read(buffer.data(), 40000));
    EXPECT_EQ(std::vector<uint8_t>(40000, 0), buffer);
    EXPECT_EQ(MKStreamErrorSourceFailed, in->GetError());
    EXPECT_EQ(-1, in->Read(buffer.data(), 10));
    EXPECT_EQ(MKStreamErrorSourceFailed, in->GetError());
    EXPECT_FALSE(in->CanSeek());
}

TEST(InflateStream, ReadsPythonMadeData)
{
    Bytes plain = ReadFixture(L"compression_plain.bin");
    Bytes compressed = ReadFixture(L"compression_zlib.bin");
    ASSERT_EQ(200000u, plain.size());
    int error = 0;
    EXPECT_EQ(plain, InflateStream(compressed, &error));
    EXPECT_EQ(MKStreamErrorEnd, error);

    // Values read through the base forms cross the 16 KB input buffers.
    MKRefHolder<MKMemInStream> source;
    source.Attach(new MKMemInStream(compressed.data(), int(compressed.size())));
    MKRefHolder<MKInZStream> in;
    in.Attach(new MKInZStream(source.Get()));
    uint32_t value = 0;
    size_t at = 0;
    bool same = true;
    for (; at + 4 <= plain.size() && in->ReadU32(&value); at += 4)
        same = same && memcmp(&value, plain.data() + at, 4) == 0;
    EXPECT_TRUE(same);
    EXPECT_EQ(plain.size(), at);
    EXPECT_EQ(int(plain.size()), in->Tell());
    EXPECT_EQ(0, in->Skip(10));
}

// zlib's own raw deflate of data with a sync flush and no final block, as a
// sender that keeps its stream open writes it.
Bytes SyncFlushedRaw(const Bytes& data, int format)
{
    z_stream z = {};
    EXPECT_EQ(Z_OK, deflateInit2(&z, 6, Z_DEFLATED, format, 8, Z_DEFAULT_STRATEGY));
    Bytes out(data.size() + data.size() / 100 + 1024);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = uInt(data.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    EXPECT_EQ(Z_OK, deflate(&z, Z_SYNC_FLUSH));
    EXPECT_EQ(0u, z.avail_in);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

TEST(CompressBuffers, ASyncFlushedRawStreamEndsWhereItsInputDoes)
{
    const Bytes marker = {0x00, 0x00, 0xFF, 0xFF};  // the empty stored block of a sync flush
    // 8192 fills the first output step exactly; 20000 needs three.
    for (size_t n : {size_t(1), size_t(1000), size_t(8192), size_t(20000), size_t(100000)}) {
        SCOPED_TRACE(n);
        Bytes plain = n % 2 ? TextBytes(n) : RandomBytes(n, unsigned(n));
        Bytes flushed = SyncFlushedRaw(plain, -15);
        ASSERT_GE(flushed.size(), 4u);
        ASSERT_TRUE(std::equal(marker.begin(), marker.end(), flushed.end() - 4));
        MKByteArray out;
        ASSERT_TRUE(MKInflateToArray(flushed.data(), int(flushed.size()), out, true));
        EXPECT_EQ(plain, BytesOf(out));
        // Cut in the middle of its data it is still refused.
        if (n >= 1000) {
            EXPECT_FALSE(MKInflateToArray(flushed.data(), int(flushed.size() / 2), out, true));
            EXPECT_EQ(0, out.GetCount());
        }
        // With a zlib header the data lacks its checksum: refused.
        Bytes wrapped = SyncFlushedRaw(plain, 15);
        EXPECT_FALSE(MKInflateToArray(wrapped.data(), int(wrapped.size()), out, false));
    }
}

TEST(CompressBuffers, PythonMadeData)
{
    Bytes plain = ReadFixture(L"compression_plain.bin");
    Bytes zlibData = ReadFixture(L"compression_zlib.bin");
    Bytes rawData = ReadFixture(L"compression_raw.bin");

    MKByteArray out;
    ASSERT_TRUE(MKInflateToArray(rawData.data(), int(rawData.size()), out, true));
    EXPECT_EQ(plain, BytesOf(out));
    ASSERT_TRUE(MKInflateToArray(zlibData.data(), int(zlibData.size()), out, false));
    EXPECT_EQ(plain, BytesOf(out));

    MKByteArray source, destination;
    source.AppendRange(rawData.data(), int(rawData.size()));
    destination.SetSize(int(plain.size()));
    ASSERT_TRUE(MKUncompressToArray(source, destination, true));
    EXPECT_EQ(plain, BytesOf(destination));

    // One byte too little room never reaches the end of the data.
    std::vector<uint8_t> tight(plain.size() - 1);
    int produced = 7;
    EXPECT_FALSE(MKUncompressBuffer(zlibData.data(), int(zlibData.size()), tight.data(), int(tight.size()),
                                    &produced, false));
    EXPECT_EQ(0, produced);
    destination.SetSize(int(plain.size()) - 1);
    EXPECT_FALSE(MKUncompressToArray(source, destination, true));
    EXPECT_EQ(0, destination.GetCount());
}

TEST(CompressBuffers, RoundTripsIncludingIncompressibleInput)
{
    // Incompressible input needs more room than the input; zlib's own bound
    // always suffices.
    for (size_t n : {size_t(1), size_t(1000), size_t(300000), size_t(1 << 20), size_t(3 << 20)}) {
        Bytes data = RandomBytes(n, unsigned(n));
        for (bool raw : {false, true}) {
            MKByteArray compressed;
            ASSERT_TRUE(MKCompressToArray(data.data(), int(n), compressed, 9, raw)) << n;
            EXPECT_GT(compressed.GetCount(), int(n));
            MKByteArray back;
            ASSERT_TRUE(MKInflateToArray(compressed.GetData(), compressed.GetCount(), back, raw));
            EXPECT_EQ(data, BytesOf(back));
        }
    }
    Bytes text = TextBytes(100000);
    MKByteArray compressed;
    ASSERT_TRUE(MKCompressToArray(text.data(), int(text.size()), compressed, 6, false));
    EXPECT_LT(compressed.GetCount(), 5000);
    EXPECT_LT(compressed.GetCapacity(), 2 * compressed.GetCount() + 1);

    std::vector<uint8_t> buffer(200);
    int produced = 0;
    EXPECT_FALSE(MKCompressBuffer(text.data(), int(text.size()), buffer.data(), int(buffer.size()), &produced, 6,
                                  false));
    EXPECT_EQ(0, produced);
}

TEST(CompressBuffers, InflatingStopsAtItsLimit)
{
    // A megabyte of zeros deflates to about a kilobyte: a small message could
    // otherwise ask for any amount of memory.
    Bytes zeros(1 << 20, 0);
    MKByteArray compressed;
    ASSERT_TRUE(MKCompressToArray(zeros.data(), int(zeros.size()), compressed, 9, true));
    const int n = int(zeros.size());
    struct Case {
        int limit;
        bool ok;
    };
    for (Case c : {Case{n, true}, Case{n + 1, true}, Case{n - 1, false}, Case{8192, false}, Case{0, false},
                   Case{-1, false}}) {
        SCOPED_TRACE(c.limit);
        MKByteArray out;
        out.Add(7);
        AllocMeter meter;
        EXPECT_EQ(c.ok, MKInflateToArray(compressed.GetData(), compressed.GetCount(), out, true, c.limit));
        EXPECT_EQ(c.ok ? n : 0, out.GetCount());
        if (c.limit >= 0)
            EXPECT_LE(meter.Largest(), size_t(c.limit) * 3 / 2 + 65536);
    }
    // Nothing inflates to nothing whatever the limit.
    MKByteArray out;
    EXPECT_TRUE(MKInflateToArray(nullptr, 0, out, true, 0));
}

TEST(CompressBuffers, EmptyAndNullInput)
{
    int produced = 5;
    uint8_t buffer[64];
    EXPECT_TRUE(MKCompressBuffer(nullptr, 0, buffer, 64, &produced, 6, true));
    EXPECT_EQ(0, produced);
    EXPECT_TRUE(MKUncompressBuffer(nullptr, 0, buffer, 64, &produced, true));
    EXPECT_EQ(0, produced);
    EXPECT_FALSE(MKCompressBuffer(nullptr, 10, buffer, 64, &produced, 6, true));

    // The zlib format has a header and checksum even for no bytes.
    ASSERT_TRUE(MKCompressBuffer(nullptr, 0, buffer, 64, &produced, 6, false));
    EXPECT_EQ(8, produced);
    int back = 5;
    uint8_t none[1];
    EXPECT_TRUE(MKUncompressBuffer(buffer, produced, none, 0, &back, false));
    EXPECT_EQ(0, back);
    EXPECT_FALSE(MKUncompressBuffer(nullptr, 0, none, 1, &back, false));
}

TEST(CompressBuffers, DamagedDeflateDataIsAnError)
{
    Bytes plain = ReadFixture(L"compression_plain.bin");
    Bytes zlibData = ReadFixture(L"compression_zlib.bin");
    Bytes rawData = ReadFixture(L"compression_raw.bin");
    struct Case {
        const char* what;
        Bytes data;
        bool raw;
    };
    std::vector<Case> cases;
    for (size_t cut : {size_t(1), size_t(2), size_t(100), zlibData.size() / 2, zlibData.size() - 1})
        cases.push_back({"zlib cut", Bytes(zlibData.begin(), zlibData.begin() + cut), false});
    for (size_t cut : {size_t(1), size_t(50), rawData.size() / 3, rawData.size() - 1})
        cases.push_back({"raw cut", Bytes(rawData.begin(), rawData.begin() + cut), true});
    for (size_t at : {size_t(0), size_t(1), size_t(500), zlibData.size() / 2, zlibData.size() - 2}) {
        Bytes flipped = zlibData;
        flipped[at] ^= 0x55;
        cases.push_back({"zlib flipped", flipped, false});
    }
    cases.push_back({"garbage", RandomBytes(5000, 9), false});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SCOPED_TRACE(c.data.size());
        MKByteArray out;
        EXPECT_FALSE(MKInflateToArray(c.data.data(), int(c.data.size()), out, c.raw));
        EXPECT_EQ(0, out.GetCount());
        std::vector<uint8_t> buffer(plain.size());
        int produced = 0;
        EXPECT_FALSE(MKUncompressBuffer(c.data.data(), int(c.data.size()), buffer.data(), int(buffer.size()),
                                        &produced, c.raw));
        if (!c.raw) {
            int error = 0;
            Bytes got = InflateStream(c.data, &error);
            EXPECT_NE(0, error);
            EXPECT_NE(MKStreamErrorEnd, error);
        }
    }
}

Bytes LzmaStream(const Bytes& data, int piece, int* error)
{
    MKRefHolder<MKMemInStream> source;
    source.Attach(new MKMemInStream(data.data(), int(data.size())));
    MKRefHolder<MKInLzmaStream> in;
    in.Attach(new MKInLzmaStream(source.Get()));
    return Drain(*in.Get(), piece, error);
}

TEST(Lzma, DecodesPythonMadeRawStreams)
{
    Bytes plain = ReadFixture(L"compression_plain.bin");
    Bytes lzma = ReadFixture(L"compression_lzma.bin");
    std::vector<uint8_t> out(plain.size());
    int produced = 0;
    ASSERT_TRUE(MKLzmaDecodeBuffer(lzma.data(), int(lzma.size()), out.data(), int(out.size()), &produced));
    EXPECT_EQ(int(plain.size()), produced);
    EXPECT_EQ(plain, out);

    // More room than the data: the end marker stops decoding.
    std::vector<uint8_t> roomy(plain.size() + 1000);
    ASSERT_TRUE(MKLzmaDecodeBuffer(lzma.data(), int(lzma.size()), roomy.data(), int(roomy.size()), &produced));
    EXPECT_EQ(int(plain.size()), produced);

    // Less room: decoding stops when the output is full.
    ASSERT_TRUE(MKLzmaDecodeBuffer(lzma.data(), int(lzma.size()), out.data(), 1000, &produced));
    EXPECT_EQ(1000, produced);

    // The stream delivers whole requests; 8000 does not divide the length, so the
    // last request asks for more than is left and fails.
    int error = 0;
    Bytes streamed = LzmaStream(lzma, 8000, &error);
    EXPECT_EQ(Bytes(plain.begin(), plain.begin() + 200000 / 8000 * 8000), streamed);
    EXPECT_EQ(MKStreamErrorEnd, error);
    streamed = LzmaStream(lzma, 5000, &error);
    EXPECT_EQ(plain, streamed);

    // Other lc/lp/pb values and a dictionary far larger than the data, which the
    // buffer decoder need not reserve.
    Bytes lp2 = ReadFixture(L"compression_lzma_lp2.bin");
    AllocMeter meter;
    ASSERT_TRUE(MKLzmaDecodeBuffer(lp2.data(), int(lp2.size()), out.data(), 5000, &produced));
    EXPECT_EQ(5000, produced);
    EXPECT_EQ(Bytes(plain.begin(), plain.begin() + 5000), Bytes(out.begin(), out.begin() + 5000));
    EXPECT_LT(meter.Largest(), size_t(1 << 20));
}

TEST(Lzma, StreamFailuresAreWholeAndLasting)
{
    Bytes lzma = ReadFixture(L"compression_lzma.bin");
    // A source of only 4 bytes holds no complete properties.
    {
        Bytes four(lzma.begin(), lzma.begin() + 4);
        MKRefHolder<MKMemInStream> source;
        source.Attach(new MKMemInStream(four.data(), 4));
        MKRefHolder<MKInLzmaStream> in;
        in.Attach(new MKInLzmaStream(source.Get()));
        uint8_t buffer[10];
        EXPECT_EQ(-1, in->Read(buffer, 10));
        EXPECT_EQ(MKStreamErrorEnd, in->GetError());
        EXPECT_EQ(-1, in->Read(buffer, 1));
        EXPECT_TRUE(in->Close());
        EXPECT_EQ(-1, in->Read(buffer, 1));
        EXPECT_FALSE(in->IsOk());
    }
    // A request for 100 bytes when only 60 remain: nothing, not 60.
    {
        Bytes plain = ReadFixture(L"compression_plain.bin");
        MKRefHolder<MKMemInStream> source;
        source.Attach(new MKMemInStream(lzma.data(), int(lzma.size())));
        MKRefHolder<MKInLzmaStream> in;
        in.Attach(new MKInLzmaStream(source.Get()));
        ASSERT_EQ(int(plain.size()) - 60, in->Skip(int(plain.size()) - 60));
        std::vector<uint8_t> buffer(100, 0xEE);
        EXPECT_EQ(-1, in->Read(buffer.data(), 100));
        EXPECT_EQ(std::vector<uint8_t>(100, 0), buffer);
        EXPECT_EQ(-1, in->Read(buffer.data(), 10));
        EXPECT_EQ(int(plain.size()) - 60, in->Tell());
    }
}

TEST(Lzma, HostileInputFailsCleanly)
{
    Bytes plain = ReadFixture(L"compression_plain.bin");
    Bytes lzma = ReadFixture(L"compression_lzma.bin");
    struct Case {
        const char* what;
        Bytes data;
    };
    std::vector<Case> cases;
    for (size_t cut : {size_t(0), size_t(3), size_t(5), size_t(6), size_t(100), lzma.size() / 2, lzma.size() - 10})
        cases.push_back({"cut", Bytes(lzma.begin(), lzma.begin() + cut)});
    Bytes badProperties = lzma;
    badProperties[0] = 225;  // beyond lc/lp/pb's range
    cases.push_back({"properties byte 225", badProperties});
    badProperties[0] = 4 + 9 * 1;  // lc 4, lp 1: more literal bits than decoders take
    cases.push_back({"lc + lp above 4", badProperties});
    Bytes flipped = lzma;
    for (size_t at = 20; at < flipped.size(); at += 997)
        flipped[at] ^= 0xA5;
    cases.push_back({"flipped bytes", flipped});
    Bytes garbage = RandomBytes(4000, 4);
    garbage[0] = 0x5D;
    cases.push_back({"garbage", garbage});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SCOPED_TRACE(c.data.size());
        std::vector<uint8_t> out(plain.size());
        int produced = 0;
        EXPECT_FALSE(MKLzmaDecodeBuffer(c.data.data(), int(c.data.size()), out.data(), int(out.size()), &produced));
        int error = 0;
        Bytes streamed = LzmaStream(c.data, 4096, &error);
        EXPECT_NE(0, error);
        EXPECT_LT(streamed.size(), plain.size());
    }
}

TEST(Lzma, HugeDictionaryIsNeverReservedByTheBufferDecoder)
{
    Bytes plain = ReadFixture(L"compression_plain.bin");
    Bytes lzma = ReadFixture(L"compression_lzma.bin");
    Bytes huge = lzma;
    huge[1] = huge[2] = huge[3] = 0;
    huge[4] = 0xF0;  // a 3.75 GB dictionary
    std::vector<uint8_t> out(100000);
    int produced = 0;
    AllocMeter meter(256 << 20);
    EXPECT_TRUE(MKLzmaDecodeBuffer(huge.data(), int(huge.size()), out.data(), int(out.size()), &produced));
    EXPECT_EQ(100000, produced);
    EXPECT_LT(meter.Largest(), size_t(1 << 20));

    // The stream cannot know how far back matches may reach: a dictionary
    // above its 64 MiB limit is refused before any of it is asked for.
    int error = 0;
    Bytes streamed = LzmaStream(huge, 4096, &error);
    EXPECT_TRUE(streamed.empty());
    EXPECT_EQ(MKStreamErrorNoMemory, error);
    EXPECT_EQ(meter.Refused(), 0);
    EXPECT_LT(meter.Largest(), size_t(1 << 20));

    // At the limit the stream still decodes: 64 MiB is granted, one byte more
    // is not.
    for (uint32_t dictionary : {64u << 20, (64u << 20) + 1}) {
        Bytes edge = lzma;
        for (int i = 0; i < 4; ++i)
            edge[1 + i] = uint8_t(dictionary >> (8 * i));
        error = 0;
        streamed = LzmaStream(edge, 4096, &error);
        SCOPED_TRACE(dictionary);
        if (dictionary == (64u << 20)) {
            EXPECT_EQ(Bytes(plain.begin(), plain.begin() + plain.size() / 4096 * 4096), streamed);
            EXPECT_EQ(MKStreamErrorEnd, error);
        } else {
            EXPECT_EQ(MKStreamErrorNoMemory, error);
            EXPECT_TRUE(streamed.empty());
        }
    }
}

}  // namespace

namespace {

// Their speed next to one whole-buffer call is measured by bench/base's
// stream_bench; here the large case only has to come back whole.
TEST(CompressionStreams, EightMegabytesPassBetweenStreamsAndBuffers)
{
    Bytes data = ReadFixture(L"compression_plain.bin");
    while (data.size() < (8u << 20))
        data.insert(data.end(), data.begin(), data.begin() + std::min(data.size(), (8u << 20) - data.size()));

    Bytes streamed = DeflateStream(data, 6, {1000, 5000, 100});
    std::vector<uint8_t> plain(data.size());
    int produced = 0;
    ASSERT_TRUE(MKUncompressBuffer(streamed.data(), int(streamed.size()), plain.data(), int(plain.size()), &produced,
                                   false));
    ASSERT_EQ(int(data.size()), produced);
    ASSERT_EQ(data, plain);

    MKByteArray packed;
    ASSERT_TRUE(MKCompressToArray(data.data(), int(data.size()), packed, 6, false));
    MKRefHolder<MKMemInStream> source;
    source.Attach(new MKMemInStream(packed.GetData(), packed.GetCount()));
    MKRefHolder<MKInZStream> in;
    in.Attach(new MKInZStream(source.Get()));
    std::fill(plain.begin(), plain.end(), 0);
    int got = 0;
    for (int r; (r = in->Read(plain.data() + got, std::min(65536, int(plain.size()) - got))) > 0;)
        got += r;
    ASSERT_EQ(int(data.size()), got);
    ASSERT_EQ(data, plain);
}

}  // namespace

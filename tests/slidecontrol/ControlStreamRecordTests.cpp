#include "slidecontrol/ControlStreamRecord.h"
#include "slidecontrol/MKIStreamInStream.h"
#include "slidecontrol/MKIStreamOutStream.h"

#include "base/MKMemInStream.h"
#include "base/MKMemOutStream.h"
#include "base/MKStreamErrors.h"
#include "fixtures/SwfFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <windows.h>
#include <shlwapi.h>

namespace {

typedef std::vector<uint8_t> Bytes;

// A SWF file of that frame, rate and count (and some tag bytes), its body
// deflated for "CWS".
Bytes SwfFile(bool compressed, int xMax, int yMax, uint16_t rate, uint16_t frames)
{
    SwfHeader header;
    header.xmax = xMax;
    header.ymax = yMax;
    header.rate = rate;
    header.frameCount = frames;
    Bytes file = SwfMakeFile(header, Bytes(16, 0));
    return compressed ? SwfDeflateFile(file) : file;
}

// Every property away from its default.
void FillSample(MovieProperties& p, const Bytes& movie)
{
    p.movie.SetSize(int(movie.size()));
    if (!movie.empty())
        memcpy(p.movie.GetData(), movie.data(), movie.size());
    p.scaleMode = 1;
    p.quality = 0;
    p.background = true;
    p.backgroundColour = 0x123456;
    p.loop = false;
    p.autoPlay = false;
    p.startFrame = 7;
    p.extraFlag = true;
}

// A stream in memory (an IStream on global memory) holding bytes.
IStream* StreamOf(const Bytes& bytes)
{
    IStream* stream = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    ULONG written = 0;
    if (!bytes.empty())
        stream->Write(bytes.data(), ULONG(bytes.size()), &written);
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
}

Bytes ContentOf(IStream* stream)
{
    STATSTG stat = {};
    stream->Stat(&stat, STATFLAG_NONAME);
    Bytes bytes(size_t(stat.cbSize.QuadPart));
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    if (!bytes.empty())
        stream->Read(bytes.data(), ULONG(bytes.size()), &read);
    return bytes;
}

Bytes Saved(const MovieProperties& properties, ControlExtent extent)
{
    IStream* stream = StreamOf({});
    MKIStreamOutStream output(stream);
    EXPECT_EQ(0, WriteControlRecord(output, properties, extent));
    Bytes bytes = ContentOf(stream);
    stream->Release();
    return bytes;
}

Bytes SavedSample(const Bytes& movie, ControlExtent extent)
{
    MovieProperties properties;
    FillSample(properties, movie);
    return Saved(properties, extent);
}

int Load(const Bytes& bytes, MovieProperties& properties, ControlRecordLoad& load)
{
    IStream* stream = StreamOf(bytes);
    MKIStreamInStream input(stream);
    stream->Release();
    return ReadControlRecord(input, properties, load);
}

TEST(ControlStreamRecord, EmptyControlSavesExactly44Bytes)
{
    MovieProperties empty;
    Bytes bytes = Saved(empty, ControlExtent{2540, 1905});
    const Bytes golden = {0x44, 0x8E, 0x95, 0x74, 0x48, 0x48, 0xF5, 0x58,  // magic words
                          2, 0, 0, 0, 0, 0, 0, 0,                          // version 2, no movie
                          2, 0, 0, 0, 2, 0, 0, 0,                          // scale mode, quality
                          0, 0xFF, 0xFF, 0xFF, 0,                          // background flag and colour
                          1, 1, 0, 0, 0, 0, 0,                             // loop, autoplay, start frame, extra
                          0xEC, 0x09, 0, 0, 0x71, 0x07, 0, 0};             // extent
    EXPECT_EQ(golden, bytes);
    EXPECT_EQ(44u, bytes.size());
}

TEST(ControlStreamRecord, SaveThenLoadRestoresEveryPropertyAndDerivesTheHeader)
{
    Bytes movie = SwfFile(false, 11000, 8000, 0x0C00, 25);
    Bytes bytes = SavedSample(movie, ControlExtent{-5, 99999});
    EXPECT_EQ(44u + movie.size(), bytes.size());

    MovieProperties loaded;
    ControlRecordLoad load;
    ASSERT_EQ(0, Load(bytes, loaded, load));
    EXPECT_EQ(Bytes(movie), Bytes(loaded.movie.GetData(), loaded.movie.GetData() + loaded.movie.GetCount()));
    EXPECT_EQ(1, loaded.scaleMode);
    EXPECT_EQ(0, loaded.quality);
    EXPECT_TRUE(loaded.background);
    EXPECT_EQ(0x123456u, loaded.backgroundColour);
    EXPECT_FALSE(loaded.loop);
    EXPECT_FALSE(loaded.autoPlay);
    EXPECT_EQ(7, loaded.startFrame);
    EXPECT_TRUE(loaded.extraFlag);
    ASSERT_TRUE(load.extentRead);
    EXPECT_EQ(-5, load.extent.cx);
    EXPECT_EQ(99999, load.extent.cy);
    EXPECT_TRUE(load.hasMovieBytes);
    EXPECT_EQ(550, load.header.width);
    EXPECT_EQ(400, load.header.height);
    EXPECT_FLOAT_EQ(12.0f, load.header.frameRate);
    EXPECT_EQ(25, load.header.frameCount);
    EXPECT_EQ(6, load.header.version);
    EXPECT_FALSE(load.header.compressed);

    // Saved again, byte for byte the same.
    EXPECT_EQ(bytes, Saved(loaded, load.extent));
}

TEST(ControlStreamRecord, EitherMagicWordIsEnough)
{
    Bytes bytes = Saved(MovieProperties(), ControlExtent{1, 2});
    struct Case {
        uint32_t first, second;
        int expected;
    };
    for (Case c : {Case{kControlRecordMagic1, 0, 0}, Case{0, kControlRecordMagic2, 0},
                   Case{0, 0, MKStreamErrorNotControlRecord}}) {
        Bytes changed = bytes;
        for (int i = 0; i < 4; ++i) {
            changed[size_t(i)] = uint8_t(c.first >> (8 * i));
            changed[size_t(4 + i)] = uint8_t(c.second >> (8 * i));
        }
        MovieProperties loaded;
        ControlRecordLoad load;
        EXPECT_EQ(c.expected, Load(changed, loaded, load)) << std::hex << c.first << " " << c.second;
    }
}

TEST(ControlStreamRecord, VersionOneHasNoExtraFlagAndOtherVersionsAreRefused)
{
    // A version-1 block: the extra flag byte is absent.
    Bytes bytes = SavedSample({}, ControlExtent{3, 4});
    Bytes v1 = bytes;
    v1[8] = 1;
    v1.erase(v1.begin() + 35);  // the extra flag
    MovieProperties loaded;
    ControlRecordLoad load;
    ASSERT_EQ(0, Load(v1, loaded, load));
    EXPECT_FALSE(loaded.extraFlag);
    EXPECT_EQ(7, loaded.startFrame);
    EXPECT_EQ(3, load.extent.cx);
    EXPECT_EQ(4, load.extent.cy);
    Bytes again = Saved(loaded, load.extent);
    EXPECT_EQ(2, again[8]);
    EXPECT_EQ(44u, again.size());

    for (uint8_t version : {0, 3}) {
        Bytes bad = bytes;
        bad[8] = version;
        EXPECT_EQ(MKStreamErrorNotControlRecord, Load(bad, loaded, load)) << int(version);
    }
}

TEST(ControlStreamRecord, MovieLengthBeyondTheStreamFailsWithoutReadingPastIt)
{
    Bytes movie = SwfFile(false, 2000, 2000, 0x0C00, 3);
    Bytes bytes = SavedSample(movie, ControlExtent{3, 4});
    // Claim one byte more than the rest of the stream holds.
    uint32_t claimed = uint32_t(bytes.size() - 16 + 1);
    for (int i = 0; i < 4; ++i)
        bytes[size_t(12 + i)] = uint8_t(claimed >> (8 * i));

    IStream* stream = StreamOf(bytes);
    MKIStreamInStream input(stream);
    MovieProperties loaded;
    ControlRecordLoad load;
    EXPECT_EQ(MKStreamErrorEnd, ReadControlRecord(input, loaded, load));
    EXPECT_EQ(16, input.GetPosition());  // stopped after the length
    EXPECT_EQ(0, loaded.movie.GetCount());
    EXPECT_FALSE(load.extentRead);
    stream->Release();

    // A huge claim is refused the same way, before any allocation.
    for (int i = 0; i < 4; ++i)
        bytes[size_t(12 + i)] = uint8_t(0x7FFFFFF0u >> (8 * i));
    EXPECT_EQ(MKStreamErrorEnd, Load(bytes, loaded, load));

    // A stream that ends inside the fields after the movie.
    Bytes cut = SavedSample(movie, ControlExtent{3, 4});
    cut.resize(cut.size() - 10);
    EXPECT_EQ(MKStreamErrorEnd, Load(cut, loaded, load));
    EXPECT_FALSE(load.extentRead);
}

TEST(SwfHeaderReader, CasesOfTheHeader)
{
    struct Case {
        const char* name;
        Bytes file;
        bool ok;
        int width, height, frames;
        float rate;
    };
    Bytes broken = SwfFile(true, 11000, 8000, 0x0C00, 25);
    for (size_t i = 10; i < broken.size(); ++i)
        broken[i] ^= 0x5A;
    Bytes shortFile = SwfFile(false, 11000, 8000, 0x0C00, 25);
    shortFile[4] = 20;
    shortFile[5] = shortFile[6] = shortFile[7] = 0;
    Bytes unsigned_ = SwfFile(false, 11000, 8000, 0x0C00, 25);
    unsigned_[1] = 'X';
    const Case cases[] = {
        {"plain", SwfFile(false, 11000, 8000, 0x0C00, 25), true, 550, 400, 25, 12.0f},
        {"compressed", SwfFile(true, 11000, 8000, 0x1880, 300), true, 550, 400, 300, 24.5f},
        {"broken zlib", broken, false, 0, 0, 0, 0},
        {"length 20", shortFile, false, 0, 0, 0, 0},
        {"zero width", SwfFile(false, 0, 8000, 0x0C00, 25), false, 0, 0, 0, 0},
        {"zero height", SwfFile(false, 11000, 10, 0x0C00, 25), false, 0, 0, 0, 0},
        {"signature", unsigned_, false, 0, 0, 0, 0},
        {"seven bytes", Bytes{'F', 'W', 'S', 6, 100, 0, 0}, false, 0, 0, 0, 0},
        {"ends in the rectangle", Bytes{'F', 'W', 'S', 6, 100, 0, 0, 0, 0x80}, false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        MKMemInStream input(c.file.data(), int(c.file.size()));
        SwfHeaderInfo header;
        EXPECT_EQ(c.ok, ReadSwfHeader(input, header)) << c.name;
        EXPECT_EQ(c.width, header.width) << c.name;
        EXPECT_EQ(c.height, header.height) << c.name;
        EXPECT_EQ(c.frames, header.frameCount) << c.name;
        EXPECT_FLOAT_EQ(c.rate, header.frameRate) << c.name;
    }

    // A movie whose header is refused still loads; its header fields are zero.
    Bytes record = SavedSample(broken, ControlExtent{3, 4});
    MovieProperties loaded;
    ControlRecordLoad load;
    ASSERT_EQ(0, Load(record, loaded, load));
    EXPECT_EQ(int(broken.size()), loaded.movie.GetCount());
    EXPECT_TRUE(load.hasMovieBytes);
    EXPECT_EQ(0, load.header.width);
}

TEST(IStreamAdapters, ErrorsOfTheStreams)
{
    // Reading an empty stream stores the end.
    IStream* stream = StreamOf({});
    MKIStreamInStream input(stream);
    uint8_t byte = 9;
    EXPECT_EQ(-1, input.Read(&byte, 1));
    EXPECT_EQ(0, byte);
    EXPECT_EQ(MKStreamErrorEnd, input.GetError());
    EXPECT_EQ(0, input.Read(&byte, 0));
    stream->Release();

    // A stream opened for reading only refuses writes.
    IStream* readOnly = nullptr;
    wchar_t path[MAX_PATH];
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"cr", 0, path);
    ASSERT_EQ(S_OK, SHCreateStreamOnFileEx(path, STGM_READ, FILE_ATTRIBUTE_NORMAL, FALSE, nullptr, &readOnly));
    MKIStreamOutStream output(readOnly);
    EXPECT_FALSE(output.Write("abc", 3));
    EXPECT_EQ(MKStreamErrorNoTarget, output.GetError());
    EXPECT_FALSE(output.Write("abc", 3));
    EXPECT_TRUE(output.Write("abc", 0));
    readOnly->Release();
    DeleteFileW(path);
}

}  // namespace

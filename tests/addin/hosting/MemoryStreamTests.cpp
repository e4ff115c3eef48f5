#include "addin/hosting/DibSurface.h"
#include "addin/hosting/MemoryMoniker.h"
#include "addin/hosting/MemoryStream.h"
#include "fixtures/ComScope.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes U32(uint32_t value)
{
    return {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A picture of width x height pixels given as 0xAARRGGBB, top row first,
// stored bottom-up as a DIB section keeps it.
struct Picture {
    Picture(int width, int height, const std::vector<uint32_t>& pixels) : memory(pixels.size())
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                memory[size_t(height - 1 - y) * width + x] = pixels[size_t(y) * width + x];
        buffer = PixelBuffer(reinterpret_cast<uint8_t*>(memory.data()), width, height, width * 4, true, 4);
    }
    std::vector<uint32_t> memory;
    PixelBuffer buffer;
};

// Reads the stream in reads of the given sizes (the last repeated) until it
// reports the end; every answer must be S_OK until then.
Bytes ReadAll(IStream* stream, std::vector<ULONG> sizes)
{
    Bytes all;
    for (size_t i = 0;; ++i) {
        const ULONG size = sizes[i < sizes.size() ? i : sizes.size() - 1];
        Bytes chunk(size);
        ULONG read = 12345;
        const HRESULT hr = stream->Read(chunk.data(), size, &read);
        if (hr == S_FALSE) {
            EXPECT_EQ(0u, read);
            return all;
        }
        EXPECT_EQ(S_OK, hr);
        EXPECT_GT(read, 0u);
        EXPECT_LE(read, size);
        if (hr != S_OK || read == 0)
            return all;
        all.insert(all.end(), chunk.begin(), chunk.begin() + read);
    }
}

IStream* MakeStream(const PixelBuffer& picture)
{
    MemoryStream* stream = MemoryStream::Create(picture);
    if (stream)
        stream->AddRef();
    return stream;
}

TEST(MemoryStream, OneColourPictureIsTwelveBytes)
{
    Picture picture(3, 2, std::vector<uint32_t>(6, 0x80123456));
    MemoryStream* made = MemoryStream::Create(picture.buffer);
    ASSERT_NE(nullptr, made);
    made->AddRef();
    EXPECT_EQ(12u, made->GetSize());
    EXPECT_EQ(Join({U32(0x4845A3C8), U32(1), U32(0x80123456)}), ReadAll(made, {100}));
    uint8_t byte = 0;
    ULONG read = 7;
    EXPECT_EQ(S_FALSE, made->Read(&byte, 1, &read));
    EXPECT_EQ(0u, read);
    made->Release();
}

TEST(MemoryStream, TwoByTwoPictureGivesHeaderThenRowsFromTheTopAsArgb)
{
    Picture picture(2, 2, {0xFF112233, 0x80445566, 0x01778899, 0x00AABBCC});
    IStream* stream = MakeStream(picture.buffer);
    ASSERT_NE(nullptr, stream);
    const Bytes golden = {0xC8, 0xA3, 0x45, 0x48, 0, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0,
                          0xFF, 0x11, 0x22, 0x33, 0x80, 0x44, 0x55, 0x66,
                          0x01, 0x77, 0x88, 0x99, 0x00, 0xAA, 0xBB, 0xCC};
    EXPECT_EQ(golden, ReadAll(stream, {1000}));
    EXPECT_EQ(32u, static_cast<MemoryStream*>(stream)->GetSize());
    stream->Release();
}

TEST(MemoryStream, HeaderIsDeliveredWholeOrNotAtAll)
{
    Picture picture(5, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    IStream* stream = MakeStream(picture.buffer);
    ASSERT_NE(nullptr, stream);
    uint8_t buffer[100] = {};
    ULONG read = 99;
    EXPECT_EQ(E_FAIL, stream->Read(buffer, 8, &read));
    EXPECT_EQ(0u, read);
    EXPECT_EQ(E_FAIL, stream->Read(nullptr, 100, &read));
    EXPECT_EQ(S_OK, stream->Read(buffer, 100, &read));
    ASSERT_EQ(76u, read);
    EXPECT_EQ(Join({U32(0x4845A3C8), U32(0), U32(5), U32(3)}), Bytes(buffer, buffer + 16));
    // The first pixel of the top row: 0x00000001 as alpha, red, green, blue.
    EXPECT_EQ(Bytes({0, 0, 0, 1}), Bytes(buffer + 16, buffer + 20));
    EXPECT_EQ(S_FALSE, stream->Read(buffer, 100, &read));
    stream->Release();
}

TEST(MemoryStream, ReadsOfAnySizeSplitRowsWithoutLosingBytes)
{
    std::vector<uint32_t> pixels;
    for (uint32_t i = 0; i < 7 * 4; ++i)
        pixels.push_back(0x01020304u * (i + 1));
    Picture picture(7, 4, pixels);
    IStream* whole = MakeStream(picture.buffer);
    ASSERT_NE(nullptr, whole);
    const Bytes golden = ReadAll(whole, {4096});
    whole->Release();
    ASSERT_EQ(16u + 7 * 4 * 4, golden.size());
    // The last row of the picture (its bottom) ends the data.
    EXPECT_EQ(Bytes({0x1C, 0x38, 0x54, 0x70}), Bytes(golden.end() - 4, golden.end()));

    for (const std::vector<ULONG>& sizes : std::vector<std::vector<ULONG>>{{16, 1}, {17, 3}, {16, 27, 5}, {45, 13}}) {
        IStream* stream = MakeStream(picture.buffer);
        ASSERT_NE(nullptr, stream);
        EXPECT_EQ(golden, ReadAll(stream, sizes)) << sizes[0] << "," << sizes[1];
        stream->Release();
    }
}

TEST(MemoryStream, ReadAfterTheBackgroundWasRecapturedGivesTheFirstCapture)
{
    DibSurface* surface = DibSurface::Create(nullptr, 2, 1);
    ASSERT_NE(nullptr, surface);
    surface->Fill(RECT{0, 0, 1, 1}, 0x10, 0x20, 0x30, 0xFF);
    surface->Fill(RECT{1, 0, 2, 1}, 0x40, 0x50, 0x60, 0xFF);
    IStream* stream = MakeStream(surface->GetPixelBuffer());
    ASSERT_NE(nullptr, stream);
    // The node captures again (and then drops its surface) before the movie reads.
    surface->FillAll(0, 0, 0, 0);
    delete surface;
    const Bytes golden = Join({U32(0x4845A3C8), U32(0), U32(2), U32(1), {0xFF, 0x10, 0x20, 0x30}, {0xFF, 0x40, 0x50, 0x60}});
    EXPECT_EQ(golden, ReadAll(stream, {20, 1}));
    stream->Release();
}

TEST(MemoryStream, OffersOnlyReading)
{
    Picture picture(1, 1, {0xFF000000});
    IStream* stream = MakeStream(picture.buffer);
    ASSERT_NE(nullptr, stream);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(S_OK, stream->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    unknown->Release();
    void* other = &other;
    EXPECT_EQ(E_NOINTERFACE, stream->QueryInterface(IID_IStorage, &other));
    EXPECT_EQ(nullptr, other);
    ULONG written = 0;
    EXPECT_EQ(E_NOTIMPL, stream->Write("x", 1, &written));
    EXPECT_EQ(E_NOTIMPL, stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr));
    STATSTG stat = {};
    EXPECT_EQ(E_NOTIMPL, stream->Stat(&stat, STATFLAG_NONAME));
    EXPECT_EQ(E_NOTIMPL, stream->Clone(nullptr));
    stream->Release();
    // Only 32-bit pictures can be served.
    PixelBuffer rgb;
    ASSERT_TRUE(rgb.Allocate(2, 2, 3));
    EXPECT_EQ(nullptr, MemoryStream::Create(rgb));
    EXPECT_EQ(nullptr, MemoryStream::Create(PixelBuffer()));
}

TEST(MemoryMoniker, HasOnlyItsDisplayName)
{
    ComScope com;
    IMoniker* moniker = new MemoryMoniker(MKString(L"C:\\"));
    moniker->AddRef();
    LPOLESTR name = nullptr;
    ASSERT_EQ(S_OK, moniker->GetDisplayName(nullptr, nullptr, &name));
    ASSERT_NE(nullptr, name);
    EXPECT_EQ(std::wstring(L"C:\\"), name);
    EXPECT_EQ(3u, wcslen(name));
    CoTaskMemFree(name);
    EXPECT_EQ(E_POINTER, moniker->GetDisplayName(nullptr, nullptr, nullptr));

    IBindCtx* context = nullptr;
    ASSERT_EQ(S_OK, CreateBindCtx(0, &context));
    void* object = nullptr;
    EXPECT_EQ(E_NOTIMPL, moniker->BindToStorage(context, nullptr, IID_IStream, &object));
    EXPECT_EQ(E_NOTIMPL, moniker->BindToObject(context, nullptr, IID_IUnknown, &object));
    context->Release();

    for (const IID* iid : {&IID_IUnknown, &IID_IMoniker, &IID_IPersistStream, &IID_IPersist}) {
        IUnknown* same = nullptr;
        EXPECT_EQ(S_OK, moniker->QueryInterface(*iid, reinterpret_cast<void**>(&same)));
        EXPECT_EQ(static_cast<void*>(moniker), static_cast<void*>(same));
        same->Release();
    }
    IUnknown* none = reinterpret_cast<IUnknown*>(&none);
    EXPECT_EQ(E_NOINTERFACE, moniker->QueryInterface(IID_IStream, reinterpret_cast<void**>(&none)));
    EXPECT_EQ(nullptr, none);
    EXPECT_EQ(E_POINTER, moniker->QueryInterface(IID_IMoniker, nullptr));
    EXPECT_EQ(0u, moniker->Release());
}

}  // namespace

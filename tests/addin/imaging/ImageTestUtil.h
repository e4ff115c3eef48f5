#pragma once
#include "addin/imaging/RasterImage.h"
#include "base/MKRefHolder.h"
#include "tests/fixtures/Fixtures.h"

#include <stdint.h>
#include <stdio.h>
#include <string>
#include <vector>

// A reference holder that also dereferences.
class ImageRef : public MKRefHolder<RasterImage> {
public:
    RasterImage& operator*() const { return *Get(); }
};

// Takes over a new image's reference.
inline ImageRef Own(RasterImage* image)
{
    ImageRef ref;
    ref.Attach(image);
    return ref;
}

// An image of the type whose samples come from sample(x, y-from-top, channel).
template <typename F>
ImageRef MakeImage(PixelType type, int width, int height, F sample)
{
    ImageRef image = Own(CreateRasterImage(type, width, height));
    if (!image)
        return image;
    int bpp = image->GetBytesPerPixel();
    for (int y = 0; y < height; ++y) {
        uint8_t* row = image->GetTopRow(y);
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < bpp; ++c)
                row[x * bpp + c] = uint8_t(sample(x, y, c));
    }
    return image;
}

// The samples of an image, top row first, without padding.
inline std::vector<uint8_t> TopDownSamples(const RasterImage& image)
{
    std::vector<uint8_t> out;
    int n = image.GetWidth() * image.GetBytesPerPixel();
    for (int y = 0; y < image.GetHeight(); ++y) {
        const uint8_t* row = image.GetTopRow(y);
        out.insert(out.end(), row, row + n);
    }
    return out;
}

// Deterministic noise for test pictures.
inline uint32_t Noise(uint32_t x, uint32_t y, uint32_t c)
{
    uint32_t h = x * 73856093u ^ y * 19349663u ^ c * 83492791u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    return h ^ (h >> 15);
}

// The whole file, or nothing when it cannot be read.
std::vector<uint8_t> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);

// A file of the image fixtures (build/fixtures/imaging).
std::wstring ImageFixture(const std::wstring& name);

// Every pixel as R, G, B, A, top row first: gray as (g, g, g), alpha-only as
// white, indexed through the palette as its palette type says.
std::vector<uint8_t> ToRgbaTopDown(const RasterImage& image);

// Bytes written to a file of a fresh scratch folder and opened for reading;
// closed and removed by the destructor.
class BytesFile {
public:
    explicit BytesFile(const std::vector<uint8_t>& bytes, const wchar_t* name = L"image.bin");
    ~BytesFile();
    BytesFile(const BytesFile&) = delete;
    BytesFile& operator=(const BytesFile&) = delete;

    FILE* Get() const { return m_file; }
    const std::wstring& Path() const { return m_path; }

private:
    ScratchFolder m_folder;
    std::wstring m_path;
    FILE* m_file;
};

// Files made by ImageMagick decode to the pixels ImageMagick reads from them.
#include "ImageTestUtil.h"
#include "addin/imaging/BmpReader.h"
#include "addin/imaging/GifReader.h"
#include "addin/imaging/IndexedImage.h"
#include "addin/imaging/JpegCodec.h"
#include "addin/imaging/PngCodec.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

// How the reference is read and compared.
enum class Reference {
    Exact,     // NAME.rgba, every sample equal
    HighByte,  // NAME.rgba16: our samples are the high bytes of the 16-bit ones
    Lossy,     // NAME.rgba within the JPEG tolerance
    Cmyk,      // NAME.cmyk inks turned to RGB as the decoder does, within the tolerance
    Bits565,   // NAME.rgba: the 5, 6 and 5 bits a 16-bit pixel holds
    Bits555,   // NAME.rgba: the 5 bits of each channel
};

struct DecodeCase {
    const wchar_t* file;
    PixelType type;
    PixelType paletteType;  // None unless indexed
    Reference reference;
};

// ImageMagick's libjpeg and ours agree exactly on these files; one step
// leaves room for another build's inverse DCT rounding.
const int kJpegTolerance = 1;

RasterImage* DecodeFile(const std::wstring& name)
{
    FILE* file = _wfopen(ImageFixture(name).c_str(), L"rb");
    if (!file)
        return nullptr;
    RasterImage* image = nullptr;
    std::wstring ext = name.substr(name.rfind(L'.'));
    if (ext == L".png")
        image = PngDecode(file);
    else if (ext == L".jpg")
        image = JpegDecode(file, nullptr, nullptr);
    else if (ext == L".bmp")
        image = BmpDecode(file);
    else
        image = GifLoadFirstFrame(file);
    fclose(file);
    return image;
}

std::vector<uint8_t> ExpectedPixels(const DecodeCase& c)
{
    std::wstring base(c.file);
    switch (c.reference) {
    case Reference::HighByte: {
        std::vector<uint8_t> wide = ReadBytes(ImageFixture(base + L".rgba16")), out;
        for (size_t i = 1; i < wide.size(); i += 2)  // little-endian samples
            out.push_back(wide[i]);
        return out;
    }
    case Reference::Cmyk: {
        std::vector<uint8_t> inks = ReadBytes(ImageFixture(base + L".cmyk")), out;
        for (size_t i = 0; i + 3 < inks.size(); i += 4) {
            // The file stores 255 - ink (Adobe's inverted CMYK); the decoder
            // gives max(0, stored - (255 - stored black)).
            int k = 255 - inks[i + 3];
            for (int ch = 0; ch < 3; ++ch) {
                int v = (255 - inks[i + ch]) - (255 - k);
                out.push_back(uint8_t(v < 0 ? 0 : v));
            }
            out.push_back(255);
        }
        return out;
    }
    default:
        return ReadBytes(ImageFixture(base + L".rgba"));
    }
}

// Whether one decoded sample matches its reference under the case's rule.
bool SampleMatches(Reference reference, size_t index, int actual, int expected)
{
    int channel = int(index % 4);
    switch (reference) {
    case Reference::Lossy:
    case Reference::Cmyk:
        return abs(actual - expected) <= kJpegTolerance;
    case Reference::Bits565:
    case Reference::Bits555: {
        int mask = channel == 3 ? 0xFF : (reference == Reference::Bits565 && channel == 1 ? 0xFC : 0xF8);
        return actual == (expected & mask);
    }
    default:
        return actual == expected;
    }
}

class DecodeFixture : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeFixture, MatchesImageMagick)
{
    const DecodeCase& c = GetParam();
    ImageRef image = Own(DecodeFile(c.file));
    ASSERT_TRUE(image) << "decoding failed";
    EXPECT_EQ(c.type, image->GetPixelType());
    if (c.type == PixelType::Indexed) {
        ASSERT_TRUE(image->AsIndexed());
        EXPECT_EQ(c.paletteType, image->AsIndexed()->GetPaletteType());
    }
    EXPECT_EQ(37, image->GetWidth());
    EXPECT_EQ(29, image->GetHeight());
    std::vector<uint8_t> expected = ExpectedPixels(c);
    std::vector<uint8_t> actual = ToRgbaTopDown(*image);
    ASSERT_EQ(expected.size(), actual.size()) << "reference missing or of another size";
    int mismatches = 0;
    for (size_t i = 0; i < actual.size(); ++i) {
        if (!SampleMatches(c.reference, i, actual[i], expected[i]) && ++mismatches <= 5) {
            ADD_FAILURE() << "pixel " << i / 4 % 37 << "," << i / 4 / 37 << " channel " << i % 4 << ": " << int(actual[i])
                          << " vs " << int(expected[i]);
        }
    }
    EXPECT_EQ(0, mismatches);
}

const DecodeCase kCases[] = {
    {L"png_gray8.png", PixelType::Gray, PixelType::None, Reference::Exact},
    {L"png_gray16.png", PixelType::Gray, PixelType::None, Reference::HighByte},
    {L"png_gray4.png", PixelType::Gray, PixelType::None, Reference::Exact},
    {L"png_gray1.png", PixelType::Gray, PixelType::None, Reference::Exact},
    {L"png_gray_trns.png", PixelType::GrayAlpha, PixelType::None, Reference::Exact},
    {L"png_rgb8.png", PixelType::Rgb, PixelType::None, Reference::Exact},
    {L"png_rgb16.png", PixelType::Rgb, PixelType::None, Reference::HighByte},
    {L"png_rgb_trns.png", PixelType::Rgba, PixelType::None, Reference::HighByte},
    {L"png_pal8.png", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"png_pal_trns.png", PixelType::Indexed, PixelType::Rgba, Reference::Exact},
    {L"png_pal1.png", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"png_ga16.png", PixelType::GrayAlpha, PixelType::None, Reference::HighByte},
    {L"png_rgba8.png", PixelType::Rgba, PixelType::None, Reference::Exact},
    {L"png_rgba16.png", PixelType::Rgba, PixelType::None, Reference::HighByte},
    {L"png_interlaced.png", PixelType::Rgba, PixelType::None, Reference::Exact},
    {L"jpg_rgb.jpg", PixelType::Rgb, PixelType::None, Reference::Lossy},
    {L"jpg_gray.jpg", PixelType::Gray, PixelType::None, Reference::Lossy},
    {L"jpg_cmyk.jpg", PixelType::Rgb, PixelType::None, Reference::Cmyk},
    {L"jpg_progressive.jpg", PixelType::Rgb, PixelType::None, Reference::Lossy},
    {L"bmp_1.bmp", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"bmp_4.bmp", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"bmp_8.bmp", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"bmp_rle8.bmp", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"bmp_rle8_delta.bmp", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"bmp_rle4.bmp", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"bmp_core8.bmp", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"bmp_topdown8.bmp", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"bmp_565.bmp", PixelType::Rgb, PixelType::None, Reference::Bits565},
    {L"bmp_555.bmp", PixelType::Rgb, PixelType::None, Reference::Bits555},
    {L"bmp_565_info.bmp", PixelType::Rgb, PixelType::None, Reference::Bits565},
    {L"bmp_555_info.bmp", PixelType::Rgb, PixelType::None, Reference::Bits555},
    {L"bmp_24.bmp", PixelType::Rgb, PixelType::None, Reference::Exact},
    {L"bmp_topdown24.bmp", PixelType::Rgb, PixelType::None, Reference::Exact},
    {L"bmp_32a.bmp", PixelType::Rgba, PixelType::None, Reference::Exact},
    {L"bmp_32rgb.bmp", PixelType::Rgba, PixelType::None, Reference::Exact},
    {L"bmp_32rgb_alpha.bmp", PixelType::Rgba, PixelType::None, Reference::Exact},
    {L"bmp_32rgb_zero.bmp", PixelType::Rgba, PixelType::None, Reference::Exact},
    {L"gif_plain.gif", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"gif_interlaced.gif", PixelType::Indexed, PixelType::Rgb, Reference::Exact},
    {L"gif_transparent.gif", PixelType::Indexed, PixelType::Rgba, Reference::Exact},
};

std::string CaseName(const testing::TestParamInfo<DecodeCase>& info)
{
    std::string name;
    for (const wchar_t* p = info.param.file; *p; ++p)
        name += isalnum(*p) ? char(*p) : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(ImageMagickFiles, DecodeFixture, testing::ValuesIn(kCases), CaseName);

}  // namespace

// Writes PNG and JPEG files with our encoders for ImageMagick to read back
// after this executable ran (test imaging_readback, check_written_images.py).
#include "ImageTestUtil.h"
#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/IndexedImage.h"
#include "addin/imaging/JpegCodec.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

struct Written {
    const wchar_t* name;
    ImageRef image;
    int tolerance;  // per sample, against what we decode from the file ourselves
};

ImageRef Indexed()
{
    ImageRef image = MakeImage(PixelType::Indexed, 31, 17, [](int x, int y, int) { return (x + y * 3) % 6; });
    const uint8_t entries[] = {0, 0, 0, 255, 200, 10, 10, 128, 10, 200, 10, 255,
                               10, 10, 200, 0, 90, 90, 90, 255, 250, 250, 0, 30};
    image->AsIndexed()->SetPaletteRgba(6, entries);
    return image;
}

TEST(WrittenFiles, ForImageMagick)
{
    std::wstring folder = ImageFixture(L"written");
    CreateDirectoryW(folder.c_str(), nullptr);
    // No manifest from an earlier run may vouch for files this run did not write.
    DeleteFileW((folder + L"\\manifest.txt").c_str());
    auto gradient = [](int x, int y, int c) { return (x * 7 + y * 11 + c * 60) % 256; };
    Written files[] = {
        {L"ours_rgb.png", MakeImage(PixelType::Rgb, 31, 17, gradient), 0},
        {L"ours_rgba.png", MakeImage(PixelType::Rgba, 31, 17, gradient), 0},
        {L"ours_gray.png", MakeImage(PixelType::Gray, 31, 17, gradient), 0},
        {L"ours_grayalpha.png", MakeImage(PixelType::GrayAlpha, 31, 17, gradient), 0},
        {L"ours_indexed.png", Indexed(), 0},
        {L"ours_rgb.jpg", MakeImage(PixelType::Rgb, 31, 17, gradient), 1},
        {L"ours_gray.jpg", MakeImage(PixelType::Gray, 31, 17, gradient), 1},
        {L"ours_progressive.jpg", MakeImage(PixelType::Rgb, 31, 17, gradient), 1},
    };
    std::string manifest;
    for (const Written& w : files) {
        std::wstring path = folder + L"\\" + w.name;
        std::wstring name(w.name);
        bool jpeg = name.find(L".jpg") != std::wstring::npos;
        std::vector<uint8_t> expected;
        if (jpeg) {
            bool progressive = name.find(L"progressive") != std::wstring::npos;
            ASSERT_TRUE(SaveJpegFile(w.image.Get(), path.c_str(), 90, progressive, false, nullptr, nullptr));
            ImageRef back = Own(LoadImageFile(path.c_str()));
            ASSERT_TRUE(back);
            expected = ToRgbaTopDown(*back);
        } else {
            ASSERT_TRUE(SavePngFile(w.image.Get(), path.c_str(), 9));
            expected = ToRgbaTopDown(*w.image);
        }
        ASSERT_TRUE(WriteBytes(path + L".expect", expected));
        manifest += std::string(name.begin(), name.end()) + " " + std::to_string(w.tolerance) + "\n";
    }
    ASSERT_TRUE(WriteBytes(folder + L"\\manifest.txt", std::vector<uint8_t>(manifest.begin(), manifest.end())));
}

}  // namespace

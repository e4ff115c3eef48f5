#include "ImageTestUtil.h"
#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/IndexedImage.h"
#include "addin/imaging/JpegCodec.h"
#include "base/MKFile.h"

#include <gtest/gtest.h>
#include <time.h>

namespace {

MKString Mk(const std::wstring& text)
{
    return MKString(text.c_str());
}

TEST(ImageFiles, TypeByExtension)
{
    struct Case {
        const wchar_t* path;
        ImageFileType type;
    } cases[] = {
        {L"C:\\pics\\PHOTO.JPEG", ImageFileType::Jpeg}, {L"a.Jfif", ImageFileType::Jpeg},
        {L"x.jpe", ImageFileType::Jpeg},                {L"x.JIF", ImageFileType::Jpeg},
        {L"x.jpg", ImageFileType::Jpeg},                {L"x.bmp", ImageFileType::Bmp},
        {L"x.RLE", ImageFileType::Bmp},                 {L"x.dib", ImageFileType::Bmp},
        {L"x.gif", ImageFileType::Gif},                 {L"d:/a/b.PNG", ImageFileType::Png},
        {L"a.tif", ImageFileType::None},                {L"C:\\pics\\photo", ImageFileType::None},
        {L"C:\\x.png\\photo", ImageFileType::None},     {L".png", ImageFileType::None},
        {L"", ImageFileType::None},                     {L"x.png.txt", ImageFileType::None},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.type, ImageFileTypeOf(c.path)) << c.path;
}

TEST(ImageFiles, SizesFromHeaders)
{
    for (const wchar_t* name : {L"png_rgba8.png", L"jpg_cmyk.jpg", L"bmp_rle4.bmp", L"bmp_topdown24.bmp",
                                L"bmp_core8.bmp", L"gif_interlaced.gif"}) {
        int width = 0, height = 0;
        EXPECT_TRUE(ReadImageFileSize(Mk(ImageFixture(name)), &width, &height)) << name;
        EXPECT_EQ(37, width) << name;
        EXPECT_EQ(29, height) << name;
    }
    int width = 0, height = 0;
    EXPECT_FALSE(ReadImageFileSize(L"C:\\no\\such\\file.png", &width, &height));
    EXPECT_FALSE(ReadImageFileSize(Mk(ImageFixture(L"src_rgb.png.tif")), &width, &height));
}

TEST(ImageFiles, LoadRecordsWhereTheImageCameFrom)
{
    ScratchFolder folder;
    std::wstring path = folder.File(L"Photo.JPG");
    ASSERT_TRUE(WriteBytes(path, ReadBytes(ImageFixture(L"jpg_rgb.jpg"))));
    ImageRef image = Own(LoadImageFile(Mk(path)));
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->GetName().EqualsText(L"Photo.JPG"));
    EXPECT_TRUE(image->GetPath().EqualsText(path.c_str()));
    EXPECT_EQ(ImageFileType::Jpeg, image->GetFileType());
    EXPECT_EQ(MKFileModifiedTime(Mk(path)), image->GetModifiedTime());
    EXPECT_LT(llabs(int64_t(time(nullptr)) - image->GetModifiedTime()), 600);

    ImageRef copy = Own(image->Clone());
    EXPECT_TRUE(copy->GetName().IsEmpty());
    EXPECT_EQ(0, copy->GetModifiedTime());
    EXPECT_EQ(ImageFileType::Jpeg, copy->GetFileType());

    EXPECT_EQ(nullptr, LoadImageFile(Mk(folder.File(L"missing.png"))));
    ASSERT_TRUE(WriteBytes(folder.File(L"a.tif"), ReadBytes(ImageFixture(L"png_rgb8.png"))));
    EXPECT_EQ(nullptr, LoadImageFile(Mk(folder.File(L"a.tif"))));
    ASSERT_TRUE(WriteBytes(folder.File(L"wrong.gif"), ReadBytes(ImageFixture(L"png_rgb8.png"))));
    EXPECT_EQ(nullptr, LoadImageFile(Mk(folder.File(L"wrong.gif"))));
}

TEST(ImageFiles, LoadTakesTheSmallestPixelType)
{
    ScratchFolder folder;
    struct Case {
        const wchar_t* name;
        ImageRef image;
        PixelType loaded;
    } cases[] = {
        {L"gray.png", MakeImage(PixelType::Rgb, 5, 4, [](int x, int y, int) { return x * 40 + y; }), PixelType::Gray},
        {L"grayalpha.png", MakeImage(PixelType::Rgba, 5, 4, [](int x, int, int c) { return c == 3 ? 100 : x * 9; }),
         PixelType::GrayAlpha},
        {L"opaque.png", MakeImage(PixelType::Rgba, 5, 4, [](int x, int, int c) { return c == 3 ? 255 : x * 9 + c; }),
         PixelType::Rgb},
        {L"opaquegray.png",
         MakeImage(PixelType::Rgba, 5, 4, [](int x, int, int c) { return c == 3 ? 255 : x * 9; }), PixelType::Gray},
        {L"colour.png", MakeImage(PixelType::Rgb, 5, 4, [](int x, int, int c) { return x * 9 + c; }),
         PixelType::Rgb},
    };
    for (Case& c : cases) {
        std::wstring path = folder.File(c.name);
        ASSERT_TRUE(SavePngFile(c.image.Get(), Mk(path), 6));
        ImageRef loaded = Own(LoadImageFile(Mk(path)));
        ASSERT_TRUE(loaded) << c.name;
        EXPECT_EQ(c.loaded, loaded->GetPixelType()) << c.name;
        EXPECT_EQ(ToRgbaTopDown(*c.image), ToRgbaTopDown(*loaded)) << c.name;
        EXPECT_TRUE(loaded->GetName().EqualsText(c.name));
    }

    // A palette file: unused entries dropped, transparency kept.
    ImageRef palette = Own(LoadImageFile(Mk(ImageFixture(L"png_pal_trns.png"))));
    ASSERT_TRUE(palette);
    ASSERT_TRUE(palette->AsIndexed());
    EXPECT_EQ(PixelType::Rgba, palette->AsIndexed()->GetPaletteType());
    EXPECT_EQ(ReadBytes(ImageFixture(L"png_pal_trns.png.rgba")), ToRgbaTopDown(*palette));
    int highest = 0;
    for (uint8_t index : TopDownSamples(*palette))
        highest = index > highest ? index : highest;
    EXPECT_EQ(highest + 1, palette->AsIndexed()->GetPaletteCount());

    ImageRef gif = Own(LoadImageFile(Mk(ImageFixture(L"gif_anim.gif"))));
    ASSERT_TRUE(gif);
    EXPECT_EQ(20, gif->GetWidth());
    EXPECT_EQ(ImageFileType::Gif, gif->GetFileType());
    // A 32-bit file whose fourth bytes are all 0 is opaque: the smallest
    // type is Rgb.
    ImageRef bmp = Own(LoadImageFile(Mk(ImageFixture(L"bmp_32rgb_zero.bmp"))));
    ASSERT_TRUE(bmp);
    EXPECT_EQ(PixelType::Rgb, bmp->GetPixelType());
}

TEST(ImageFiles, SavingReplacesWholeFilesOnly)
{
    ScratchFolder folder;
    std::wstring png = folder.File(L"keep.png");
    ASSERT_TRUE(WriteBytes(png, {1, 2, 3}));
    ImageRef invalid = Own(CreateRasterImage(PixelType::Rgb, 1, 1));
    invalid->SetSize(0, 0);
    EXPECT_FALSE(SavePngFile(invalid.Get(), Mk(png), 6));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), ReadBytes(png));

    ImageRef picture = MakeImage(PixelType::Rgb, 8, 8, [](int x, int y, int c) { return x * 30 + y + c; });
    EXPECT_TRUE(SavePngFile(picture.Get(), Mk(png), 12));
    ImageRef back = Own(LoadImageFile(Mk(png)));
    ASSERT_TRUE(back);
    EXPECT_EQ(TopDownSamples(*picture), TopDownSamples(*back));

    // JPEG files take RGB and gray pictures only.
    ImageRef rgba = MakeImage(PixelType::Rgba, 8, 8, [](int x, int, int) { return x; });
    std::wstring jpeg = folder.File(L"new.jpg");
    EXPECT_FALSE(SaveJpegFile(rgba.Get(), Mk(jpeg), 90, false, false, nullptr, nullptr));
    EXPECT_TRUE(ReadBytes(jpeg).empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(jpeg.c_str()));
    EXPECT_TRUE(SaveJpegFile(picture.Get(), Mk(jpeg), 90, true, false, nullptr, nullptr));
    ImageRef jpegBack = Own(LoadImageFile(Mk(jpeg)));
    ASSERT_TRUE(jpegBack);
    EXPECT_EQ(8, jpegBack->GetWidth());

    // A cancelled write leaves the earlier file.
    auto cancel = [](void*) { return true; };
    std::vector<uint8_t> before = ReadBytes(jpeg);
    EXPECT_FALSE(SaveJpegFile(picture.Get(), Mk(jpeg), 50, false, false, cancel, nullptr));
    EXPECT_EQ(before, ReadBytes(jpeg));
}

}  // namespace

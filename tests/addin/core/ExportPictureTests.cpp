// Picture export through the kernel host object's ExportPicture: a frame of
// the stand-in Flash control's movie written as PNG or JPEG. The JPEG files
// are read back by ImageMagick after this executable ran (test
// exported_pictures_readback, check_exported_pictures.py).
#include "addin/core/KernelHostObject.h"
#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/RasterImage.h"
#include "fixtures/ComScope.h"
#include "fixtures/Fixtures.h"
#include "tests/standins/controlsupport/ControlRegistration.h"
#include "tests/standins/controlsupport/TextFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class ExportPicture : public ::testing::Test {
protected:
    ExportPicture() : registration(StandInControl::Flash10)
    {
        kernel = new KernelHostObject(nullptr, nullptr);
        movie = folder.File(L"square.swf");
        // A half-transparent red frame, then an opaque blue one.
        EXPECT_TRUE(WriteTextFile(movie, "standin-movie 1\nframe 80FF0000\nframe FF0000FF\n"));
    }
    ~ExportPicture() override { kernel->Release(); }

    std::wstring Export(const std::wstring& output, long frame, long format, long mode = 1, long colour = 0)
    {
        BSTR moviePath = SysAllocString(movie.c_str());
        BSTR outputPath = SysAllocString(output.c_str());
        BSTR message = nullptr;
        EXPECT_EQ(S_OK,
                  kernel->ExportPicture(moviePath, 40, 30, frame, outputPath, format, 90, mode, colour, &message));
        std::wstring text = message ? message : L"";
        SysFreeString(message);
        SysFreeString(outputPath);
        SysFreeString(moviePath);
        return text;
    }

    // R, G, B, A of a pixel of the file as our own reader decodes it (an
    // opaque picture is stored without alpha).
    static void Pixel(const std::wstring& path, int x, int y, uint8_t rgba[4])
    {
        RasterImage* image = LoadImageFile(MKString(path.c_str()));
        ASSERT_NE(nullptr, image);
        const bool alpha = image->GetPixelType() == PixelType::Rgba;
        ASSERT_TRUE(alpha || image->GetPixelType() == PixelType::Rgb);
        const int size = alpha ? 4 : 3;
        const uint8_t* pixel = image->GetTopRow(y) + x * size;
        for (int i = 0; i < 3; ++i)
            rgba[i] = pixel[i];
        rgba[3] = alpha ? pixel[3] : 255;
        image->Release();
    }

    ComScope com;
    ControlRegistration registration;
    ScratchFolder folder;
    std::wstring movie;
    KernelHostObject* kernel = nullptr;
};

TEST_F(ExportPicture, WritesTheHalfTransparentFrameWithItsAlpha)
{
    std::wstring png = folder.File(L"frame.png");
    EXPECT_EQ(L"", Export(png, 0, 1));
    uint8_t rgba[4];
    Pixel(png, 20, 15, rgba);
    EXPECT_NEAR(255, rgba[0], 2);
    EXPECT_EQ(0, rgba[1]);
    EXPECT_NEAR(128, rgba[3], 2);
}

TEST_F(ExportPicture, WritesOpaquePicturesOpaque)
{
    std::wstring png = folder.File(L"opaque.png");
    EXPECT_EQ(L"", Export(png, 1, 1, 2));
    uint8_t rgba[4];
    Pixel(png, 5, 5, rgba);
    EXPECT_EQ(0, rgba[0]);
    EXPECT_EQ(255, rgba[2]);
    EXPECT_EQ(255, rgba[3]);
    // Over an opaque colour: blended there, one draw, opaque.
    std::wstring over = folder.File(L"over.png");
    EXPECT_EQ(L"", Export(over, 0, 1, 3, long(0xFF00FF00)));
    Pixel(over, 5, 5, rgba);
    EXPECT_NEAR(128, rgba[0], 2);
    EXPECT_NEAR(127, rgba[1], 2);
    EXPECT_EQ(255, rgba[3]);
}

TEST_F(ExportPicture, WritesJpegFilesForImageMagick)
{
    std::wstring written = FixturePath(L"exported");
    CreateDirectoryW(written.c_str(), nullptr);
    std::wstring manifest = written + L"\\manifest.txt";
    DeleteFileW(manifest.c_str());
    EXPECT_EQ(L"", Export(written + L"\\frame.jpg", 1, 2));
    FILE* file = _wfopen(manifest.c_str(), L"w");
    ASSERT_NE(nullptr, file);
    fputs("frame.jpg 40 30\n", file);
    fclose(file);
}

TEST_F(ExportPicture, RefusesUnknownFormatsAndUnwritablePaths)
{
    std::wstring unknown = folder.File(L"frame.bmp");
    std::wstring message = Export(unknown, 0, 3);
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(unknown.c_str()));
    std::wstring nowhere = folder.File(L"missing\\frame.png");
    EXPECT_EQ(L"Error writing to output file.", Export(nowhere, 0, 1));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(nowhere.c_str()));
    EXPECT_EQ(L"Error writing to output file.", Export(folder.File(L"missing\\frame.jpg"), 0, 2));
}

}  // namespace

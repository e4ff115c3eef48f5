// The demo's slide show run by the stand-in PowerPoint with the built add-in
// over the demo's installation: the picture of the show window that the demo
// saves shows the Flash movie and the effect movie in their colours over
// their shapes and the image's photograph as ImageMagick resamples it to the
// shape's size, read back from the saved PNG file.
#include "DemoPresentation.h"
#include "DemoShow.h"
#include "PictureMatch.h"
#include "ScratchInstallation.h"

#include "fixtures/ComScope.h"
#include "fixtures/ErrorBoxWatcher.h"
#include "fixtures/Fixtures.h"
#include "fixtures/StandInClr.h"
#include "tests/standins/controlsupport/ControlRegistration.h"

#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/RasterImage.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/ComAddInObject.h"
#include "standins/powerpoint/PowerPointHost.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The picture's pixel at a slide point, 0x00RRGGBB, as read from the file.
DWORD FileColourAt(const RasterImage& image, const ShowPicture& shown, float x, float y)
{
    const float scale = float(shown.slide.right - shown.slide.left) / 720;
    const uint8_t* row = image.GetTopRow(shown.slide.top + int(y * scale));
    const uint8_t* pixel = row + 3 * (shown.slide.left + int(x * scale));
    return DWORD(pixel[0]) << 16 | DWORD(pixel[1]) << 8 | pixel[2];
}

// The saved picture as read back, with the slide where the show put it.
ShowPicture FromFile(const RasterImage& image, const RECT& slide)
{
    ShowPicture picture;
    picture.width = image.GetWidth();
    picture.height = image.GetHeight();
    picture.slide = slide;
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* row = image.GetTopRow(y);
        for (int x = 0; x < picture.width; ++x)
            picture.pixels.push_back(DWORD(row[3 * x]) << 16 | DWORD(row[3 * x + 1]) << 8 | row[3 * x + 2]);
    }
    return picture;
}

bool Near(DWORD colour, COLORREF expected)
{
    return abs(int((colour >> 16) & 0xFF) - GetRValue(expected)) <= 12 &&
           abs(int((colour >> 8) & 0xFF) - GetGValue(expected)) <= 12 &&
           abs(int(colour & 0xFF) - GetBValue(expected)) <= 12;
}

TEST(DemoShow, TheSavedPictureOfTheContentSlideShowsEachContentOverItsShape)
{
    ComScope com;
    ErrorBoxWatcher boxes;
    StandInClr clr;
    ControlRegistration flash(StandInControl::Flash101);
    ASSERT_TRUE(flash.Registered());
    ScratchInstallation install(L"demo");
    ASSERT_EQ(install.Registered(), S_OK);
    ScratchFolder folder;

    standin::PowerPointHost host(L"14.0");
    ShowWindow(host.App().MainWindow(), SW_SHOWNORMAL);
    standin::PresentationObject* presentation = AddDemoPresentation(host.App());
    host.Start();
    ASSERT_TRUE(host.AddIn(L"Vistello.AddIn") && host.AddIn(L"Vistello.AddIn")->IsConnected());

    std::map<int, ShowPicture> pictures;
    const std::string failure = DemoShow::Run(presentation, ShowsDemoSlide, 30000,
                                              [&](int slide, const ShowPicture& picture) { pictures[slide] = picture; });
    EXPECT_EQ(failure, "") << [&] {
        std::string log;
        for (const std::wstring& line : clr.Log())
            log += std::string(line.begin(), line.end()) + "\n";
        return log;
    }();
    EXPECT_TRUE(boxes.Texts().empty());
    host.Shutdown();
    ASSERT_EQ(pictures.size(), kDemoSlideCount);

    const ShowPicture& shown = pictures[kDemoContentSlide];
    const std::wstring file = folder.File(L"show.png");
    ASSERT_TRUE(shown.SavePng(file));
    RasterImage* image = LoadImageFile(MKString(file.c_str()));
    ASSERT_NE(image, nullptr);
    ASSERT_TRUE(ExpandToDirectColor(&image, true));
    ASSERT_EQ(image->GetWidth(), shown.width);
    ASSERT_EQ(image->GetHeight(), shown.height);
    const ShowPicture saved = FromFile(*image, shown.slide);
    for (const DemoContent& content : kDemoContent) {
        SCOPED_TRACE(content.what);
        if (content.shownPicture) {
            // The whole shape against the photograph resampled by ImageMagick
            // to the shape's pixel size; the reference is no flat colour.
            const PictureMatch match = MatchPicture(saved, content.left, content.top, content.width, content.height,
                                                    FixturePath(content.shownPicture));
            ASSERT_EQ(match.failure, "");
            EXPECT_GE(match.referenceSpread, 20);
            EXPECT_TRUE(match.Close()) << match.Describe();
        } else {
            // The centre and near each corner of the shape, inside.
            const float inX = content.width / 10, inY = content.height / 10;
            for (auto [x, y] : {std::pair{content.left + content.width / 2, content.top + content.height / 2},
                                std::pair{content.left + inX, content.top + inY},
                                std::pair{content.left + content.width - inX, content.top + inY},
                                std::pair{content.left + inX, content.top + content.height - inY},
                                std::pair{content.left + content.width - inX, content.top + content.height - inY}})
                EXPECT_TRUE(Near(FileColourAt(*image, shown, x, y), content.colour)) << x << "," << y;
            EXPECT_GE(ShareOfColour(shown, content.left, content.top, content.width, content.height, content.colour),
                      0.9);
        }
        // Just beside the shape, left and below: the slide, white.
        EXPECT_TRUE(Near(FileColourAt(*image, shown, content.left - 6, content.top + content.height / 2),
                         RGB(255, 255, 255)));
        EXPECT_TRUE(Near(FileColourAt(*image, shown, content.left + content.width / 2,
                                      content.top + content.height + 6),
                         RGB(255, 255, 255)));
    }
    image->Release();
}

}  // namespace

#include "DemoShow.h"

#include "fixtures/WindowCapture.h"

#include "addin/imaging/ImageFiles.h"
#include "addin/imaging/RasterImage.h"
#include "standins/powerpoint/PowerPointHost.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"

#include <algorithm>
#include <math.h>
#include <stdlib.h>

namespace {

constexpr float kSlideWidth = 720, kSlideHeight = 540;
// Slides and builds the road goes through at most, against a show that
// never ends.
constexpr int kMostSteps = 64;

HWND MessageWindowOf(HWND pane)
{
    return FindWindowExW(pane, nullptr, L"VistelloMessageWindow", L"VistelloMessageWindow");
}

bool Near(DWORD colour, COLORREF expected)
{
    return abs(int((colour >> 16) & 0xFF) - GetRValue(expected)) <= 12 &&
           abs(int((colour >> 8) & 0xFF) - GetGValue(expected)) <= 12 &&
           abs(int(colour & 0xFF) - GetBValue(expected)) <= 12;
}

}  // namespace

bool PumpUntil(const std::function<bool()>& test, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    while (!test()) {
        if (GetTickCount() - start > milliseconds)
            return false;
        standin::PowerPointHost::Pump(50);
    }
    return true;
}

DWORD ShowPicture::ColourAt(float x, float y) const
{
    const float scale = float(slide.right - slide.left) / kSlideWidth;
    const int px = slide.left + int(x * scale), py = slide.top + int(y * scale);
    if (px < 0 || py < 0 || px >= width || py >= height || x < 0 || y < 0 || x >= kSlideWidth || y >= kSlideHeight)
        return 0xFFFFFFFF;
    return pixels[size_t(py) * size_t(width) + size_t(px)] & 0xFFFFFF;
}

RECT ShowPicture::PixelRect(float left, float top, float width, float height) const
{
    const double scale = double(slide.right - slide.left) / kSlideWidth;
    return RECT{slide.left + int(lround(left * scale)), slide.top + int(lround(top * scale)),
                slide.left + int(lround((left + width) * scale)), slide.top + int(lround((top + height) * scale))};
}

bool ShowPicture::SavePng(const std::wstring& path) const
{
    RasterImage* image = CreateRasterImage(PixelType::Rgb, width, height);
    if (!image)
        return false;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = image->GetTopRow(y);
        for (int x = 0; x < width; ++x) {
            const DWORD pixel = pixels[size_t(y) * size_t(width) + size_t(x)];
            row[3 * x] = uint8_t(pixel >> 16);
            row[3 * x + 1] = uint8_t(pixel >> 8);
            row[3 * x + 2] = uint8_t(pixel);
        }
    }
    bool saved = SavePngFile(image, MKString(path.c_str()), 6);
    image->Release();
    return saved;
}

double ShareOfColour(const ShowPicture& picture, float left, float top, float width, float height, COLORREF colour)
{
    int inside = 0, matching = 0;
    for (float y = top + height / 8; y < top + height * 7 / 8; y += 2) {
        for (float x = left + width / 8; x < left + width * 7 / 8; x += 2) {
            ++inside;
            matching += Near(picture.ColourAt(x, y), colour) ? 1 : 0;
        }
    }
    return inside ? double(matching) / inside : 0;
}

ShowPicture DemoShow::Capture(standin::SlideShowWindowObject* show)
{
    ShowPicture picture;
    picture.pixels = CapturePane(show->Window(), L"demo_show", picture.width, picture.height, true);
    // The pane shows the slide at the largest size that fits, centred.
    RECT pane{};
    GetClientRect(show->Pane(), &pane);
    MapWindowPoints(show->Pane(), show->Window(), reinterpret_cast<POINT*>(&pane), 2);
    const float scale = std::min((pane.right - pane.left) / kSlideWidth, (pane.bottom - pane.top) / kSlideHeight);
    const int slideWidth = int(kSlideWidth * scale), slideHeight = int(kSlideHeight * scale);
    picture.slide.left = pane.left + (pane.right - pane.left - slideWidth) / 2;
    picture.slide.top = pane.top + (pane.bottom - pane.top - slideHeight) / 2;
    picture.slide.right = picture.slide.left + slideWidth;
    picture.slide.bottom = picture.slide.top + slideHeight;
    return picture;
}

std::string DemoShow::Run(standin::PresentationObject* presentation, const Ready& ready, DWORD readyMs,
                          const Shown& shown, const During& during)
{
    PowerPoint::SlideShowWindow* window = nullptr;
    if (FAILED(presentation->Settings()->Run(&window)) || !window)
        return "the slide show did not start";
    // Held to the end: the window object outlives the show it ran.
    auto* show = static_cast<standin::SlideShowWindowObject*>(window);
    HWND messageWindow = nullptr;
    std::string failure;
    if (!PumpUntil([&] { return (messageWindow = MessageWindowOf(show->Pane())) != nullptr; }, 10000))
        failure = "the add-in started no session for the show (no message window in its pane)";
    for (int step = 0; failure.empty() && show->IsRunning(); ++step) {
        if (step == kMostSteps) {
            failure = "the show did not end after " + std::to_string(kMostSteps) + " steps";
            break;
        }
        standin::SlideShowViewObject* view = show->View();
        const int slide = view->Position();
        while (show->IsRunning() && view->ClickIndex() < view->ClickCount()) {
            view->GoNext();
            standin::PowerPointHost::Pump(100);
        }
        ShowPicture picture;
        bool seen = PumpUntil(
            [&] {
                picture = Capture(show);
                return ready(slide, picture);
            },
            readyMs);
        if (!seen) {
            failure = "slide " + std::to_string(slide) + " did not show its content in " +
                      std::to_string(readyMs / 1000) + " s";
            break;
        }
        shown(slide, picture);
        if (during)
            during(slide, show);
        view->GoNext();
        standin::PowerPointHost::Pump(100);
    }
    if (failure.empty() && show->IsRunning())
        failure = "the show did not end";
    if (failure.empty() && !PumpUntil([&] { return !IsWindow(messageWindow); }, 5000))
        failure = "the add-in's session outlived the show (its message window stayed)";
    if (show->IsRunning())
        show->End();
    window->Release();
    return failure;
}

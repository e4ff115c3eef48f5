#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace standin {
class PresentationObject;
class SlideShowWindowObject;
}

// Dispatches PowerPoint's messages until the test holds, for at most the
// time; false when the time ran out first.
bool PumpUntil(const std::function<bool()>& test, DWORD milliseconds);

// A picture of the show window (0x00RRGGBB, top row first) and where the
// slide lies in it.
struct ShowPicture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    // The slide's rectangle in the picture.
    RECT slide{};

    // The colour at a point of the 720 x 540 slide; 0xFFFFFFFF outside.
    DWORD ColourAt(float x, float y) const;
    // A rectangle of the slide (points) in the picture's pixels, its edges on
    // the nearest pixel edges, where the show puts a shape's content.
    RECT PixelRect(float left, float top, float width, float height) const;
    // Written as a PNG file; false when it could not be.
    bool SavePng(const std::wstring& path) const;
};

// The fraction (0 to 1) of the pixels inside the slide rectangle (points,
// an eighth of its size kept off each edge) within a small distance of the
// colour.
double ShareOfColour(const ShowPicture& picture, float left, float top, float width, float height,
                     COLORREF colour);

// One run of a slide show of the presentation in the stand-in PowerPoint
// with the add-in connected, from its first slide to its end: on each slide
// it goes through the builds (clicks) first, waits until `ready` holds for
// the show window's picture (for at most the time given) and hands the last
// picture to `shown`. The show ends by going on past the last slide.
class DemoShow {
public:
    using Ready = std::function<bool(int slide, const ShowPicture&)>;
    using Shown = std::function<void(int slide, const ShowPicture&)>;
    // Run on each slide once its picture was handed on, with the show.
    using During = std::function<void(int slide, standin::SlideShowWindowObject*)>;

    // The failure, or empty when the show ran and ended with the add-in's
    // session gone.
    static std::string Run(standin::PresentationObject* presentation, const Ready& ready, DWORD readyMs,
                           const Shown& shown, const During& during = {});
    // The show window's picture as the screen shows it.
    static ShowPicture Capture(standin::SlideShowWindowObject* show);
};

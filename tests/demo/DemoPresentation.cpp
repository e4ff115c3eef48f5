#include "DemoPresentation.h"

#include "DemoContent.h"
#include "PictureMatch.h"

#include "fixtures/Fixtures.h"
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/TagsObject.h"

#include <string>

namespace {

// The plain shapes of each slide.
const DemoArea kTitle = {"title", 60, 40, 600, 80, RGB(40, 80, 220)};
const DemoArea kHeading = {"heading", 60, 40, 600, 60, RGB(40, 80, 220)};
const DemoArea kBox = {"box", 100, 100, 520, 340, RGB(40, 160, 60)};

void AddBox(standin::SlideObject* slide, const DemoArea& area)
{
    const std::string name = area.what;
    slide->AddShape(PowerPoint::msoAutoShape, std::wstring(name.begin(), name.end()), area.left, area.top, area.width, area.height)
        ->SetFill(true, area.colour);
}

}  // namespace

std::vector<DemoArea> DemoSlideAreas(int slide)
{
    switch (slide) {
    case 1:
        return {kTitle};
    case kDemoContentSlide: {
        std::vector<DemoArea> areas = {kHeading};
        for (const DemoContent& effect : kDemoContent)
            areas.push_back({effect.what, effect.left, effect.top, effect.width, effect.height, effect.colour,
                             effect.shownPicture});
        return areas;
    }
    case 3:
        return {kBox};
    default:
        return {};
    }
}

bool ShowsDemoSlide(int slide, const ShowPicture& picture)
{
    for (const DemoArea& area : DemoSlideAreas(slide)) {
        const bool shown = area.shownPicture
                               ? MatchPicture(picture, area.left, area.top, area.width, area.height,
                                              FixturePath(area.shownPicture))
                                     .Close()
                               : ShareOfColour(picture, area.left, area.top, area.width, area.height, area.colour) >= 0.9;
        if (!shown)
            return false;
    }
    return true;
}

standin::PresentationObject* AddDemoPresentation(standin::ApplicationObject& application)
{
    standin::PresentationObject* presentation = application.AddPresentation(L"Vistello Demo.pptx");
    AddBox(presentation->AddSlide(), kTitle);
    standin::SlideObject* content = presentation->AddSlide();
    AddBox(content, kHeading);
    for (const DemoContent& effect : kDemoContent) {
        standin::ShapeObject* shape = content->AddShape(PowerPoint::msoAutoShape, L"Content", effect.left, effect.top,
                                                        effect.width, effect.height);
        shape->SetFill(true, RGB(128, 128, 128));
        shape->Tags()->Set(L"_VQZ_CT", effect.contentType);
    }
    AddBox(presentation->AddSlide(), kBox);
    return presentation;
}

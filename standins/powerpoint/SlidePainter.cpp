#include "standins/powerpoint/SlidePainter.h"

#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/ShapeObject.h"
#include "standins/powerpoint/SlideObject.h"

#include <algorithm>

namespace standin {

namespace {

struct SlideMapping {
    float scale;
    int left;
    int top;

    RECT Map(float x, float y, float width, float height) const
    {
        return RECT{left + static_cast<int>(x * scale + 0.5f), top + static_cast<int>(y * scale + 0.5f),
                    left + static_cast<int>((x + width) * scale + 0.5f),
                    top + static_cast<int>((y + height) * scale + 0.5f)};
    }
};

void FillColour(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void PaintShapes(HDC dc, ShapeList& shapes, const SlideMapping& mapping)
{
    for (ShapeObject* shape : shapes.Items()) {
        if (!shape->Visible())
            continue;
        if (shape->Type() == PowerPoint::msoGroup) {
            PaintShapes(dc, shape->ShapeItems(), mapping);
            continue;
        }
        RECT rect = mapping.Map(shape->Left(), shape->Top(), shape->Width(), shape->Height());
        if (shape->FillVisible())
            FillColour(dc, rect, shape->FillColor());
        if (shape->LineVisible())
            FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
}

}  // namespace

void PaintSlide(HDC dc, const RECT& area, SlideObject* slide, float slideWidth, float slideHeight, long state)
{
    if (state == PowerPoint::ppSlideShowWhiteScreen) {
        FillColour(dc, area, RGB(255, 255, 255));
        return;
    }
    FillColour(dc, area, RGB(0, 0, 0));
    if (state == PowerPoint::ppSlideShowBlackScreen || !slide || slideWidth <= 0 || slideHeight <= 0)
        return;
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    float scale = std::min(width / slideWidth, height / slideHeight);
    SlideMapping mapping{scale, area.left + static_cast<int>((width - slideWidth * scale) / 2),
                         area.top + static_cast<int>((height - slideHeight * scale) / 2)};
    FillColour(dc, mapping.Map(0, 0, slideWidth, slideHeight), slide->Background());
    PaintShapes(dc, slide->ShapeItems(), mapping);
}

}  // namespace standin

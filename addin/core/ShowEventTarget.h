#pragma once
#include "hostapi/PowerPointInterfaces.h"

// The slide-show controller's side of PowerPoint's application events.
// Arguments are borrowed for the call; the clicked effect may be null.
class ShowEventTarget {
public:
    virtual void OnSlideShowBegin(PowerPoint::SlideShowWindow* window) = 0;
    virtual void OnNextBuild(PowerPoint::SlideShowWindow* window) = 0;
    virtual void OnNextSlide(PowerPoint::SlideShowWindow* window) = 0;
    virtual void OnSlideShowEnd(PowerPoint::Presentation* presentation) = 0;
    virtual void OnNextClick(PowerPoint::SlideShowWindow* window, PowerPoint::Effect* effect) = 0;
    virtual void OnNext(PowerPoint::SlideShowWindow* window) = 0;
    virtual void OnPrevious(PowerPoint::SlideShowWindow* window) = 0;

protected:
    ~ShowEventTarget() = default;
};

#pragma once
#include "hostapi/PowerPointInterfaces.h"

// The plug-in manager's side of PowerPoint's application events: it hands
// them on to the plug-in kernel. Arguments are borrowed for the call. The two
// "before" events may write their cancel answer through the flag.
class PluginEventTarget {
public:
    virtual void ForwardWindowSelectionChange(PowerPoint::Selection* selection) = 0;
    virtual void ForwardWindowBeforeRightClick(PowerPoint::Selection* selection, VARIANT_BOOL* cancel) = 0;
    virtual void ForwardWindowBeforeDoubleClick(VARIANT_BOOL* cancel) = 0;
    virtual void ForwardPresentationClose(PowerPoint::Presentation* presentation) = 0;
    virtual void ForwardPresentationSave(PowerPoint::Presentation* presentation) = 0;
    virtual void ForwardPresentationOpen(PowerPoint::Presentation* presentation) = 0;
    virtual void ForwardNewPresentation(PowerPoint::Presentation* presentation) = 0;
    virtual void ForwardPresentationNewSlide(PowerPoint::Slide* slide) = 0;
    virtual void ForwardWindowActivate(PowerPoint::Presentation* presentation, PowerPoint::DocumentWindow* window) = 0;
    virtual void ForwardWindowDeactivate(PowerPoint::Presentation* presentation,
                                         PowerPoint::DocumentWindow* window) = 0;
    virtual void ForwardSlideShowBegin(PowerPoint::SlideShowWindow* window) = 0;
    virtual void ForwardSlideShowEnd(PowerPoint::Presentation* presentation) = 0;
    virtual void ForwardPresentationPrint(PowerPoint::Presentation* presentation) = 0;
    virtual void ForwardSlideSelectionChanged(PowerPoint::SlideRange* range) = 0;
    virtual void ForwardColorSchemeChanged(PowerPoint::SlideRange* range) = 0;

protected:
    ~PluginEventTarget() = default;
};

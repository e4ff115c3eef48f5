#pragma once
#include <windows.h>
#include <oaidl.h>

class OfficeHostApp;
class PowerPointEventSink;
class SlideShowEventTarget;

// PowerPoint's application events as one control follows them: when a slide
// is shown, the control restarts its live movie if it is on that slide and
// stops and rewinds it otherwise; at the end of the show it stops and
// rewinds. One slot per event in DISPID order (2001 + slot); only
// SlideShowNextSlide and SlideShowEnd act. The target and the host must
// outlive the handler, whose destructor unadvises its sink. UI thread only.
class SlideShowEventHandler {
public:
    SlideShowEventHandler() = default;
    virtual ~SlideShowEventHandler();
    SlideShowEventHandler(const SlideShowEventHandler&) = delete;
    SlideShowEventHandler& operator=(const SlideShowEventHandler&) = delete;

    // Advises a sink of ours on the host's application; false when that
    // fails (the control then follows no events).
    bool Connect(SlideShowEventTarget* target, OfficeHostApp* host);
    // Whether the target's own control is among the slide's shapes: an OLE
    // control of ProgID "PlovaPoint.player.1" (any case) whose object answers
    // the target's identity. False on any automation failure.
    bool IsOnSlide(IDispatch* slide);

    virtual void WindowSelectionChange(IDispatch*) {}
    virtual void WindowBeforeRightClick(IDispatch*, bool&) {}
    virtual void WindowBeforeDoubleClick(IDispatch*, bool&) {}
    virtual void PresentationClose(IDispatch*) {}
    virtual void PresentationSave(IDispatch*) {}
    virtual void PresentationOpen(IDispatch*) {}
    virtual void NewPresentation(IDispatch*) {}
    virtual void PresentationNewSlide(IDispatch*) {}
    virtual void WindowActivate(IDispatch*, IDispatch*) {}
    virtual void WindowDeactivate(IDispatch*, IDispatch*) {}
    virtual void SlideShowBegin(IDispatch*) {}
    virtual void SlideShowNextBuild(IDispatch*) {}
    virtual void SlideShowNextSlide(IDispatch* window);
    virtual void SlideShowEnd(IDispatch* presentation);
    virtual void PresentationPrint(IDispatch*) {}
    virtual void SlideSelectionChanged(IDispatch*) {}
    virtual void ColorSchemeChanged(IDispatch*) {}
    virtual void PresentationBeforeSave(IDispatch*, bool&) {}
    virtual void SlideShowNextClick(IDispatch*, IDispatch*) {}
    virtual void AfterNewPresentation(IDispatch*) {}
    virtual void AfterPresentationOpen(IDispatch*) {}
    virtual void PresentationSync(IDispatch*, const VARIANT&) {}
    virtual void SlideShowOnNext(IDispatch*) {}
    virtual void SlideShowOnPrevious(IDispatch*) {}

private:
    SlideShowEventTarget* m_target = nullptr;
    OfficeHostApp* m_host = nullptr;
    PowerPointEventSink* m_sink = nullptr;
};

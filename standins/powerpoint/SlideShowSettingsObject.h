#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

namespace standin {

class PresentationObject;

// Presentation.SlideShowSettings: show type, first and last slide, and Run,
// which starts the slide show. The presentation pointer is not counted; the
// presentation detaches its settings when it closes.
class SlideShowSettingsObject : public DispatchObject<PowerPoint::SlideShowSettings> {
public:
    explicit SlideShowSettingsObject(PresentationObject* presentation);

    void Detach() { m_presentation = nullptr; }
    long ShowType() const { return m_showType; }
    void SetShowType(long type) { m_showType = type; }
    int StartingSlide() const { return m_startingSlide; }
    // 0 or any value beyond the last slide: up to the last slide.
    int EndingSlide() const { return m_endingSlide; }
    void SetRange(int first, int last);

    HRESULT STDMETHODCALLTYPE get_StartingSlide(int* result) override;
    HRESULT STDMETHODCALLTYPE put_StartingSlide(int value) override;
    HRESULT STDMETHODCALLTYPE get_EndingSlide(int* result) override;
    HRESULT STDMETHODCALLTYPE put_EndingSlide(int value) override;
    HRESULT STDMETHODCALLTYPE Run(PowerPoint::SlideShowWindow** result) override;
    HRESULT STDMETHODCALLTYPE get_ShowType(long* result) override;
    HRESULT STDMETHODCALLTYPE put_ShowType(long value) override;

private:
    PresentationObject* m_presentation;
    long m_showType = PowerPoint::ppShowTypeSpeaker;
    int m_startingSlide = 1;
    int m_endingSlide = 0;
};

}  // namespace standin

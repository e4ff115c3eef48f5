#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

namespace standin {

class EffectObject;
class SlideObject;
class SlideShowWindowObject;

// SlideShowWindow.View: the running show's position (slide and click), state
// and elapsed times, and PowerPoint's way of moving through the show. Every
// move tells the pane (messages 1045 and 1046 with the slide ID) and raises
// the slide-show events in PowerPoint's order; from PowerPoint 12 on the click
// index and count answer through IDispatch (2029, 2030). The window pointer is
// not counted: the window detaches its view when the show ends, after which
// State answers 5 (done) and the other members fail.
class SlideShowViewObject : public DispatchObject<PowerPoint::SlideShowView> {
public:
    // Shows the slides from `first` to `last` (1-based presentation indexes).
    SlideShowViewObject(SlideShowWindowObject* window, int first, int last);
    // The view is alive until its show ends.
    bool IsAlive() const override { return m_window != nullptr; }

    void Detach();
    // The show's first moments: pane message 1046 for the first slide, then
    // SlideShowBegin and SlideShowNextSlide.
    void Begin();

    long State() const { return m_state; }
    void SetState(long state);
    SlideObject* CurrentSlide() const;
    // 1-based position within the show.
    int Position() const { return m_position; }
    int ClickIndex() const { return m_click; }
    // The current slide's clicks: main-sequence effects started on page click.
    int ClickCount() const;

    // The moves, as the keyboard, the mouse and the members make them.
    void GoNext();
    void GoPrevious();
    void GoTo(int position);
    void End();

    HRESULT STDMETHODCALLTYPE get_Slide(PowerPoint::Slide** result) override;
    HRESULT STDMETHODCALLTYPE get_State(long* result) override;
    HRESULT STDMETHODCALLTYPE put_State(long value) override;
    HRESULT STDMETHODCALLTYPE get_PresentationElapsedTime(float* result) override;
    HRESULT STDMETHODCALLTYPE get_SlideElapsedTime(float* result) override;
    HRESULT STDMETHODCALLTYPE First() override;
    HRESULT STDMETHODCALLTYPE Last() override;
    HRESULT STDMETHODCALLTYPE Next() override;
    HRESULT STDMETHODCALLTYPE Previous() override;
    HRESULT STDMETHODCALLTYPE GotoSlide(int index, long resetSlide) override;
    HRESULT STDMETHODCALLTYPE Exit() override;
    HRESULT STDMETHODCALLTYPE get_CurrentShowPosition(int* result) override;

protected:
    // Slide (2004) by DISPID; GetClickIndex and GetClickCount from PowerPoint 12 on.
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override;

private:
    // Leaves the current slide and shows the one at the position, `click`
    // builds in (-1: all of them).
    void SwitchTo(int position, int click);
    EffectObject* ClickEffect(int click) const;
    void RaiseWindowEvent(DISPID id, EffectObject* effect = nullptr, bool withEffect = false);
    bool Modern() const;

    SlideShowWindowObject* m_window;
    int m_first;
    int m_last;
    int m_position = 1;
    int m_click = 0;
    long m_state = PowerPoint::ppSlideShowRunning;
    DWORD m_showStart;
    DWORD m_slideStart;
};

}  // namespace standin

#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/DispatchObject.h"

#include <string>

namespace standin {

class PresentationObject;
class SlideShowSettingsObject;
class SlideShowViewObject;

// A running slide show: a real unowned top-level window of class
// "screenClass" titled with the presentation's bracketed name, holding the
// pane (class "paneClassDC"; untitled for PowerPoint 10 to 14, titled "Slide
// Show" otherwise) that paints the current slide's shapes; and its view.
// Application.SlideShowWindows holds the show until it ends; after that every
// member answers E_FAIL.
class SlideShowWindowObject : public DispatchObject<PowerPoint::SlideShowWindow> {
public:
    // Starts the show with the settings' range and type: the object joins
    // SlideShowWindows and the presentation before its windows are created
    // (so a hook sees a complete show), then the view begins. Null when the
    // presentation has no slide in the range or the windows cannot be made.
    static SlideShowWindowObject* Start(PresentationObject* presentation, const SlideShowSettingsObject& settings);

    // Ends the show: state done, pane message 1045, SlideShowEnd, then the
    // window goes and the show leaves SlideShowWindows and its presentation.
    void End();
    bool IsRunning() const { return m_running; }
    // A window stays alive while its show runs.
    bool IsAlive() const override { return m_running; }

    HWND Window() const { return m_window; }
    HWND Pane() const { return m_pane; }
    PresentationObject* Presentation() const { return m_presentation; }
    SlideShowViewObject* View() const { return m_view; }
    std::wstring Title() const;
    void Repaint();

    // Called by the window procedures.
    void OnWindowCreated(HWND window, HWND pane);
    // The window went without End (destroyed by someone else): the show
    // ends without SlideShowEnd.
    void OnWindowDestroyed();

    HRESULT STDMETHODCALLTYPE get_View(PowerPoint::SlideShowView** result) override;
    HRESULT STDMETHODCALLTYPE get_Presentation(PowerPoint::Presentation** result) override;
    HRESULT STDMETHODCALLTYPE get_HWND(long* result) override;

protected:
    ~SlideShowWindowObject() override;
    // View (2003) by DISPID.
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override;

private:
    SlideShowWindowObject(PresentationObject* presentation, long showType, int first, int last);
    // Leaves SlideShowWindows and the presentation.
    void Leave();

    PresentationObject* m_presentation;
    SlideShowViewObject* m_view;
    long m_showType;
    HWND m_window = nullptr;
    HWND m_pane = nullptr;
    bool m_running = true;
    bool m_ending = false;
};

}  // namespace standin

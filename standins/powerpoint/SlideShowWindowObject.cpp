#include "standins/powerpoint/SlideShowWindowObject.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/ShowWindowClasses.h"
#include "standins/powerpoint/SlideShowSettingsObject.h"
#include "standins/powerpoint/SlideShowViewObject.h"
#include "standins/powerpoint/SlideShowWindowsObject.h"
#include "standins/powerpoint/SlidesObject.h"

namespace standin {

SlideShowWindowObject* SlideShowWindowObject::Start(PresentationObject* presentation,
                                                    const SlideShowSettingsObject& settings)
{
    ApplicationObject* application = ApplicationObject::Current();
    int count = presentation->Slides()->Count();
    int first = settings.StartingSlide();
    int last = settings.EndingSlide() > 0 && settings.EndingSlide() < count ? settings.EndingSlide() : count;
    if (!application || first < 1 || first > last)
        return nullptr;
    auto* show = new SlideShowWindowObject(presentation, settings.ShowType(), first, last);
    application->ShowWindows()->Add(show);
    presentation->SetShowWindow(show);
    int major = application->MajorVersion();
    bool titledPane = major < 10 || major > 14;
    if (!CreateShowWindows(show, show->Title(), settings.ShowType(), titledPane)) {
        show->Leave();
        return nullptr;
    }
    show->m_view->Begin();
    return show;
}

SlideShowWindowObject::SlideShowWindowObject(PresentationObject* presentation, long showType, int first, int last)
    : DispatchObject(L"SlideShowWindow", {PowerPoint::IID_SlideShowWindow}),
      m_presentation(presentation),
      m_view(new SlideShowViewObject(this, first, last)),
      m_showType(showType)
{
    m_presentation->AddRef();
}

SlideShowWindowObject::~SlideShowWindowObject()
{
    m_view->Detach();
    m_view->Release();
    if (m_presentation)
        m_presentation->Release();
}

std::wstring SlideShowWindowObject::Title() const
{
    return L"PowerPoint Slide Show - [" + (m_presentation ? m_presentation->Name() : std::wstring()) + L"]";
}

void SlideShowWindowObject::Repaint()
{
    if (m_pane)
        InvalidateRect(m_pane, nullptr, TRUE);
}

void SlideShowWindowObject::OnWindowCreated(HWND window, HWND pane)
{
    m_window = window;
    m_pane = pane;
}

void SlideShowWindowObject::End()
{
    if (!m_running || m_ending)
        return;
    m_ending = true;
    AddRef();
    m_view->SetState(PowerPoint::ppSlideShowDone);
    SendMessageW(m_pane, 1045, 0, 0);
    ApplicationObject* application = ApplicationObject::Current();
    if (application && m_presentation) {
        VARIANT presentation;
        VariantInit(&presentation);
        presentation.vt = VT_DISPATCH;
        presentation.pdispVal = static_cast<PowerPoint::Presentation*>(m_presentation);
        application->Raise(PowerPoint::DISPID_SlideShowEnd, {presentation});
    }
    HWND window = m_window;
    m_window = nullptr;
    m_pane = nullptr;
    if (window)
        DestroyShowWindows(window);
    Leave();
    Release();
}

void SlideShowWindowObject::OnWindowDestroyed()
{
    m_window = nullptr;
    m_pane = nullptr;
    if (!m_running || m_ending)
        return;
    AddRef();
    Leave();
    Release();
}

void SlideShowWindowObject::Leave()
{
    m_running = false;
    m_view->Detach();
    if (m_presentation) {
        if (m_presentation->ShowWindow() == this)
            m_presentation->SetShowWindow(nullptr);
        m_presentation->Release();
        m_presentation = nullptr;
    }
    ApplicationObject* application = ApplicationObject::Current();
    if (application)
        application->ShowWindows()->Remove(this);
}

HRESULT SlideShowWindowObject::get_View(PowerPoint::SlideShowView** result)
{
    STANDIN_ALIVE_OUT(L"get_View", result);
    return ReturnObject(m_view, result);
}

HRESULT SlideShowWindowObject::get_Presentation(PowerPoint::Presentation** result)
{
    STANDIN_ALIVE_OUT(L"get_Presentation", result);
    return ReturnObject(m_presentation, result);
}

HRESULT SlideShowWindowObject::get_HWND(long* result)
{
    STANDIN_ALIVE_OUT(L"get_HWND", result);
    *result = static_cast<long>(reinterpret_cast<LONG_PTR>(m_window));
    return S_OK;
}

HRESULT SlideShowWindowObject::InvokeMember(DISPID id, WORD flags, DISPPARAMS*, VARIANT* result)
{
    if (id != 2003 || !IsGet(flags))
        return DISP_E_MEMBERNOTFOUND;
    PowerPoint::SlideShowView* view = nullptr;
    HRESULT hr = get_View(&view);
    return AnswerObject(hr, view, result);
}

}  // namespace standin

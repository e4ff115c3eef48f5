#include "standins/powerpoint/SlideShowViewObject.h"

#include "standins/powerpoint/ApplicationObject.h"
#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/EffectObject.h"
#include "standins/powerpoint/PresentationObject.h"
#include "standins/powerpoint/SequenceObject.h"
#include "standins/powerpoint/SlideObject.h"
#include "standins/powerpoint/SlideShowWindowObject.h"
#include "standins/powerpoint/SlidesObject.h"
#include "standins/powerpoint/TimeLineObject.h"
#include "standins/powerpoint/TimingObject.h"

namespace standin {

namespace {

// PowerPoint's private messages to its slide-show pane.
const UINT kPaneLeaveSlide = 1045;
const UINT kPaneGotoSlide = 1046;

}  // namespace

SlideShowViewObject::SlideShowViewObject(SlideShowWindowObject* window, int first, int last)
    : DispatchObject(L"SlideShowView", {PowerPoint::IID_SlideShowView}),
      m_window(window),
      m_first(first),
      m_last(last),
      m_showStart(GetTickCount()),
      m_slideStart(m_showStart)
{
}

void SlideShowViewObject::Detach()
{
    m_window = nullptr;
    m_state = PowerPoint::ppSlideShowDone;
}

bool SlideShowViewObject::Modern() const
{
    ApplicationObject* application = ApplicationObject::Current();
    return application && application->MajorVersion() >= 12;
}

SlideObject* SlideShowViewObject::CurrentSlide() const
{
    if (!m_window || !m_window->Presentation())
        return nullptr;
    SlidesObject* slides = m_window->Presentation()->Slides();
    int index = m_first + m_position - 2;
    return index >= 0 && index < slides->Count() ? slides->At(index) : nullptr;
}

int SlideShowViewObject::ClickCount() const
{
    SlideObject* slide = CurrentSlide();
    if (!slide)
        return 0;
    int clicks = 0;
    for (EffectObject* effect : slide->TimeLine()->Main()->Items()) {
        if (effect->Timing()->Values().triggerType == PowerPoint::msoAnimTriggerOnPageClick)
            ++clicks;
    }
    return clicks;
}

EffectObject* SlideShowViewObject::ClickEffect(int click) const
{
    SlideObject* slide = CurrentSlide();
    if (!slide)
        return nullptr;
    int seen = 0;
    for (EffectObject* effect : slide->TimeLine()->Main()->Items()) {
        if (effect->Timing()->Values().triggerType == PowerPoint::msoAnimTriggerOnPageClick && ++seen == click)
            return effect;
    }
    return nullptr;
}

void SlideShowViewObject::RaiseWindowEvent(DISPID id, EffectObject* effect, bool withEffect)
{
    ApplicationObject* application = ApplicationObject::Current();
    if (!application || !m_window)
        return;
    std::vector<VARIANT> args(withEffect ? 2 : 1);
    for (VARIANT& arg : args)
        VariantInit(&arg);
    args[0].vt = VT_DISPATCH;
    args[0].pdispVal = static_cast<PowerPoint::SlideShowWindow*>(m_window);
    if (withEffect && effect) {
        args[1].vt = VT_DISPATCH;
        args[1].pdispVal = static_cast<PowerPoint::Effect*>(effect);
    }
    AddRef();
    application->Raise(id, args);
    Release();
}

void SlideShowViewObject::Begin()
{
    if (!m_window)
        return;
    AddRef();
    SlideObject* slide = CurrentSlide();
    SendMessageW(m_window->Pane(), kPaneGotoSlide, 0, slide ? slide->SlideId() : 0);
    RaiseWindowEvent(PowerPoint::DISPID_SlideShowBegin);
    RaiseWindowEvent(PowerPoint::DISPID_SlideShowNextSlide);
    Release();
}

void SlideShowViewObject::SetState(long state)
{
    m_state = state;
    if (m_window)
        m_window->Repaint();
}

void SlideShowViewObject::SwitchTo(int position, int click)
{
    if (!m_window)
        return;
    HWND pane = m_window->Pane();
    SendMessageW(pane, kPaneLeaveSlide, 0, 0);
    if (!m_window)
        return;
    m_position = position;
    m_slideStart = GetTickCount();
    SlideObject* slide = CurrentSlide();
    m_click = click < 0 ? ClickCount() : click;
    SendMessageW(pane, kPaneGotoSlide, 0, slide ? slide->SlideId() : 0);
    m_window->Repaint();
    RaiseWindowEvent(PowerPoint::DISPID_SlideShowNextSlide);
}

void SlideShowViewObject::GoNext()
{
    if (!m_window)
        return;
    AddRef();
    if (Modern())
        RaiseWindowEvent(PowerPoint::DISPID_SlideShowOnNext);
    if (m_window && m_click < ClickCount()) {
        ++m_click;
        RaiseWindowEvent(PowerPoint::DISPID_SlideShowNextBuild);
        if (Modern())
            RaiseWindowEvent(PowerPoint::DISPID_SlideShowNextClick, ClickEffect(m_click), true);
    } else if (m_window && m_first + m_position - 1 < m_last) {
        SwitchTo(m_position + 1, 0);
    } else if (m_window) {
        End();
    }
    Release();
}

void SlideShowViewObject::GoPrevious()
{
    if (!m_window)
        return;
    AddRef();
    if (Modern())
        RaiseWindowEvent(PowerPoint::DISPID_SlideShowOnPrevious);
    if (m_window && m_click > 0)
        --m_click;
    else if (m_window && m_position > 1)
        SwitchTo(m_position - 1, -1);
    Release();
}

void SlideShowViewObject::GoTo(int position)
{
    if (!m_window || position < 1 || m_first + position - 1 > m_last)
        return;
    AddRef();
    SwitchTo(position, 0);
    Release();
}

void SlideShowViewObject::End()
{
    if (m_window)
        m_window->End();
}

HRESULT SlideShowViewObject::get_Slide(PowerPoint::Slide** result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    STANDIN_ALIVE(L"get_Slide");
    return ReturnObject(CurrentSlide(), result);
}

HRESULT SlideShowViewObject::get_State(long* result)
{
    return GetValue(L"get_State", m_state, result);
}

HRESULT SlideShowViewObject::put_State(long value)
{
    STANDIN_ALIVE(L"put_State");
    if (value < PowerPoint::ppSlideShowRunning || value > PowerPoint::ppSlideShowDone)
        return E_INVALIDARG;
    if (value == PowerPoint::ppSlideShowDone) {
        End();
        return S_OK;
    }
    SetState(value);
    return S_OK;
}

HRESULT SlideShowViewObject::get_PresentationElapsedTime(float* result)
{
    STANDIN_ALIVE_OUT(L"get_PresentationElapsedTime", result);
    *result = static_cast<float>(GetTickCount() - m_showStart) / 1000.0f;
    return S_OK;
}

HRESULT SlideShowViewObject::get_SlideElapsedTime(float* result)
{
    STANDIN_ALIVE_OUT(L"get_SlideElapsedTime", result);
    *result = static_cast<float>(GetTickCount() - m_slideStart) / 1000.0f;
    return S_OK;
}

HRESULT SlideShowViewObject::First()
{
    STANDIN_ALIVE(L"First");
    GoTo(1);
    return S_OK;
}

HRESULT SlideShowViewObject::Last()
{
    STANDIN_ALIVE(L"Last");
    GoTo(m_last - m_first + 1);
    return S_OK;
}

HRESULT SlideShowViewObject::Next()
{
    STANDIN_ALIVE(L"Next");
    GoNext();
    return S_OK;
}

HRESULT SlideShowViewObject::Previous()
{
    STANDIN_ALIVE(L"Previous");
    GoPrevious();
    return S_OK;
}

HRESULT SlideShowViewObject::GotoSlide(int index, long)
{
    STANDIN_ALIVE(L"GotoSlide");
    // The index counts the presentation's slides.
    if (index < m_first || index > m_last)
        return E_INVALIDARG;
    GoTo(index - m_first + 1);
    return S_OK;
}

HRESULT SlideShowViewObject::Exit()
{
    STANDIN_ALIVE(L"Exit");
    End();
    return S_OK;
}

HRESULT SlideShowViewObject::get_CurrentShowPosition(int* result)
{
    return GetAliveValue(L"get_CurrentShowPosition", m_position, result);
}

HRESULT SlideShowViewObject::InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result)
{
    if (id == 2004 && IsGet(flags)) {
        PowerPoint::Slide* slide = nullptr;
        HRESULT hr = get_Slide(&slide);
        return AnswerObject(hr, slide, result);
    }
    if ((id != PowerPoint::DISPID_SlideShowView_GetClickIndex && id != PowerPoint::DISPID_SlideShowView_GetClickCount) ||
        !Modern())
        return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    if (params && params->cArgs != 0)
        return DISP_E_BADPARAMCOUNT;
    if (!m_window)
        return E_FAIL;
    if (result) {
        VariantInit(result);
        result->vt = VT_I4;
        result->lVal = id == PowerPoint::DISPID_SlideShowView_GetClickIndex ? m_click : ClickCount();
    }
    return S_OK;
}

}  // namespace standin
